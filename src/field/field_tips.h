#pragma once

#include <string>
#include <string_view>

// What each figure of a field's windows means, in one or two plain sentences for a grower, with
// the display units of the moment where a figure is an amount: the tool tips and What's This
// texts of the irrigation table's titles, the location summary's titles, the chart's series and
// the next-irrigation panel.
namespace tw {

/// A column title of the irrigation table (0-9); empty for any other column.
std::string irrigation_column_tip(int column);

/// A column title of a location's summary of fields; empty for any other column.
std::string summary_column_tip(int column);

/// A series of the water-balance chart, by the name its legend shows; empty for a name the chart
/// does not have.
std::string chart_series_tip(std::string_view series);

/// The figures of the next-irrigation panel.
enum class PanelFigure { When, Amount, Moisture, Advice, RainDelay };
std::string panel_figure_tip(PanelFigure figure);

} // namespace tw
