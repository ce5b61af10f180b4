#pragma once

#include "location/weather_table.h"

#include <QIcon>
#include <QVariant>

class QPainter;
class QRectF;

namespace tw {

/// Rain: a filled blue rain drop. No data: a grey open circle struck through. Forecast: a dashed
/// blue clock face. They differ in shape as well as colour, so that they can be told apart on a
/// grey-scale print too. A day without a mark gets an empty picture of the same size.
QIcon row_state_icon(DayMark mark);
/// The picture's tool tip; nothing for a day without a mark.
QVariant day_mark_tip(DayMark mark);

/// A glyph drawn in a 16 × 16 design grid; pictures that combine glyphs scale each into a box.
using Glyph = void (*)(QPainter &);
void rain_drop_glyph(QPainter &painter);
void no_data_glyph(QPainter &painter);
void forecast_glyph(QPainter &painter);
void paint_glyph(QPainter &painter, const QRectF &box, Glyph glyph);
/// A transparent 16 × 16 picture to draw on.
QPixmap blank_state_picture();

} // namespace tw
