#pragma once

#include <filesystem>
#include <string>

namespace tw {

class TablePrinter;

/// Prints a report into a PDF file instead of onto paper. The file is saved as a document is
/// (whole or not at all, never through a FIFO, a device or a read-only file); false when it
/// could not be, with the reason in error.
bool print_to_pdf(const TablePrinter &report, const std::filesystem::path &path,
                  std::string &error);

} // namespace tw
