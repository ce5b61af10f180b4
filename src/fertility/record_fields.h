#pragma once

#include "platform/dates.h"
#include "platform/record_codec.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The two directions of a record codec. A record lists its members once, with their offsets, in
// a function template that takes either of these; encoding and decoding then cannot disagree.
namespace tw::codec {

struct FieldWriter
{
    std::span<std::uint8_t> bytes;

    void text(std::size_t at, const std::string &s, std::size_t width)
    {
        put_text(bytes, at, width, s);
    }
    void word(std::size_t at, std::int32_t v) { put_i32(bytes, at, v); }
    void word(std::size_t at, float v) { put_f32(bytes, at, v); }
    template<class T, std::size_t N>
    void words(std::size_t at, const std::array<T, N> &values)
    {
        for (std::size_t i = 0; i < N; ++i)
            word(at + 4 * i, values[i]);
    }
    /// A day serial (float64) followed by its status (int32).
    void date(std::size_t at, const StoredDate &d)
    {
        put_f64(bytes, at, d.serial);
        put_i32(bytes, at + 8, d.status);
    }
};

struct FieldReader
{
    std::span<const std::uint8_t> bytes;

    void text(std::size_t at, std::string &s, std::size_t width) { s = get_text(bytes, at, width); }
    void word(std::size_t at, std::int32_t &v) { v = get_i32(bytes, at); }
    void word(std::size_t at, float &v) { v = get_f32(bytes, at); }
    template<class T, std::size_t N>
    void words(std::size_t at, std::array<T, N> &values)
    {
        for (std::size_t i = 0; i < N; ++i)
            word(at + 4 * i, values[i]);
    }
    void date(std::size_t at, StoredDate &d)
    {
        d.serial = get_f64(bytes, at);
        d.status = get_i32(bytes, at + 8);
    }
};

} // namespace tw::codec
