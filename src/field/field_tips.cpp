#include "field/field_tips.h"

#include "field/system_capacity.h"
#include "field/water_balance.h"
#include "refdata/custom_settings.h"
#include "refdata/units.h"

namespace tw {
namespace {

std::string depth()
{
    return sed_SetUnits(Depth);
}

/// The soil moisture as the preferences show it, and the unit it is shown in.
std::string moisture_meaning()
{
    switch (custom_settings().moisture_display) {
    case AvailableDepth:
        return "the water left in the root zone that the crop can still use, in " + depth();
    case DeficitDisplay:
        return "the deficit: how much water the root zone lacks to be back at field capacity, "
               "in " +
               depth() + " (0 is full)";
    default: return "the soil's water content, in " + sed_SetUnits(Soil_Moisture);
    }
}

std::string critical_meaning()
{
    switch (custom_settings().moisture_display) {
    case AvailableDepth:
        return "The critical level, in " + depth() +
               ": when the water left falls below it, the crop is short of water and the field "
               "needs irrigating.";
    case DeficitDisplay:
        return "The critical deficit (the allowable depletion), in " + depth() +
               ": irrigate before the deficit passes it, or the crop is short of water.";
    default:
        return "The critical water content, in " + sed_SetUnits(Soil_Moisture) +
               ": when the content falls below it, the crop is short of water and the field "
               "needs irrigating.";
    }
}

} // namespace

std::string irrigation_column_tip(int column)
{
    switch (column) {
    case 0:
        return "The day. Its picture marks rain, irrigation, a forecast day, a day that needs "
               "water or a day without weather (View > Legend); double-click a day to enter its "
               "irrigation, rain or soil moisture.";
    case 1:
        return "Growing degree days since planting, in " + sed_SetUnits(Temperature) +
               " degree days: the warmth the crop has had, which moves it through its stages.";
    case 2:
        return "The crop's growth stage that day; \"No Data\" where the season has not been "
               "computed (no weather yet, or beyond the forecast).";
    case 3:
        return "How deep the roots reach that day, in " + depth() +
               ": the balance counts the water held down to this depth.";
    case 4:
        return "The water the crop used that day (crop evapotranspiration), in " + depth() +
               ": the reference ET of the weather scaled to the crop's stage and the dryness of "
               "the soil.";
    case 5:
        return "The part of the day's irrigation that reaches the roots, in " + depth() +
               ": the gross amount entered times the system's efficiency.";
    case 6: return "The rain measured that day, in " + depth() + ".";
    case 7: return "The soil moisture at the end of the day: " + moisture_meaning() + ".";
    case 8: return critical_meaning();
    case 9:
        return "On a day that calls for water: the gross amount to apply, in " + depth() +
               ", to bring the root zone back to field capacity, allowing for the system's "
               "efficiency.";
    default: return {};
    }
}

std::string summary_column_tip(int column)
{
    switch (column) {
    case 0: return "The field's name. The line shows each open field of this location.";
    case 1: return "The crop grown in the field.";
    case 2: return "The crop's growth stage on the last day with weather.";
    case 3: return "The soil moisture on the last day with weather: " + moisture_meaning() + ".";
    case 4:
        return "The date of the next irrigation the forecast calls for; \" (ASAP)\" when the "
               "field needs water now.";
    case 5:
        return "The day to start the next irrigation so that the system (at its capacity in " +
               days_per_unit_label() +
               ") covers the whole field by the irrigation date; \"Now\" when that day has come. "
               "Empty while the field has no system capacity.";
    case 6:
        return "The gross amount of the next irrigation, in " + depth() +
               ", to bring the root zone back to field capacity.";
    case 7:
        return "The soil nitrate-nitrogen available to the crop on the last day with weather, in "
               "lbs/acre, after a fertilizer consultation.";
    default: return {};
    }
}

std::string chart_series_tip(std::string_view series)
{
    if (series == "Deficit")
        return "How much water the root zone lacks to be back at field capacity, in " + depth() +
               ". It rises as the crop uses water and falls with rain and irrigation.";
    if (series == "Critical deficit")
        return "The allowable depletion, in " + depth() +
               ": irrigate before the deficit line crosses it, or the crop is short of water.";
    if (series == "TAW")
        return "The total available water, in " + depth() +
               ": all the water the roots can reach. It grows as the roots grow; a deficit at "
               "this ceiling means the soil is dry.";
    if (series == "Rain")
        return "The rain of each day, in " + depth() + ".";
    if (series == "Irrigation")
        return "The irrigation entered for each day (gross), in " + depth() + ".";
    if (series == "Forecast")
        return "The shaded days are forecast up to the next irrigation, with the average weather "
               "of the last seven days where the location has no weather forecast.";
    if (series == "Forecast weather")
        return "The hatched days are forecast with the location's weather forecast: its "
               "temperatures, ETr and rain in place of the last seven days' averages.";
    if (series == "Last actual day")
        return "The last day with weather: the days before it are measured, the days after it "
               "are forecast.";
    return {};
}

std::string panel_figure_tip(PanelFigure figure)
{
    switch (figure) {
    case PanelFigure::When:
        return "When to irrigate next: \"Now\", or the day the forecast runs out of allowable "
               "depletion. It shows in red when the crop is already short of water.";
    case PanelFigure::Amount:
        return "The gross amount of the next irrigation, in " + depth() +
               ", to bring the root zone back to field capacity, allowing for the system's "
               "efficiency.";
    case PanelFigure::Moisture:
        return "The soil moisture on the last day with weather (" + moisture_meaning() +
               "), beside the critical level at which the crop is short of water.";
    case PanelFigure::Advice:
        return "The advice for the last day with weather, from the deficit against the "
               "allowable depletion and the total available water.";
    case PanelFigure::RainDelay:
        return "The weather forecast's rain puts the next irrigation off: without that rain the "
               "forecast would call for water earlier.";
    }
    return {};
}

} // namespace tw
