#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(TextEncoding, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8_to_cp1252(cp1252_to_utf8(all)), all);
}

TEST(TextEncoding, KnownCharacters)
{
    EXPECT_EQ(cp1252_to_utf8("\xB0"), "\u00B0");
    EXPECT_EQ(cp1252_to_utf8("\x80"), "\u20AC");
    EXPECT_EQ(utf8_to_cp1252("\u2019"), "\x92");
    EXPECT_EQ(utf8_to_cp1252("\u03A9 ok"), "? ok"); // no omega in the code page
    // A stray byte that is not UTF-8 is kept as the code page's own byte.
    EXPECT_EQ(utf8_to_cp1252("\xE9t\xE9"), "\xE9t\xE9");
}

TEST(TextEncoding, CutCountsCharactersNotBytes)
{
    EXPECT_EQ(cut_to_chars("\u00B0\u00B0\u00B0abc", 4), "\u00B0\u00B0\u00B0a");
    EXPECT_EQ(cut_to_chars("Loam", 15), "Loam");
}

TEST(TextEncoding, OnlyALeadingByteOrderMarkIsDropped)
{
    EXPECT_EQ(without_byte_order_mark("\xEF\xBB\xBF[field]\n"), "[field]\n");
    EXPECT_EQ(without_byte_order_mark("[field]\xEF\xBB\xBF"), "[field]\xEF\xBB\xBF");
    EXPECT_EQ(without_byte_order_mark("\xEF\xBB[field]"), "\xEF\xBB[field]");
    EXPECT_EQ(without_byte_order_mark("\xEF\xBB\xBF"), "");
}

} // namespace
} // namespace tw
