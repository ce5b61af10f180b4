#include "platform/text_format.h"

#include <algorithm>
#include <cmath>
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

std::string readable_number(double value)
{
    if (!std::isfinite(value))
        return strprintf("%g", value);
    const double size = std::abs(value);
    int decimals = 0;
    if (size == 0.0 || size >= 100.0)
        decimals = 0;
    else if (size >= 10.0)
        decimals = 1;
    else if (size >= 1.0)
        decimals = 2;
    else
        decimals = std::min(6, 2 - static_cast<int>(std::floor(std::log10(size))));
    std::string text = strprintf("%.*f", decimals, value);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

} // namespace tw
