#pragma once

#include "platform/text_table.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The daily weather table as the location's weather view shows and prints it: the headers with
// their unit labels, the row texts in display units, which columns the equation needs.
namespace tw {

class CLocationDoc;
struct WeatherDay;

constexpr int kWeatherColumns = 9;

std::vector<std::string> weather_table_headers();
/// Jensen-Haise and Hargreaves hide humidity and wind; ETR shows only Date, Rain and Etr.
bool weather_column_visible(std::int32_t et_method, int column);
/// A column's width from its header's text width; 0 for a hidden column.
int weather_column_width(std::int32_t et_method, int column, int header_text_width);

/// The nine cells of day i (0 <= i < day_count); a day without data that the forecast covers
/// shows the forecast's values.
std::vector<std::string> weather_row_texts(const CLocationDoc &location, int i);

/// Every day in the columns the location's equation shows; a forecast day's date is followed by
/// kForecastDateMark, as the text has no pictures.
TextTable weather_text_table(const CLocationDoc &location);

inline constexpr std::string_view kForecastDateMark = " (forecast)";

/// The state picture of a row.
enum class DayMark { None = 0, Rain = 1, NoData = 2, Forecast = 3 };
DayMark weather_row_mark(const WeatherDay &day);
/// The picture of day i of the location: Forecast for a day the forecast covers.
DayMark weather_row_mark(const CLocationDoc &location, int i);
/// What a row's picture says (its tool tip); empty for none.
std::string_view day_mark_meaning(DayMark mark);

/// A humidity fraction as a whole percent, truncated; a stored percent / 100 shows its percent
/// again.
int whole_percent(float fraction);

} // namespace tw
