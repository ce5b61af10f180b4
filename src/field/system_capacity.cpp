#include "field/system_capacity.h"

#include "field/field_doc.h"
#include "platform/text_format.h"
#include "refdata/units.h"

#include <algorithm>
#include <cmath>

namespace tw {
namespace {

/// About 1000 days per inch: nothing irrigates slower, and the start dates stay within reach.
constexpr float kMaxDaysPerMm = 40.0f;
/// Float storage of the rate and the amount leaves a few millionths of a day on a product that
/// is a whole number of days; that noise must not start the irrigation a day earlier.
constexpr double kWholeDayTolerance = 1e-4;

} // namespace

bool has_system_capacity(float days_per_mm)
{
    return days_per_mm > 0.0f && days_per_mm <= kMaxDaysPerMm;
}

float days_per_unit_shown(float days_per_mm)
{
    return days_per_mm / convert_to(Depth, 1.0f);
}

float days_per_mm_from_shown(float shown)
{
    return shown * convert_to(Depth, 1.0f);
}

std::string days_per_unit_label()
{
    return "days/" + sed_SetUnits(Depth);
}

std::optional<std::string> system_capacity_message(float shown)
{
    if (has_system_capacity(days_per_mm_from_shown(shown)))
        return std::nullopt;
    return strprintf("Please enter a System Capacity above 0 and at most %g %s, or leave it empty.",
                     static_cast<double>(days_per_unit_shown(kMaxDaysPerMm)),
                     days_per_unit_label().c_str());
}

std::optional<int> start_by_day(const CFieldDoc &field)
{
    const int f = field.last_forecast_day;
    if (!has_system_capacity(field.days_per_mm) || !field.has_day(f))
        return std::nullopt;
    const float amount = field.days[static_cast<std::size_t>(f)].irrigation_needed;
    if (!(amount > 0.0f))
        return std::nullopt;
    // An entered deficit may be any size: the lead is bounded before it becomes a day count,
    // and an irrigation cannot start before the field was planted.
    const double days = static_cast<double>(amount) * field.days_per_mm - kWholeDayTolerance;
    const double lead = std::clamp(std::ceil(days), 0.0, static_cast<double>(f));
    return f - static_cast<int>(lead);
}

} // namespace tw
