#include "location/weather_tips.h"

#include "refdata/units.h"

namespace tw {

std::string weather_column_tip(int column)
{
    switch (column) {
    case 0:
        return "The day. Its picture marks a rain day or a day without weather; double-click a "
               "day to type or correct its weather.";
    case 1:
        return "The rain measured at the station that day, in " + sed_SetUnits(Depth) +
               " (small amounts are left blank).";
    case 2: return "The day's lowest air temperature, in " + sed_SetUnits(Temperature) + ".";
    case 3: return "The day's highest air temperature, in " + sed_SetUnits(Temperature) + ".";
    case 4:
        return "The energy of the sunshine the day brought (solar radiation), in " +
               sed_SetUnits(Radiation) + ".";
    case 5: return "The day's lowest relative humidity of the air, in percent.";
    case 6: return "The day's highest relative humidity of the air, in percent.";
    case 7: return "The wind speed over the day, in " + sed_SetUnits(Wind_Speed) + ".";
    case 8:
        return "The reference evapotranspiration (ETr), in " + sed_SetUnits(Depth) +
               ": the water a well-watered reference crop would use that day. Each field scales "
               "it to its own crop.";
    default: return {};
    }
}

} // namespace tw
