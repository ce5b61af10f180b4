#include "location/weather_table.h"

#include "location/forecast_days.h"
#include "location/location_doc.h"
#include "platform/text_format.h"
#include "refdata/units.h"

#include <cmath>

namespace tw {
namespace {

enum Column { Date, Rain, Tmin, Tmax, SolarRad, MinRh, MaxRh, WindSpd, Etr };

// Rain below this is left out of the table and its picture.
constexpr float kShownRain = 2.5f; // mm

std::string with_unit(const char *quantity, Dimension dimension)
{
    return std::string(quantity) + "(" + sed_SetUnits(dimension) + ")";
}

} // namespace

std::vector<std::string> weather_table_headers()
{
    return {"     Date",
            with_unit("Rain", Depth),
            with_unit("Tmin", Temperature),
            with_unit("Tmax", Temperature),
            with_unit("SolarRad", Radiation),
            "Min RH(%)",
            "Max RH(%)",
            with_unit("WindSpd", Wind_Speed),
            with_unit("Etr", Depth)};
}

bool weather_column_visible(std::int32_t et_method, int column)
{
    if (column < 0 || column >= kWeatherColumns)
        return false;
    switch (et_method) {
    case JensenHaise:
    case Hargreaves: return column != MinRh && column != MaxRh && column != WindSpd;
    case EtrDirect: return column == Date || column == Rain || column == Etr;
    default: return true;
    }
}

int weather_column_width(std::int32_t et_method, int column, int header_text_width)
{
    if (!weather_column_visible(et_method, column))
        return 0;
    return header_text_width + (column == Date ? 40 : 15);
}

std::vector<std::string> weather_row_texts(const CLocationDoc &location, int i)
{
    const WeatherDay *forecast = forecast_day(location, i);
    const WeatherDay &d = forecast ? *forecast : location.day(i);
    return {format_date(location.date_of(i), "%m/%d/%y"),
            d.rain >= kShownRain ? strprintf("%.1f", convert_to(Depth, d.rain)) : std::string(),
            strprintf("%2.1f", convert_to(Temperature, d.t_min)),
            strprintf("%1.1f", convert_to(Temperature, d.t_max)),
            strprintf("%1.1f", convert_to(Radiation, d.solar_radiation)),
            strprintf("%d", whole_percent(d.rh_min)),
            strprintf("%d", whole_percent(d.rh_max)),
            strprintf("%1.1f", convert_to(Wind_Speed, d.wind_run)),
            strprintf("%1.2f", convert_to(Depth, d.etr_used))};
}

DayMark weather_row_mark(const WeatherDay &day)
{
    if (day.has_data == 0)
        return DayMark::NoData;
    return day.rain >= kShownRain ? DayMark::Rain : DayMark::None;
}

DayMark weather_row_mark(const CLocationDoc &location, int i)
{
    return forecast_day(location, i) ? DayMark::Forecast : weather_row_mark(location.day(i));
}

std::string_view day_mark_meaning(DayMark mark)
{
    switch (mark) {
    case DayMark::Forecast: return "Forecast weather, not yet a day with data";
    case DayMark::Rain: return "Rain";
    case DayMark::NoData: return "No weather data for the day";
    case DayMark::None: break;
    }
    return {};
}

int whole_percent(float fraction)
{
    // The float nearest p / 100 may lie just below it (0.53f × 100 is 52.99999...): truncated
    // as it stands, a typed 53 would show, and at the next OK store, 52. The allowance covers
    // the float's rounding (at most 6e-6 of a percent) and no real fraction of a percent.
    const double exact = static_cast<double>(fraction) * 100.0;
    const double percent = exact + std::copysign(1e-5, exact);
    // A damaged file may hold anything; only a representable percent is truncated.
    if (!(percent > -1.0e9 && percent < 1.0e9))
        return 0;
    return static_cast<int>(percent);
}

TextTable weather_text_table(const CLocationDoc &location)
{
    const auto visible = [&](const std::vector<std::string> &cells) {
        std::vector<std::string> shown;
        for (int c = 0; c < kWeatherColumns; ++c) {
            if (weather_column_visible(location.et_method, c))
                shown.push_back(cells[static_cast<std::size_t>(c)]);
        }
        return shown;
    };
    TextTable table{visible(weather_table_headers()), {}};
    for (int i = 0; i < location.day_count(); ++i) {
        table.rows.push_back(visible(weather_row_texts(location, i)));
        if (forecast_day(location, i))
            table.rows.back().front() += kForecastDateMark;
    }
    return table;
}

} // namespace tw
