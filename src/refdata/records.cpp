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
constexpr std::size_t index = 0, name = 4, hybrid = 24, kc_before = 64, kc_after = 96,
                      yield_units = 128, n_requirement = 140, average_yield = 144,
                      plant_population = 148, yield_b0 = 152, efficiency = 156, p_levels = 180,
                      k_levels = 192, stage_count = 204, stages = 208;
// After the names the two layouts part: the current one puts the maximum harvests at 44 and the
// four floats after it; the earlier one has the floats at 44 and, as its compiler aligned the
// doubles, 4 unused bytes before them. Everything from the doubles on is at the same offset.
constexpr std::size_t max_harvests = 44, floats = 48, release1_floats = 44;
static_assert(floats + 16 == kc_before && release1_floats + 16 + 4 == kc_before);
static_assert(stages + kMaxStages * kGrowthStageSize == kCropRecordSize);
static_assert(stages + kRelease1MaxStages * kGrowthStageSize == kRelease1CropRecordSize);
} // namespace crop

struct CropLayoutInfo
{
    std::size_t size;
    std::size_t floats; ///< planting depth, maximum root depth, the two GDD thresholds
    std::size_t stage_capacity;
    bool has_max_harvests;
    bool release1_flags;
};

constexpr CropLayoutInfo kCurrentCrop{kCropRecordSize, crop::floats, kMaxStages, true, false};
constexpr CropLayoutInfo kRelease1Crop{kRelease1CropRecordSize, crop::release1_floats,
                                       kRelease1MaxStages, false, true};

const CropLayoutInfo &layout_info(CropLayout layout)
{
    return layout == CropLayout::Release1 ? kRelease1Crop : kCurrentCrop;
}

void put_stage(std::span<std::uint8_t> b, std::size_t at, const GrowthStage &s, bool release1)
{
    put_text(b, at + stage::name, 20, s.name);
    put_i32(b, at + stage::flag, release1 ? stage_flag_to_release1(s.flag) : s.flag);
    put_f32(b, at + stage::depletion, s.allowable_depletion);
    put_f32(b, at + stage::end_day, s.end_day);
    put_f32(b, at + stage::end_gdd, s.end_gdd);
}

GrowthStage get_stage(std::span<const std::uint8_t> b, std::size_t at, bool release1)
{
    GrowthStage s;
    s.name = get_text(b, at + stage::name, 20);
    const std::int32_t flag = get_i32(b, at + stage::flag);
    s.flag = release1 ? stage_flag_from_release1(flag) : flag;
    s.allowable_depletion = get_f32(b, at + stage::depletion);
    s.end_day = get_f32(b, at + stage::end_day);
    s.end_gdd = get_f32(b, at + stage::end_gdd);
    return s;
}

void put_station(std::span<std::uint8_t> b, const StationRecord &r, StationLayout layout)
{
    put_i32(b, station::index, r.index);
    put_text(b, station::name, 20, r.name);
    put_f32(b, station::elevation, r.elevation);
    put_f32(b, station::latitude, r.latitude);
    put_f32(b, station::pressure, r.pressure);
    put_f32(b, station::tmin, r.warm_month_tmin);
    put_f32(b, station::tmax, r.warm_month_tmax);
    put_f32(b, station::ct, r.jh_ct);
    put_f32(b, station::tx, r.jh_tx);
    if (layout == StationLayout::Release1)
        return;
    put_f32(b, station::anemometer, r.anemometer_height);
    put_i32(b, station::reference, r.reference_type);
    put_f32(b, station::delta_t, r.delta_t);
    put_f32(b, station::k_zero, r.k_zero);
}

StationRecord get_station(std::span<const std::uint8_t> b, StationLayout layout)
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
    if (layout == StationLayout::Release1) {
        // What the earlier release's locations took for every station.
        r.anemometer_height = 2.0f;
        r.reference_type = 2;
        return r;
    }
    r.anemometer_height = get_f32(b, station::anemometer);
    r.reference_type = get_i32(b, station::reference);
    r.delta_t = get_f32(b, station::delta_t);
    r.k_zero = get_f32(b, station::k_zero);
    return r;
}

