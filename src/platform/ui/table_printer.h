#pragma once

#include "platform/print_pages.h"

#include <QString>
#include <QStringList>

#include <functional>

class QPainter;
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

/// Prints a table as its view shows it: the visible columns at their screen widths and
/// alignments, the rows with their pictures, scaled to the printer's resolution; the header
/// above and a rule, the page number and the date and time below. Rows per page keep eight row
/// heights for the margins, the header and the footer.
class TablePrinter
{
public:
    TablePrinter(const QTableView &view, PrintHeader header);

    /// How the rows fall onto the printer's pages.
    PrintPages layout(QPrinter &printer) const;
    /// Prints every page; the number of pages printed (0 when the printer cannot be painted on).
    int print(QPrinter &printer) const;
    /// A page of its own after the table's (a chart), painted into the printable area.
    using ClosingPage = std::function<void(QPainter &, const QRect &)>;
    void set_closing_page(ClosingPage page) { closing_page_ = std::move(page); }

private:
    struct Metrics;
    Metrics metrics_for(QPrinter &printer) const;
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
