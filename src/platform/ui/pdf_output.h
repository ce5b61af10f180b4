#pragma once

#include <filesystem>

namespace tw {

class TablePrinter;

/// Prints a report into a PDF file instead of onto paper; false when nothing could be written.
bool print_to_pdf(const TablePrinter &report, const std::filesystem::path &path);

} // namespace tw
