#include "fertility/consultation.h"

#include "fertility/knowledge_files.h"
#include "fertility_fixtures.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "platform/record_codec.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tw {
namespace {

using test::fill;
using Stage = FertilizerConsultation::Stage;
constexpr int kToday = 46204; // 2026-07-01

/// Without a soil test or manure, on to the previous season's page.
void to_previous_season(FertilizerConsultation &c)
{
    fill(c.page(), {{"Soil test results available", "no"}});
    ASSERT_TRUE(c.next());
    ASSERT_TRUE(c.next());
    ASSERT_EQ(c.page_id(), PageId::PreviousSeason);
}

/// The pre-season pages of a corn field with this season's manure and soybeans before it.
void answer_preseason_pages(FertilizerConsultation &c)
{
    ASSERT_EQ(c.page_id(), PageId::Evaluation);
    fill(c.page(), {{"Yield Goal:", "190"},
                    {"Manure application this season", "yes"},
                    {"last_manure", "no"},
                    {"Soil test results available", "yes"}});
    ASSERT_TRUE(c.next());
    ASSERT_EQ(c.page_id(), PageId::SoilTest);
    fill(c.page(), {{"Organic Matter Fraction", "2.5"},
                    {"soil_nitrate", "12"},
                    {"Potassium Level:", "Medium    (61-120 ppm)"},
                    {"Phosphorus Test Type:", "bray"},
                    {"Phosphorus Level:", "12"},
                    {"Depth of Soil Samples:", "1-3 Feet"},
                    {"Number of Soil Samples:", "8"},
                    {"Soil Bulk Density:", "1.4"},
                    {"Soil pH:", "6.5"},
                    {"Cation Exchange Capacity:", "18"}});
    ASSERT_TRUE(c.next());
    ASSERT_EQ(c.page_id(), PageId::FieldWater);
    fill(c.page(), {{"Amount of nitrate in irrigation water is known.", "yes"},
                    {"Concentration of Nitrate:", "10"},
                    {"Field has compact layer within top 4 feet.", "yes"},
                    {"Drainage Class:", "Somewhat Poorly Drained"}});
    ASSERT_TRUE(c.next());
    ASSERT_EQ(c.page_id(), PageId::CurrentManure);
    fill(c.page(), {{"Amount of Manure:", "10"},
                    {"Type of Manure:", "Dairy"},
                    {"manure_form", "Liquid"},
                    {"Fresh", "yes"},
                    {"Application Method:", "Knife/Injection"}});
    ASSERT_TRUE(c.next());
    ASSERT_EQ(c.page_id(), PageId::PreviousSeason);
    fill(c.page(), {{"Previous Crop:", "Soybeans"},
                    {"Legume Harvest:", "Harvested"},
                    {"Residual Soil Nitrogen pre-Legume:", "Average"},
                    {"Previous Crop Yield:", "Average"},
                    {"Crop Residue left on Field:", "Medium"},
                    {"Tillage Type:", "Chisel Plow"}});
    ASSERT_TRUE(c.next());
}

test::ScriptedChooser preplant_and_fertigation_plan()
{
    test::ScriptedChooser chooser;
    chooser.plan["Preplant (Phosphorus)"] = {"Diammonium Phosphate", 0, "Inject / Knife", 0};
    chooser.plan["Preplant (Potassium)"] = {"Potassium Chloride (Murate)", 0, "Surface Broadcast",
                                            0};
    chooser.plan["Preplant (Nitrogen)"] = {"Anhydrous Ammonia", 2, "Inject / Knife", 0};
    for (const char *t :
         {"Fertigation #1 (Nitrogen)", "Fertigation #2 (Nitrogen)", "Fertigation #3 (Nitrogen)"})
        chooser.plan[t] = {"Urea Ammonium Nitrate (UAN)", 1, "Sprinkler Applicate", 0};
    return chooser;
}

// The figures below were computed independently of this code, from the knowledge defaults.
TEST(Consultation, WorkedPreseasonCornConsultation)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    FertilityInputs inputs;
    FertilizerConsultation c(inputs, test::corn_field(), kToday);
    ASSERT_FALSE(c.midseason());
    answer_preseason_pages(c);

