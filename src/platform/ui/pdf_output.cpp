#include "platform/ui/pdf_output.h"

#include "platform/files.h"
#include "platform/ui/table_printer.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <cstdint>
#include <span>

namespace tw {

bool print_to_pdf(const TablePrinter &report, const std::filesystem::path &path, std::string &error)
{
    // Painted into memory and saved like a document, so that a full disk, a planted link or a
    // special file at the target never leaves half a report in place of an earlier one.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(printer.resolution());
        writer.setPageLayout(printer.pageLayout());
        QPainter painter;
        if (painter.begin(&writer)) {
            pages = report.paint(printer, painter, [&writer] { writer.newPage(); });
            painter.end();
        }
    }
    if (pages <= 0 || buffer.data().isEmpty()) {
        error = "cannot write " + path.string() + ": the report has no pages";
        return false;
    }
    const QByteArray &bytes = buffer.data();
    return write_file_atomic(path,
                             std::span(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                       static_cast<std::size_t>(bytes.size())),
                             &error);
}

} // namespace tw
