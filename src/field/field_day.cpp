#include "field/field_day.h"

#include "platform/record_codec.h"

namespace tw {
namespace {

using namespace codec;

namespace at {
constexpr std::size_t cum_gdd = 0, kind = 4, stage = 8, root_depth = 12, crop_et = 16,
                      gross_irrigation = 20, effective_irrigation = 24, deep_percolation = 28,
                      taw = 32, allowable_depletion = 36, deficit = 40, critical = 44,
                      soil_moisture = 48, category = 52, irrigation_needed = 56, rain = 60,
                      sm_override = 64, n_applied = 68, drainage = 72, lower_deficit = 76,
                      n_uptake = 80, nitrate_available = 84, nitrate_leached = 88;
static_assert(nitrate_leached + 4 == kFieldDaySize);
} // namespace at

} // namespace

FieldDayImage encode_field_day(const FieldDay &d)
{
    FieldDayImage b{};
    put_f32(b, at::cum_gdd, d.cum_gdd);
    put_i32(b, at::kind, d.kind);
    put_i32(b, at::stage, d.stage);
    put_f32(b, at::root_depth, d.root_depth);
    put_f32(b, at::crop_et, d.crop_et);
    put_f32(b, at::gross_irrigation, d.gross_irrigation);
    put_f32(b, at::effective_irrigation, d.effective_irrigation);
    put_f32(b, at::deep_percolation, d.deep_percolation);
    put_f32(b, at::taw, d.taw);
    put_f32(b, at::allowable_depletion, d.allowable_depletion);
    put_f32(b, at::deficit, d.deficit);
    put_f32(b, at::critical, d.critical);
    put_f32(b, at::soil_moisture, d.soil_moisture);
    put_i32(b, at::category, d.category);
    put_f32(b, at::irrigation_needed, d.irrigation_needed);
    put_f32(b, at::rain, d.rain);
    put_i32(b, at::sm_override, d.sm_override);
    put_f32(b, at::n_applied, d.n_applied);
    put_f32(b, at::drainage, d.drainage);
    put_f32(b, at::lower_deficit, d.lower_deficit);
    put_f32(b, at::n_uptake, d.n_uptake);
    put_f32(b, at::nitrate_available, d.nitrate_available);
    put_f32(b, at::nitrate_leached, d.nitrate_leached);
    return b;
}

FieldDay decode_field_day(std::span<const std::uint8_t, kFieldDaySize> b)
{
    FieldDay d;
    d.cum_gdd = get_f32(b, at::cum_gdd);
    d.kind = get_i32(b, at::kind);
    d.stage = get_i32(b, at::stage);
    d.root_depth = get_f32(b, at::root_depth);
    d.crop_et = get_f32(b, at::crop_et);
    d.gross_irrigation = get_f32(b, at::gross_irrigation);
    d.effective_irrigation = get_f32(b, at::effective_irrigation);
    d.deep_percolation = get_f32(b, at::deep_percolation);
    d.taw = get_f32(b, at::taw);
    d.allowable_depletion = get_f32(b, at::allowable_depletion);
    d.deficit = get_f32(b, at::deficit);
    d.critical = get_f32(b, at::critical);
    d.soil_moisture = get_f32(b, at::soil_moisture);
    d.category = get_i32(b, at::category);
    d.irrigation_needed = get_f32(b, at::irrigation_needed);
    d.rain = get_f32(b, at::rain);
    d.sm_override = get_i32(b, at::sm_override);
    d.n_applied = get_f32(b, at::n_applied);
    d.drainage = get_f32(b, at::drainage);
    d.lower_deficit = get_f32(b, at::lower_deficit);
    d.n_uptake = get_f32(b, at::n_uptake);
    d.nitrate_available = get_f32(b, at::nitrate_available);
    d.nitrate_leached = get_f32(b, at::nitrate_leached);
    return d;
}

} // namespace tw
