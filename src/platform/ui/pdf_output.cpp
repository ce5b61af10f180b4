#include "platform/ui/pdf_output.h"

#include "platform/ui/table_printer.h"

#include <QFileInfo>
#include <QPrinter>

#include <system_error>

namespace tw {

bool print_to_pdf(const TablePrinter &report, const std::filesystem::path &path)
{
    // Written beside the target and renamed over it, so that a failed report never leaves half
    // a file in place of an earlier one.
    std::filesystem::path partial = path;
    partial += ".partial";
    bool painted = false;
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(partial.string()));
        painted = report.print(printer) > 0;
    }
    std::error_code ec;
    if (painted && QFileInfo(QString::fromStdString(partial.string())).size() > 0) {
        std::filesystem::rename(partial, path, ec);
        if (!ec)
            return true;
    }
    std::filesystem::remove(partial, ec);
    return false;
}

} // namespace tw
