#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Field-by-field access to the fixed little-endian records of the reference, knowledge and
// nutrient files. Every codec names its offsets as constants checked against its record size;
// these accessors still refuse a field that would reach past the buffer (a read yields 0 or "",
// a write changes nothing), so a wrong offset can never touch memory outside the record.
namespace tw::codec {

std::int32_t get_i32(std::span<const std::uint8_t> bytes, std::size_t offset);
float get_f32(std::span<const std::uint8_t> bytes, std::size_t offset);
double get_f64(std::span<const std::uint8_t> bytes, std::size_t offset);

void put_i32(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value);
void put_f32(std::span<std::uint8_t> bytes, std::size_t offset, float value);
void put_f64(std::span<std::uint8_t> bytes, std::size_t offset, double value);

/// The NUL-terminated Windows-1252 text of a char[width] field, as UTF-8; never reads past the
/// field, and a field without terminator yields its whole width.
std::string get_text(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width);

/// Stores UTF-8 text into a char[width] field as Windows-1252, cut to width - 1 characters, then
/// the terminator, then zeros to the end of the field.
void put_text(std::span<std::uint8_t> bytes, std::size_t offset, std::size_t width,
              std::string_view utf8);

} // namespace tw::codec
