#include "field/field_tips.h"

#include "field/field_summary.h"
#include "field/irrigation_table.h"
#include "field/water_balance.h"
#include "leaching/nitrogen_table.h"
#include "leaching/nitrogen_tips.h"
#include "location/weather_table.h"
#include "location/weather_tips.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace tw {
namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

/// Every title has a tip, none past the last; a title's unit ("Rain(mm)") is named in its tip
/// ("in mm"), so the explanation never speaks of another unit than the one shown.
void expect_tips_name_the_titles_units(const std::vector<std::string> &titles,
                                       const std::function<std::string(int)> &tip)
{
    for (int c = 0; c < static_cast<int>(titles.size()); ++c) {
        const std::string &title = titles[static_cast<std::size_t>(c)];
        const std::string text = tip(c);
        EXPECT_FALSE(text.empty()) << title;
        const std::size_t open = title.find('(');
        if (open == std::string::npos)
            continue;
        std::string unit = title.substr(open + 1, title.find(')') - open - 1);
        unit = unit == "%" ? "percent" : unit;
        EXPECT_NE(lower(text).find("in " + lower(unit)), std::string::npos)
            << title << ": " << text;
    }
    EXPECT_TRUE(tip(static_cast<int>(titles.size())).empty());
    EXPECT_TRUE(tip(-1).empty());
}

TEST(FieldTips, ColumnTipsFollowTheDisplayUnitsAndTheMoistureDisplay)
{
    test::ScopedSettings settings;
    const std::pair<std::int32_t, std::int32_t> units[] = {{0, 0}, {1, 1}, {2, 1}}; // depth, °
    for (const auto &[depth, temperature] : units) {
        settings->depth_unit = depth;
        settings->temperature_unit = temperature;
        for (const std::int32_t mode : {AvailableDepth, DeficitDisplay, ContentDisplay}) {
            settings->moisture_display = mode;
            const auto titles = irrigation_table_titles();
            expect_tips_name_the_titles_units({titles.begin(), titles.end()},
                                              irrigation_column_tip);
        }
        expect_tips_name_the_titles_units(weather_table_headers(), weather_column_tip);
        const auto nitrogen = nitrogen_table_titles();
        expect_tips_name_the_titles_units({nitrogen.begin(), nitrogen.end()}, nitrogen_column_tip);
        settings->moisture_display = DeficitDisplay;
        const auto summary = field_summary_headers();
        expect_tips_name_the_titles_units({summary.begin(), summary.end()}, summary_column_tip);
    }
}

TEST(FieldTips, TheCriticalLevelIsExplainedAsTheDisplayShowsIt)
{
    // A deficit is critical above the level, water left and content below it.
    test::ScopedSettings settings;
    settings->moisture_display = DeficitDisplay;
    EXPECT_NE(irrigation_column_tip(8).find("before the deficit passes it"), std::string::npos);
    settings->moisture_display = AvailableDepth;
    EXPECT_NE(irrigation_column_tip(8).find("falls below it"), std::string::npos);
    EXPECT_NE(irrigation_column_tip(7).find("water left"), std::string::npos);
}

TEST(FieldTips, ChartSeriesAndPanelFiguresAreExplainedInTheDepthUnit)
{
    test::ScopedSettings settings;
    settings->depth_unit = 2; // cm
    for (const char *series : {"Deficit", "Critical deficit", "TAW", "Rain", "Irrigation"})
        EXPECT_NE(chart_series_tip(series).find("in cm"), std::string::npos) << series;
    for (const char *series : {"Forecast", "Last actual day"})
        EXPECT_FALSE(chart_series_tip(series).empty()) << series;
    EXPECT_TRUE(chart_series_tip("Deficit ").empty());
    EXPECT_NE(panel_figure_tip(PanelFigure::Amount).find("in cm"), std::string::npos);
    for (const PanelFigure figure :
         {PanelFigure::When, PanelFigure::Moisture, PanelFigure::Advice, PanelFigure::RainDelay})
        EXPECT_FALSE(panel_figure_tip(figure).empty());
}

} // namespace
} // namespace tw
