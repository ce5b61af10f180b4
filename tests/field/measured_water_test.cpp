// Probe readings entered as overrides, the balance's skill between them, and a system's capacity.
#include "field/field_details_form.h"
#include "field/field_summary.h"
#include "field/forecast_skill.h"
#include "field/next_irrigation.h"
#include "field/soil_readings.h"
#include "field/system_capacity.h"
#include "field_fixtures.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "platform/text_format.h"
#include "refdata/custom_settings.h"

#include <cmath>

namespace tw {
namespace {

using MeasuredWater = test::FieldTest;

const ReadingUnit &unit(ReadingKind kind, std::string_view name)
{
    return *reading_unit_named(kind, name);
}

std::string on(int month, int day)
{
    return iso_date(serial_from_civil(2022, month, day));
}

TEST_F(MeasuredWater, ReadingsFileIsReadInItsUnits)
{
    const auto parsed =
        parse_soil_readings("\xEF\xBB\xBF\"Date\", VALUE\r\n2022-05-06,1.5\r\n\n\"2022-05-09\","
                            "\"2\"\n",
                            unit(ReadingKind::Deficit, "in"));
    ASSERT_FALSE(parsed.error) << *parsed.error;
    ASSERT_EQ(parsed.readings.size(), 2u);
    EXPECT_EQ(parsed.readings[0].line, 2);
    EXPECT_EQ(parsed.readings[0].date, serial_from_civil(2022, 5, 6));
    EXPECT_FLOAT_EQ(parsed.readings[0].value, 38.1f);
    EXPECT_EQ(parsed.readings[1].line, 4);
    EXPECT_FLOAT_EQ(parsed.readings[1].value, 50.8f);

    const auto percent =
        parse_soil_readings("date,value\n2022-05-06,25\n", unit(ReadingKind::Content, "percent"));
    ASSERT_EQ(percent.readings.size(), 1u);
    EXPECT_FLOAT_EQ(percent.readings[0].value, 0.25f);
    EXPECT_EQ(reading_unit_named(ReadingKind::Content, "mm"), nullptr);
    EXPECT_EQ(reading_units(ReadingKind::Deficit)[0].name, "mm");
    EXPECT_EQ(reading_kind_named("Content"), ReadingKind::Content);
    EXPECT_EQ(reading_kind_named("moisture"), std::nullopt);
}

// A grower who reads depths in inches is offered inches for a deficit file (1 in = 25.4 mm,
// 1 cm = 10 mm); a content file has no depth unit and keeps the fraction.
TEST_F(MeasuredWater, TheDialogProposesTheUsersDepthUnit)
{
    const struct
    {
        std::int32_t depth_unit;
        std::string_view name;
        double mm;
    } cases[] = {{0, "mm", 1.0}, {1, "in", 25.4}, {2, "cm", 10.0}};
    for (const auto &c : cases) {
        settings->depth_unit = c.depth_unit;
        const ReadingUnit &u =
            reading_units(ReadingKind::Deficit)[proposed_reading_unit(ReadingKind::Deficit)];
        EXPECT_EQ(u.name, c.name);
        EXPECT_DOUBLE_EQ(u.to_internal, c.mm);
        EXPECT_EQ(proposed_reading_unit(ReadingKind::Content), 0u);
    }
}

TEST_F(MeasuredWater, BadLineIsNamedAndNothingIsRead)
{
    const struct
    {
        std::string_view text;
        std::string_view unit;
        std::string message;
    } cases[] = {
        {"", "mm", "Line 1: a readings file starts with the header date,value."},
        {"2022-05-06,3\n", "mm", "Line 1: a readings file starts with the header date,value."},
        {"date,value\n2022-05-06,3,4\n", "mm",
         "Line 2: a reading is a date and a value, not 3 fields."},
        {"date,value\n2022-05-06,3\n06/05/2022,3\n", "mm",
         "Line 3: \"06/05/2022\" is not a date as YYYY-MM-DD."},
        {"date,value\n2022-02-30,3\n", "mm", "Line 2: \"2022-02-30\" is not a date as YYYY-MM-DD."},
        {"date,value\n2022-05-06,3mm\n", "mm", "Line 2: \"3mm\" is not a number."},
        {"date,value\n2022-05-06,nan\n", "mm", "Line 2: \"nan\" is not a number."},
        {"date,value\n\"2022-05-06,3\n", "mm", "Line 2: a quoted field is not closed."},
        {"date,value\n2022-05-06,1e6\n", "in",
         "Line 2: a deficit of 1e+06 in is beyond any root zone."},
        {"date,value\n2022-05-06,1.2\n", "fraction",
         "Line 2: a content of 1.2 fraction is outside 0 to 1."},
        {"date,value\n2022-05-06,-3\n", "percent",
         "Line 2: a content of -3 percent is outside 0 to 100."},
        {"date,value\n2022-05-06,3\n2022-05-07,3\n2022-05-06,4\n", "mm",
         "Line 4: 2022-05-06 was read on line 2 already."},
    };
    for (const auto &c : cases) {
        const ReadingUnit *u = reading_unit_named(ReadingKind::Deficit, c.unit);
        if (!u)
            u = reading_unit_named(ReadingKind::Content, c.unit);
        const auto parsed = parse_soil_readings(c.text, *u);
        EXPECT_TRUE(parsed.readings.empty()) << c.text;
        EXPECT_EQ(parsed.error.value_or(""), c.message) << c.text;
    }
}

TEST_F(MeasuredWater, ReadingsBecomeOverridesWhereTheDayCanTakeOne)
{
    // Weather for the short crop's 31-day season and a week after it, then none.
    auto location = test::make_location(100, 40);
    auto field = test::make_field(*location, test::short_crop());
    ASSERT_EQ(field->season.last_actual_day, 39);
    const float root_depth_8 = field->season.days[8].root_depth;
    const auto readings =
        parse_soil_readings("date,value\n" + on(5, 6) + ",12.5\n" + on(5, 1) + ",3\n" + on(4, 20) +
                                ",3\n" + on(6, 5) + ",3\n" + on(6, 25) + ",3\n",
                            unit(ReadingKind::Deficit, "mm"));
    ASSERT_FALSE(readings.error);
    const auto entered = enter_soil_readings(*field, readings.readings, ReadingKind::Deficit);
    EXPECT_EQ(entered.entered, 1);
    EXPECT_EQ(entered.skipped,
              (std::vector<std::string>{
                  "Line 3: 2022-05-01 is skipped: the planting day (its soil moisture is the "
                  "field's initial soil moisture).",
                  "Line 4: 2022-04-20 is skipped: the field has no such day.",
                  "Line 5: 2022-06-05 is skipped: post-harvest.",
                  "Line 6: 2022-06-25 is skipped: no weather."}));
    EXPECT_TRUE(field->is_modified());
    const FieldDay &day5 = field->season.days[5];
    EXPECT_EQ(day5.sm_override, 1);
    EXPECT_EQ(day5.deficit, 12.5f);
    // The season ran again from the reading: the next day goes on from it.
    const FieldDay &day6 = field->season.days[6];
    EXPECT_NEAR(day6.deficit, 12.5f + day6.crop_et, 1e-4);
    EXPECT_EQ(entered.report("r.csv").substr(0, 34), "Entered 1 soil reading from r.csv.");

    // A content by the daily dialog's rule: its depth below field capacity over the roots.
    const auto content = parse_soil_readings("date,value\n" + on(5, 9) + ",30\n",
                                             unit(ReadingKind::Content, "percent"));
    enter_soil_readings(*field, content.readings, ReadingKind::Content);
    EXPECT_NEAR(field->season.days[8].deficit, (field->saved.soil.sm_fc - 0.30f) * root_depth_8,
                1e-5);
}

TEST_F(MeasuredWater, MorningReadingIsTheEndOfTheDayBeforeItsRain)
{
    // 20 mm of rain on 12 May (day 11); a probe reads 30 mm of deficit that morning.
    auto location = test::make_location(100, 40);
    const auto field_with_rain = [&] {
        auto field = test::make_field(*location, test::short_crop());
        field->season.days[11].rain = 20.0f;
        field->season_run(0);
        return field;
    };
    const auto reading =
        parse_soil_readings("date,value\n" + on(5, 12) + ",30\n", unit(ReadingKind::Deficit, "mm"));

    auto morning = field_with_rain();
    EXPECT_EQ(enter_soil_readings(*morning, reading.readings, ReadingKind::Deficit,
                                  {ReadingTime::Morning, {}})
                  .entered,
              1);
    EXPECT_EQ(morning->season.days[10].sm_override, 1);
    EXPECT_EQ(morning->season.days[10].deficit, 30.0f);
    // The day's rain then falls on the measured soil. A center pivot's 1.2 in of net application
    // counts f(1.2) = 0.531747 + 0.295164*1.2 - 0.057697*1.44 + 0.003804*1.728 = 0.8094334 of it.
    const FieldDay &day11 = morning->season.days[11];
    EXPECT_EQ(day11.sm_override, 0);
    EXPECT_NEAR(day11.deficit, 30.0 + day11.crop_et - 20.0 * 0.8094334, 1e-4);

    // Read in the evening, the same value is after the rain: the day itself.
    auto evening = field_with_rain();
    enter_soil_readings(*evening, reading.readings, ReadingKind::Deficit);
    EXPECT_EQ(evening->season.days[10].sm_override, 0);
    EXPECT_EQ(evening->season.days[11].sm_override, 1);
    EXPECT_EQ(evening->season.days[11].deficit, 30.0f);

    // The morning after planting is the planting day's end, which the initial moisture holds.
    const auto early =
        parse_soil_readings("date,value\n" + on(5, 2) + ",30\n", unit(ReadingKind::Deficit, "mm"));
    EXPECT_EQ(enter_soil_readings(*morning, early.readings, ReadingKind::Deficit,
                                  {ReadingTime::Morning, {}})
                  .skipped,
              std::vector<std::string>{
                  "Line 2: 2022-05-02 (a morning reading, the end of 2022-05-01) is skipped: the "
                  "planting day (its soil moisture is the field's initial soil moisture)."});
    EXPECT_EQ(reading_time_named("Morning"), ReadingTime::Morning);
    EXPECT_EQ(reading_time_named("noon"), std::nullopt);
}

TEST_F(MeasuredWater, ImportSetsLearningOnlyWhenAReadingIsEntered)
{
    auto location = test::make_location(100, 40);
    auto field = test::make_field(*location, test::short_crop());
    const auto file = work_dir.path() / "r.csv";
    const auto import = [&](const std::string &text) {
        EXPECT_TRUE(write_file_atomic(file, std::vector<std::uint8_t>(text.begin(), text.end())));
        return import_soil_readings(*field, file, unit(ReadingKind::Deficit, "mm"),
                                    {ReadingTime::Evening, true});
    };
    EXPECT_EQ(import("date,value\n" + on(4, 1) + ",3\n").entered.entered, 0);
    EXPECT_FALSE(field->saved.learn_from_readings);
    EXPECT_TRUE(import("date,value\n" + on(5, 6) + ",x\n").error);
    EXPECT_FALSE(field->saved.learn_from_readings);
    EXPECT_EQ(import("date,value\n" + on(5, 6) + ",3\n").entered.entered, 1);
    EXPECT_TRUE(field->saved.learn_from_readings);
}

TEST_F(MeasuredWater, ForecastDayAndBadFileTakeNothing)
{
    auto location = test::make_location(100, 20);
    auto field = test::make_field(*location, test::short_crop());
    field->set_modified(false);
    ASSERT_GT(field->season.last_forecast_day, field->season.last_actual_day);
    const int forecast = field->season.last_actual_day + 1;
    const auto readings =
        parse_soil_readings("date,value\n" + iso_date(field->date_of(forecast)) + ",3\n",
                            unit(ReadingKind::Deficit, "mm"));
    const auto skipped = enter_soil_readings(*field, readings.readings, ReadingKind::Deficit);
    EXPECT_EQ(skipped.entered, 0);
    ASSERT_EQ(skipped.skipped.size(), 1u);
    EXPECT_TRUE(skipped.skipped[0].ends_with("is skipped: a forecast day.")) << skipped.skipped[0];
    EXPECT_FALSE(field->is_modified());

    const auto before = field->serialize();
    const auto file = work_dir.path() / "r.csv";
    const std::string text = "date,value\n" + on(5, 6) + ",3\n" + on(5, 7) + ",x\n";
    ASSERT_TRUE(write_file_atomic(file, std::vector<std::uint8_t>(text.begin(), text.end())));
    const auto bad = import_soil_readings(*field, file, unit(ReadingKind::Deficit, "mm"));
    EXPECT_EQ(bad.error.value_or(""),
              "Nothing was entered from r.csv. Line 3: \"x\" is not a number.");
    EXPECT_EQ(field->serialize(), before);
    const auto missing = import_soil_readings(*field, work_dir.path() / "none.csv",
                                              unit(ReadingKind::Deficit, "mm"));
    EXPECT_TRUE(missing.error->starts_with("Unable to open the readings file: "));
}

TEST_F(MeasuredWater, SkillPredictsEachReadingFromTheOneBefore)
{
    auto location = test::make_location(100, 40);
    const auto with_overrides = [&](std::vector<std::pair<int, float>> overrides) {
        auto field = test::make_field(*location, test::short_crop());
        for (const auto &[d, deficit] : overrides) {
            field->season.days[static_cast<std::size_t>(d)].sm_override = 1;
            field->season.days[static_cast<std::size_t>(d)].deficit = deficit;
        }
        field->season_run(0);
        return field;
    };
    // What the balance says on day 7 with nothing measured, and on day 14 from day 7's reading.
    const float from_planting = with_overrides({})->season.days[7].deficit;
    const float from_day_7 = with_overrides({{7, 20.0f}})->season.days[14].deficit;

    auto field = with_overrides({{7, 20.0f}, {14, 5.0f}});
    const auto before = field->serialize();
    const ForecastSkill skill = forecast_skill(*field);
    EXPECT_EQ(field->serialize(), before);
    ASSERT_EQ(skill.rows.size(), 2u);
    EXPECT_EQ(skill.rows[0].date, field->date_of(7));
    EXPECT_EQ(skill.rows[0].measured, 20.0f);
    EXPECT_FLOAT_EQ(skill.rows[0].predicted, from_planting);
    EXPECT_EQ(skill.rows[0].days_since_previous, 7);
    EXPECT_FLOAT_EQ(skill.rows[1].predicted, from_day_7);
    EXPECT_EQ(skill.rows[1].days_since_previous, 7);
    const double e1 = from_planting - 20.0, e2 = from_day_7 - 5.0;
    EXPECT_NEAR(*skill.bias, (e1 + e2) / 2, 1e-5);
    EXPECT_NEAR(*skill.mae, (std::fabs(e1) + std::fabs(e2)) / 2, 1e-5);
    EXPECT_NEAR(*skill.rmse, std::sqrt((e1 * e1 + e2 * e2) / 2), 1e-5);
    EXPECT_EQ(skill_table_rows(skill)[1][4], "7");

    const ForecastSkill none = forecast_skill(*with_overrides({}));
    EXPECT_TRUE(none.rows.empty());
    EXPECT_FALSE(none.rmse);
    EXPECT_EQ(skill_summary_text(none), "No soil-moisture overrides to compare the balance with.");
}

TEST_F(MeasuredWater, StartByTakesTheDaysTheGrossAmountNeeds)
{
    settings->depth_unit = 0; // mm: a rate in days per mm as shown
    auto location = test::make_location(100, 20, {12.0f, 28.0f, 9.0f, 0.0f});
    auto field = test::make_field(*location, test::short_crop());
    const int a = field->season.last_actual_day;
    const int f = field->season.last_forecast_day;
    const float amount = field->season.days[static_cast<std::size_t>(f)].irrigation_needed;
    ASSERT_GT(amount, 0.0f);
    ASSERT_GE(f - a, 2);
    const struct
    {
        float days_per_mm;
        std::optional<int> start;
    } cases[] = {
        {0.0f, std::nullopt},                    // unset
        {1.0f / amount, f - 1},                  // exactly one day, float noise and all
        {1.0001f / amount, f - 2},               // a little more takes a second day
        {static_cast<float>(f - 1) / amount, 1}, // the day after planting
        {5.0f, 0},  // more days than the field has grown: no earlier than planting
        {1e-7f, f}, // under a day's work still starts on the day
    };
    for (const auto &c : cases) {
        field->saved.days_per_mm = c.days_per_mm;
        const std::optional<int> start = next_irrigation(*field).start_by;
        EXPECT_EQ(start, c.start ? std::optional(field->date_of(*c.start)) : std::nullopt)
            << c.days_per_mm;
    }
    field->saved.days_per_mm = 1.0f / amount;
    EXPECT_EQ(field_summary_row(*field)[kStartByColumn],
              format_date(field->date_of(f - 1), "%m/%d/%y"));
    field->saved.days_per_mm = 5.0f;
    EXPECT_EQ(field_summary_row(*field)[kStartByColumn], "Now");

    // Nothing due, nothing to start.
    field->season.days[static_cast<std::size_t>(f)].irrigation_needed = 0.0f;
    EXPECT_EQ(next_irrigation(*field).start_by, std::nullopt);
    EXPECT_EQ(field_summary_row(*field)[kStartByColumn], "");
}

TEST_F(MeasuredWater, FieldDialogKeepsTheCapacityInDaysPerShownUnit)
{
    auto location = test::make_location(100, 20);
    auto field = test::make_field(*location, test::short_crop());
    FieldDetailsForm form(*field);
    EXPECT_FALSE(form.values.days_per_unit);
    form.values.days_per_unit = 3.0f; // days per inch
    ASSERT_TRUE(form.accept());
    EXPECT_FLOAT_EQ(field->saved.days_per_mm, 3.0f * 0.03937f);
    EXPECT_NEAR(*FieldDetailsForm(*field).values.days_per_unit, 3.0f, 1e-6);
    EXPECT_EQ(days_per_unit_label(), "days/in");

    for (const float refused : {0.0f, -2.0f, 5000.0f}) {
        messages->clear();
        form.values.days_per_unit = refused;
        EXPECT_FALSE(form.accept()) << refused;
        EXPECT_EQ(messages->texts().back(), "Please enter a System Capacity above 0 and at most "
                                            "1016 days/in, or leave it empty.");
    }
    form.values.days_per_unit.reset();
    ASSERT_TRUE(form.accept());
    EXPECT_EQ(field->saved.days_per_mm, 0.0f);
}

} // namespace
} // namespace tw
