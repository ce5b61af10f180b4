#pragma once

#include "platform/print_pages.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QPainter;
class QPaintDevice;
class QPrinter;
class QRect;
class QTableView;
class QWidget;

namespace tw {

/// The lines above a printed table: `right` on the first line at the right, `lines` at the left
/// one per line (in a bold face).
struct PrintHeader
{
    QString right;
    QStringList lines;
};

/// Prints a table as its view shows it: the visible columns with their alignments, the rows
/// with their pictures, scaled to the printer's resolution; the header above and a rule, the
/// page number and the date and time below. Rows per page keep eight row heights for the
/// margins, the header and the footer. Each column is as wide as its widest text on paper, so
/// nothing is cut or runs into its neighbour; when the columns are wider than the paper, the
/// face shrinks until every one of them fits.
class TablePrinter
{
public:
    TablePrinter(const QTableView &view, PrintHeader header);

    /// How the rows fall onto the printer's pages.
    PrintPages layout(QPrinter &printer) const;
    /// Prints every page; the number of pages printed (0 when the printer cannot be painted on).
    int print(QPrinter &printer) const;
    /// The pages laid out for `printer`'s paper, painted with `painter`, which may paint on any
    /// device of the printer's size and resolution; `turn_page` runs between pages.
    int paint(QPrinter &printer, QPainter &painter, const std::function<void()> &turn_page) const;
    /// A page of its own after the table's (a chart), painted into the printable area.
    using ClosingPage = std::function<void(QPainter &, const QRect &)>;
    void set_closing_page(ClosingPage page) { closing_page_ = std::move(page); }

private:
    struct Column
    {
        int model_column = 0;
        int width = 0;
    };
    struct Metrics
    {
        QRect page;   // the printable area, in device pixels
        int row = 1;  // printed row height
        int left = 0; // margins
        int right = 0;
        int top = 0;
        int padding = 0; // room kept on each side of a cell's text
        QFont font;
        std::vector<Column> columns;
    };
    Metrics metrics_for(QPrinter &printer) const;
    std::vector<Column> measure_columns(const QFont &font, QPaintDevice &device, int icon_room,
                                        int padding) const;
    void fit_columns(Metrics &m, QPaintDevice &device) const;
    int row_count() const;
    void print_page(QPainter &painter, const Metrics &m, const PrintPages &pages, int page) const;

    const QTableView &view_;
    PrintHeader header_;
    ClosingPage closing_page_;
};

/// Print: the printer dialog over the shared printer, then the table.
void print_table(const TablePrinter &table, QWidget *parent);
/// Print Preview over the shared printer.
void preview_table(const TablePrinter &table, QWidget *parent);

} // namespace tw
