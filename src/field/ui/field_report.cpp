#include "field/ui/field_report.h"

#include "field/ui/field_chart_view.h"
#include "field/ui/field_view.h"
#include "platform/ui/pdf_output.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QRect>

namespace tw {

TablePrinter field_report_printer(const CFieldView &table, CFieldChartView &chart)
{
    TablePrinter printer(table,
                         {QGuiApplication::applicationDisplayName(), table.print_header_lines()});
    printer.set_closing_page([&chart, title = table.print_header_lines().value(0)](
                                 QPainter &painter, const QRect &page) {
        const int line = QFontMetrics(painter.font(), painter.device()).height() * 2;
        painter.drawText(QRect(page.left(), page.top(), page.width(), line),
                         Qt::AlignLeft | Qt::AlignVCenter, title);
        chart.paint_page(painter, page.adjusted(0, line, 0, 0));
    });
    return printer;
}

bool write_field_report_pdf(CFieldDoc &field, const std::filesystem::path &path, std::string &error)
{
    CFieldView table(field);
    CFieldChartView chart(field);
    return print_to_pdf(field_report_printer(table, chart), path, error);
}

} // namespace tw
