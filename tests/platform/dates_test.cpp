#include "platform/dates.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(Dates, DayNumbersCountFromThe30thOfDecember1899)
{
    EXPECT_EQ(civil_from_serial(0), (CivilDate{1899, 12, 30}));
    EXPECT_EQ(serial_from_civil(2026, 5, 1), 46143);
    EXPECT_EQ(serial_from_civil(1900, 3, 1), 61);
    EXPECT_EQ(civil_from_serial(-1), (CivilDate{1899, 12, 29}));
}

TEST(Dates, CivilRoundTripOverTwoCenturies)
{
    for (int serial = serial_from_civil(1900, 1, 1); serial < serial_from_civil(2100, 1, 1);
         ++serial) {
        ASSERT_EQ(serial_from_civil(civil_from_serial(serial)), serial);
    }
}

TEST(Dates, DayOfYearAndYearLengths)
{
    EXPECT_EQ(day_of_year(serial_from_civil(2022, 1, 1)), 1);
    EXPECT_EQ(day_of_year(serial_from_civil(2022, 12, 31)), 365);
    EXPECT_EQ(day_of_year(serial_from_civil(2024, 12, 31)), 366);
    EXPECT_EQ(day_of_year(serial_from_civil(2004, 7, 1)), 183);
    EXPECT_EQ(days_in_year(2000), 366);
    EXPECT_EQ(days_in_year(1900), 365);
    EXPECT_EQ(year_of(46143), 2026);
    EXPECT_EQ(weekday(serial_from_civil(2026, 5, 1)), 5); // a Friday
}

TEST(Dates, Formats)
{
    const int day = serial_from_civil(2026, 5, 1);
    EXPECT_EQ(format_date(day, "%m/%d/%y"), "05/01/26");
    EXPECT_EQ(format_date(day, "%y"), "26");
    EXPECT_EQ(format_date(day, "%#x"), "Friday, May 1, 2026");
    EXPECT_EQ(format_date(day, "%Y-%j %%"), "2026-121 %");
    EXPECT_EQ(format_date(serial_from_civil(2005, 1, 9), "%y"), "05");
    EXPECT_EQ(format_date(day, "%q"), "%q");
}

TEST(Dates, IsoDatesAreStrict)
{
    EXPECT_EQ(parse_iso_date("2026-05-01"), 46143);
    EXPECT_EQ(iso_date(46143), "2026-05-01");
    for (const char *bad : {"2026-02-30", "2026-13-01", "2026-5-1", "20260501", "2026-05-0x", ""})
        EXPECT_FALSE(parse_iso_date(bad).has_value()) << bad;
    EXPECT_EQ(parse_iso_date("2024-02-29"), serial_from_civil(2024, 2, 29));
}

TEST(Dates, StoredDateDropsTheTimeOfDay)
{
    EXPECT_EQ((StoredDate{0, 46143.75}).day(), 46143);
    EXPECT_EQ((StoredDate{0, -0.25}).day(), -1);
    EXPECT_EQ((StoredDate{0, 1e300}).day(), 0);
}

} // namespace
} // namespace tw
