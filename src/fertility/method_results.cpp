#include "fertility/method_results.h"

#include "platform/record_codec.h"

#include <utility>

namespace tw {
namespace {

// Each record's members in stored order; the same list encodes and decodes.
template<class R>
auto soil_test_members(R &r)
{
    return std::array{&r.spare,    &r.basic,      &r.basic_copy,     &r.legume,
                      &r.manure,   &r.irrigation, &r.recommendation, &r.midseason_recommendation,
                      &r.remaining};
}

template<class R>
auto mass_balance_members(R &r)
{
    return std::array{&r.plant_requirement,
                      &r.residual,
                      &r.organic_matter,
                      &r.crop_residue,
                      &r.legume,
                      &r.manure,
                      &r.irrigation,
                      &r.denitrification,
                      &r.extra,
                      &r.recommendation,
                      &r.midseason_recommendation,
                      &r.remaining};
}

template<class R>
auto recommendation_members(R &r)
{
    using Ptr = decltype(&r.final);
    std::array<Ptr, 20> m{};
    std::size_t i = 0;
    for (auto *group : {&r.method_rec, &r.preseason_test_rec, &r.remaining_rec, &r.certainty,
                        &r.midseason_certainty}) {
        for (auto &value : *group)
            m[i++] = &value;
    }
    for (Ptr p : {&r.final, &r.spare_1, &r.spare_2, &r.phosphorus, &r.potassium})
        m[i++] = p;
    return m;
}

template<std::size_t N>
void put_all(const std::array<const float *, N> &members, std::span<std::uint8_t> out)
{
    for (std::size_t i = 0; i < N; ++i)
        codec::put_f32(out, 4 * i, *members[i]);
}

template<std::size_t N>
void get_all(const std::array<float *, N> &members, std::span<const std::uint8_t> in)
{
    for (std::size_t i = 0; i < N; ++i)
        *members[i] = codec::get_f32(in, 4 * i);
}

static_assert(std::tuple_size_v<decltype(soil_test_members(std::declval<SoilTestResult &>()))> *
                  4 ==
              kSoilTestResultSize);
static_assert(
    std::tuple_size_v<decltype(mass_balance_members(std::declval<MassBalanceResult &>()))> * 4 ==
    kMassBalanceResultSize);

} // namespace

void encode_soil_test_result(const SoilTestResult &r, std::span<std::uint8_t> out)
{
    put_all(soil_test_members(r), out);
}

SoilTestResult decode_soil_test_result(std::span<const std::uint8_t> in)
{
    SoilTestResult r;
    get_all(soil_test_members(r), in);
    return r;
}

void encode_mass_balance_result(const MassBalanceResult &r, std::span<std::uint8_t> out)
{
    put_all(mass_balance_members(r), out);
}

MassBalanceResult decode_mass_balance_result(std::span<const std::uint8_t> in)
{
    MassBalanceResult r;
    get_all(mass_balance_members(r), in);
    return r;
}

void encode_recommendation(const Recommendation &r, std::span<std::uint8_t> out)
{
    put_all(recommendation_members(r), out);
}

Recommendation decode_recommendation(std::span<const std::uint8_t> in)
{
    Recommendation r;
    get_all(recommendation_members(r), in);
    return r;
}

} // namespace tw
