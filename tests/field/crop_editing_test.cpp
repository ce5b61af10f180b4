#include "field/crop_sheet_form.h"
#include "field/stage_editor.h"

#include "field_fixtures.h"
#include "refdata/units.h"

namespace tw {
namespace {

using test::FieldTest;
using CropEditing = FieldTest;

std::vector<std::string> stage_names(const CropRecord &crop)
{
    std::vector<std::string> names;
    for (int k = 0; k < crop.stage_count; ++k)
        names.push_back(crop.stages[static_cast<std::size_t>(k)].name);
    return names;
}

TEST_F(CropEditing, InsertIsRefusedWhereNoStageMayGo)
{
    CropRecord crop = test::short_crop(); // Planting, Emergence, Full Cover, Stop, Harvest
    CropRecord full = crop;
    full.stage_count = kMaxEditedStages;
    const struct
    {
        CropRecord *crop;
        std::optional<int> selected;
        std::string message;
    } cases[] = {
        {&crop, std::nullopt, "Please select the stage preceeding the new growth stage"},
        {&crop, 0, "Cannot insert a stage between Planting and Emergence"},
        {&crop, 4, "Cannot insert a stage directly after Harvest"},
        {&full, 1, "Too many stages. Maximum stages allowed already exist."},
        {&crop, 1, ""},
    };
    for (const auto &c : cases) {
        messages->clear();
        const auto edit = StageEditor(*c.crop).begin_insert(c.selected);
        EXPECT_EQ(edit.has_value(), c.message.empty()) << c.message;
        EXPECT_EQ(messages->texts(), c.message.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{c.message});
    }
}

TEST_F(CropEditing, DetailsAreCheckedAgainstTheStagesAround)
{
    const StageBounds around{10, 100, 20, 250};
    const struct
    {
        float days, gdd;
        std::string message;
    } cases[] = {
        {10, 150, "Day Must be Greater than that of Previous Growth Stage start!"},
        {20, 150, "Day Must be Less than that of Next Growth Stage start!"},
        {15, 100, "GDD must be Greater than that of Previous Growth Stage start GDD!"},
        {15, 250.5f, "GDD must be Less than that of next Growth Stage start GDD!"},
        {15, 250, ""}, // a GDD equal to the next stage's is accepted, a day is not
        {366, 150, "Please enter a value between 0 and 365 for the Calender Days."},
    };
    for (const auto &c : cases) {
        const StageDetails details{"Bloom", 50, c.days, c.gdd};
        EXPECT_EQ(check_stage_details(details, around).value_or(""), c.message)
            << c.days << " " << c.gdd;
    }
}

TEST_F(CropEditing, InsertAndEditStoreTheStageInInternalUnits)
{
    CropRecord crop = test::short_crop();
    StageEditor editor(crop);
    auto insert = editor.begin_insert(1);
    ASSERT_TRUE(insert);
    // Degree days show as the field table shows them (°F by default).
    EXPECT_FLOAT_EQ(insert->bounds.previous_gdd, convert_to(Degree_Days, 100));
    EXPECT_EQ(insert->bounds.next_day, 20.0f);
    insert->details = {"Bloom", 40, 15, convert_to(Degree_Days, 180)};
    ASSERT_TRUE(editor.finish(*insert));
    EXPECT_EQ(stage_names(crop),
              (std::vector<std::string>{"Planting", "Emergence", "Bloom", "Full Cover",
                                        "Stop Irrigating", "Harvest"}));
    const GrowthStage &bloom = crop.stages[2];
    EXPECT_EQ(bloom.flag, StageOrdinary);
    EXPECT_FLOAT_EQ(bloom.allowable_depletion, 0.4f);
    EXPECT_NEAR(bloom.end_gdd, 180.0f, 1e-3);
    const auto row = stage_list_row(bloom);
    EXPECT_EQ(std::vector<std::string>(row.begin(), row.end()),
              (std::vector<std::string>{"Bloom", "40", "15", "327", ""}));

    // The first stage's bounds are -1; Planting keeps everything but its depletion.
    auto planting = editor.begin_edit(0);
    ASSERT_TRUE(planting);
    EXPECT_TRUE(planting->depletion_only);
    EXPECT_EQ(planting->bounds.previous_day, -1.0f);
    planting->details = {"Sowing", 30, 0, 0};
    ASSERT_TRUE(editor.finish(*planting));
    EXPECT_EQ(crop.stages[0].name, "Planting");
    EXPECT_FLOAT_EQ(crop.stages[0].allowable_depletion, 0.3f);

    // A refused edit keeps the stage and shows the message.
    auto last = editor.begin_edit(5);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->bounds.next_day, 365.0f);
    last->details.days = 30; // Stop Irrigating ends on day 30
    EXPECT_FALSE(editor.finish(*last));
    EXPECT_EQ(crop.stages[5].end_day, 31.0f);
    EXPECT_EQ(messages->texts().back(),
              "Day Must be Greater than that of Previous Growth Stage start!");
}

TEST_F(CropEditing, OnlyOrdinaryInnerStagesAreDeletedAfterTheQuestion)
{
    CropRecord crop = test::corn();
    crop.stages[0].flag = StageOrdinary; // a first and a last stage without flags
    crop.stages[11].flag = StageOrdinary;
    const struct
    {
        std::optional<int> selected;
        std::optional<bool> answer;
        bool deleted;
        int beeps;
        std::string message;
    } cases[] = {
        {std::nullopt, {}, false, 0, "Please select the stage to delete."},
        {5, {}, false, 0, "This is a protected growth stage which cannot be deleted."},
        {0, {}, false, 1, ""},
        {11, {}, false, 1, ""},
        {2, false, false, 1, "Are you sure you want to delete this stage?"},
        {2, true, true, 0, "Are you sure you want to delete this stage?"},
    };
    for (const auto &c : cases) {
        messages->clear();
        if (c.answer)
            messages->queue_answer(*c.answer);
        CropRecord edited = crop;
        EXPECT_EQ(StageEditor(edited).remove(c.selected), c.deleted);
        EXPECT_EQ(messages->beeps(), c.beeps);
        EXPECT_EQ(messages->texts(), c.message.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{c.message});
        EXPECT_EQ(edited.stage_count, c.deleted ? 11 : 12);
    }
    CropRecord edited = crop;
    messages->queue_answer(true);
    StageEditor(edited).remove(2);
    EXPECT_EQ(edited.stages[2].name, "V7-18: Later Leaf");
    EXPECT_EQ(edited.stages[11].name, "");
    messages->clear();
    StageEditor(edited).remove(4);
    EXPECT_EQ(messages->entries().front().icon, MessageIcon::Warning);
}

TEST_F(CropEditing, SheetValuesGoBackInInternalUnits)
{
    CropRecord crop = test::corn();
    CropSheetValues v = crop_sheet_values(crop);
    EXPECT_NEAR(v.max_root_depth, 1200.0f / 25.4f, 1e-4); // in
    EXPECT_NEAR(v.min_temperature, 50.0f, 1e-4);          // °F
    EXPECT_EQ(v.kc_after[0], crop.kc_after[0]);           // shown as stored
    v.name = "CORN FOR SILAGE AND GRAIN";
    v.yield_units = "Tons/Acre!!";
    v.max_root_depth = 36.0f;
    v.max_temperature = 95.0f;
    v.efficiency[5] = 80;
    store_crop_sheet_values(v, crop);
    EXPECT_EQ(crop.name, "CORN FOR SILAGE AND");
    EXPECT_EQ(crop.yield_units, "Tons/Acre");
    EXPECT_NEAR(crop.max_root_depth, 914.4f, 1e-3);
    EXPECT_NEAR(crop.gdd_max_temp, 35.0f, 1e-4);
    EXPECT_EQ(crop.efficiency[5], 80);
    EXPECT_EQ(crop.stage_count, 12);

    const std::pair<void (*)(CropSheetValues &), std::string> refused[] = {
        {[](CropSheetValues &s) { s.max_harvests = 10; },
         "Please enter a value between 1 and 9 for the Maximum Harvests/Season."},
        {[](CropSheetValues &s) { s.efficiency[2] = 101; },
         "Please enter a value between 0 and 100 for the Organic Matter efficiency."},
    };
    for (const auto &[change, message] : refused) {
        CropSheetValues typed = crop_sheet_values(crop);
        EXPECT_FALSE(check_crop_sheet_values(typed));
        change(typed);
        EXPECT_EQ(check_crop_sheet_values(typed).value_or(""), message);
    }
}

} // namespace
} // namespace tw
