#include "refdata/records.h"

#include "platform/record_codec.h"

#include <algorithm>

namespace tw {
namespace {

using namespace codec;

namespace soil {
constexpr std::size_t index = 0, name = 4, type = 20, sm_fc = 36, sm_pwp = 40, awhc = 44;
static_assert(awhc + 4 == kSoilRecordSize);
} // namespace soil

namespace station {
constexpr std::size_t index = 0, name = 4, elevation = 24, latitude = 28, pressure = 32, tmin = 36,
                      tmax = 40, ct = 44, tx = 48, anemometer = 52, reference = 56, delta_t = 60,
                      k_zero = 64;
static_assert(k_zero + 4 == kStationRecordSize);
} // namespace station

namespace stage {
constexpr std::size_t name = 0, flag = 20, depletion = 24, end_day = 28, end_gdd = 32;
static_assert(end_gdd + 4 == kGrowthStageSize);
} // namespace stage

namespace crop {
constexpr std::size_t index = 0, name = 4, hybrid = 24, max_harvests = 44, planting_depth = 48,
                      max_root_depth = 52, gdd_min = 56, gdd_max = 60, kc_before = 64,
                      kc_after = 96, yield_units = 128, n_requirement = 140, average_yield = 144,
                      plant_population = 148, yield_b0 = 152, efficiency = 156, p_levels = 180,
                      k_levels = 192, stage_count = 204, stages = 208;
static_assert(stages + kMaxStages * kGrowthStageSize == kCropRecordSize);
} // namespace crop

void put_stage(std::span<std::uint8_t> b, std::size_t at, const GrowthStage &s)
{
    put_text(b, at + stage::name, 20, s.name);
    put_i32(b, at + stage::flag, s.flag);
    put_f32(b, at + stage::depletion, s.allowable_depletion);
    put_f32(b, at + stage::end_day, s.end_day);
    put_f32(b, at + stage::end_gdd, s.end_gdd);
}

GrowthStage get_stage(std::span<const std::uint8_t> b, std::size_t at)
{
    GrowthStage s;
    s.name = get_text(b, at + stage::name, 20);
    s.flag = get_i32(b, at + stage::flag);
    s.allowable_depletion = get_f32(b, at + stage::depletion);
    s.end_day = get_f32(b, at + stage::end_day);
    s.end_gdd = get_f32(b, at + stage::end_gdd);
    return s;
}

} // namespace

SoilImage encode_soil(const SoilRecord &r)
{
    SoilImage b{};
    put_i32(b, soil::index, r.index);
    put_text(b, soil::name, 16, r.name);
    put_text(b, soil::type, 16, r.type);
    put_f32(b, soil::sm_fc, r.sm_fc);
    put_f32(b, soil::sm_pwp, r.sm_pwp);
    put_f32(b, soil::awhc, r.awhc);
    return b;
}

SoilRecord decode_soil(std::span<const std::uint8_t, kSoilRecordSize> b)
{
    SoilRecord r;
    r.index = get_i32(b, soil::index);
    r.name = get_text(b, soil::name, 16);
    r.type = get_text(b, soil::type, 16);
    r.sm_fc = get_f32(b, soil::sm_fc);
    r.sm_pwp = get_f32(b, soil::sm_pwp);
    r.awhc = get_f32(b, soil::awhc);
    return r;
}

StationImage encode_station(const StationRecord &r)
{
    StationImage b{};
    put_i32(b, station::index, r.index);
    put_text(b, station::name, 20, r.name);
    put_f32(b, station::elevation, r.elevation);
    put_f32(b, station::latitude, r.latitude);
    put_f32(b, station::pressure, r.pressure);
    put_f32(b, station::tmin, r.warm_month_tmin);
    put_f32(b, station::tmax, r.warm_month_tmax);
    put_f32(b, station::ct, r.jh_ct);
    put_f32(b, station::tx, r.jh_tx);
    put_f32(b, station::anemometer, r.anemometer_height);
    put_i32(b, station::reference, r.reference_type);
    put_f32(b, station::delta_t, r.delta_t);
    put_f32(b, station::k_zero, r.k_zero);
    return b;
}

StationRecord decode_station(std::span<const std::uint8_t, kStationRecordSize> b)
{
    StationRecord r;
    r.index = get_i32(b, station::index);
    r.name = get_text(b, station::name, 20);
    r.elevation = get_f32(b, station::elevation);
    r.latitude = get_f32(b, station::latitude);
    r.pressure = get_f32(b, station::pressure);
    r.warm_month_tmin = get_f32(b, station::tmin);
    r.warm_month_tmax = get_f32(b, station::tmax);
    r.jh_ct = get_f32(b, station::ct);
    r.jh_tx = get_f32(b, station::tx);
    r.anemometer_height = get_f32(b, station::anemometer);
    r.reference_type = get_i32(b, station::reference);
    r.delta_t = get_f32(b, station::delta_t);
    r.k_zero = get_f32(b, station::k_zero);
    return r;
}

CropImage encode_crop(const CropRecord &r)
{
    CropImage b{};
    put_i32(b, crop::index, r.index);
    put_text(b, crop::name, 20, r.name);
    put_text(b, crop::hybrid, 20, r.hybrid);
    put_i32(b, crop::max_harvests, r.max_harvests);
    put_f32(b, crop::planting_depth, r.planting_depth);
    put_f32(b, crop::max_root_depth, r.max_root_depth);
    put_f32(b, crop::gdd_min, r.gdd_min_temp);
    put_f32(b, crop::gdd_max, r.gdd_max_temp);
    for (std::size_t i = 0; i < 4; ++i) {
        put_f64(b, crop::kc_before + 8 * i, r.kc_before[i]);
        put_f64(b, crop::kc_after + 8 * i, r.kc_after[i]);
    }
    put_text(b, crop::yield_units, 12, r.yield_units);
    put_f32(b, crop::n_requirement, r.n_requirement);
    put_i32(b, crop::average_yield, r.average_yield);
    put_i32(b, crop::plant_population, r.plant_population);
    put_f32(b, crop::yield_b0, r.yield_b0);
    for (std::size_t i = 0; i < r.efficiency.size(); ++i)
        put_i32(b, crop::efficiency + 4 * i, r.efficiency[i]);
    for (std::size_t i = 0; i < 3; ++i) {
        put_i32(b, crop::p_levels + 4 * i, r.p_levels[i]);
        put_i32(b, crop::k_levels + 4 * i, r.k_levels[i]);
    }
    put_i32(b, crop::stage_count, r.stage_count);
    for (std::size_t i = 0; i < kMaxStages; ++i)
        put_stage(b, crop::stages + kGrowthStageSize * i, r.stages[i]);
    return b;
}

CropRecord decode_crop(std::span<const std::uint8_t, kCropRecordSize> b)
{
    CropRecord r;
    r.index = get_i32(b, crop::index);
    r.name = get_text(b, crop::name, 20);
    r.hybrid = get_text(b, crop::hybrid, 20);
    r.max_harvests = get_i32(b, crop::max_harvests);
    r.planting_depth = get_f32(b, crop::planting_depth);
    r.max_root_depth = get_f32(b, crop::max_root_depth);
    r.gdd_min_temp = get_f32(b, crop::gdd_min);
    r.gdd_max_temp = get_f32(b, crop::gdd_max);
    for (std::size_t i = 0; i < 4; ++i) {
        r.kc_before[i] = get_f64(b, crop::kc_before + 8 * i);
        r.kc_after[i] = get_f64(b, crop::kc_after + 8 * i);
    }
    r.yield_units = get_text(b, crop::yield_units, 12);
    r.n_requirement = get_f32(b, crop::n_requirement);
    r.average_yield = get_i32(b, crop::average_yield);
    r.plant_population = get_i32(b, crop::plant_population);
    r.yield_b0 = get_f32(b, crop::yield_b0);
    for (std::size_t i = 0; i < r.efficiency.size(); ++i)
        r.efficiency[i] = get_i32(b, crop::efficiency + 4 * i);
    for (std::size_t i = 0; i < 3; ++i) {
        r.p_levels[i] = get_i32(b, crop::p_levels + 4 * i);
        r.k_levels[i] = get_i32(b, crop::k_levels + 4 * i);
    }
    // Every user indexes the stages by this count, so a damaged file must not take it past them.
    r.stage_count = std::clamp<std::int32_t>(get_i32(b, crop::stage_count), 0, kMaxStages);
    for (std::size_t i = 0; i < kMaxStages; ++i)
        r.stages[i] = get_stage(b, crop::stages + kGrowthStageSize * i);
    return r;
}

} // namespace tw
