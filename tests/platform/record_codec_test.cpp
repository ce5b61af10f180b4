#include "platform/record_codec.h"

#include <gtest/gtest.h>

#include <array>

namespace tw {
namespace {

TEST(RecordCodec, NumbersAreLittleEndianAtTheirOffsets)
{
    std::array<std::uint8_t, 16> b{};
    codec::put_i32(b, 0, -2);
    codec::put_f32(b, 4, 1.0f);
    codec::put_f64(b, 8, -2.7);
    EXPECT_EQ(b[0], 0xFE);
    EXPECT_EQ(b[3], 0xFF);
    EXPECT_EQ(b[7], 0x3F); // 1.0f = 0x3F800000
    EXPECT_EQ(codec::get_i32(b, 0), -2);
    EXPECT_EQ(codec::get_f32(b, 4), 1.0f);
    EXPECT_EQ(codec::get_f64(b, 8), -2.7);
}

TEST(RecordCodec, FieldsPastTheBufferAreNeverTouched)
{
    std::array<std::uint8_t, 6> b{};
    codec::put_i32(b, 4, 0x01020304);
    codec::put_text(b, 2, 8, "abc");
    EXPECT_EQ(b, (std::array<std::uint8_t, 6>{}));
    EXPECT_EQ(codec::get_i32(b, 3), 0);
    EXPECT_EQ(codec::get_f64(b, 0), 0.0);
    EXPECT_EQ(codec::get_text(b, 4, 3), "");
}

TEST(RecordCodec, TextIsCutToFitAndZeroFilled)
{
    std::array<std::uint8_t, 8> b;
    b.fill(0xAA);
    codec::put_text(b, 1, 6, "Sandy Loam");
    EXPECT_EQ(codec::get_text(b, 1, 6), "Sandy");
    EXPECT_EQ(b[6], 0);
    EXPECT_EQ(b[0], 0xAA);
    EXPECT_EQ(b[7], 0xAA);

    codec::put_text(b, 1, 6, "ab");
    EXPECT_EQ(codec::get_text(b, 1, 6), "ab");
    for (int i = 3; i < 7; ++i)
        EXPECT_EQ(b[i], 0) << i;
}

TEST(RecordCodec, UnterminatedTextStopsAtTheFieldEnd)
{
    std::array<std::uint8_t, 6> b = {'a', 'b', 'c', 'd', 0xB0, 'x'};
    EXPECT_EQ(codec::get_text(b, 0, 5), "abcd\u00B0");
}

} // namespace
} // namespace tw
