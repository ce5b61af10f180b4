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
#include <numeric>

namespace tw {

namespace {

QFont bold_of(QFont font)
{
    font.setWeight(QFont::Bold);
    return font;
}

QFont scaled_font(QFont font, double factor)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else
        font.setPixelSize(std::max(1, int(font.pixelSize() * factor)));
    return font;
}

} // namespace

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
    const double scale = double(printer.logicalDpiY()) / double(view_.logicalDpiY());
    m.row = std::max(1, int(view_.verticalHeader()->defaultSectionSize() * scale));
    m.font = QFont(view_.font(), &printer);
    const QFontMetrics font(m.font, &printer);
    m.left = 8 * font.averageCharWidth();
    m.right = 4 * font.averageCharWidth();
    // The header lines, the column titles and a line of room above the rows.
    m.top = (int(std::max<qsizetype>(header_.lines.size(), 1)) + 2) * m.row;
    fit_columns(m, printer);
    return m;
}

std::vector<TablePrinter::Column> TablePrinter::measure_columns(const QFont &font,
                                                                QPaintDevice &device, int icon_room,
                                                                int padding) const
{
    std::vector<Column> columns;
    if (!view_.model())
        return columns;
    const QAbstractItemModel &model = *view_.model();
    const QFontMetrics cells(font, &device);
    const QFontMetrics titles(bold_of(font), &device);
    for (int c = 0; c < model.columnCount(); ++c) {
        // Columns the view shows at no width are as hidden as hidden ones.
        if (view_.isColumnHidden(c) || view_.columnWidth(c) <= 0)
            continue;
        int widest = 0;
        for (int row = 0; row < model.rowCount(); ++row)
            widest = std::max(widest,
                              cells.horizontalAdvance(model.data(model.index(row, c)).toString()));
        if (c == 0)
            widest += icon_room;
        const QString title = model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        widest = std::max(widest, titles.horizontalAdvance(title));
        columns.push_back({c, widest + 2 * padding});
    }
    return columns;
}

void TablePrinter::fit_columns(Metrics &m, QPaintDevice &device) const
{
    const int available = m.page.width() - m.left - m.right;
    const int icon_room = m.row + m.row / 4;
    const auto total = [&m] {
        return std::accumulate(m.columns.begin(), m.columns.end(), 0,
                               [](int sum, const Column &c) { return sum + c.width; });
    };
    // Text does not shrink exactly in proportion to its face, so measure again after each step.
    for (int attempt = 0; attempt < 12; ++attempt) {
        m.padding = std::max(1, QFontMetrics(m.font, &device).averageCharWidth() / 2);
        m.columns = measure_columns(m.font, device, icon_room, m.padding);
        const int width = total();
        if (width <= available || available <= 0)
            return;
        m.font = scaled_font(m.font, std::min(0.95, 0.99 * available / width));
    }
}

PrintPages TablePrinter::layout(QPrinter &printer) const
{
    const Metrics m = metrics_for(printer);
    return PrintPages::for_page(row_count(), m.page.height(), m.row);
}

int TablePrinter::print(QPrinter &printer) const
{
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const int pages = paint(printer, painter, [&printer] { printer.newPage(); });
    painter.end();
    return pages;
}

int TablePrinter::paint(QPrinter &printer, QPainter &painter,
                        const std::function<void()> &turn_page) const
{
    if (!view_.model())
        return 0;
    const Metrics m = metrics_for(printer);
    const PrintPages pages = PrintPages::for_page(row_count(), m.page.height(), m.row);
    painter.setFont(m.font);
    for (int page = 1; page <= pages.page_count(); ++page) {
        if (page > 1)
            turn_page();
        print_page(painter, m, pages, page);
    }
    if (!closing_page_)
        return pages.page_count();
    turn_page();
    closing_page_(painter, m.page);
    return pages.page_count() + 1;
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

    painter.setFont(bold_of(m.font));
    painter.drawText(line(1), Qt::AlignRight | Qt::AlignVCenter, header_.right);
    for (int i = 0; i < header_.lines.size(); ++i)
        painter.drawText(line(1 + i), Qt::AlignLeft | Qt::AlignVCenter, header_.lines[i]);

    // Each cell's text keeps the padding from its column's edges, so neighbours never touch.
    std::vector<std::pair<int, QRect>> columns;
    int x = m.left;
    for (const Column &c : m.columns) {
        columns.push_back(
            {c.model_column, QRect(x + m.padding, 0, c.width - 2 * m.padding, m.row)});
        x += c.width;
    }
    const QModelIndex first_row = model.index(0, 0);
    for (const auto &[c, r] : columns) {
        const Qt::Alignment a =
            first_row.isValid() ? alignment(model.index(0, c)) : (Qt::AlignLeft | Qt::AlignVCenter);
        painter.drawText(r.translated(0, m.top - m.row), a,
                         model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    }
    painter.setFont(m.font);

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