void put_crop(std::span<std::uint8_t> b, const CropRecord &r, const CropLayoutInfo &layout)
{
    put_i32(b, crop::index, r.index);
    put_text(b, crop::name, 20, r.name);
    put_text(b, crop::hybrid, 20, r.hybrid);
    if (layout.has_max_harvests)
        put_i32(b, crop::max_harvests, r.max_harvests);
    put_f32(b, layout.floats, r.planting_depth);
    put_f32(b, layout.floats + 4, r.max_root_depth);
    put_f32(b, layout.floats + 8, r.gdd_min_temp);
    put_f32(b, layout.floats + 12, r.gdd_max_temp);
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
    const auto capacity = static_cast<std::int32_t>(layout.stage_capacity);
    put_i32(b, crop::stage_count, std::min(r.stage_count, capacity));
    for (std::size_t i = 0; i < layout.stage_capacity; ++i)
        put_stage(b, crop::stages + kGrowthStageSize * i, r.stages[i], layout.release1_flags);
}

CropRecord get_crop(std::span<const std::uint8_t> b, const CropLayoutInfo &layout)
{
    CropRecord r;
    r.index = get_i32(b, crop::index);
    r.name = get_text(b, crop::name, 20);
    r.hybrid = get_text(b, crop::hybrid, 20);
    r.max_harvests = layout.has_max_harvests ? get_i32(b, crop::max_harvests) : 1;
    r.planting_depth = get_f32(b, layout.floats);
    r.max_root_depth = get_f32(b, layout.floats + 4);
    r.gdd_min_temp = get_f32(b, layout.floats + 8);
    r.gdd_max_temp = get_f32(b, layout.floats + 12);
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
    const auto capacity = static_cast<std::int32_t>(layout.stage_capacity);
    r.stage_count = std::clamp<std::int32_t>(get_i32(b, crop::stage_count), 0, capacity);
    for (std::size_t i = 0; i < layout.stage_capacity; ++i)
        r.stages[i] = get_stage(b, crop::stages + kGrowthStageSize * i, layout.release1_flags);
    return r;
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

// The earlier release put Planting after the three stages a season is steered by.
std::int32_t stage_flag_from_release1(std::int32_t flag)
{
    constexpr std::array<std::int32_t, 6> current = {StageOrdinary,  StageEmergence,
                                                     StageFullCover, StageStopIrrigating,
                                                     StagePlanting,  StageHarvest};
    if (flag < 0 || flag >= static_cast<std::int32_t>(current.size()))
        return flag;
    return current[static_cast<std::size_t>(flag)];
}

std::int32_t stage_flag_to_release1(std::int32_t flag)
{
    for (std::int32_t old = 0; old <= StageHarvest; ++old) {
        if (stage_flag_from_release1(old) == flag)
            return old;
    }
    return flag;
}

std::size_t station_record_size(StationLayout layout)
{
    return layout == StationLayout::Release1 ? kRelease1StationRecordSize : kStationRecordSize;
}

std::size_t crop_record_size(CropLayout layout)
{
    return layout_info(layout).size;
}

std::size_t crop_stage_capacity(CropLayout layout)
{
    return layout_info(layout).stage_capacity;
}

std::vector<std::uint8_t> encode_station(const StationRecord &record, StationLayout layout)
{
    std::vector<std::uint8_t> bytes(station_record_size(layout));
    put_station(bytes, record, layout);
    return bytes;
}

std::vector<std::uint8_t> encode_crop(const CropRecord &record, CropLayout layout)
{
    std::vector<std::uint8_t> bytes(crop_record_size(layout));
    put_crop(bytes, record, layout_info(layout));
    return bytes;
}

StationRecord decode_station(std::span<const std::uint8_t> bytes, StationLayout layout)
{
    return get_station(bytes, layout);
}

CropRecord decode_crop(std::span<const std::uint8_t> bytes, CropLayout layout)
{
    return get_crop(bytes, layout_info(layout));
}

StationImage encode_station(const StationRecord &r)
{
    StationImage b{};
    put_station(b, r, StationLayout::Current);
    return b;
}

StationRecord decode_station(std::span<const std::uint8_t, kStationRecordSize> b)
{
    return get_station(b, StationLayout::Current);
}

CropImage encode_crop(const CropRecord &r)
{
    CropImage b{};
    put_crop(b, r, kCurrentCrop);
    return b;
}

CropRecord decode_crop(std::span<const std::uint8_t, kCropRecordSize> b)
{
    return get_crop(b, kCurrentCrop);
}

} // namespace tw
