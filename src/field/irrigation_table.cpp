#include "field/irrigation_table.h"

#include "field/field_doc.h"
#include "field/forecast_weather.h"
#include "field/water_balance.h"
#include "location/weather_table.h"
#include "platform/dates.h"
#include "platform/text_format.h"
#include "refdata/custom_settings.h"
#include "refdata/units.h"

#include <algorithm>

namespace tw {
namespace {

enum Column { Date, Gdd, Stage, Roots, CropEt, EffIrrigation, Rain, Moisture, Critical, Needed };

/// Rain (mm) that counts as a rain day for the icons.
constexpr float kFillRainThreshold = 1.5f;
constexpr float kRefreshRainThreshold = 2.5f;

std::string depth_unit_title(const char *name)
{
    return std::string(name) + "(" + sed_SetUnits(Depth) + ")";
}

std::string depth_text(const char *format, float mm)
{
    return strprintf(format, static_cast<double>(convert_to(Depth, mm)));
}

/// Empty when the value is not above 0.
std::string positive_depth_text(const char *format, float mm)
{
    return mm > 0.0f ? depth_text(format, mm) : std::string();
}

} // namespace

std::string moisture_text(float value)
{
    const std::int32_t mode = custom_settings().moisture_display;
    const bool as_depth = mode == AvailableDepth || mode == DeficitDisplay;
    const std::string text = strprintf(
        "%1.2f", static_cast<double>(convert_to(as_depth ? Depth : Soil_Moisture, value)));
    // A deficit a hair below zero (float noise at field capacity) reads as none, not "-0.00".
    return text == "-0.00" ? "0.00" : text;
}

std::string moisture_label()
{
    switch (custom_settings().moisture_display) {
    case AvailableDepth: return depth_unit_title("Depth");
    case DeficitDisplay: return depth_unit_title("Deficit");
    default: return "Content(" + sed_SetUnits(Soil_Moisture) + ")";
    }
}

std::array<std::string, kIrrigationColumns> irrigation_table_titles()
{
    return {"     Date",
            "GDD(" + sed_SetUnits(Temperature) + ")",
            "Growth Stage    ",
            depth_unit_title("Root Depth"),
            depth_unit_title("Crop ET"),
            depth_unit_title("Eff. Irrig"),
            depth_unit_title("Rain"),
            "Current " + moisture_label(),
            "Critical " + moisture_label(),
            depth_unit_title("Irrigation needed")};
}

int irrigation_column_margin(int column)
{
    return column == Date ? 40 : 15;
}

bool irrigation_column_left_aligned(int column)
{
    return column == Stage;
}

std::string day_stage_text(const CropRecord &crop, std::int32_t stage)
{
    switch (stage) {
    case StagePostHarvest: return "Post-Harvest";
    case StageNotComputed: return "No Data";
    case StageForecasted: return "Forecasted";
    default: break;
    }
    if (stage < 0 || stage >= crop.stage_count || static_cast<std::size_t>(stage) >= kMaxStages)
        return {};
    return crop.stages[static_cast<std::size_t>(stage)].name;
}

int irrigation_row_icon(const FieldDay &day, TableFill fill)
{
    const float threshold = fill == TableFill::Full ? kFillRainThreshold : kRefreshRainThreshold;
    const bool rain = day.rain >= threshold;
    const bool irrigated = day.gross_irrigation > 0.0f;
    const bool needed = day.irrigation_needed != 0.0f;
    if (day.kind == KindNoData)
        return 10;
    if (rain)
        return irrigated ? (needed ? 8 : 7) : (needed ? 9 : 6);
    if (day.kind == KindForecast)
        return needed ? 2 : 1;
    if (irrigated)
        return needed ? 4 : 3;
    return needed ? 5 : 0;
}

std::string_view irrigation_icon_meaning(int icon)
{
    switch (icon) {
    case 1: return "Forecast day";
    case 2: return "Forecast day: irrigation needed";
    case 3: return "Irrigated";
    case 4: return "Irrigated, and irrigation still needed";
    case 5: return "Irrigation needed";
    case 6: return day_mark_meaning(DayMark::Rain);
    case 7: return "Rain and irrigation";
    case 8: return "Rain and irrigation, and irrigation still needed";
    case 9: return "Rain, and irrigation needed";
    case 10: return day_mark_meaning(DayMark::NoData);
    default: return {};
    }
}

int irrigation_measured_column()
{
    return Moisture;
}

std::string_view measured_mark_meaning()
{
    return "Measured: the soil moisture of this day is a reading entered over the balance's";
}

int irrigation_forecast_weather_column()
{
    return CropEt;
}

std::string_view forecast_weather_mark_meaning()
{
    return "Forecast weather: the crop ET and rain of this day come from the location's weather "
           "forecast, not from the recent days' means";
}

IrrigationRow irrigation_row(const CFieldDoc &field, int d, TableFill fill)
{
    IrrigationRow row;
    if (!field.has_day(d))
        return row;
    const FieldDay &day = field.season.days[static_cast<std::size_t>(d)];
    const bool refresh = fill == TableFill::Refresh;
    const char *rain_format = refresh ? "%1.1f" : "%1.2f";
    auto &c = row.cells;
    row.icon = irrigation_row_icon(day, fill);
    if (!refresh)
        c[Date] = format_date(field.date_of(d), "%m/%d/%y");
    c[Gdd] = strprintf("%d", truncate_to_int(convert_to(Degree_Days, day.cum_gdd)));
    c[Stage] = day_stage_text(field.saved.crop, day.stage);
    if (day.stage == StageNotComputed) {
        for (const int col : {Roots, CropEt, Moisture, Critical})
            c[static_cast<std::size_t>(col)] = std::string();
        if (refresh) {
            c[Rain] = std::string();
        } else {
            c[EffIrrigation] = c[Rain] = c[Needed] = std::string();
        }
        return row;
    }
    c[Roots] = depth_text("%1.1f", day.root_depth);
    c[CropEt] = depth_text("%1.2f", day.crop_et);
    c[EffIrrigation] = positive_depth_text(rain_format, day.effective_irrigation);
    // A forecast day shows the rain the balance counted on it, the forecast's when it has some.
    c[Rain] = positive_depth_text(
        rain_format, day_rain(field.season_inputs(RunSettings{}), field.season.days, d));
    c[Moisture] = moisture_text(day.soil_moisture);
    row.measured = day.sm_override != 0;
    row.forecast_weather = field.on_forecast_weather(d);
    if (refresh && day.stage == StagePostHarvest)
        return row;
    c[Critical] = moisture_text(day.critical);
    c[Needed] = positive_depth_text("%1.1f", day.irrigation_needed);
    return row;
}

TextTable irrigation_text_table(const CFieldDoc &field, int first, int last)
{
    const auto titles = irrigation_table_titles();
    TextTable table{{titles.begin(), titles.end()}, {}};
    for (int d = std::max(first, 0); d <= last && d < field.day_count(); ++d) {
        std::vector<std::string> cells;
        for (const auto &cell : irrigation_row(field, d, TableFill::Full).cells)
            cells.push_back(cell.value_or(""));
        table.rows.push_back(std::move(cells));
    }
    return table;
}

TextTable irrigation_text_table(const CFieldDoc &field)
{
    return irrigation_text_table(field, 0, field.day_count() - 1);
}

} // namespace tw
