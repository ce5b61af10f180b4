#include "field/irrigation_table.h"

#include "field/field_summary.h"
#include "field_fixtures.h"
#include "platform/dates.h"
#include "platform/text_format.h"

namespace tw {
namespace {

using test::FieldTest;

class IrrigationTable : public FieldTest
{
protected:
    void metric()
    {
        settings->depth_unit = 0;       // mm
        settings->temperature_unit = 0; // °C
    }
};

std::vector<std::string> texts(const IrrigationRow &row)
{
    std::vector<std::string> out;
    for (const auto &cell : row.cells)
        out.push_back(cell.value_or("<left>"));
    return out;
}

TEST_F(IrrigationTable, TitlesCarryTheDisplayUnits)
{
    const auto titles = irrigation_table_titles();
    EXPECT_EQ(std::vector<std::string>(titles.begin(), titles.end()),
              (std::vector<std::string>{"     Date", "GDD(\u00b0F)", "Growth Stage    ",
                                        "Root Depth(in)", "Crop ET(in)", "Eff. Irrig(in)",
                                        "Rain(in)", "Current Deficit(in)", "Critical Deficit(in)",
                                        "Irrigation needed(in)"}));
    const std::pair<std::int32_t, std::string> labels[] = {
        {0, "Depth(in)"}, {1, "Deficit(in)"}, {2, "Content(in/ft)"}};
    for (const auto &[mode, label] : labels) {
        settings->moisture_display = mode;
        EXPECT_EQ(irrigation_table_titles()[7], "Current " + label);
        EXPECT_EQ(irrigation_table_titles()[8], "Critical " + label);
    }
    EXPECT_EQ(irrigation_column_margin(0), 40);
    EXPECT_EQ(irrigation_column_margin(5), 15);
    EXPECT_TRUE(irrigation_column_left_aligned(2));
    EXPECT_FALSE(irrigation_column_left_aligned(3));
}

// 0.1 mm is 0.0039 in: it rounds to 0.00, and a hair on the wet side must not read "-0.00".
TEST_F(IrrigationTable, ADeficitRoundingToNothingReadsNothing)
{
    EXPECT_EQ(moisture_text(-0.1f), "0.00");
    EXPECT_EQ(moisture_text(0.1f), "0.00");
    EXPECT_EQ(moisture_text(-0.2f), "-0.01"); // 0.0079 in: a real hundredth stays
}

TEST_F(IrrigationTable, ComputedDayCells)
{
    metric();
    auto location = test::make_location(60, 30);
    auto field = test::make_field(*location, test::corn());
    FieldDay &t = field->season.days[12];
    t.rain = 2.0f;
    t.effective_irrigation = 17.5f;
    const auto full = irrigation_row(*field, 12, TableFill::Full);
    EXPECT_EQ(texts(full),
              (std::vector<std::string>{
                  "05/13/22", std::to_string(static_cast<int>(t.cum_gdd)), "V1-6: Early Leaf",
                  strprintf("%1.1f", double(t.root_depth)), strprintf("%1.2f", double(t.crop_et)),
                  "17.50", "2.00", strprintf("%1.2f", double(t.soil_moisture)),
                  strprintf("%1.2f", double(t.critical)), ""}));
    EXPECT_EQ(full.icon, 6); // 2 mm is a rain day in a full fill...
    const auto refreshed = irrigation_row(*field, 12, TableFill::Refresh);
    EXPECT_EQ(refreshed.cells[0], std::nullopt);
    EXPECT_EQ(refreshed.cells[5], "17.5");
    EXPECT_EQ(refreshed.cells[6], "2.0");
    EXPECT_EQ(refreshed.icon, 0); // ...but not when rows are refreshed
}

TEST_F(IrrigationTable, BlankedAndPostHarvestDays)
{
    metric();
    auto location = test::make_location(60, 30);
    auto field = test::make_field(*location, test::short_crop());
    const int blank = field->season.last_forecast_day + 1;
    EXPECT_EQ(texts(irrigation_row(*field, blank, TableFill::Full)),
              (std::vector<std::string>{format_date(field->date_of(blank), "%m/%d/%y"), "0",
                                        "No Data", "", "", "", "", "", "", ""}));
    EXPECT_EQ(texts(irrigation_row(*field, blank, TableFill::Refresh)),
              (std::vector<std::string>{"<left>", "0", "No Data", "", "", "<left>", "", "", "",
                                        "<left>"}));
    field->season.days[40].stage = StagePostHarvest;
    const auto post = irrigation_row(*field, 40, TableFill::Refresh);
    EXPECT_EQ(post.cells[2], "Post-Harvest");
    EXPECT_TRUE(post.cells[7].has_value());
    EXPECT_FALSE(post.cells[8].has_value());
    EXPECT_FALSE(post.cells[9].has_value());
    field->season.days[40].stage = StageForecasted;
    EXPECT_EQ(irrigation_row(*field, 40, TableFill::Full).cells[2], "Forecasted");
}

TEST_F(IrrigationTable, IconRulesInOrder)
{
    const struct
    {
        std::int32_t kind;
        float rain, gross, needed;
        int icon;
    } cases[] = {
        {KindNoData, 9, 9, 9, 10},  {KindWeather, 3, 5, 1, 8},  {KindWeather, 3, 5, 0, 7},
        {KindForecast, 3, 0, 1, 9}, {KindForecast, 3, 0, 0, 6}, {KindForecast, 0, 0, 1, 2},
        {KindForecast, 0, 5, 0, 1}, {KindWeather, 0, 5, 1, 4},  {KindWeather, 0, 5, 0, 3},
        {KindWeather, 1, 0, 1, 5},  {KindWeather, 1, 0, 0, 0},
    };
    for (const auto &c : cases) {
        FieldDay day;
        day.kind = c.kind;
        day.rain = c.rain;
        day.gross_irrigation = c.gross;
        day.irrigation_needed = c.needed;
        EXPECT_EQ(irrigation_row_icon(day, TableFill::Full), c.icon)
            << c.kind << " " << c.rain << " " << c.gross << " " << c.needed;
    }
}

TEST_F(IrrigationTable, SummaryRowOfAFieldWithAForecastIrrigation)
{
    metric();
    auto location = test::make_location(100, 20, {12.0f, 28.0f, 9.0f, 0.0f});
    auto field = test::make_field(*location, test::short_crop());
    const int a = field->season.last_actual_day;
    const int f = field->season.last_forecast_day;
    ASSERT_GT(f, a);
    const FieldDay &forecast = field->season.days[static_cast<std::size_t>(f)];
    ASSERT_GT(forecast.irrigation_needed, 0.0f);
    const auto row = field_summary_row(*field);
    EXPECT_EQ(std::vector<std::string>(row.begin(), row.end()),
              (std::vector<std::string>{
                  "north", "SHORT", "Full Cover",
                  strprintf("%1.2f",
                            double(field->season.days[static_cast<std::size_t>(a)].soil_moisture)),
                  format_date(field->date_of(f), "%m/%d/%y"), "",
                  strprintf("%1.1f", double(forecast.irrigation_needed)), ""}));
    const auto headers = field_summary_headers();
    EXPECT_EQ(headers[3], "Soil Moisture(mm)");
    EXPECT_EQ(headers[5], "Start By");
    EXPECT_EQ(headers[6], "Irrigation Amount(mm)");
}

TEST_F(IrrigationTable, SummaryRowCases)
{
    auto due = test::make_location(100, 16);
    auto due_field = test::make_field(*due, test::short_crop());
    due_field->season.days[15].sm_override = 1;
    due_field->season.days[15].deficit = 100.0f;
    due_field->seasonal_nitrogen = 100.0f;
    due_field->saved.nitrogen.soil_nitrogen = 300.0f;
    due_field->season_run(0);
    const auto asap = field_summary_row(*due_field);
    EXPECT_EQ(asap[4], format_date(due_field->date_of(15), "%m/%d/%y") + " (ASAP)");
    EXPECT_FALSE(asap[6].empty());
    ASSERT_GT(due_field->season.days[15].nitrate_available, 1.0f);
    EXPECT_EQ(asap[7],
              strprintf("%d", static_cast<int>(due_field->season.days[15].nitrate_available)));

    auto none = test::make_location(100, 0);
    auto no_data = field_summary_row(*test::make_field(*none, test::corn()));
    EXPECT_EQ(std::vector<std::string>(no_data.begin(), no_data.end()),
              (std::vector<std::string>{"north", "CORN", "No Data", "", "", "", "", ""}));

    auto wet = test::make_location(100, 10);
    for (WeatherDay &w : wet->days)
        w.rain = 20.0f;
    auto wet_field = test::make_field(*wet, test::short_crop());
    EXPECT_EQ(field_summary_row(*wet_field)[6], "");

    // Past harvest the run ends its forecast on the last actual day with nothing needed: the row
    // names no day to irrigate, least of all one "(ASAP)".
    auto harvested = test::make_location(100, 60, {12.0f, 28.0f, 1.0f, 20.0f});
    const auto past = field_summary_row(*test::make_field(*harvested, test::short_crop()));
    EXPECT_EQ(past[2], "Post-Harvest");
    EXPECT_FALSE(past[3].empty());
    EXPECT_EQ(past[4], "");
    EXPECT_EQ(past[5], "");
    EXPECT_EQ(past[6], "");

    CFieldDoc empty;
    EXPECT_EQ(field_summary_row(empty)[2], "No Data");
}

TEST_F(IrrigationTable, LocationSummaryListsItsFieldsInOpeningOrder)
{
    auto location = test::make_location(100, 30);
    EXPECT_TRUE(location_summary_rows(*location).empty());
    auto first = test::make_field(*location, test::corn());
    auto second = test::make_field(*location, test::short_crop());
    second->saved.name = "south";
    const auto rows = location_summary_rows(*location);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1], "CORN");
    EXPECT_EQ(rows[1][0], "south");
}

} // namespace
} // namespace tw
