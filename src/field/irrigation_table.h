#pragma once

#include "field/field_day.h"
#include "platform/text_table.h"
#include "refdata/records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

class CFieldDoc;

constexpr int kIrrigationColumns = 10;

/// Rows are written for a whole fill of the table or refreshed in place from a day on; the two
/// differ in the rain threshold of the icons, the rain formats and the cells a refresh leaves.
enum class TableFill { Full, Refresh };

/// A row of the irrigation table. A cell without a value is left as it was (refresh only).
struct IrrigationRow
{
    int icon = 0;          ///< 1-10, 0 for none
    bool measured = false; ///< the day's soil moisture is a reading, not the balance's
    /// A forecast day computed from the location's weather forecast, not the recent means.
    bool forecast_weather = false;
    std::array<std::optional<std::string>, kIrrigationColumns> cells;
};

/// The column titles, with the display units of the moment.
std::array<std::string, kIrrigationColumns> irrigation_table_titles();
/// Pixels added to a column's title width (column 0 holds the date).
int irrigation_column_margin(int column);
/// Only the growth-stage column is left-aligned.
bool irrigation_column_left_aligned(int column);

/// "Depth(in)", "Deficit(in)" or "Content(in/ft)" by the soil-moisture display preference.
std::string moisture_label();
/// A displayed soil moisture or critical level in the unit of that label, "%1.2f".
std::string moisture_text(float value);

/// The text of a day's growth stage: the crop stage's name, or the text of a day code.
std::string day_stage_text(const CropRecord &crop, std::int32_t stage);

/// The state icon of a day.
int irrigation_row_icon(const FieldDay &day, TableFill fill);
constexpr int kIrrigationIcons = 10;
/// What a state icon says of its day (the legend and the pictures' tool tips); empty for none.
std::string_view irrigation_icon_meaning(int icon);
/// The column that marks a day whose soil moisture was measured, and what the mark says.
int irrigation_measured_column();
std::string_view measured_mark_meaning();
/// The column that marks a forecast day computed from the location's weather forecast (its crop
/// ET), and what the mark says.
int irrigation_forecast_weather_column();
std::string_view forecast_weather_mark_meaning();

/// Field day d as the table shows it.
IrrigationRow irrigation_row(const CFieldDoc &field, int d, TableFill fill);

/// Days first..last (within the field) as a whole fill of the table writes them.
TextTable irrigation_text_table(const CFieldDoc &field, int first, int last);
TextTable irrigation_text_table(const CFieldDoc &field);

} // namespace tw
