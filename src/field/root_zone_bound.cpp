#include "field/root_zone_bound.h"

#include "field/daily_entry_form.h"
#include "field/field_doc.h"
#include "platform/dates.h"
#include "platform/text_format.h"
#include "refdata/units.h"

namespace tw {
namespace {

/// A content at exactly the wilting point stands for the whole available water; the float
/// products on either side may differ by this much (mm).
constexpr double kRoundingRoom = 1e-3;

} // namespace

std::optional<std::string> deficit_beyond_root_zone(const CFieldDoc &field, int d, double deficit)
{
    const double taw = field.season.days[static_cast<std::size_t>(d)].taw;
    if (deficit >= -kRoundingRoom && deficit <= taw + kRoundingRoom)
        return std::nullopt;
    const std::string unit = sed_SetUnits(Depth);
    const double shown_per_mm = convert_to(Depth, 1.0f);
    return strprintf("%s: a deficit of %g %s is outside what the root zone holds that day, 0 to "
                     "%g %s.",
                     iso_date(field.date_of(d)).c_str(), deficit * shown_per_mm, unit.c_str(),
                     taw * shown_per_mm, unit.c_str());
}

std::optional<std::string> reading_beyond_root_zone(const CFieldDoc &field,
                                                    std::span<const SoilReading> readings,
                                                    ReadingKind kind)
{
    for (const SoilReading &reading : readings) {
        const int d = reading.date - field.saved.planting_date.day();
        if (!field.has_day(d))
            continue;
        const double deficit = kind == ReadingKind::Content
                                   ? deficit_of_content(field, d, reading.value)
                                   : static_cast<double>(reading.value);
        if (auto message = deficit_beyond_root_zone(field, d, deficit))
            return "Line " + std::to_string(reading.line) + ": " + *message;
    }
    return std::nullopt;
}

} // namespace tw