    ASSERT_EQ(c.stage(), Stage::Results);
    ASSERT_EQ(c.page_id(), PageId::PreseasonResults);
    const MethodResults &r = c.results();
    EXPECT_NEAR(r.soil_test.basic, 100.5, 1e-3);
    EXPECT_NEAR(r.mass_balance.residual, 132.4915, 1e-3);
    EXPECT_NEAR(r.mass_balance.organic_matter, 82.7675, 1e-3);
    EXPECT_NEAR(r.mass_balance.crop_residue, 13.5, 1e-3);
    EXPECT_NEAR(r.mass_balance.legume, 52.5, 1e-3);
    EXPECT_NEAR(r.mass_balance.manure, 81.48, 1e-3);
    EXPECT_NEAR(r.mass_balance.denitrification, 119.2725, 1e-3);
    const Recommendation &rec = r.recommendation;
    const double methods[] = {20.5, 21.5835, 54.4121};
    const double certainty[] = {45.1804, 82.5980, 87.1356};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(rec.method_rec[i], methods[i], 1e-3) << i;
        EXPECT_NEAR(rec.certainty[i], certainty[i], 1e-3) << i;
    }
    EXPECT_NEAR(rec.final, 54.4121, 1e-3);
    EXPECT_EQ(rec.phosphorus, 30.0f);
    EXPECT_EQ(rec.potassium, 40.0f);
    EXPECT_EQ(c.page().value("method_3_certainty"), 87.0);
    EXPECT_EQ(c.page().field("method_1")->caption, "Nebraska  Soil Testing Method:");
    EXPECT_EQ(c.breakdown_texts()[0].substr(0, 44), "     100 lbs/Acre   Basic Recommendation    ");

    fill(c.page(), {{"Fertigations", "yes"}, {"Number of Fertigations:", "3"}});
    ASSERT_TRUE(c.next());
    ASSERT_EQ(c.stage(), Stage::Applications);
    test::ScriptedChooser chooser = preplant_and_fertigation_plan();
    c.schedule(chooser);
    ASSERT_EQ(c.stage(), Stage::Schedule);
    const auto &entries = c.entries();
    ASSERT_EQ(entries.size(), 6u);
    const struct
    {
        const char *material;
        double amount, nitrogen;
    } expected[] = {{"Diammonium Phosphate", 65.2174, 11.5043},
                    {"Potassium Chloride (Murate)", 66.6667, 0.0},
                    {"Anhydrous Ammonia", 26.9481, 21.4346},
                    {"Urea Ammonium Nitrate (UAN)", 35.8239, 11.1197},
                    {"Urea Ammonium Nitrate (UAN)", 47.7651, 14.8263},
                    {"Urea Ammonium Nitrate (UAN)", 35.8239, 11.1197}};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(entries[i].material, expected[i].material) << i;
        EXPECT_NEAR(entries[i].amount, expected[i].amount, 1e-3) << i;
        EXPECT_NEAR(entries[i].nitrogen, expected[i].nitrogen, 1e-3) << i;
    }
    const ScheduleTable table = c.table();
    EXPECT_EQ(table.total_nitrogen, 68);
    EXPECT_EQ(table.total_phosphorus, 30);
    EXPECT_EQ(table.total_potassium, 40);

    ASSERT_TRUE(c.finish());
    EXPECT_EQ(c.stage(), Stage::Saved);
    EXPECT_EQ(size_of_file(dir.file("North26.FRT")), kNutrientFileSize);
    EXPECT_EQ(size_of_file(dir.file("North26.LCH")), 6 * kScheduleEntrySize);
    NutrientBlock block;
    ASSERT_EQ(read_nutrient_file("North26", block), 1);
    EXPECT_EQ(block.schedule_count, 6);
    // Everything the Preplant slot plans, not only its first (phosphorus) material.
    EXPECT_EQ(block.first_entry_nitrogen, 32);
    EXPECT_NEAR(field_nitrogen_read_back(block).soil_nitrogen_at_planting, 275.4686, 1e-2);
    EXPECT_EQ(block.inputs.soil_nitrate, 12.0f);
    EXPECT_TRUE(port->entries().size() == 1) << "only the notice of the new METHOD_2.KB";
}

