#include "platform/archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace tw {
namespace {

std::vector<std::uint8_t> prefix_of(const std::vector<std::uint8_t> &bytes, std::size_t n)
{
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n)};
}

TEST(Archive, StringLengthPrefixesAtEachBoundary)
{
    struct Case
    {
        std::size_t length;
        std::vector<std::uint8_t> prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {300, {0xFF, 0x2C, 0x01}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        ArchiveWriter writer;
        writer.write_string(text);
        ASSERT_EQ(writer.bytes().size(), c.prefix.size() + c.length);
        EXPECT_EQ(prefix_of(writer.bytes(), c.prefix.size()), c.prefix);

        ArchiveReader reader(writer.bytes());
        EXPECT_EQ(reader.read_string(), text);
        EXPECT_TRUE(reader.ok());
        EXPECT_EQ(reader.remaining(), 0u);
    }
}

TEST(Archive, CountsUseTheWideEscapeFrom65535)
{
    struct Case
    {
        std::uint32_t count;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {0, {0x00, 0x00}},
        {65534, {0xFE, 0xFF}},
        {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.count);
        ArchiveWriter writer;
        writer.write_count(c.count);
        EXPECT_EQ(writer.bytes(), c.bytes);
        ArchiveReader reader(writer.bytes());
        EXPECT_EQ(reader.read_count_raw(), c.count);
        EXPECT_TRUE(reader.ok());
    }
}

TEST(Archive, EveryValueKindRoundTripsByteForByte)
{
    ArchiveWriter writer;
    writer.write_string("Greeley 25\u00B0C");
    writer.write_int32(-7);
    writer.write_float(0.1f);
    writer.write_double(46143.75);
    writer.write_date({3, 46143.5});
    writer.write_count(70000);
    const std::uint8_t block[] = {1, 2, 3};
    writer.write_bytes(block);

    ArchiveReader reader(writer.bytes());
    EXPECT_EQ(reader.read_string(), "Greeley 25\u00B0C");
    EXPECT_EQ(reader.read_int32(), -7);
    EXPECT_EQ(reader.read_float(), 0.1f);
    EXPECT_EQ(reader.read_double(), 46143.75);
    EXPECT_EQ(reader.read_date(), (StoredDate{3, 46143.5}));
    EXPECT_EQ(reader.read_count_raw(), 70000u);
    const auto read_block = reader.read_bytes(3);
    ASSERT_EQ(read_block.size(), 3u);
    EXPECT_EQ(read_block[2], 3);
    EXPECT_TRUE(reader.ok());

    ArchiveWriter again;
    ArchiveReader reread(writer.bytes());
    again.write_string(reread.read_string());
    again.write_int32(reread.read_int32());
    again.write_float(reread.read_float());
    again.write_double(reread.read_double());
    again.write_date(reread.read_date());
    again.write_count(reread.read_count_raw());
    again.write_bytes(reread.read_bytes(3));
    EXPECT_EQ(again.bytes(), writer.bytes());
}

TEST(Archive, TextIsWindows1252OnDisk)
{
    ArchiveWriter writer;
    writer.write_string("\u00B0F");
    EXPECT_EQ(writer.bytes(), (std::vector<std::uint8_t>{0x02, 0xB0, 'F'}));
}

// Reads a whole document-like sequence; used to cut the stream everywhere.
bool read_sequence(std::span<const std::uint8_t> data, std::size_t &failed_at)
{
    ArchiveReader reader(data);
    reader.read_string();
    const std::uint32_t names = reader.read_count(1);
    for (std::uint32_t i = 0; i < names && reader.ok(); ++i)
        reader.read_string();
    reader.read_float();
    reader.read_date();
    const std::uint32_t days = reader.read_count(48);
    reader.read_bytes(static_cast<std::size_t>(days) * 48);
    failed_at = reader.error().offset;
    return reader.ok();
}

TEST(Archive, AStreamCutAnywhereFailsAtOrBeforeTheCut)
{
    ArchiveWriter writer;
    writer.write_string("Loc");
    writer.write_count(2);
    writer.write_string(std::string(300, 'n'));
    writer.write_string("b");
    writer.write_float(1.0f);
    writer.write_date({0, 46143});
    writer.write_count(3);
    writer.write_bytes(std::vector<std::uint8_t>(3 * 48, 7));
    const auto &bytes = writer.bytes();

    std::size_t failed_at = 0;
    ASSERT_TRUE(read_sequence(bytes, failed_at));
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        EXPECT_FALSE(read_sequence(std::span(bytes).first(cut), failed_at));
        EXPECT_LE(failed_at, cut);
    }
}

TEST(Archive, HugeCountsAndLengthsFailWithoutAllocating)
{
    // A count of 2^31 days after the wide escape, in a 10-byte file.
    const std::vector<std::uint8_t> count = {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 1, 2, 3, 4};
    ArchiveReader counts(count);
    EXPECT_EQ(counts.read_count(48), 0u);
    EXPECT_FALSE(counts.ok());
    EXPECT_EQ(counts.error().offset, 0u);
    EXPECT_NE(counts.error().message().find("2147483648"), std::string::npos);

    const std::vector<std::uint8_t> length = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'};
    ArchiveReader strings(length);
    EXPECT_EQ(strings.read_string(), "");
    EXPECT_FALSE(strings.ok());
    EXPECT_EQ(strings.error().offset, 7u);
}

TEST(Archive, ReadsAfterAFailureYieldNothingAndStayPut)
{
    const std::vector<std::uint8_t> bytes = {0x05, 'a', 'b'};
    ArchiveReader reader(bytes);
    EXPECT_EQ(reader.read_string(), "");
    const std::size_t at = reader.offset();
    EXPECT_EQ(reader.read_int32(), 0);
    EXPECT_EQ(reader.read_double(), 0.0);
    EXPECT_TRUE(reader.read_bytes(1).empty());
    EXPECT_EQ(reader.offset(), at);
    EXPECT_EQ(reader.error().offset, 1u);
}

} // namespace
} // namespace tw
