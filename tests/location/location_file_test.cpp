#include "location/location_file.h"

#include "location/location_doc.h"
#include "platform/archive.h"
#include "platform/files.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tw {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A location whose every member differs from its default.
void fill(CLocationDoc &loc)
{
    loc.name = "Greeley";
    loc.field_names = {"North pivot", std::string(300, 'x'), ""};
    loc.elevation = 1425.0f;
    loc.latitude = 40.3915f;
    loc.et_method = StandardizedPenman;
    loc.start_date = {0, 44682.25}; // 2022-05-01 06:00, kept with its time of day
    loc.pressure = 859.9f;
    loc.anemometer_height = 3.0f;
    loc.warm_month_tmin = 13.0f;
    loc.warm_month_tmax = 32.0f;
    loc.jh_ct = 0.025f;
    loc.jh_tx = -9.6f;
    loc.reference_type = 1;
    loc.delta_t = 2.5f;
    loc.k_zero = 0.5f;
    loc.days.assign(40, WeatherDay{});
    for (int i = 0; i < 40; ++i) {
        WeatherDay &d = loc.day(i);
        d.has_data = i % 3 ? 1 : 0;
        d.t_min = 10.0f + i;
        d.t_max = 25.5f + i;
        d.rh_min = 0.2f;
        d.rh_max = 0.85f;
        d.solar_radiation = 600.0f - i;
        d.cloud_cover = i % 5;
        d.wind_run = 150.25f;
        d.rain = i * 0.5f;
        d.etr = 6.0f;
        d.alternate_etr = i == 7 ? 4.0f : 0.0f;
        d.etr_used = 6.5f;
    }
}

// Where the day count starts: everything before it is the header.
std::size_t day_count_offset(const CLocationDoc &loc)
{
    return encode_location(loc).size() - loc.days.size() * kWeatherDaySize - 2;
}