TEST(Consultation, YieldGoalQuestionAboveAverageYieldPlus100)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    FertilityInputs inputs;
    FertilizerConsultation c(inputs, test::corn_field(), kToday);
    port->clear();
    fill(c.page(), {{"yield_goal", "280"}});
    ASSERT_TRUE(c.next());
    EXPECT_TRUE(port->entries().empty());
    c.back();
    ASSERT_EQ(c.page_id(), PageId::Evaluation);
    EXPECT_EQ(c.page().value("yield_goal"), 280.0);

    fill(c.page(), {{"yield_goal", "281"}});
    port->queue_answer(false);
    EXPECT_FALSE(c.next());
    EXPECT_EQ(c.page_id(), PageId::Evaluation);
    ASSERT_EQ(port->entries().size(), 1u);
    EXPECT_EQ(port->entries()[0].text, "Are you sure this yield goal is obtainable?");
    EXPECT_EQ(port->entries()[0].caption, "Yield Goal Range Check");
    port->queue_answer(true);
    EXPECT_TRUE(c.next());
    EXPECT_EQ(inputs.yield_goal, 281.0f);
}

TEST(Consultation, PageSequenceFollowsTheFirstPage)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    FertilityInputs inputs;
    FertilizerConsultation c(inputs, test::corn_field(), kToday);
    fill(c.page(),
         {{"Soil test results available", "no"}, {"Manure was applied last season", "yes"}});
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.page_id(), PageId::FieldWater);
    EXPECT_FALSE(c.page().field("irrigation_amount")->visible);
    EXPECT_TRUE(c.page().set("irrigation_amount", 3.0)) << "a hidden field cannot be answered";
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.page_id(), PageId::PreviousSeason);
    fill(c.page(), {{"Previous Crop:", "Corn"}});
    ASSERT_TRUE(c.next());
    ASSERT_EQ(c.page_id(), PageId::PreviousManure);
    EXPECT_EQ(c.page().title(), "Previous Season Manure Application");
    for (const char *hidden : {"last_manure_form", "last_manure_method", "last_manure_p_percent"})
        EXPECT_FALSE(c.page().field(hidden)->visible) << hidden;

    // Back walks the pages shown, and past the first ends the consultation.
    c.back();
    EXPECT_EQ(c.page_id(), PageId::PreviousSeason);
    EXPECT_EQ(c.page().integer("previous_crop"), 3);
    c.back();
    c.back();
    EXPECT_EQ(c.page_id(), PageId::Evaluation);
    c.back();
    EXPECT_EQ(c.stage(), Stage::Ended);

    // Closing a page's window ends the consultation as well; nothing can be saved then.
    FertilizerConsultation closed(inputs, test::corn_field(), kToday);
    closed.cancel();
    EXPECT_EQ(closed.stage(), Stage::Ended);
    EXPECT_FALSE(closed.next());
    EXPECT_FALSE(closed.finish());
}

TEST(Consultation, PreviousSeasonAsksForLegumeInformation)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    FertilityInputs inputs;
    FertilizerConsultation c(inputs, test::corn_field(), kToday);
    to_previous_season(c);
    port->clear();
    EXPECT_FALSE(c.next());
    EXPECT_FALSE(c.page().field("legume_harvest")->enabled);
    fill(c.page(), {{"Previous Crop:", "Soybeans"}});
    EXPECT_TRUE(c.page().field("legume_harvest")->enabled);
    EXPECT_FALSE(c.next());
    fill(c.page(), {{"Legume Harvest:", "Plowed Under"}});
    EXPECT_FALSE(c.next());
    const std::vector<std::string> messages = {"Please enter previous crop name",
                                               "Please enter legume harvest management",
                                               "Please enter Nitrogen before legume"};
    EXPECT_EQ(port->texts(), messages);
    fill(c.page(), {{"Residual Soil Nitrogen pre-Legume:", "Low"}});
    EXPECT_TRUE(c.next());
    EXPECT_EQ(c.stage(), Stage::Results);

    // Back from the results page re-enters the last question page.
    c.back();
    EXPECT_EQ(c.stage(), Stage::Pages);
    EXPECT_EQ(c.page_id(), PageId::PreviousSeason);
    fill(c.page(), {{"Previous Crop:", "Wheat"}});
    EXPECT_FALSE(c.page().field("pre_legume_nitrogen")->enabled);
    EXPECT_TRUE(c.page().set_text("pre_legume_nitrogen", "High"));
}

TEST(Consultation, ALegumeFlaggedTwoEarnsItsCreditWithoutTheQuestions)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    std::vector<std::uint8_t> image = default_input_kb_image();
    codec::put_i32(image, 4 * 3, 2); // Corn
    ASSERT_TRUE(write_file_atomic(dir.file("INPUT.KB"), image));
    FertilityInputs inputs;
    FertilizerConsultation c(inputs, test::corn_field(), kToday);
    to_previous_season(c);
    fill(c.page(), {{"Previous Crop:", "Corn"}});
    EXPECT_FALSE(c.page().field("legume_harvest")->enabled);
    ASSERT_TRUE(c.next()) << "no legume question is asked";
    ASSERT_EQ(c.stage(), Stage::Results);
    EXPECT_GT(c.results().mass_balance.legume, 0.0f);
}

