#include "platform/ui/table_printer.h"

#include "platform/dates.h"
#include "platform/ui/interaction.h"
#include "platform/ui/shared_printer.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QIcon>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTableView>

#include <algorithm>
#include <vector>

namespace tw {

struct TablePrinter::Metrics
{
    QRect page;   // the printable area, in device pixels
    int row = 1;  // printed row height
    int left = 0; // margins
    int right = 0;
    int top = 0;
    double scale = 1; // printer pixels per screen pixel
};

TablePrinter::TablePrinter(const QTableView &view, PrintHeader header)
    : view_(view)
    , header_(std::move(header))
{}

int TablePrinter::row_count() const
{
    return view_.model() ? view_.model()->rowCount() : 0;
}

TablePrinter::Metrics TablePrinter::metrics_for(QPrinter &printer) const
{
    Metrics m;
    m.page = QRect(QPoint(0, 0), printer.pageRect(QPrinter::DevicePixel).size().toSize());
    // The screen row height, scaled by the printer's resolution over the screen's.
    m.scale = double(printer.logicalDpiY()) / double(view_.logicalDpiY());
    m.row = std::max(1, int(view_.verticalHeader()->defaultSectionSize() * m.scale));
    const QFontMetrics font(view_.font(), &printer);
    m.left = 8 * font.averageCharWidth();
    m.right = 4 * font.averageCharWidth();
    // The header lines, the column titles and a line of room above the rows.
    m.top = (int(std::max<qsizetype>(header_.lines.size(), 1)) + 2) * m.row;
    return m;
}

PrintPages TablePrinter::layout(QPrinter &printer) const
{
    const Metrics m = metrics_for(printer);
    return PrintPages::for_page(row_count(), m.page.height(), m.row);
}

int TablePrinter::print(QPrinter &printer) const
{
    const Metrics m = metrics_for(printer);
    const PrintPages pages = PrintPages::for_page(row_count(), m.page.height(), m.row);
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    painter.setFont(QFont(view_.font(), &printer));
    for (int page = 1; page <= pages.page_count(); ++page) {
        if (page > 1)
            printer.newPage();
        print_page(painter, m, pages, page);
    }
    if (closing_page_) {
        printer.newPage();
        closing_page_(painter, m.page);
    }
    painter.end();
    return pages.page_count() + (closing_page_ ? 1 : 0);
}

void TablePrinter::print_page(QPainter &painter, const Metrics &m, const PrintPages &pages,
                              int page) const
{
    const QAbstractItemModel &model = *view_.model();
    const int width = m.page.width() - m.left - m.right;
    const auto line = [&](int row_index) { return QRect(m.left, row_index * m.row, width, m.row); };
    const auto alignment = [&](const QModelIndex &index) {
        const QVariant a = model.data(index, Qt::TextAlignmentRole);
        return a.isValid() ? Qt::Alignment(a.toInt()) : (Qt::AlignLeft | Qt::AlignVCenter);
    };

    QFont bold = painter.font();
    bold.setWeight(QFont::Bold);
    const QFont normal = painter.font();
    painter.setFont(bold);
    painter.drawText(line(1), Qt::AlignRight | Qt::AlignVCenter, header_.right);
    for (int i = 0; i < header_.lines.size(); ++i)
        painter.drawText(line(1 + i), Qt::AlignLeft | Qt::AlignVCenter, header_.lines[i]);

    // The visible columns at their screen widths; the titles sit just above the rows.
    std::vector<std::pair<int, QRect>> columns;
    int x = m.left;
    for (int c = 0; c < model.columnCount(); ++c) {
        const int w = view_.isColumnHidden(c) ? 0 : int(view_.columnWidth(c) * m.scale);
        if (w > 0)
            columns.push_back({c, QRect(x, 0, w, m.row)});
        x += w;
    }
    const QModelIndex first_row = model.index(0, 0);
    for (const auto &[c, r] : columns) {
        const Qt::Alignment a =
            first_row.isValid() ? alignment(model.index(0, c)) : (Qt::AlignLeft | Qt::AlignVCenter);
        painter.drawText(r.translated(0, m.top - m.row), a,
                         model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    }
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
            painter.drawText(r, alignment(index), model.data(index, Qt::DisplayRole).toString());
        }
    }

    const int footer = m.page.height() - 3 * m.row;
    painter.drawLine(m.left, footer, m.left + width, footer);
    const QRect under(m.left, footer, width, m.row);
    painter.drawText(under, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Page: %1").arg(page));
    painter.drawText(under, Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(now_text()));
}

void print_table(const TablePrinter &table, QWidget *parent)
{
    QPrinter &printer = shared_printer();
    if (interaction().choose_printer(printer, parent))
        table.print(printer);
}

void preview_table(const TablePrinter &table, QWidget *parent)
{
    QPrintPreviewDialog preview(&shared_printer(), parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, parent,
                     [&table](QPrinter *printer) { table.print(*printer); });
    interaction().exec(preview);
}

} // namespace tw
