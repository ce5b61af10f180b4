#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// The fields of one line of comma-separated text. A field in double quotes may hold commas, and
/// a doubled quote inside it stands for one; white space around a field is kept. A trailing
/// carriage return is dropped. Nothing when a quoted field is not closed or text follows its
/// closing quote.
std::optional<std::vector<std::string>> split_csv_line(std::string_view line);

/// A field's finite number, white space around it allowed; nothing for any other text.
std::optional<double> parse_csv_number(std::string_view field);

/// The lines of a text without their line breaks ("\n" or "\r\n"); a last line without a break is
/// a line, an empty text has none.
std::vector<std::string_view> text_lines(std::string_view text);

} // namespace tw
