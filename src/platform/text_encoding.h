#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tw {

/// Windows-1252 bytes, as every file of the program stores text, to UTF-8, as the program holds
/// text in memory. Every byte maps to one code point, so nothing is lost.
std::string cp1252_to_utf8(std::string_view bytes);

/// UTF-8 to Windows-1252. A character the code page lacks becomes '?'; a byte that does not begin
/// a well-formed UTF-8 sequence is taken as a Windows-1252 byte itself.
std::string utf8_to_cp1252(std::string_view utf8);

/// The text cut to at most max_chars characters, as it would be after a store into a fixed field.
std::string cut_to_chars(std::string_view utf8, std::size_t max_chars);

/// The text without the UTF-8 byte-order mark that some editors (Windows Notepad) put first.
std::string_view without_byte_order_mark(std::string_view text);

} // namespace tw
