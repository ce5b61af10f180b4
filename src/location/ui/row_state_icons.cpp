#include "location/ui/row_state_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tw {
namespace {

constexpr int kSize = 16;

QPixmap rain_drop()
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath drop;
    drop.moveTo(8, 1);
    drop.cubicTo(8, 1, 13, 8, 13, 10.5);
    drop.arcTo(QRectF(3, 6, 10, 9), 0, -180);
    drop.cubicTo(3, 8, 8, 1, 8, 1);
    p.setPen(QPen(QColor(20, 60, 140), 1));
    p.setBrush(QColor(40, 110, 220));
    p.drawPath(drop);
    return pixmap;
}

QPixmap no_data()
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(110, 110, 110), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    p.drawLine(QPointF(4.5, 11.5), QPointF(11.5, 4.5));
    return pixmap;
}

QPixmap blank()
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QIcon row_state_icon(DayMark mark)
{
    static const QIcon rain(rain_drop());
    static const QIcon missing(no_data());
    // A row without a mark keeps the picture's room, so that the dates line up.
    static const QIcon none(blank());
    switch (mark) {
    case DayMark::Rain: return rain;
    case DayMark::NoData: return missing;
    default: return none;
    }
}

} // namespace tw
