#include "field/field_summary.h"

#include "field/field_doc.h"
#include "field/irrigation_table.h"
#include "field/next_irrigation.h"
#include "field/water_balance.h"
#include "platform/dates.h"
#include "platform/text_format.h"
#include "refdata/custom_settings.h"
#include "refdata/units.h"

namespace tw {
namespace {

enum Column { Field, Crop, Stage, Moisture, NextDate, StartBy, Amount, Nitrogen };
static_assert(StartBy == kStartByColumn);

std::string summary_moisture(float value)
{
    float shown = 0.0f;
    switch (custom_settings().moisture_display) {
    case AvailableDepth:
    case DeficitDisplay: shown = convert_to(Depth, value); break;
    case ContentDisplay: shown = convert_to(Soil_Moisture, value); break;
    default: break;
    }
    return strprintf("%1.2f", static_cast<double>(shown));
}

} // namespace

std::array<std::string, kSummaryColumns> field_summary_headers()
{
    const std::string depth = sed_SetUnits(Depth);
    return {"Field",
            "Crop",
            "Growth Stage",
            "Soil Moisture(" + depth + ")",
            "Next Irrigation",
            "Start By",
            "Irrigation Amount(" + depth + ")",
            "Available Nitrogen"};
}

std::array<std::string, kSummaryColumns> field_summary_row(const CFieldDoc &field)
{
    std::array<std::string, kSummaryColumns> row;
    row[Field] = field.saved.name;
    row[Crop] = field.saved.crop.name;
    const int a = field.season.last_actual_day;
    // A field without days (or with days its run never reached) has nothing computed to show.
    if (!field.has_day(a)) {
        row[Stage] = day_stage_text(field.saved.crop, StageNotComputed);
        return row;
    }
    const FieldDay &actual = field.season.days[static_cast<std::size_t>(a)];
    row[Stage] = day_stage_text(field.saved.crop, actual.stage);
    if (actual.stage == StageNotComputed)
        return row;
    row[Moisture] = summary_moisture(actual.soil_moisture);
    // Only a needed irrigation has a date: a season that needs none shows no day to irrigate.
    if (const NextIrrigation next = next_irrigation(field); next.due()) {
        row[NextDate] = format_date(*next.date, "%m/%d/%y") + (next.due_now ? " (ASAP)" : "");
        row[StartBy] = start_by_text(next).value_or("");
        row[Amount] = strprintf("%1.1f", static_cast<double>(convert_to(Depth, next.gross_amount)));
    }
    if (actual.nitrate_available > 0.0f)
        row[Nitrogen] = strprintf("%d", truncate_to_int(actual.nitrate_available));
    return row;
}

std::vector<const CFieldDoc *> summary_fields(const CLocationDoc &location)
{
    std::vector<const CFieldDoc *> fields;
    for (LocationField *bound : location.collect_fields()) {
        if (const auto *field = dynamic_cast<const CFieldDoc *>(bound))
            fields.push_back(field);
    }
    return fields;
}

std::vector<std::array<std::string, kSummaryColumns>>
location_summary_rows(const CLocationDoc &location)
{
    std::vector<std::array<std::string, kSummaryColumns>> rows;
    for (const CFieldDoc *field : summary_fields(location))
        rows.push_back(field_summary_row(*field));
    return rows;
}

TextTable summary_text_table(const CLocationDoc &location)
{
    const auto headers = field_summary_headers();
    TextTable table{{headers.begin(), headers.end()}, {}};
    for (const auto &row : location_summary_rows(location))
        table.rows.emplace_back(row.begin(), row.end());
    return table;
}

} // namespace tw
