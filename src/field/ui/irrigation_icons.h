#pragma once

#include <QIcon>

namespace tw {

/// The state picture of an irrigation table row, by its number (1-10; 0 and any other number give
/// an empty picture of the same size). Each picture is made of glyphs that differ in shape as
/// well as colour: a clock for a forecast day, a green fountain for an irrigation, a red disc
/// with an exclamation mark for an irrigation need (a small disc in a corner beside another
/// glyph), the blue rain drop and the struck-through circle of a day without weather.
QIcon irrigation_icon(int number);
/// The mark of a day whose soil moisture was measured: a probe in the ground.
QIcon measured_icon();

} // namespace tw
