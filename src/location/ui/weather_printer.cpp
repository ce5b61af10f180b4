#include "location/ui/weather_printer.h"

#include "app/commands.h"
#include "location/location_doc.h"
#include "location/ui/location_view.h"
#include "location/ui/weather_table_model.h"
#include "location/weather_table.h"
#include "platform/dates.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QIcon>
#include <QPainter>
#include <QPrinter>

#include <vector>

namespace tw {

struct WeatherTablePrinter::Metrics
{
    QRect page;   // the printable area, in device pixels
    int row = 1;  // printed row height
    int left = 0; // margins
    int right = 0;
    int top = 0;
    double scale = 1; // printer pixels per screen pixel
};

WeatherTablePrinter::WeatherTablePrinter(const CLocationDoc &doc, const CLocationView &view)
    : doc_(doc)
    , view_(view)
{}

WeatherTablePrinter::Metrics WeatherTablePrinter::metrics_for(QPrinter &printer) const
{
    Metrics m;
    m.page = QRect(QPoint(0, 0), printer.pageRect(QPrinter::DevicePixel).size().toSize());
    // The screen row height, scaled by the printer's resolution over the screen's.
    m.scale = double(printer.logicalDpiY()) / double(view_.logicalDpiY());
    m.row = std::max(1, int(view_.verticalHeader()->defaultSectionSize() * m.scale));
    const QFontMetrics font(view_.font(), &printer);
    m.left = 8 * font.averageCharWidth();
    m.right = 4 * font.averageCharWidth();
    m.top = 4 * m.row;
    return m;
}

PrintPages WeatherTablePrinter::layout(QPrinter &printer) const
{
    const Metrics m = metrics_for(printer);
    return PrintPages::for_page(doc_.day_count(), m.page.height(), m.row);
}

int WeatherTablePrinter::print(QPrinter &printer) const
{
    const Metrics m = metrics_for(printer);
    const PrintPages pages = PrintPages::for_page(doc_.day_count(), m.page.height(), m.row);
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    painter.setFont(QFont(view_.font(), &printer));
    for (int page = 1; page <= pages.page_count(); ++page) {
        if (page > 1)
            printer.newPage();
        print_page(painter, m, pages, page);
    }
    painter.end();
    return pages.page_count();
}

void WeatherTablePrinter::print_page(QPainter &painter, const Metrics &m, const PrintPages &pages,
                                     int page) const
{
    const int width = m.page.width() - m.left - m.right;
    const auto line = [&](int row_index) { return QRect(m.left, row_index * m.row, width, m.row); };

    QFont bold = painter.font();
    bold.setWeight(QFont::Bold);
    const QFont normal = painter.font();
    painter.setFont(bold);
    painter.drawText(line(1), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(kAppTitle));
    painter.drawText(line(2), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(doc_.title()));

    // The visible columns at their screen widths; the header row sits just above the rows.
    std::vector<std::pair<int, QRect>> columns;
    int x = m.left;
    for (int c = 0; c < kWeatherColumns; ++c) {
        const int w = int(view_.column_width(c) * m.scale);
        if (w > 0)
            columns.push_back({c, QRect(x, 0, w, m.row)});
        x += w;
    }
    const WeatherTableModel &model = *view_.table();
    for (const auto &[c, r] : columns)
        painter.drawText(r.translated(0, 3 * m.row), Qt::AlignLeft | Qt::AlignVCenter,
                         model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    painter.setFont(normal);

    int y = m.top;
    for (int row = pages.first_row(page); row < pages.end_row(page); ++row, y += m.row) {
        for (auto [c, r] : columns) {
            r.moveTop(y);
            const QModelIndex index = model.index(row, c);
            const QIcon icon = model.data(index, Qt::DecorationRole).value<QIcon>();
            if (c == 0) {
                if (!icon.isNull())
                    icon.paint(&painter, QRect(r.left(), y, m.row, m.row));
                r.setLeft(r.left() + m.row + m.row / 4);
            }
            painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
                             model.data(index, Qt::DisplayRole).toString());
        }
    }

    const int footer = m.page.height() - 3 * m.row;
    painter.drawLine(m.left, footer, m.left + width, footer);
    const QRect under(m.left, footer, width, m.row);
    painter.drawText(under, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Page: %1").arg(page));
    painter.drawText(under, Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(now_text()));
}

} // namespace tw
