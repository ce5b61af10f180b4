#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tw {

/// Growth-stage codes a day holds besides a stage index.
enum DayStage : std::int32_t {
    StagePostHarvest = -2,
    StageNotComputed = -3,
    StageForecasted = -4,
};

/// Kinds of day: copied from the location day's has_data, or a forecast day.
enum DayKind : std::int32_t {
    KindNoData = 0,
    KindWeather = 1,
    KindForecast = 4,
};

/// Advice categories of a day.
enum Advice : std::int32_t {
    AdviceNone = 0,
    AdviceTomorrow = 1,
    AdviceNow = 2,
    AdviceCritical = 3,
    AdviceBeyondForecast = 4,
};

/// One day of a field in internal units (mm, Celsius degree-days, fractions, lbs/acre); 23
/// four-byte members in the .fld file. A default-constructed day is the empty record.
struct FieldDay
{
    float cum_gdd = 0.0f;
    std::int32_t kind = KindNoData;
    std::int32_t stage = StageNotComputed;
    float root_depth = 0.0f;
    float crop_et = 0.0f;
    float gross_irrigation = 0.0f; ///< entered
    float effective_irrigation = 0.0f;
    float deep_percolation = 0.0f;
    float taw = 0.0f;
    float allowable_depletion = 0.0f;
    float deficit = 0.0f;       ///< below field capacity; negative until the excess drains
    float critical = 0.0f;      ///< displayed critical level
    float soil_moisture = 0.0f; ///< displayed soil moisture
    std::int32_t category = AdviceNone;
    float irrigation_needed = 0.0f;
    float rain = 0.0f;            ///< measured, entered
    std::int32_t sm_override = 0; ///< nonzero: the deficit was entered
    float n_applied = 0.0f;       ///< entered
    float drainage = 0.0f;        ///< below the maximum root depth
    float lower_deficit = 0.0f;   ///< between the current and the maximum root depth
    float n_uptake = 0.0f;        ///< cumulative
    float nitrate_available = 0.0f;
    float nitrate_leached = 0.0f; ///< that day
};

constexpr std::size_t kFieldDaySize = 92;
using FieldDayImage = std::array<std::uint8_t, kFieldDaySize>;

FieldDayImage encode_field_day(const FieldDay &day);
FieldDay decode_field_day(std::span<const std::uint8_t, kFieldDaySize> bytes);

} // namespace tw
