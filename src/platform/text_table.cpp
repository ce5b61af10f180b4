#include "platform/text_table.h"

#include "platform/text_format.h"

namespace tw {
namespace {

void append_line(std::string &out, const std::vector<std::string> &cells)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i)
            out += ',';
        out += csv_field(cells[i]);
    }
    out += '\n';
}

} // namespace

std::string csv_field(const std::string &text)
{
    if (text.find_first_of(",\"\n\r") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string csv_text(const TextTable &table)
{
    std::string out;
    append_line(out, table.headers);
    for (const auto &row : table.rows)
        append_line(out, row);
    return out;
}

std::string bare_title(const std::string &title)
{
    return trimmed(title);
}

std::string export_csv_text(const TextTable &table)
{
    TextTable bare{{}, table.rows};
    for (const std::string &title : table.headers)
        bare.headers.push_back(bare_title(title));
    return csv_text(bare);
}

} // namespace tw
