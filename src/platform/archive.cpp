#include "platform/archive.h"

#include "platform/record_codec.h"
#include "platform/text_encoding.h"

#include <array>
#include <bit>

namespace tw {
namespace {

constexpr std::uint8_t kLongStringMark = 0xFF;
constexpr std::uint16_t kWideMark = 0xFFFF;
constexpr std::size_t kLongestShortString = 254;
constexpr std::size_t kLongestMediumString = 65533;

} // namespace

void ArchiveWriter::write_uint16(std::uint16_t value)
{
    bytes_.push_back(static_cast<std::uint8_t>(value));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ArchiveWriter::write_uint32(std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void ArchiveWriter::write_int32(std::int32_t value)
{
    write_uint32(static_cast<std::uint32_t>(value));
}

void ArchiveWriter::write_float(float value)
{
    write_uint32(std::bit_cast<std::uint32_t>(value));
}

void ArchiveWriter::write_double(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    write_uint32(static_cast<std::uint32_t>(bits));
    write_uint32(static_cast<std::uint32_t>(bits >> 32));
}

void ArchiveWriter::write_string(std::string_view utf8)
{
    const std::string stored = utf8_to_cp1252(utf8);
    const std::size_t length = stored.size();
    if (length <= kLongestShortString) {
        bytes_.push_back(static_cast<std::uint8_t>(length));
    } else if (length <= kLongestMediumString) {
        bytes_.push_back(kLongStringMark);
        write_uint16(static_cast<std::uint16_t>(length));
    } else {
        bytes_.push_back(kLongStringMark);
        write_uint16(kWideMark);
        write_uint32(static_cast<std::uint32_t>(length));
    }
    bytes_.insert(bytes_.end(), stored.begin(), stored.end());
}

void ArchiveWriter::write_count(std::uint32_t count)
{
    if (count < kWideMark) {
        write_uint16(static_cast<std::uint16_t>(count));
    } else {
        write_uint16(kWideMark);
        write_uint32(count);
    }
}

void ArchiveWriter::write_date(const StoredDate &date)
{
    write_int32(date.status);
    write_double(date.serial);
}

void ArchiveWriter::write_bytes(std::span<const std::uint8_t> bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

std::string ArchiveError::message() const
{
    return "offset " + std::to_string(offset) + ": " + what;
}

void ArchiveReader::fail(std::string what)
{
    if (failed_)
        return;
    failed_ = true;
    error_ = {offset_, std::move(what)};
}

bool ArchiveReader::take(std::size_t n, const char *what, std::span<const std::uint8_t> &out)
{
    if (failed_)
        return false;
    if (n > remaining()) {
        fail(std::string(what) + " needs " + std::to_string(n) + " bytes, " +
             std::to_string(remaining()) + " left");
        return false;
    }
    out = data_.subspan(offset_, n);
    offset_ += n;
    return true;
}

std::uint16_t ArchiveReader::read_uint16()
{
    std::span<const std::uint8_t> b;
    if (!take(2, "a 16-bit value", b))
        return 0;
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t ArchiveReader::read_uint32()
{
    std::span<const std::uint8_t> b;
    if (!take(4, "a 32-bit value", b))
        return 0;
    return static_cast<std::uint32_t>(codec::get_i32(b, 0));
}

std::int32_t ArchiveReader::read_int32()
{
    return static_cast<std::int32_t>(read_uint32());
}

float ArchiveReader::read_float()
{
    return std::bit_cast<float>(read_uint32());
}

double ArchiveReader::read_double()
{
    std::span<const std::uint8_t> b;
    if (!take(8, "a 64-bit value", b))
        return 0.0;
    return codec::get_f64(b, 0);
}

std::string ArchiveReader::read_string()
{
    std::size_t length = 0;
    std::span<const std::uint8_t> b;
    if (!take(1, "a string length", b))
        return {};
    length = b[0];
    if (length == kLongStringMark) {
        length = read_uint16();
        if (length == kWideMark)
            length = read_uint32();
    }
    if (failed_)
        return {};
    if (length > remaining()) {
        fail("string length " + std::to_string(length) + " exceeds the " +
             std::to_string(remaining()) + " bytes left");
        return {};
    }
    take(length, "a string", b);
    return cp1252_to_utf8(std::string_view(reinterpret_cast<const char *>(b.data()), b.size()));
}

std::uint32_t ArchiveReader::read_count_raw()
{
    std::uint32_t count = read_uint16();
    if (count == kWideMark)
        count = read_uint32();
    return failed_ ? 0 : count;
}

std::uint32_t ArchiveReader::read_count(std::size_t min_element_size)
{
    const std::size_t at = offset_;
    const std::uint32_t count = read_count_raw();
    if (failed_)
        return 0;
    if (min_element_size > 0 && count > remaining() / min_element_size) {
        failed_ = true;
        error_ = {at, "count " + std::to_string(count) + " of " + std::to_string(min_element_size) +
                          "-byte elements exceeds the " + std::to_string(remaining()) +
                          " bytes left"};
        return 0;
    }
    return count;
}

StoredDate ArchiveReader::read_date()
{
    StoredDate date;
    date.status = read_int32();
    date.serial = read_double();
    return failed_ ? StoredDate{} : date;
}

std::span<const std::uint8_t> ArchiveReader::read_bytes(std::size_t n)
{
    std::span<const std::uint8_t> b;
    take(n, "a block", b);
    return b;
}

} // namespace tw
