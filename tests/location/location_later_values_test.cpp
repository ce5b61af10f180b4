// The values a .loc keeps after its day records: the weather source and the forecast days.
#include "location/location_file.h"

#include "location/location_doc.h"
#include "platform/archive.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

using Bytes = std::vector<std::uint8_t>;

CLocationDoc &with_days(CLocationDoc &loc)
{
    loc.name = "Greeley";
    loc.days.assign(30, WeatherDay{});
    for (int i = 0; i < 20; ++i)
        loc.day(i) = {1, 12.0f, 30.0f + i, 0.2f, 0.9f, 600.0f, 0, 150.0f, 0.0f, 7.0f, 0.0f, 7.0f};
    return loc;
}

WeatherSource source()
{
    return {"https://weather.example/daily?id={station}&from={from}&to={to}", "GLY04", "",
            "date=Date,t_max=Tmax[C],t_min=Tmin[C]",
            "https://weather.example/forecast?id={station}&from={from}&to={to}"};
}

ForecastDays forecast()
{
    ForecastDays f;
    f.first = 20;
    f.days = {{1, 14.0f, 33.0f, 0.15f, 0.8f, 580.0f, 0, 160.0f, 4.5f, 8.1f, 0.0f, 8.1f},
              {1, 15.0f, 31.0f, 0.2f, 0.85f, 560.0f, 0, 140.0f, 0.0f, 7.6f, 7.0f, 7.6f}};
    return f;
}

// The marker, then blocks of tag, length and bytes.
Bytes block(std::int32_t tag, const Bytes &payload)
{
    ArchiveWriter w;
    w.write_int32(tag);
    w.write_uint32(static_cast<std::uint32_t>(payload.size()));
    w.write_bytes(payload);
    return w.bytes();
}

Bytes operator+(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

constexpr std::int32_t kMarker = 0x314C5754; // "TWL1"

TEST(LocLaterValues, SourceAndForecastSurviveARoundTripAfterUnchangedDays)
{
    CLocationDoc plain;
    with_days(plain);
    const Bytes before = encode_location(plain);

    CLocationDoc loc;
    with_days(loc);
    loc.source = source();
    loc.forecast = forecast();
    const Bytes bytes = encode_location(loc);
    // Nothing of the earlier layout moves: the file is the old one with the values appended.
    ASSERT_GT(bytes.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), bytes.begin()));
    // Marker "TWL1" then the source block "WSRC".
    const Bytes head(bytes.begin() + static_cast<std::ptrdiff_t>(before.size()),
                     bytes.begin() + static_cast<std::ptrdiff_t>(before.size()) + 8);
    EXPECT_EQ(head, (Bytes{'T', 'W', 'L', '1', 'W', 'S', 'R', 'C'}));

    CLocationDoc read;
    ASSERT_EQ(decode_location(bytes, read), LocationRead::Complete);
    EXPECT_EQ(read.source, loc.source);
    EXPECT_EQ(read.forecast, loc.forecast);
    EXPECT_EQ(encode_location(read), bytes);
}

TEST(LocLaterValues, OlderFilesReadAsNoSourceAndNoForecast)
{
    CLocationDoc plain;
    with_days(plain);
    CLocationDoc read;
    read.source = source(); // a reader over a used document still starts from none
    read.forecast = forecast();
    ASSERT_EQ(decode_location(encode_location(plain), read), LocationRead::Complete);
    EXPECT_TRUE(read.source.empty());
    EXPECT_TRUE(read.forecast.empty());
    // Bytes after the days without the marker are left unread, as before.
    ASSERT_EQ(decode_location(encode_location(plain) + Bytes{1, 2, 3, 4, 5}, read),
              LocationRead::Complete);
    EXPECT_TRUE(read.source.empty());
}

TEST(LocLaterValues, UnknownBlocksAreSkippedAndDamagedOnesKeepTheDays)
{
    CLocationDoc loc;
    with_days(loc);
    const Bytes days = encode_location(loc);
    loc.source = source();
    const Bytes with_source = encode_location(loc);
    const Bytes source_block(with_source.begin() + static_cast<std::ptrdiff_t>(days.size()) + 4,
                             with_source.end());

    // A block of a later release before the source: read past, the source still read.
    ArchiveWriter marker;
    marker.write_int32(kMarker);
    CLocationDoc read;
    ASSERT_EQ(
        decode_location(days + marker.bytes() + block(0x5858585A, {9, 9, 9}) + source_block, read),
        LocationRead::Complete);
    EXPECT_EQ(read.source, loc.source);

    const struct
    {
        const char *what;
        Bytes tail;
    } damaged[] = {
        {"a length beyond the file", marker.bytes() + Bytes{'W', 'S', 'R', 'C', 0xFF, 0xFF, 0, 0}},
        {"a block cut inside its tag", marker.bytes() + Bytes{'W', 'S'}},
        {"a source whose strings overrun its block", marker.bytes() + block(0x43525357, {5, 'a'})},
        {"a forecast starting past the season",
         marker.bytes() + block(0x54534346, {100, 0, 0, 0, 0, 0})},
    };
    for (const auto &c : damaged) {
        SCOPED_TRACE(c.what);
        CLocationDoc cut;
        std::string detail;
        EXPECT_EQ(decode_location(days + c.tail, cut, &detail), LocationRead::DaysCut);
        EXPECT_NE(detail.find("after the days"), std::string::npos) << detail;
        EXPECT_EQ(cut.day_count(), 30);
        EXPECT_EQ(cut.day(19).t_max, 49.0f);
        EXPECT_TRUE(cut.source.empty());
    }
}

} // namespace
} // namespace tw