TEST(Consultation, ManureAnalysisEnablesItsContents)
{
    test::ScopedWorkDir dir;
    FertilityInputs inputs;
    FertilizerConsultation c(inputs, test::corn_field(), kToday);
    fill(c.page(),
         {{"Soil test results available", "no"}, {"Manure application this season", "yes"}});
    ASSERT_TRUE(c.next());
    ASSERT_TRUE(c.next());
    ASSERT_EQ(c.page_id(), PageId::CurrentManure);
    EXPECT_TRUE(c.page().set_text("Nitrogen Content :", "3"));
    fill(c.page(),
         {{"Analysis Performed", "yes"}, {"Nitrogen Content :", "3"}, {"Moisture Content:", "70"}});
    EXPECT_TRUE(c.page().set_text("Moisture Content:", "101")) << "out of range";
    EXPECT_TRUE(c.page().set_text("Type of Manure:", "Goat"));
    ASSERT_TRUE(c.next());
    EXPECT_EQ(inputs.manure_analysis, 1);
    EXPECT_EQ(inputs.manure_n_percent, 3.0f);
    EXPECT_EQ(inputs.manure_moisture, 70.0f);
}

/// Runs the pages of a soil-test-free consultation to the results page.
void to_results(FertilizerConsultation &c)
{
    to_previous_season(c);
    fill(c.page(), {{"Previous Crop:", "Wheat"}});
    ASSERT_TRUE(c.next());
    ASSERT_EQ(c.stage(), Stage::Results);
}

TEST(Consultation, ResultsPageRules)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    FertilityInputs inputs;
    FertilizerConsultation c(inputs, test::corn_field(), kToday);
    to_results(c);
    EXPECT_EQ(c.results().recommendation.phosphorus, 0.0f) << "no soil test";
    EXPECT_TRUE(c.page().checked("preplant"));
    fill(c.page(), {{"Fertigations", "yes"}});
    port->clear();
    EXPECT_FALSE(c.next());
    ASSERT_EQ(port->entries().size(), 1u);
    EXPECT_EQ(port->entries()[0].text, "Number of fertigations must be specified");
    EXPECT_EQ(port->entries()[0].caption, "Fertigation Details");

    fill(c.page(), {{"Nitrogen Recommendation:", "0"}});
    for (const char *phase : {"preplant", "starter", "postemergence", "fertigation"}) {
        EXPECT_FALSE(c.page().checked(phase)) << phase;
        EXPECT_TRUE(c.page().field(phase)->enabled) << phase;
    }
    fill(c.page(), {{"Starter", "yes"}, {"Nitrogen Recommendation:", "0"}});
    EXPECT_TRUE(c.page().checked("starter")) << "cleared once, not each time";
    fill(c.page(), {{"Starter", "no"}});
    EXPECT_TRUE(c.page().set_text("Nitrogen Recommendation:", "501"));
    ASSERT_TRUE(c.next());
    test::ScriptedChooser chooser;
    c.schedule(chooser);
    EXPECT_TRUE(chooser.asked.empty());
    EXPECT_TRUE(c.entries().empty());
    c.reschedule();
    EXPECT_EQ(c.stage(), Stage::Results);
    ASSERT_TRUE(c.next());
    c.schedule(chooser);
    ASSERT_TRUE(c.finish());
    NutrientBlock block;
    ASSERT_EQ(read_nutrient_file("North26", block), 1);
    EXPECT_EQ(block.schedule_count, 0);
    EXPECT_EQ(block.first_entry_nitrogen, -1);
    EXPECT_EQ(size_of_file(dir.file("North26.LCH")), 0u);
}

TEST(Consultation, FilesAreWrittenOnlyInsideTheWorkingDirectory)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    for (const char *name : {"../North", "sub/North"}) {
        FieldFacts field = test::corn_field();
        field.field_name = name;
        FertilityInputs inputs;
        FertilizerConsultation c(inputs, field, kToday);
        to_results(c);
        ASSERT_TRUE(c.next());
        test::ScriptedChooser chooser;
        c.schedule(chooser);
        EXPECT_FALSE(c.finish()) << name;
        EXPECT_EQ(c.stage(), Stage::Ended);
    }
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_NE(entry.path().extension(), ".FRT") << entry.path();
    EXPECT_FALSE(file_exists(dir.path().parent_path() / "North26.FRT"));
}

