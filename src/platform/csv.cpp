#include "platform/csv.h"

#include "platform/text_format.h"

#include <charconv>
#include <cmath>

namespace tw {
namespace {

/// Reads the quoted field that starts at line[i] (the opening quote) into `field`; the index
/// after its closing quote, or nothing when it is not closed.
std::optional<std::size_t> read_quoted(std::string_view line, std::size_t i, std::string &field)
{
    for (++i; i < line.size(); ++i) {
        if (line[i] != '"') {
            field += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            ++i;
        } else {
            return i + 1;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<std::string>> split_csv_line(std::string_view line)
{
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < line.size();) {
        std::string &field = fields.back();
        if (line[i] == ',') {
            fields.emplace_back();
            ++i;
        } else if (line[i] == '"' && field.empty()) {
            const auto after = read_quoted(line, i, field);
            if (!after || (*after < line.size() && line[*after] != ','))
                return std::nullopt;
            i = *after;
        } else {
            field += line[i++];
        }
    }
    return fields;
}

std::optional<double> parse_csv_number(std::string_view field)
{
    const std::string text = trimmed(field);
    double value = 0.0;
    const char *first = text.data();
    const char *last = first + text.size();
    // from_chars takes no plus sign, which spreadsheets sometimes write.
    if (first != last && *first == '+')
        ++first;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (text.empty() || ec != std::errc() || ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::vector<std::string_view> text_lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

} // namespace tw
