#include "leaching/leaching_report.h"

#include "platform/dates.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tw {
namespace {

std::vector<std::string> values(const ReportGroup &group)
{
    std::vector<std::string> out;
    for (const ReportLine &line : group.lines)
        out.push_back(std::string(line.label) + "|" + line.value + "|" + std::string(line.grade) +
                      (line.hidden ? "|hidden" : ""));
    return out;
}

std::size_t line_count(const std::string &paragraph)
{
    return static_cast<std::size_t>(std::count(paragraph.begin(), paragraph.end(), '\n'));
}

LeachingSummary a_season()
{
    LeachingSummary s;
    s.water_applied = 9.8765f;
    s.irrigation_count = 3;
    s.average_irrigation = 3.2921f;
    s.irrigation_interval = 20.0f / 3.0f;
    s.leaching_index = 4.25f;
    s.deep_percolation = 2.5f;
    s.nitrogen_applied = 180.9f;
    s.nitrogen_count = 2;
    s.average_nitrogen = 90.46f;
    s.nitrate_available = 0.0f;
    s.nitrate_leached = 12.7f;
    return s;
}

TEST(LeachingReport, GroupsShowTheSummary)
{
    const LeachingSummary s = a_season();
    const ReportGroup irrigation = irrigation_group(s);
    EXPECT_EQ(irrigation.title, "Irrigation Management (in)");
    EXPECT_EQ(values(irrigation), (std::vector<std::string>{
                                      "Total Water Applied:|9.88|",
                                      "Number of Applications:|3|",
                                      "Average Application:|3.29|",
                                      "Average Irrigation Interval (days):|6.67|",
                                      "Leaching Index|Low|",
                                      "Deep Percolation:|2.50|",
                                  }));
    const ReportGroup fertility = fertility_group(s);
    EXPECT_EQ(fertility.title, "Fertility Managemen (LB/Acre)");
    EXPECT_EQ(values(fertility), (std::vector<std::string>{
                                     "Total Nitrogen Applied:|180|",
                                     "Number of Applications:|2|",
                                     "Average Application:|90.5 lb/acre|",
                                     "Nitrogen Leached:|12|High",
                                     "Nitrogen Available For Leaching:|0|Low|hidden",
                                 }));
    EXPECT_EQ(kRecommendationsTitle, "Recommendations");
    EXPECT_EQ(kLeachingReportCaption, "Leaching Analysis Results");
}

TEST(LeachingReport, NoNitrogenShowsUnknownTwice)
{
    LeachingSummary s;
    s.nitrogen_count = -1;
    const auto lines = values(fertility_group(s));
    EXPECT_EQ(lines[0], "Total Nitrogen Applied:|0|");
    EXPECT_EQ(lines[1], "Number of Applications:|Unknown|");
    EXPECT_EQ(lines[2], "Average Application:|Unknown|");
    // A count of 0 never reaches the report as such, but it is no "Unknown".
    s.nitrogen_count = 0;
    EXPECT_EQ(values(fertility_group(s))[2], "Average Application:| 0.0 lb/acre|");
}

TEST(LeachingAdvice, FourSentencesWithoutNitrateLeft)
{
    EXPECT_EQ(advice_paragraph(a_season(), {}),
              " *  A large amount of nitrate is leaching indicating that your overall management "
              "could be improved.\n"
              " *  The Leaching Index is Low indicating that your climate and irrigation scheme "
              "pose a small risk of leaching nitrate.\n"
              " *  The amount of water Deep Percolating is Moderate indicating that you manage "
              "your water fairly well.\n"
              " *  The amount of Soil Nitrate Available for Leaching is Low indicating that you "
              "manage your fertilizer very well.\n");
}

TEST(LeachingAdvice, EachGradeHasItsSentence)
{
    // Values graded Low, Medium, High and Excessive for nitrate leached, the index, the deep
    // percolation and the nitrate available; each row rotates the grades.
    const float leached[] = {1, 7, 12, 30};
    const float index[] = {1, 7, 15, 30};
    const float perc[] = {1, 3, 5, 9};
    const float available[] = {10, 70, 120, 200};
    const char *words[4][4] = {
        {"A negligible amount", "A moderate amount", "A large amount", "An excessive amount"},
        {"Index is Low", "Index is Medium", "Index is High", "Index is Excessive"},
        {"Percolating is Low", "Percolating is Moderate", "Percolating is High",
         "Percolating is Excessive"},
        {"Leaching is Low", "Leaching is Moderate", "Leaching is High", "Leaching is Excessive"},
    };
    for (int row = 0; row < 4; ++row) {
        const int g[4] = {row, (row + 1) % 4, (row + 2) % 4, (row + 3) % 4};
        LeachingSummary s;
        s.nitrate_leached = leached[g[0]];
        s.leaching_index = index[g[1]];
        s.deep_percolation = perc[g[2]];
        s.nitrate_available = available[g[3]];
        const std::string paragraph = advice_paragraph(s, {});
        EXPECT_EQ(line_count(paragraph), 6u) << row; // with the two lines of the reduction advice
        // Each sentence in its place: the grade's words appear after the previous sentence's.
        std::size_t at = 0;
        for (int i = 0; i < 4; ++i) {
            const std::size_t found = paragraph.find(words[i][g[i]], at);
            ASSERT_NE(found, std::string::npos) << words[i][g[i]] << "\n" << paragraph;
            EXPECT_EQ(paragraph.find('\n', at), paragraph.find('\n', found)) << words[i][g[i]];
            at = paragraph.find('\n', found) + 1;
        }
    }
}

TEST(LeachingAdvice, ReductionSentences)
{
    LeachingSummary s = a_season();
    s.nitrate_available = 60.0f;
    const std::string first = " *  You could eliminate the 12.7 lb/acre of leaching by reducing "
                              "your Nitrogen Fertilizer from 180.9 lb/acre to %s lb/acre. \n  ";
    const struct
    {
        float reduced, before, after;
        std::string target, ending;
    } cases[] = {
        {168.2f, 180.0f, 165.5f, "168.2",
         "   This would, consequently, reduce your yield from 180.00 bu/acre to 165.50 bu/acre, a "
         "loss of 14.50 bu/acre.\n"},
        {168.2f, 180.0f, 180.0f, "168.2",
         "   No yield loss should occur from this fertilizer reduction.\n"},
        // Reduction figures left at 0 name 0.0 lb/acre and lose no yield.
        {0.0f, 0.0f, 0.0f, " 0.0",
         "   No yield loss should occur from this fertilizer reduction.\n"},
    };
    for (const auto &c : cases) {
        s.reduced_nitrogen = c.reduced;
        s.yield_before = c.before;
        s.yield_after = c.after;
        const std::string paragraph = advice_paragraph(s, {});
        std::string expected = first;
        expected.replace(expected.find("%s"), 2, c.target);
        expected += c.ending;
        ASSERT_GE(paragraph.size(), expected.size());
        EXPECT_EQ(paragraph.substr(paragraph.size() - expected.size()), expected);
        EXPECT_EQ(line_count(paragraph), 6u);
    }
}

// A season never irrigated leaches little and percolates little; the crop went short of water all
// the same, and that is no management to praise.
TEST(LeachingAdvice, AStressedCropIsNotPraised)
{
    LeachingSummary s;
    s.nitrate_leached = 1.0f;
    s.leaching_index = 1.0f;
    s.deep_percolation = 1.0f;
    s.nitrate_available = 10.0f;
    const WaterStress one_day{1, 3.2f};
    for (const float perc : {1.0f, 3.0f}) { // Low, Moderate
        s.deep_percolation = perc;
        const std::string paragraph = advice_paragraph(s, one_day);
        for (const char *praise : {"very good", "very well", "fairly good", "fairly well"})
            EXPECT_EQ(paragraph.find(praise), std::string::npos) << praise << "\n" << paragraph;
        EXPECT_NE(paragraph.find("A negligible amount of nitrate is leaching."), std::string::npos);
        EXPECT_NE(paragraph.find("but the crop was short of water"), std::string::npos);
    }
    // The grades that already ask for better management read the same either way.
    s.nitrate_leached = 30.0f;
    s.deep_percolation = 9.0f;
    s.nitrate_available = 200.0f;
    EXPECT_EQ(advice_paragraph(s, one_day), advice_paragraph(s, {}));
    EXPECT_NE(advice_paragraph(s, {}).find("should be improved"), std::string::npos);
}

// The reduction sentence shows the leached amount to a tenth: 0.04 would read "0.0 lb/acre".
TEST(LeachingAdvice, NothingToEliminateNoReduction)
{
    LeachingSummary s = a_season();
    s.nitrate_available = 35.0f;
    s.nitrogen_applied = 35.0f;
    s.reduced_nitrogen = 35.0f;
    s.nitrate_leached = 0.0f;
    EXPECT_EQ(advice_paragraph(s, {}).find("eliminate"), std::string::npos);
    s.nitrate_leached = 0.049f;
    EXPECT_EQ(advice_paragraph(s, {}).find("eliminate"), std::string::npos);
    s.nitrate_leached = 0.05f;
    EXPECT_NE(advice_paragraph(s, {}).find("eliminate the  0.1 lb/acre"), std::string::npos);
}

TEST(LeachingReport, ConsultationNotice)
{
    const ConsultationNotice n = leaching_consultation_notice(serial_from_civil(2022, 6, 20));
    EXPECT_EQ(n.caption, "Leaching Consultation");
    EXPECT_EQ(n.text, "Midseason Leaching Consultaion for Irrigation Schedule and Fertilizer "
                      "Applied up to date of most recent Midseason Fertilizer consultion.");
    EXPECT_EQ(n.date_label, "Date of Midseason Fertilizer Consultation:");
    EXPECT_EQ(n.date, "06/20/22");
    EXPECT_EQ(n.button, "OK");
}

TEST(LeachingReport, WaterStressLinesAndSentence)
{
    EXPECT_EQ(
        values(water_stress_group({12, 3.456f})),
        (std::vector<std::string>{"Days Above Critical Deficit:|12|", "Largest Deficit:|3.46|"}));
    EXPECT_EQ(water_stress_sentence({12, 3.456f}),
              " *  The crop was under water stress on 12 days; the largest deficit was 3.46 in. "
              "Irrigating before the deficit passes the critical level keeps the yield.\n");
    EXPECT_TRUE(water_stress_sentence({1, 2.0f}).starts_with(
        " *  The crop was under water stress on 1 day;"));
    EXPECT_EQ(water_stress_sentence({0, 1.5f}), "");
}

} // namespace
} // namespace tw
