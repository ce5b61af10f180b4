#pragma once

#include "field/field_day.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tw {

class CFieldDoc;

/// Why a season has, or has not, a next irrigation.
enum class NextReason {
    Due,          ///< the last forecast day (or the last actual one) needs water
    NoneForecast, ///< the forecast ran to the end of the record, or too few days to forecast
    PostHarvest,  ///< the last actual day is past harvest
    Stopped,      ///< the forecast reached the Stop Irrigating stage without a need
    NoWeather,    ///< the last actual day holds nothing computed (no weather after planting)
};

/// The reason's word in the command line's CSV ("due", "none_forecast", ...).
std::string_view reason_key(NextReason reason);

/// What a season run says about the next irrigation, decided in this one place.
struct NextIrrigation
{
    NextReason reason = NextReason::NoWeather;
    std::optional<int> date;   ///< day serial of the irrigation; only when due
    bool due_now = false;      ///< due on the last actual day
    float gross_amount = 0.0f; ///< internal depth unit; above 0 only when due
    /// The day serial the system has to start by to cover the field by the date; only when due
    /// and a system capacity is set.
    std::optional<int> start_by;
    bool start_now = false; ///< the start-by date is not after the last actual day
    std::int32_t advice = AdviceBeyondForecast; ///< the category of the last actual day

    bool due() const { return reason == NextReason::Due; }
};

/// The results of a run the decision reads.
struct SeasonOutcome
{
    std::span<const FieldDay> days;
    int last_actual_day = 0;
    int last_forecast_day = 0;
    bool forecast_made = false;
    int planting_day = 0; ///< day serial of field day 0
};

/// Decides the next irrigation of a run's outcome for a system that needs days_per_mm days to
/// apply one mm to the whole field (unset when 0).
NextIrrigation decide_next_irrigation(const SeasonOutcome &season, float days_per_mm);

/// The start-by day as the windows show it: "Now" when it has come, else its date; nothing when
/// there is none.
std::optional<std::string> start_by_text(const NextIrrigation &next);

/// The next irrigation after the field's last season run.
NextIrrigation next_irrigation(const CFieldDoc &field);

} // namespace tw
