#pragma once

#include <string>
#include <vector>

namespace tw {

/// A table as its window shows it: the column titles and each row's cell texts. The command line
/// prints it and the windows export it, so both give the same columns in the same formats.
struct TextTable
{
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
};

/// A cell quoted for CSV where it holds a comma, a quote or a line break.
std::string csv_field(const std::string &text);
/// The titles and every row as CSV lines ending in a line feed.
std::string csv_text(const TextTable &table);
/// A title without the spaces a window or a printed column aligns it with.
std::string bare_title(const std::string &title);
/// The table as a file for other programs: csv_text with bare titles.
std::string export_csv_text(const TextTable &table);

} // namespace tw
