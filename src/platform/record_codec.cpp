#include "platform/record_codec.h"

#include "platform/text_encoding.h"

#include <bit>
#include <cstring>

namespace tw::codec {
namespace {

bool fits(std::size_t size, std::size_t offset, std::size_t width)
{
    return offset <= size && width <= size - offset;
}

std::uint64_t get_le(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width)
{
    if (!fits(bytes.size(), offset, width))
        return 0;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<std::uint64_t>(bytes[offset + i]) << (8 * i);
    return value;
}

void put_le(std::span<std::uint8_t> bytes, std::size_t offset, std::size_t width,
            std::uint64_t value)
{
    if (!fits(bytes.size(), offset, width))
        return;
    for (std::size_t i = 0; i < width; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

std::int32_t get_i32(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(get_le(bytes, offset, 4)));
}

float get_f32(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return std::bit_cast<float>(static_cast<std::uint32_t>(get_le(bytes, offset, 4)));
}

double get_f64(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return std::bit_cast<double>(get_le(bytes, offset, 8));
}

void put_i32(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value)
{
    put_le(bytes, offset, 4, static_cast<std::uint32_t>(value));
}

void put_f32(std::span<std::uint8_t> bytes, std::size_t offset, float value)
{
    put_le(bytes, offset, 4, std::bit_cast<std::uint32_t>(value));
}

void put_f64(std::span<std::uint8_t> bytes, std::size_t offset, double value)
{
    put_le(bytes, offset, 8, std::bit_cast<std::uint64_t>(value));
}

std::string get_text(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width)
{
    if (!fits(bytes.size(), offset, width))
        return {};
    const auto *begin = reinterpret_cast<const char *>(bytes.data() + offset);
    const void *nul = std::memchr(begin, 0, width);
    const std::size_t length = nul ? static_cast<const char *>(nul) - begin : width;
    return cp1252_to_utf8(std::string_view(begin, length));
}

void put_text(std::span<std::uint8_t> bytes, std::size_t offset, std::size_t width,
              std::string_view utf8)
{
    if (width == 0 || !fits(bytes.size(), offset, width))
        return;
    std::string stored = utf8_to_cp1252(utf8);
    if (stored.size() > width - 1)
        stored.resize(width - 1);
    std::memset(bytes.data() + offset, 0, width);
    std::memcpy(bytes.data() + offset, stored.data(), stored.size());
}

} // namespace tw::codec
