#include "location/ui/row_state_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tw {
namespace {

constexpr int kSize = 16;

QPixmap picture(Glyph glyph)
{
    QPixmap pixmap = blank_state_picture();
    QPainter p(&pixmap);
    paint_glyph(p, QRectF(0, 0, kSize, kSize), glyph);
    return pixmap;
}

} // namespace

QPixmap blank_state_picture()
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void paint_glyph(QPainter &p, const QRectF &box, Glyph glyph)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.topLeft());
    p.scale(box.width() / kSize, box.height() / kSize);
    glyph(p);
    p.restore();
}

void rain_drop_glyph(QPainter &p)
{
    QPainterPath drop;
    drop.moveTo(8, 1);
    drop.cubicTo(8, 1, 13, 8, 13, 10.5);
    drop.arcTo(QRectF(3, 6, 10, 9), 0, -180);
    drop.cubicTo(3, 8, 8, 1, 8, 1);
    p.setPen(QPen(QColor(20, 60, 140), 1));
    p.setBrush(QColor(40, 110, 220));
    p.drawPath(drop);
}

void no_data_glyph(QPainter &p)
{
    p.setPen(QPen(QColor(110, 110, 110), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    p.drawLine(QPointF(4.5, 11.5), QPointF(11.5, 4.5));
}

// A dashed outline: weather that is expected, not measured.
void forecast_glyph(QPainter &p)
{
    QPen pen(QColor(40, 110, 220), 1.6);
    pen.setDashPattern({2.0, 1.5});
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    p.setPen(QPen(QColor(40, 110, 220), 1.6));
    p.drawLine(QPointF(8, 5), QPointF(8, 8.5));
    p.drawLine(QPointF(8, 8.5), QPointF(10.5, 10));
}

QIcon row_state_icon(DayMark mark)
{
    static const QIcon rain(picture(rain_drop_glyph));
    static const QIcon missing(picture(no_data_glyph));
    static const QIcon forecast(picture(forecast_glyph));
    // A row without a mark keeps the picture's room, so that the dates line up.
    static const QIcon none(blank_state_picture());
    switch (mark) {
    case DayMark::Rain: return rain;
    case DayMark::NoData: return missing;
    case DayMark::Forecast: return forecast;
    default: return none;
    }
}

QVariant day_mark_tip(DayMark mark)
{
    const std::string_view meaning = day_mark_meaning(mark);
    if (meaning.empty())
        return {};
    return QString::fromUtf8(meaning.data(), static_cast<qsizetype>(meaning.size()));
}

} // namespace tw