/// A saved pre-season consultation, then degree days for `days` days of the season.
FieldFacts field_after_preseason(int days)
{
    FertilityInputs inputs;
    FertilizerConsultation c(inputs, test::corn_field(), kToday);
    answer_preseason_pages(c);
    fill(c.page(), {{"Fertigations", "yes"}, {"Number of Fertigations:", "3"}});
    EXPECT_TRUE(c.next());
    test::ScriptedChooser chooser = preplant_and_fertigation_plan();
    c.schedule(chooser);
    EXPECT_TRUE(c.finish());

    FieldFacts field = test::corn_field();
    field.cumulative_gdd.assign(120, 0.0f);
    for (int d = 0; d < days; ++d)
        field.cumulative_gdd[d] = 12.0f * (d + 1);
    field.nitrogen_applications = 2;
    field.nitrogen_total = 40.0f;
    return field;
}

TEST(Consultation, CornWithANutrientFileAndFourWeeksCorrectsAtMidseason)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    const FieldFacts field = field_after_preseason(35);
    FertilityInputs inputs;
    FertilizerConsultation c(inputs, field, kToday);
    ASSERT_TRUE(c.midseason());
    EXPECT_EQ(inputs.soil_nitrate, 12.0f) << "the stored soil test";
    EXPECT_EQ(inputs.applications_count, 3) << "two in the field and the preplant one";
    EXPECT_EQ(inputs.applied_to_date, 72.0f) << "32 preplant + 40 in the field";
    EXPECT_EQ(inputs.weekly_gdd[0], 151) << "trunc(84 C x 1.8)";
    ASSERT_EQ(c.page_id(), PageId::MidseasonEvaluation);
    EXPECT_EQ(c.page().title(), "Fertlizer Wizard (Midseason Nitrogen Correction)");
    EXPECT_EQ(c.page().value("applications_count"), 3.0);
    EXPECT_EQ(c.page().value("soil_test_date"), kToday);
    EXPECT_TRUE(c.page().set("Predicted Yield:", 100.0)) << "shown, not editable";
    const MethodResults pass = c.results();
    EXPECT_EQ(pass.mass_balance.midseason_recommendation, pass.mass_balance.recommendation);

    const int test_day = field.planting_date.day() + 30;
    fill(c.page(), {{"New Soil test Available", "yes"},
                    {"Date Soil Test Taken", iso_date(test_day).c_str()}});
    ASSERT_TRUE(c.next());
    ASSERT_EQ(c.page_id(), PageId::SoilTest);
    fill(c.page(), {{"Soil Nitrate:", "5"}});
    ASSERT_TRUE(c.next());
    ASSERT_EQ(c.stage(), Stage::Results);
    ASSERT_EQ(c.page_id(), PageId::MidseasonResults);

    const Recommendation &rec = c.results().recommendation;
    const std::array<float, 3> pass_figures = {pass.soil_test.midseason_recommendation,
                                               pass.mass_balance.midseason_recommendation,
                                               pass.uptake.midseason_recommendation};
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(rec.preseason_test_rec[i], pass_figures[i] - 72.0f) << i;
    // Day 29 after planting: 360 C = 648 F degree days, 4 + 36/290 x 6 % of the uptake.
    EXPECT_NEAR(inputs.uptake_to_date, (4.0 + 36.0 / 290.0 * 6.0) * 0.01 * inputs.yield_goal * 0.9,
                1e-3);
    EXPECT_TRUE(c.page().field("new_test_1")->enabled);
    EXPECT_NEAR(c.page().value("final_n"), proposed_midseason_nitrogen(rec, true), 1e-6);

    fill(c.page(), {{"Nitrogen Recommendation:", "40"}, {"Number of Fertigations:", "2"}});
    ASSERT_TRUE(c.next());
    test::ScriptedChooser chooser;
    for (const char *t : {"Fertigation #1 (Nitrogen)", "Fertigation #2 (Nitrogen)"})
        chooser.plan[t] = {"Urea Ammonium Nitrate (UAN)", 1, "Sprinkler Applicate", 0};
    c.schedule(chooser);
    ASSERT_EQ(c.entries().size(), 2u);
    ASSERT_TRUE(c.finish());

    NutrientBlock block;
    ASSERT_EQ(read_nutrient_file("North26", block), 1);
    EXPECT_EQ(block.inputs.soil_nitrate, 12.0f) << "the pre-season soil test is kept";
    EXPECT_EQ(block.inputs.midseason_mode, 1);
    EXPECT_EQ(block.inputs.soil_test_date, test_day);
    EXPECT_EQ(block.inputs.applications_count, 3);
    EXPECT_EQ(block.inputs.applied_to_date, 72.0f);
    EXPECT_EQ(block.recommendation.final, 40.0f);
    EXPECT_EQ(block.schedule_count, 2);
    EXPECT_EQ(block.first_entry_nitrogen, 32) << "the preplant nitrogen survives the correction";
    EXPECT_EQ(size_of_file(dir.file("North26.LCH")), 2 * kScheduleEntrySize);
}

