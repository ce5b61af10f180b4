#include "leaching/nitrogen_table.h"

#include "field/field_doc.h"
#include "platform/dates.h"
#include "platform/text_format.h"
#include "refdata/custom_settings.h"
#include "refdata/units.h"

namespace tw {
namespace {

enum Column { Date, Available, Applied, Uptake, DeepPerc, Leached };

/// Whole lb/acre; empty when there is nothing.
std::string positive_whole(float value)
{
    return value > 0.0f ? strprintf("%d", truncate_to_int(value)) : std::string();
}

/// The crop still grows toward the harvest of the day's cycle: only then is its uptake shown.
bool before_harvest(const CFieldDoc &field, int d, const FieldDay &t)
{
    const std::int32_t basis = custom_settings().crop_growth_basis;
    const HarvestCycle &cycle = field.season.cycles[static_cast<std::size_t>(
        cycle_of_day(field.season.cycles, harvest_count(field.saved.crop), basis, d, t.cum_gdd))];
    if (basis == GrowingDegreeDays)
        return static_cast<float>(cycle.harvest_gdd) > t.cum_gdd && t.nitrate_available > 0.0f;
    return d < cycle.harvest_day;
}

} // namespace

std::array<std::string, kNitrogenColumns> nitrogen_table_titles()
{
    return {"Date      ",
            "N.Available(lbs/Acre)",
            "N.App(lbs/Acre)",
            "Crop Uptake(lbs/Acre)",
            "Deep Perc(" + sed_SetUnits(Depth) + ")",
            "N.Leached(lbs/Acre)"};
}

NitrogenRow nitrogen_row(const CFieldDoc &field, int d)
{
    NitrogenRow row;
    if (!field.has_day(d))
        return row;
    const FieldDay &t = field.season.days[static_cast<std::size_t>(d)];
    auto &c = row.cells;
    row.no_weather = t.kind == KindNoData;
    c[Date] = format_date(field.date_of(d), "%m/%d/%y");
    c[Available] = positive_whole(t.nitrate_available);
    c[Applied] = positive_whole(t.n_applied);
    if (before_harvest(field, d, t))
        c[Uptake] = strprintf("%d", truncate_to_int(t.n_uptake));
    if (t.drainage > 0.0f)
        c[DeepPerc] = strprintf("%1.1f", static_cast<double>(convert_to(Depth, t.drainage)));
    c[Leached] = positive_whole(t.nitrate_leached);
    return row;
}

TextTable nitrogen_text_table(const CFieldDoc &field)
{
    const auto titles = nitrogen_table_titles();
    TextTable table{{titles.begin(), titles.end()}, {}};
    for (int d = 0; d < field.day_count(); ++d) {
        const auto cells = nitrogen_row(field, d).cells;
        table.rows.emplace_back(cells.begin(), cells.end());
    }
    return table;
}

} // namespace tw
