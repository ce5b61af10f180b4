#include "field/daily_entry_form.h"
#include "field/field_details_form.h"

#include "field/season_run.h"
#include "field_fixtures.h"
#include "platform/dates.h"

namespace tw {
namespace {

using test::FieldTest;

class FieldForms : public FieldTest
{
protected:
    void SetUp() override
    {
        location = test::make_location(50, 30);
        alfalfa = test::short_crop();
        alfalfa.name = "ALFALFA";
        alfalfa.hybrid = "DORMANT";
        alfalfa.max_harvests = 3;
    }

    FieldDetailsForm new_form(CFieldDoc &field)
    {
        return FieldDetailsForm(field, {test::corn(), alfalfa}, {test::loam()});
    }

    int start() const { return location->start_date.day(); }

    std::unique_ptr<CLocationDoc> location;
    CropRecord alfalfa;
};

TEST_F(FieldForms, DetailsChecksInOrder)
{
    const std::string bounds = "Field Plant Date must be within bounds of weather location "
                               "information";
    const struct
    {
        int date_offset;
        bool crop;
        bool soil;
        std::string name;
        float efficiency;
        std::string message;
    } cases[] = {
        {-1, true, true, "north", 70, bounds},
        {51, false, false, "", 70, bounds},
        {50, true, true, "north", 70, ""},
        {0, false, false, "", 70, "Please select a valid crop"},
        {0, true, false, "", 70, "Please select a valid soil"},
        {0, true, true, "", 70, "Please enter a valid Field name"},
        {0, true, true, "north/south", 70,
         "The field name \"north/south\" cannot name a file: it contains a path separator."},
        {0, true, true, "thirteen char", 70, "A Field name holds at most 12 characters."},
        {0, true, true, "north", 0, "Please enter a value between 1 and 100 for the Efficiency."},
    };
    for (const auto &c : cases) {
        CFieldDoc field;
        field.bind_to(*location);
        field.set_defaults();
        FieldDetailsForm form = new_form(field);
        form.values.planting_date = start() + c.date_offset;
        if (c.crop)
            form.choose_crop(0);
        if (c.soil)
            form.choose_soil(0);
        form.values.name = c.name;
        form.values.efficiency = c.efficiency;
        EXPECT_EQ(form.check().value_or(""), c.message) << c.date_offset << " " << c.name;
    }
}

TEST_F(FieldForms, NewFieldTakesTheChosenValues)
{
    auto field = new_field(*location, [&](CFieldDoc &f) {
        FieldDetailsForm form = new_form(f);
        EXPECT_EQ(form.crop_entries(),
                  (std::vector<std::string>{"CORN (MIDSEASON)", "ALFALFA (DORMANT)"}));
        EXPECT_EQ(form.soil_entries(), std::vector<std::string>{"Loam (Loam)"});
        form.choose_crop(0);
        form.choose_soil(0);
        EXPECT_FLOAT_EQ(form.values.initial_moisture, 4.11f); // 0.3425 in/in as in/ft, "%1.2f"
        form.choose_system(9);
        EXPECT_EQ(form.values.efficiency, 70.0f);
        form.type_system_text();
        EXPECT_TRUE(form.efficiency_editable());
        form.values.efficiency = 64.0f;
        form.values.name = "north";
        form.values.planting_date = start() + 5;
        return form.accept();
    });
    ASSERT_TRUE(field);
    EXPECT_EQ(field->saved.system_name, "Sprinker:HP Center Pivot");
    EXPECT_EQ(field->saved.efficiency, 64.0f);
    EXPECT_EQ(field->saved.net_depth_in, 1.2f);
    EXPECT_NEAR(field->saved.initial_moisture, 0.3425f, 1e-6);
    EXPECT_EQ(field->saved.crop.name, "CORN");
    EXPECT_EQ(field->saved.soil.name, "Loam");
    EXPECT_EQ(field->binding.day_offset, 5);
    EXPECT_EQ(field->title(), "north22 - (Field:north   Location: Greeley)");
}

TEST_F(FieldForms, PerennialBoxAndDateLabel)
{
    CFieldDoc field;
    field.bind_to(*location);
    field.set_defaults();
    FieldDetailsForm form = new_form(field);
    const struct
    {
        std::size_t crop;
        std::optional<bool> box;
        bool visible;
        std::string label;
    } steps[] = {
        {0, {}, false, "Planting Date:"},
        {1, {}, true, "Spring Green-up:"},
        {1, true, true, "Planting Date:"},
        {1, false, true, "Spring Green-up:"},
    };
    for (const auto &s : steps) {
        if (form.values.crop != s.crop)
            form.choose_crop(s.crop);
        if (s.box)
            form.values.perennial = *s.box;
        EXPECT_EQ(form.perennial_visible(), s.visible);
        EXPECT_EQ(form.date_label(), s.label);
    }
    form.choose_crop(0);
    form.choose_crop(1);
    EXPECT_FALSE(form.values.perennial); // choosing a crop clears the box
}

TEST_F(FieldForms, EstablishedPerennialStandStartsAtGreenUp)
{
    auto field = new_field(*location, [&](CFieldDoc &f) {
        FieldDetailsForm form = new_form(f);
        form.choose_crop(1);
        form.choose_soil(0);
        form.values.name = "hay";
        return form.accept();
    });
    ASSERT_TRUE(field);
    EXPECT_EQ(field->saved.crop.stage_count, 12); // 5 + 2 x 4 - 1
    EXPECT_EQ(field->saved.crop.stages[0].name, "Green-up");
    EXPECT_EQ(field->saved.perennial, 0);
}

TEST_F(FieldForms, ExistingFieldIsRecomputedWithTruncatedValues)
{
    auto field = test::make_field(*location, test::corn());
    field->saved.efficiency = 72.6f;
    field->saved.nitrogen.soil_nitrogen = 55.9f;
    field->set_modified(false);
    std::vector<std::string> log;
    test::HintLog view;
    view.log = &log;
    view.who = "field";
    field->add_view(&view);
    FieldDetailsForm form(*field);
    EXPECT_FALSE(form.perennial_visible());
    EXPECT_FALSE(form.perennial_enabled());
    EXPECT_EQ(form.values.efficiency, 72.0f);
    EXPECT_EQ(form.values.n_available, 55.0f);
    ASSERT_TRUE(form.accept());
    EXPECT_EQ(field->saved.efficiency, 72.0f);
    EXPECT_EQ(field->saved.nitrogen.soil_nitrogen, 55.9f); // shown truncated, but left as it was
    EXPECT_EQ(field->binding.day_offset, 0);
    EXPECT_TRUE(field->is_modified());
    EXPECT_EQ(log, std::vector<std::string>{"field everything"});

    // A later planting date drops the days before it: every row of the table is another day.
    const int days = field->day_count();
    FieldDetailsForm later(*field);
    later.values.planting_date += 3;
    ASSERT_TRUE(later.accept());
    EXPECT_EQ(field->binding.day_offset, 3);
    EXPECT_EQ(field->day_count(), days - 3);
    EXPECT_EQ(log, (std::vector<std::string>{"field everything", "field planting date"}));
}

// A consultation can store more nitrogen than the box accepts; only a typed value is checked.
TEST_F(FieldForms, NitrogenAvailableIsCheckedOnlyWhenTyped)
{
    auto field = test::make_field(*location, test::corn());
    field->saved.nitrogen.soil_nitrogen = 331.4f;
    FieldDetailsForm untouched(*field);
    EXPECT_EQ(untouched.check(), std::nullopt);
    ASSERT_TRUE(untouched.accept());
    EXPECT_EQ(field->saved.nitrogen.soil_nitrogen, 331.4f);

    FieldDetailsForm typed(*field);
    typed.values.n_available = 301.0f;
    EXPECT_EQ(typed.check(), "Please enter a value between 0 and 300 for the Nitrogen Available.");
    typed.values.n_available = 300.0f;
    EXPECT_EQ(typed.check(), std::nullopt);
    ASSERT_TRUE(typed.accept());
    EXPECT_EQ(field->saved.nitrogen.soil_nitrogen, 300.0f);
}

TEST_F(FieldForms, SoilFormStoresInternalValues)
{
    auto field = test::make_field(*location, test::corn());
    FieldSoilForm form(*field);
    EXPECT_FLOAT_EQ(form.field_capacity, 0.3425f * 12);
    form.name = "Sandy clay loam sample"; // longer than the 15 characters a soil name holds
    form.awhc = 1.2f;                     // in/ft
    form.accept();
    EXPECT_EQ(field->saved.soil.name, "Sandy clay loam");
    EXPECT_NEAR(field->saved.soil.awhc, 0.1f, 1e-6);
    EXPECT_NEAR(field->season.days[20].taw, 0.1f * field->season.days[20].root_depth, 1e-3);
}

TEST_F(FieldForms, DailyEntryIsRefusedWithoutAStage)
{
    auto field = test::make_field(*location, test::short_crop());
    const int forecast = field->season.last_actual_day + 1;
    ASSERT_EQ(field->season.days[static_cast<std::size_t>(forecast)].kind, KindForecast);
    const struct
    {
        int d;
        int beeps;
    } cases[] = {{0, 0}, {50, 0}, {forecast, 1}, {45, 1}, {5, 0}};
    for (const auto &c : cases) {
        messages->clear();
        EXPECT_EQ(DailyEntryForm::open(*field, c.d).has_value(), c.d == 5) << c.d;
        EXPECT_EQ(messages->beeps(), c.beeps) << c.d;
    }
}

TEST_F(FieldForms, DailyEntryShowsTheDay)
{
    auto field = test::make_field(*location, test::short_crop());
    auto form = DailyEntryForm::open(*field, 15);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->title(), format_date(field->date_of(15), "%#x"));
    EXPECT_EQ(form->stage_choices(),
              (std::vector<std::string>{"Emergence", "Full Cover", "Stop Irrigating"}));
    EXPECT_EQ(form->stage, "Full Cover");
    EXPECT_EQ(form->status(), advice_message(field->season.days[15].category));
    EXPECT_EQ(DailyEntryForm::open(*field, 5)->stage_choices(),
              (std::vector<std::string>{"Planting", "Emergence", "Full Cover"}));
}

TEST_F(FieldForms, OverrideAtFieldCapacityHoldsAZeroDeficit)
{
    auto field = test::make_field(*location, test::short_crop());
    auto form = DailyEntryForm::open(*field, 12);
    ASSERT_TRUE(form);
    form->sm_override = true;
    form->soil_moisture = 0.3425f * 12; // field capacity in in/ft
    form->irrigation = 1.0f;            // in
    form->accept();
    EXPECT_NEAR(field->season.days[12].deficit, 0.0f, 1e-4);
    EXPECT_EQ(field->season.days[12].sm_override, 1);
    EXPECT_NEAR(field->season.days[12].gross_irrigation, 25.4f, 1e-4);
    field->season_run(0);
    EXPECT_NEAR(field->season.days[12].deficit, 0.0f, 1e-4);
}

TEST_F(FieldForms, DailyEntryNitrogenChangesOnlyWhenEntered)
{
    auto field = test::make_field(*location, test::short_crop());
    field->season.days[8].n_applied = 12.7f;
    DailyEntryForm::open(*field, 8)->accept();
    EXPECT_EQ(field->season.days[8].n_applied, 12.7f);
    auto form = DailyEntryForm::open(*field, 8);
    form->set_nitrogen_applied(40);
    form->accept();
    EXPECT_EQ(field->season.days[8].n_applied, 40.0f);
}

TEST_F(FieldForms, DailyEntryStageChoiceReruns)
{
    const struct
    {
        std::string choice;
        std::string hint;
        int stage, end_day;
    } cases[] = {
        {"full cover", "field day 15", 2, 20},
        {"EMERGENCE", "field everything", 1, 16},
        {"Stop Irrigating", "field everything", 2, 15},
    };
    for (const auto &c : cases) {
        auto field = test::make_field(*location, test::short_crop());
        std::vector<std::string> log;
        test::HintLog view;
        view.log = &log;
        view.who = "field";
        field->add_view(&view);
        auto form = DailyEntryForm::open(*field, 15);
        form->stage = c.choice;
        form->accept();
        EXPECT_EQ(log, std::vector<std::string>{c.hint}) << c.choice;
        EXPECT_EQ(field->saved.crop.stages[static_cast<std::size_t>(c.stage)].end_day, c.end_day);
        EXPECT_TRUE(field->is_modified());
    }
}

} // namespace
} // namespace tw
