#pragma once

#include "location/weather_day.h"

#include <cstdint>
#include <string>

namespace tw {

class CLocationDoc;

constexpr int kWeatherColumns = 9;

std::string weather_column_header(int column);
bool weather_column_visible(std::int32_t et_method, int column);
std::string weather_cell_text(const CLocationDoc &doc, int day, int column);
bool shows_rain(const WeatherDay &day);

} // namespace tw
