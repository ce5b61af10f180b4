#include "app/ui/toolbar_icons.h"

#include "app/commands.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tw {
namespace {

constexpr int kSize = 24;

void draw_page(QPainter &p)
{
    QPainterPath page;
    page.moveTo(5, 2);
    page.lineTo(15, 2);
    page.lineTo(20, 7);
    page.lineTo(20, 22);
    page.lineTo(5, 22);
    page.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawPolyline(QPolygonF({QPointF(15, 2), QPointF(15, 7), QPointF(20, 7)}));
}

void draw_folder(QPainter &p)
{
    p.setBrush(QColor(230, 190, 80));
    p.drawRect(QRectF(2, 7, 17, 13));
    p.drawRect(QRectF(2, 5, 7, 2));
    p.setBrush(QColor(250, 215, 110));
    p.drawPolygon(QPolygonF({QPointF(5, 11), QPointF(22, 11), QPointF(19, 20), QPointF(2, 20)}));
}

void draw_diskette(QPainter &p)
{
    p.setBrush(QColor(60, 90, 170));
    p.drawRect(QRectF(3, 3, 18, 18));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 3, 10, 7));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(6, 14, 12, 7));
}

void draw_printer(QPainter &p)
{
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 2, 10, 7));
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(QRectF(2, 9, 20, 8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 14, 12, 8));
    p.setBrush(QColor(40, 180, 60));
    p.drawEllipse(QRectF(18, 11, 2, 2));
}

void draw_sliders(QPainter &p)
{
    for (int i = 0; i < 3; ++i) {
        const qreal y = 5 + 7 * i;
        p.drawLine(QPointF(3, y), QPointF(21, y));
        p.setBrush(QColor(200, 80, 40));
        p.drawRect(QRectF(5 + 5 * ((i + 1) % 3), y - 2.5, 5, 5));
    }
}

void draw_question(QPainter &p)
{
    p.setBrush(QColor(40, 120, 200));
    p.drawEllipse(QRectF(2, 2, 20, 20));
    p.setPen(QPen(Qt::white, 2.5));
    QFont font = p.font();
    font.setPixelSize(16);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
}

} // namespace

QIcon toolbar_icon(int command)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    switch (command) {
    case ID_FILE_NEW: draw_page(p); break;
    case ID_FILE_OPEN: draw_folder(p); break;
    case ID_FILE_SAVE: draw_diskette(p); break;
    case ID_FILE_PRINT: draw_printer(p); break;
    case ID_CUSTOMIZE: draw_sliders(p); break;
    default: draw_question(p); break;
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace tw
