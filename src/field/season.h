#pragma once

#include "field/field_day.h"
#include "field/growth_stages.h"
#include "location/forecast_days.h"
#include "location/weather_day.h"
#include "refdata/records.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tw {

/// The preferences a season run reads, taken once at its start, and what learning from readings
/// adds to the days it is run for.
struct RunSettings
{
    std::int32_t basis = 0;
    std::int32_t root_model = 0;
    std::int32_t moisture_display = 1;
    /// Water taken from the root zone each day before harvest beyond crop ET, mm (a negative
    /// value adds water).
    float added_depletion = 0.0f;

    static RunSettings current();
};

/// What a season run reads besides the days: the field's saved values (with the nitrogen values
/// its nutrient file gave, already read), the location's weather and the settings.
struct SeasonInputs
{
    const CropRecord &crop;
    const SoilRecord &soil;
    float efficiency = 0.0f;   ///< application efficiency, percent
    float net_depth_in = 0.0f; ///< the system's net application depth
    float initial_moisture = 0.0f;
    float water_nitrate_ppm = 0.0f;      ///< of the irrigation water
    float soil_nitrogen = 0.0f;          ///< available at planting, lbs/acre
    float seasonal_nitrogen = 0.0f;      ///< the nutrient file's yield goal; 0 leaves nitrogen out
    std::span<const WeatherDay> weather; ///< the location's days
    int day_offset = 0;                  ///< the location day of field day 0
    RunSettings settings;
    /// The location's weather forecast for the days after its last day with data; may be empty.
    const ForecastDays *forecast = nullptr;

    /// The location day field day d falls on; nothing outside the location's record.
    const WeatherDay *weather_of(int d) const;
};

/// What a season run produces: the days (entered columns in, computed ones out), where the actual
/// days and the forecast end, the harvest cycles, and what the user has to be told.
struct FieldSeason
{
    std::vector<FieldDay> days;
    HarvestTable cycles{};
    int last_actual_day = 0;
    int last_forecast_day = 0;
    bool forecast_made = false; ///< the run had the days to forecast from
    float forecast_tmax = 0.0f;
    float forecast_tmin = 0.0f;
    float forecast_etr = 0.0f;
    // Per-day sums the run rebuilds before its daily steps.
    std::vector<std::int32_t> cum_n_applied;
    std::vector<std::int32_t> cum_leached;
    std::vector<float> cum_irrigation_in;
    std::vector<std::string> messages;
    /// The drift the document's second run added to each day after the last reading, mm a day;
    /// the run itself leaves it alone.
    float learned_drift = 0.0f;

    int day_count() const { return static_cast<int>(days.size()); }
};

} // namespace tw
