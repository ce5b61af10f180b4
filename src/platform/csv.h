#pragma once

#include <string>
#include <string_view>
#include <vector>

// Comma-separated text as spreadsheets and weather networks write it.
namespace tw {

/// The fields of one line (without its line break): commas separate them, a field in double
/// quotes may hold commas, and a doubled quote inside it stands for one quote. White space around
/// a field is kept; an unterminated quote runs to the end of the line.
std::vector<std::string> split_csv_line(std::string_view line);

/// The lines of a text without their line breaks ("\n" or "\r\n"); a last line without a break is
/// a line, an empty text has none.
std::vector<std::string_view> text_lines(std::string_view text);

} // namespace tw
