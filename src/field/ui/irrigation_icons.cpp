#include "field/ui/irrigation_icons.h"

#include "location/ui/row_state_icons.h"

#include <QPainter>
#include <QPixmap>

#include <array>
#include <vector>

namespace tw {
namespace {

void clock(QPainter &p)
{
    p.setPen(QPen(QColor(110, 50, 150), 1.6));
    p.setBrush(QColor(235, 220, 245));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.drawLine(QPointF(8, 8), QPointF(8, 4));
    p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
}

void fountain(QPainter &p)
{
    const QColor green(20, 130, 50);
    p.setPen(QPen(green, 1.6, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF &end : {QPointF(3, 4), QPointF(8, 2), QPointF(13, 4)})
        p.drawLine(QPointF(8, 12), end);
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawRect(QRectF(5, 12, 6, 3));
}

void need(QPainter &p)
{
    p.setPen(QPen(QColor(150, 0, 0), 1));
    p.setBrush(QColor(215, 30, 30));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 4), QPointF(8, 9));
    p.drawPoint(QPointF(8, 12));
}

struct Part
{
    Glyph glyph;
    QRectF box;
};

const QRectF kFull(0, 0, 16, 16);
const QRectF kMain(0, 0, 13, 13);
const QRectF kBadge(9, 9, 7, 7);

// The glyphs of pictures 1-10, drawn in order.
const std::array<std::vector<Part>, 10> &compositions()
{
    static const std::array<std::vector<Part>, 10> parts = {{
        {{clock, kFull}},
        {{clock, kMain}, {need, kBadge}},
        {{fountain, kFull}},
        {{fountain, kMain}, {need, kBadge}},
        {{need, kFull}},
        {{rain_drop_glyph, kFull}},
        {{rain_drop_glyph, QRectF(0, 0, 11, 11)}, {fountain, QRectF(5, 5, 11, 11)}},
        {{rain_drop_glyph, QRectF(0, 0, 9, 9)},
         {fountain, QRectF(7, 0, 9, 9)},
         {need, QRectF(4, 8, 8, 8)}},
        {{rain_drop_glyph, kMain}, {need, kBadge}},
        {{no_data_glyph, kFull}},
    }};
    return parts;
}

QIcon compose(const std::vector<Part> &parts)
{
    QPixmap pixmap = blank_state_picture();
    QPainter p(&pixmap);
    for (const Part &part : parts)
        paint_glyph(p, part.box, part.glyph);
    return QIcon(pixmap);
}

} // namespace

QIcon irrigation_icon(int number)
{
    static const std::array<QIcon, 11> icons = [] {
        std::array<QIcon, 11> made;
        made[0] = QIcon(blank_state_picture());
        for (std::size_t i = 0; i < compositions().size(); ++i)
            made[i + 1] = compose(compositions()[i]);
        return made;
    }();
    return number >= 1 && number <= 10 ? icons[static_cast<std::size_t>(number)] : icons[0];
}

QIcon measured_icon()
{
    static const QIcon icon = [] {
        QPixmap pixmap = blank_state_picture();
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        // The ground line, and the probe's shaft and handle standing in it.
        p.setPen(QPen(QColor(120, 80, 40), 1.6));
        p.drawLine(QPointF(1, 11), QPointF(15, 11));
        p.setPen(QPen(QColor(40, 40, 40), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 4), QPointF(8, 15));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 120, 200));
        p.drawRoundedRect(QRectF(4.5, 1, 7, 3.5), 1, 1);
        return QIcon(pixmap);
    }();
    return icon;
}

} // namespace tw