TEST(LocFile, NewLocationRoundTrip)
{
    CLocationDoc written;
    const Bytes bytes = encode_location(written);
    CLocationDoc read;
    read.days.clear();
    read.anemometer_height = 0.0f;
    read.reference_type = 0;
    ASSERT_EQ(decode_location(bytes, read), LocationRead::Complete);
    ASSERT_EQ(read.day_count(), 215);
    const auto days_at = bytes.end() - 215 * static_cast<std::ptrdiff_t>(kWeatherDaySize);
    EXPECT_TRUE(std::all_of(days_at, bytes.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(read.anemometer_height, 2.0f);
    EXPECT_EQ(read.reference_type, 2);
    EXPECT_EQ(read.et_method, KimberlyPenman);
    EXPECT_TRUE(read.field_names.empty());
    EXPECT_EQ(read.start_date, written.start_date);
    EXPECT_EQ(encode_location(read), bytes);
}

TEST(LocFile, LayoutFollowsTheArchiveOrder)
{
    CLocationDoc loc;
    fill(loc);
    loc.field_names = {"N"};
    loc.days.resize(1);
    ArchiveWriter expected;
    expected.write_string("Greeley");
    expected.write_count(1);
    expected.write_string("N");
    for (const float v : {1425.0f, 40.3915f})
        expected.write_float(v);
    expected.write_int32(StandardizedPenman);
    expected.write_int32(0);
    expected.write_double(44682.25);
    for (const float v : {859.9f, 3.0f, 13.0f, 32.0f, 0.025f, -9.6f})
        expected.write_float(v);
    expected.write_int32(1);
    expected.write_float(2.5f);
    expected.write_float(0.5f);
    expected.write_count(1);
    const WeatherDay &d = loc.day(0);
    expected.write_int32(d.has_data);
    for (const float v : {d.t_min, d.t_max, d.rh_min, d.rh_max, d.solar_radiation})
        expected.write_float(v);
    expected.write_int32(d.cloud_cover);
    for (const float v : {d.wind_run, d.rain, d.etr, d.alternate_etr, d.etr_used})
        expected.write_float(v);
    EXPECT_EQ(encode_location(loc), expected.bytes());
}

TEST(LocFile, EveryMemberAndDaySurvivesByteForByte)
{
    CLocationDoc loc;
    fill(loc);
    // A day flagged with data but holding only zeros, and a cloud class, are kept as stored.
    loc.day(5) = WeatherDay{};
    loc.day(5).has_data = 1;
    loc.day(5).cloud_cover = 3;
    const Bytes bytes = encode_location(loc);
    CLocationDoc read;
    ASSERT_EQ(decode_location(bytes, read), LocationRead::Complete);
    EXPECT_EQ(read.day(5).has_data, 1);
    EXPECT_EQ(read.day(5).cloud_cover, 3);
    EXPECT_EQ(read.field_names, loc.field_names);
    EXPECT_EQ(encode_location(read), bytes);
}

TEST(LocFile, LongFieldNameUsesTheEscapedLength)
{
    CLocationDoc loc;
    loc.field_names = {std::string(300, 'f')};
    const Bytes bytes = encode_location(loc);
    // name "" (1 byte), count 1 (2 bytes), then 0xFF and the 16-bit length 300.
    ASSERT_GT(bytes.size(), 6u);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(bytes[4], 300 & 0xFF);
    EXPECT_EQ(bytes[5], 300 >> 8);
    CLocationDoc read;
    ASSERT_EQ(decode_location(bytes, read), LocationRead::Complete);
    ASSERT_EQ(read.field_names.size(), 1u);
    EXPECT_EQ(read.field_names[0], std::string(300, 'f'));
}

TEST(LocFile, AStoredNameKeepsFifteenCharacters)
{
    CLocationDoc loc;
    loc.name = "Twenty characters!!!";
    CLocationDoc read;
    ASSERT_EQ(decode_location(encode_location(loc), read), LocationRead::Complete);
    EXPECT_EQ(read.name, "Twenty characte");
}

TEST(LocFile, TruncatedHeaderKeepsWhatWasRead)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    CLocationDoc loc;
    fill(loc);
    const Bytes bytes = encode_location(loc);
    const std::size_t header = day_count_offset(loc);
    // Every cut before the whole day count is a read error.
    for (std::size_t cut = 0; cut < header + 2; ++cut) {
        SCOPED_TRACE(cut);
        CLocationDoc read;
        EXPECT_EQ(decode_location(std::span(bytes).first(cut), read), LocationRead::Failed);
        EXPECT_TRUE(read.days.empty());
    }
    // Opening such a file shows the message.
    const auto path = dir.file("cut.loc");
    ASSERT_TRUE(write_file_atomic(path, std::span(bytes).first(header)));
    CLocationDoc opened;
    EXPECT_EQ(load_location_file(path, opened), LocationRead::Failed);
    EXPECT_EQ(messages->texts(), std::vector<std::string>{std::string(kArchiveErrorMessage)});
    EXPECT_EQ(opened.k_zero, 0.5f);

    // Cut after the elevation: the name, field names and elevation are kept, the rest default.
    const std::size_t after_elevation = 1 + 7 + 2 + (1 + 11) + (3 + 300) + 1 + 4;
    CLocationDoc read;
    EXPECT_EQ(decode_location(std::span(bytes).first(after_elevation + 2), read),
              LocationRead::Failed);
    EXPECT_EQ(read.name, "Greeley");
    EXPECT_EQ(read.field_names, loc.field_names);
    EXPECT_EQ(read.elevation, 1425.0f);
    EXPECT_EQ(read.latitude, 0.0f);
    EXPECT_EQ(read.anemometer_height, 2.0f);
}

TEST(LocFile, FileCutInsideTheDaysOpensQuietlyWithEmptyDays)
{
    test::ScopedMessages messages;
    CLocationDoc loc;
    fill(loc);
    const Bytes bytes = encode_location(loc);
    const std::size_t days_at = day_count_offset(loc) + 2;
    for (std::size_t cut = days_at; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        CLocationDoc read;
        EXPECT_EQ(decode_location(std::span(bytes).first(cut), read), LocationRead::DaysCut);
        ASSERT_EQ(read.day_count(), 40);
        const std::size_t whole = (cut - days_at) / kWeatherDaySize;
        for (std::size_t k = 0; k < 40; ++k) {
            const WeatherDay &d = read.days[k];
            const WeatherDay &expected = k < whole ? loc.days[k] : WeatherDay{};
            ASSERT_EQ(d.t_max, expected.t_max) << k;
            ASSERT_EQ(d.has_data, expected.has_data) << k;
        }
        EXPECT_EQ(read.k_zero, 0.5f);
    }
    EXPECT_TRUE(messages->texts().empty());
}

TEST(LocFile, ImpossibleCountsAreRefusedNotAllocated)
{
    CLocationDoc loc;
    loc.days.clear();
    Bytes header = encode_location(loc);
    header.resize(header.size() - 2); // without its day count
    const auto with_count = [&](std::initializer_list<std::uint8_t> count) {
        Bytes b = header;
        b.insert(b.end(), count);
        return b;
    };
    struct Case
    {
        const char *what;
        Bytes bytes;
        LocationRead expected;
        std::size_t days;
    };
    const Case cases[] = {
        {"the largest season", with_count({0x4C, 0x0E}), LocationRead::DaysCut, 3660},
        {"one day more", with_count({0x4D, 0x0E}), LocationRead::Failed, 0},
        {"a 32-bit count", with_count({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}), LocationRead::Failed,
         0},
        {"a cut 32-bit count", with_count({0xFF, 0xFF, 0x10}), LocationRead::Failed, 0},
        // Field names: a count of 2^32 - 1 names in a file of a few bytes.
        {"field names", {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, LocationRead::Failed, 0},
        // A string length far beyond the file.
        {"name length", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}, LocationRead::Failed, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CLocationDoc read;
        std::string detail;
        EXPECT_EQ(decode_location(c.bytes, read, &detail), c.expected);
        EXPECT_EQ(read.days.size(), c.days);
        EXPECT_EQ(detail.empty(), c.expected == LocationRead::Complete);
    }
}

TEST(LocFile, RandomBytesNeverCrash)
{
    std::mt19937 random(20220501);
    CLocationDoc sample;
    fill(sample);
    const Bytes valid = encode_location(sample);
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes;
        if (round % 2) {
            bytes.resize(random() % 400);
            for (auto &b : bytes)
                b = static_cast<std::uint8_t>(random());
        } else {
            // A valid file with a few bytes changed, so that the reader gets deep into it.
            bytes = valid;
            for (int k = 0; k < 4; ++k)
                bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
        }
        CLocationDoc read;
        decode_location(bytes, read);
        EXPECT_LE(read.days.size(), kMaxLocationDays);
        EXPECT_LE(read.name.size(), 3 * kLocationNameChars);
    }
}

TEST(LocFile, SavingIsAtomicAndLoadingTakesThePath)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    CLocationDoc loc;
    fill(loc);
    loc.set_modified();
    const auto path = dir.file("Greeley2022.loc");
    ASSERT_TRUE(save_location_file(loc, path).saved);
    EXPECT_FALSE(loc.is_modified());
    EXPECT_EQ(loc.path(), path);

    CLocationDoc read;
    EXPECT_EQ(load_location_file(path, read), LocationRead::Complete);
    EXPECT_EQ(read.path(), path);
    EXPECT_FALSE(read.is_modified());
    EXPECT_EQ(encode_location(read), encode_location(loc));

    loc.set_modified();
    const SaveOutcome failed = save_location_file(loc, dir.file("no/such/dir/x.loc"));
    EXPECT_FALSE(failed.saved);
    EXPECT_TRUE(loc.is_modified());
    // Nothing was read, so the reading message would be wrong; the caller shows the reason.
    EXPECT_TRUE(messages->texts().empty());
    EXPECT_TRUE(failed.message.starts_with("Unable to save the location file ")) << failed.message;
    EXPECT_TRUE(failed.message.ends_with("No such file or directory")) << failed.message;

    messages->clear();
    CLocationDoc missing;
    EXPECT_EQ(load_location_file(dir.file("missing.loc"), missing), LocationRead::Unreadable);
    EXPECT_EQ(missing.day_count(), 215);
    EXPECT_TRUE(messages->texts().empty());
}

} // namespace
} // namespace tw
