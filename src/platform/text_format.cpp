#include "platform/text_format.h"

#include <cstdarg>
#include <cstdio>
#include <string_view>

namespace tw {

std::string strprintf(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (length > 0) {
        out.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    return out;
}

std::string trimmed(std::string_view text)
{
    const char *blanks = " \t\r\n\f\v";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

std::string to_upper_ascii(std::string_view text)
{
    std::string out(text);
    for (char &c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::optional<std::string> range_message(double value, double lo, double hi, std::string_view what)
{
    if (value >= lo && value <= hi)
        return std::nullopt;
    return strprintf("Please enter a value between %g and %g for %.*s.", lo, hi,
                     static_cast<int>(what.size()), what.data());
}

} // namespace tw
