#pragma once

#include "platform/dates.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The byte stream of the .loc and .fld documents: little-endian numbers, strings with a 1-, 3- or
// 7-byte length prefix, counts of 16 bits with a 32-bit escape, dates as status and day number.
namespace tw {

class ArchiveWriter
{
public:
    void write_int32(std::int32_t value);
    void write_uint16(std::uint16_t value);
    void write_uint32(std::uint32_t value);
    void write_float(float value);
    void write_double(double value);
    /// UTF-8 in memory, Windows-1252 in the file.
    void write_string(std::string_view utf8);
    void write_count(std::uint32_t count);
    void write_date(const StoredDate &date);
    void write_bytes(std::span<const std::uint8_t> bytes);

    const std::vector<std::uint8_t> &bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

struct ArchiveError
{
    std::size_t offset = 0;
    std::string what;
    /// "offset N: what".
    std::string message() const;
};

/// Reads an archive without ever trusting it: a string length or a count larger than the bytes
/// left fails the reader (recording where) instead of allocating. After the first failure every
/// read yields zero or empty and the position stays where the failure happened.
class ArchiveReader
{
public:
    explicit ArchiveReader(std::span<const std::uint8_t> data)
        : data_(data)
    {}

    std::int32_t read_int32();
    std::uint16_t read_uint16();
    std::uint32_t read_uint32();
    float read_float();
    double read_double();
    std::string read_string();
    /// A count of elements of at least min_element_size bytes each; fails when that many
    /// elements cannot fit in the bytes left.
    std::uint32_t read_count(std::size_t min_element_size);
    /// A count as stored, for the callers that accept a stream cut short after it.
    std::uint32_t read_count_raw();
    StoredDate read_date();
    /// Exactly n bytes, or a failure (and an empty span) when fewer are left.
    std::span<const std::uint8_t> read_bytes(std::size_t n);

    bool ok() const { return !failed_; }
    const ArchiveError &error() const { return error_; }
    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return data_.size() - offset_; }

private:
    bool take(std::size_t n, const char *what, std::span<const std::uint8_t> &out);
    void fail(std::string what);

    std::span<const std::uint8_t> data_;
    std::size_t offset_ = 0;
    bool failed_ = false;
    ArchiveError error_;
};

} // namespace tw