TEST(Consultation, MidseasonNeedsCornANutrientFileAndFourWeeks)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    const FieldFacts corn = field_after_preseason(27);
    FertilityInputs inputs;
    EXPECT_FALSE(FertilizerConsultation(inputs, corn, kToday).midseason()) << "three weeks";

    FieldFacts mixed_case = field_after_preseason(35);
    mixed_case.crop.name = "Corn";
    FertilizerConsultation c(inputs, mixed_case, kToday);
    EXPECT_FALSE(c.midseason());
    EXPECT_EQ(inputs.soil_nitrate, 20.0f) << "the nutrient file is not loaded";

    // Leaving a midseason correction's pages after its results writes nothing.
    FertilizerConsultation mid(inputs, field_after_preseason(35), kToday);
    ASSERT_TRUE(mid.midseason());
    ASSERT_TRUE(mid.next());
    ASSERT_EQ(mid.stage(), Stage::Results);
    EXPECT_FALSE(mid.page().field("new_test_1")->enabled);
    mid.back();
    ASSERT_TRUE(mid.next());
    EXPECT_EQ(mid.stage(), Stage::Ended);
}

TEST(Consultation, MidseasonProposalPrefersTheEarlierMethodOnEqualCertainty)
{
    Recommendation rec;
    rec.preseason_test_rec = {-10.0f, 20.0f, 30.0f};
    rec.midseason_certainty = {50.0f, 60.0f, 60.0f};
    rec.remaining_rec = {5.0f, 6.0f, 7.0f};
    rec.certainty = {70.0f, 70.0f, 70.0f};
    EXPECT_EQ(proposed_midseason_nitrogen(rec, false), 20.0f);
    EXPECT_EQ(proposed_midseason_nitrogen(rec, true), 5.0f);
    rec.midseason_certainty = {90.0f, 60.0f, 60.0f};
    EXPECT_EQ(proposed_midseason_nitrogen(rec, false), 0.0f) << "cut to 0";
}

TEST(Consultation, PhosphorusAndPotassiumWithoutNitrogenAreScheduled)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    FertilityInputs inputs;
    FertilizerConsultation c(inputs, test::corn_field(), kToday);
    to_results(c);
    fill(c.page(), {{"Nitrogen Recommendation:", "0"},
                    {"Phosphorus Recommendation:", "46"},
                    {"Potassium Recommendation:", "30"},
                    {"Preplant", "yes"}});
    ASSERT_TRUE(c.next());
    test::ScriptedChooser chooser;
    chooser.plan["Preplant (Phosphorus)"] = {"Triple Superphosphate", 0, "Inject / Knife", 0};
    chooser.plan["Preplant (Potassium)"] = {"Potassium Chloride (Murate)", 0, "Surface Broadcast",
                                            0};
    c.schedule(chooser);
    EXPECT_EQ(chooser.asked,
              (std::vector<std::string>{"Preplant (Phosphorus)", "Preplant (Potassium)"}));
    ASSERT_EQ(c.entries().size(), 2u);
    EXPECT_NEAR(c.entries()[0].phosphorus, 46.0, 1e-3);
    EXPECT_NEAR(c.entries()[1].potassium, 30.0, 1e-3);
    ASSERT_TRUE(c.finish());
    NutrientBlock block;
    ASSERT_EQ(read_nutrient_file("North26", block), 1);
    EXPECT_EQ(block.schedule_count, 2);
    EXPECT_EQ(block.first_entry_nitrogen, 0) << "the preplant slot brought no nitrogen";
}

} // namespace
} // namespace tw
