#include "leaching/nitrogen_table.h"

#include "field/field_doc.h"
#include "platform/dates.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

class NitrogenTable : public ::testing::Test
{
protected:
    test::ScopedSettings settings;
    CFieldDoc field;

    void SetUp() override
    {
        field.saved.crop.max_harvests = 1;
        field.saved.planting_date = StoredDate::from_day(serial_from_civil(2022, 5, 10));
        field.season.cycles[0].harvest_day = 100;
        field.season.cycles[0].harvest_gdd = 1400;
        field.season.days.assign(120, FieldDay{});
        for (FieldDay &t : field.season.days)
            t.kind = KindWeather;
    }

    std::vector<std::string> cells(int d)
    {
        const auto row = nitrogen_row(field, d);
        return {row.cells.begin(), row.cells.end()};
    }
};

TEST_F(NitrogenTable, TitlesCarryTheDepthUnit)
{
    auto titles = nitrogen_table_titles();
    EXPECT_EQ(std::vector<std::string>(titles.begin(), titles.end()),
              (std::vector<std::string>{"Date      ", "N.Available(lbs/Acre)", "N.App(lbs/Acre)",
                                        "Crop Uptake(lbs/Acre)", "Deep Perc(in)",
                                        "N.Leached(lbs/Acre)"}));
    settings->depth_unit = 0;
    EXPECT_EQ(nitrogen_table_titles()[4], "Deep Perc(mm)");
    EXPECT_EQ(kNitrogenColumnMargin, 15);
}

TEST_F(NitrogenTable, CellsAreEmptyWhenThereIsNothing)
{
    const struct
    {
        float available, applied, drainage_mm, leached;
        std::vector<std::string> expected; // all but the date and the uptake
    } cases[] = {
        {45.9f, 30.0f, 12.7f, 2.6f, {"45", "30", "0.5", "2"}},
        {0.0f, 0.0f, 0.0f, 0.0f, {"", "", "", ""}},
        {-3.0f, -10.0f, -1.0f, -0.5f, {"", "", "", ""}},
        // A trace of drainage shows, as 0.0 inches; a fraction of a pound shows as 0.
        {0.4f, 0.2f, 0.04f, 0.3f, {"0", "0", "0.0", "0"}},
    };
    for (const auto &c : cases) {
        FieldDay &t = field.season.days[20];
        t.nitrate_available = c.available;
        t.n_applied = c.applied;
        t.drainage = c.drainage_mm;
        t.nitrate_leached = c.leached;
        const auto row = cells(20);
        EXPECT_EQ(row[0], "05/30/22");
        EXPECT_EQ((std::vector<std::string>{row[1], row[2], row[4], row[5]}), c.expected);
    }
}

TEST_F(NitrogenTable, DeepPercolationInTheDisplayUnit)
{
    settings->depth_unit = 0;
    field.season.days[5].drainage = 12.34f;
    EXPECT_EQ(cells(5)[4], "12.3");
}

TEST_F(NitrogenTable, UptakeOnlyBeforeTheHarvest)
{
    const struct
    {
        const char *what;
        std::int32_t basis;
        int day;
        float cum_gdd, available;
        std::string uptake;
    } cases[] = {
        {"by days, before harvest", SeasonDays, 99, 0, 0, "37"},
        {"by days, the harvest day", SeasonDays, 100, 0, 50, ""},
        {"by degree days, before harvest", GrowingDegreeDays, 110, 1399.5f, 5, "37"},
        {"by degree days, nothing available", GrowingDegreeDays, 50, 600, 0, ""},
        {"by degree days, at the harvest", GrowingDegreeDays, 50, 1400, 5, ""},
    };
    for (const auto &c : cases) {
        settings->crop_growth_basis = c.basis;
        FieldDay &t = field.season.days[static_cast<std::size_t>(c.day)];
        t.n_uptake = 37.8f;
        t.cum_gdd = c.cum_gdd;
        t.nitrate_available = c.available;
        EXPECT_EQ(cells(c.day)[3], c.uptake) << c.what;
    }
}

TEST_F(NitrogenTable, UptakeFollowsTheDaysHarvestCycle)
{
    // Two cuttings: day 40 is after the first harvest but before the second.
    field.saved.crop.max_harvests = 2;
    field.season.cycles[0].harvest_day = 30;
    field.season.cycles[1].harvest_day = 60;
    field.season.days[40].n_uptake = 12.0f;
    field.season.days[70].n_uptake = 12.0f;
    EXPECT_EQ(cells(40)[3], "12");
    EXPECT_EQ(cells(70)[3], "");
}

TEST_F(NitrogenTable, DaysWithoutWeatherAreMarked)
{
    field.season.days[7].kind = KindNoData;
    field.season.days[8].kind = KindForecast;
    EXPECT_TRUE(nitrogen_row(field, 7).no_weather);
    EXPECT_FALSE(nitrogen_row(field, 8).no_weather);
    EXPECT_FALSE(nitrogen_row(field, 9).no_weather);
    EXPECT_EQ(nitrogen_row(field, 120).cells[0], ""); // beyond the record
}

} // namespace
} // namespace tw
