#include "fertility/nutrient_file.h"

#include "platform/dates.h"
#include "platform/files.h"
#include "platform/record_codec.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tw {
namespace {

TEST(FertilityInputs, ResetImageHoldsTheStartingValuesAtTheirOffsets)
{
    FertilityInputs inputs;
    inputs.crop_name = "Sugarbeets";
    reset_fertility_inputs(inputs);
    const FertilityInputsImage image = encode_fertility_inputs(inputs);

    EXPECT_EQ(codec::get_text(image, 0, 20), "CORN");
    EXPECT_EQ(codec::get_text(image, 20, 10), "BU/ACRE");
    const struct
    {
        std::size_t offset;
        std::int32_t value;
    } ints[] = {{32, 2000}, {84, 200}, {92, -1},  {96, 1},   {108, -1},  {112, 4},  {116, 3},
                {124, 1},   {128, 7},  {132, 5},  {160, -1}, {172, 1},   {176, 1},  {184, -1},
                {224, -1},  {260, -1}, {272, -1}, {280, 2},  {296, 2},   {324, 80}, {328, 40},
                {332, 20},  {344, 70}, {364, 70}, {420, 87}, {456, 153}, {468, 1},  {476, 0}};
    for (const auto &c : ints)
        EXPECT_EQ(codec::get_i32(image, c.offset), c.value) << "offset " << c.offset;
    const struct
    {
        std::size_t offset;
        float value;
    } floats[] = {{88, 200.0f}, {100, 1.0f},  {104, 20.0f}, {144, 1.32f},  {148, 8.0f},
                  {152, 10.0f}, {156, 20.0f}, {276, 75.0f}, {368, -12.7f}, {372, 32.0f}};
    for (const auto &c : floats)
        EXPECT_EQ(codec::get_f32(image, c.offset), c.value) << "offset " << c.offset;
}

TEST(FertilityInputs, ImageRoundTripsEveryKindOfMember)
{
    FertilityInputs in;
    in.crop_name = "POTATOES";
    in.soil_texture = "SILTY CLAY LOAM";
    in.text_b = "twelve chars";
    in.manure_moisture = 62.5f;
    in.last_manure_moisture = 71.0f;
    in.efficiency = {65, 60, 55, 50, 45, 40};
    in.planting_date = StoredDate::from_day(serial_from_civil(2026, 4, 20));
    in.weekly_gdd = {1, 2, 3, 4, 5, 6, 7, 8};
    in.applied_to_date = 45.5f;
    in.reserved = 9;

    const FertilityInputsImage image = encode_fertility_inputs(in);
    EXPECT_EQ(codec::get_f64(image, 376), in.planting_date.serial);
    EXPECT_EQ(codec::get_i32(image, 384), 0);
    const FertilityInputs out = decode_fertility_inputs(image);
    EXPECT_EQ(encode_fertility_inputs(out), image);
    EXPECT_EQ(out.soil_texture, "SILTY CLAY LOAM");
    EXPECT_EQ(out.planting_date, in.planting_date);
    EXPECT_EQ(out.efficiency, in.efficiency);
    EXPECT_EQ(out.last_manure_moisture, 71.0f);
}

NutrientBlock sample_block()
{
    NutrientBlock b;
    b.inputs.soil_nitrate = 14.0f;
    b.inputs.irrigation_nitrate = 9.0f;
    b.inputs.yield_goal = 185.0f;
    b.recommendation.final = 141.0f;
    b.recommendation.potassium = 40.0f;
    b.soil_test.remaining = 12.0f;
    b.mass_balance = {300.0f, 40.0f, 30.0f, 20.0f, 10.0f, 5.0f, 0.0f, 15.0f, 0.0f, 0, 0, 0};
    b.schedule_count = 2;
    b.first_entry_nitrogen = 84;
    return b;
}

TEST(NutrientBlock, PartsSitAtTheirOffsets)
{
    const NutrientBlock b = sample_block();
    const NutrientImage image = encode_nutrient_block(b);
    EXPECT_EQ(codec::get_f32(image, 492 + 15 * 4), 141.0f); // final
    EXPECT_EQ(codec::get_f32(image, 492 + 19 * 4), 40.0f);  // potassium
    EXPECT_EQ(codec::get_f32(image, 572 + 8 * 4), 12.0f);   // soil test remaining
    EXPECT_EQ(codec::get_f32(image, 608 + 7 * 4), 15.0f);   // denitrification
    EXPECT_EQ(codec::get_i32(image, 656), 2);
    EXPECT_EQ(codec::get_i32(image, 660), 84);
    EXPECT_EQ(encode_nutrient_block(decode_nutrient_block(image)), image);
}

TEST(NutrientFile, FieldReadBackCountsNoPreplantAsZero)
{
    NutrientBlock b = sample_block();
    // residual + organic matter + residue + legume + manure - denitrification = 90.
    const struct
    {
        std::int32_t first_entry;
        float expected;
    } cases[] = {{84, 174.0f}, {-1, 90.0f}, {0, 90.0f}};
    for (const auto &c : cases) {
        b.first_entry_nitrogen = c.first_entry;
        const FieldNitrogenReadBack r = field_nitrogen_read_back(b);
        EXPECT_FLOAT_EQ(r.soil_nitrogen_at_planting, c.expected) << c.first_entry;
        EXPECT_EQ(r.irrigation_nitrate, 9.0f);
        EXPECT_EQ(r.yield_goal, 185.0f);
    }
}

TEST(NutrientFile, BaseNameIsTheFieldNameAndPlantingYear)
{
    EXPECT_EQ(nutrient_base_for_field("North", serial_from_civil(2026, 5, 1)), "North26");
    EXPECT_EQ(nutrient_base_for_field("LIRF corn", serial_from_civil(2022, 5, 10)), "LIRF corn22");
}

std::vector<ScheduleEntry> two_entries()
{
    ScheduleEntry a;
    a.phase = PhasePreplant;
    a.material = "Anhydrous Ammonia";
    a.method = "Inject / Knife";
    a.nitrogen = 84.6f;
    a.amount = 103.2f;
    ScheduleEntry b = a;
    b.phase = PhaseFertigation;
    b.fertigation_number = 1;
    b.material = "Urea Ammonium Nitrate (UAN)";
    return {a, b};
}

TEST(NutrientFile, SaveWritesBothFilesAndReadsThemBack)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    const std::vector<ScheduleEntry> schedule = two_entries();
    ASSERT_EQ(file_SaveInfo("North26", sample_block(), schedule), 1);
    EXPECT_EQ(size_of_file(dir.file("North26.FRT")), kNutrientFileSize);
    EXPECT_EQ(size_of_file(dir.file("North26.LCH")), 2 * kScheduleEntrySize);

    NutrientBlock read;
    ASSERT_EQ(read_nutrient_file("North26", read), 1);
    EXPECT_EQ(read.recommendation.final, 141.0f);
    std::vector<ScheduleEntry> entries;
    ASSERT_EQ(read_schedule_file("North26", entries, read.schedule_count), 1);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].material, "Urea Ammonium Nitrate (UAN)");
    EXPECT_EQ(entries[1].fertigation_number, 1);
    EXPECT_TRUE(port->entries().empty());

    NutrientBlock none = sample_block();
    none.schedule_count = 0;
    ASSERT_EQ(file_SaveInfo("North26", none, {}), 1);
    EXPECT_EQ(size_of_file(dir.file("North26.LCH")), 0u);
}

TEST(NutrientFile, MidseasonSaveKeepsTheStoredSoilTestInputs)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    ASSERT_EQ(file_SaveInfo("North26", sample_block(), {}), 1);

    NutrientBlock mid = sample_block();
    mid.inputs.midseason_mode = 1;
    mid.inputs.soil_nitrate = 3.0f; // a new soil test
    mid.inputs.soil_test_date = serial_from_civil(2026, 6, 20);
    mid.inputs.applications_count = 3;
    mid.inputs.applied_to_date = 120.0f;
    mid.inputs.planting_date = StoredDate::from_day(serial_from_civil(2026, 4, 28));
    mid.recommendation.final = 35.0f;
    mid.schedule_count = 1;
    mid.first_entry_nitrogen = -1;
    ASSERT_EQ(file_SaveInfo("North26", mid, two_entries()), 1);

    NutrientBlock read;
    ASSERT_EQ(read_nutrient_file("North26", read), 1);
    EXPECT_EQ(read.inputs.soil_nitrate, 14.0f);
    EXPECT_EQ(read.inputs.midseason_mode, 1);
    EXPECT_EQ(read.inputs.soil_test_date, mid.inputs.soil_test_date);
    EXPECT_EQ(read.inputs.applications_count, 3);
    EXPECT_EQ(read.inputs.applied_to_date, 120.0f);
    EXPECT_EQ(read.inputs.planting_date, mid.inputs.planting_date);
    EXPECT_EQ(read.recommendation.final, 35.0f);
    EXPECT_EQ(read.schedule_count, 1);
    EXPECT_EQ(size_of_file(dir.file("North26.LCH")), kScheduleEntrySize);
}

TEST(NutrientFile, MidseasonSavesKeepThePreplantNitrogenOfTheFileTheyReplace)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    const struct
    {
        std::int32_t stored;
        std::int32_t kept;
    } cases[] = {{84, 84}, {-1, -1}, {0, -1}};
    for (const auto &c : cases) {
        NutrientBlock pre = sample_block();
        pre.first_entry_nitrogen = c.stored;
        ASSERT_EQ(file_SaveInfo("North26", pre, {}), 1);
        NutrientBlock mid = sample_block();
        mid.inputs.midseason_mode = 1;
        mid.first_entry_nitrogen = -1;
        // A second correction replaces the first one's file, which must still hold the figure.
        for (int correction = 1; correction <= 2; ++correction) {
            ASSERT_EQ(file_SaveInfo("North26", mid, {}), 1);
            NutrientBlock read;
            ASSERT_EQ(read_nutrient_file("North26", read), 1);
            EXPECT_EQ(read.first_entry_nitrogen, c.kept)
                << c.stored << " correction " << correction;
        }
    }
}

TEST(NutrientFile, FailedSavesSayWhyAndWriteNothing)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    NutrientBlock mid = sample_block();
    mid.inputs.midseason_mode = 1;
    EXPECT_EQ(file_SaveInfo("North26", mid, {}), 0);
    EXPECT_EQ(port->texts().back(), "ERROR: Can't Modify Nutrient File in file_SaveInfo()!");

    for (const char *base : {"../North26", "a/b", ""})
        EXPECT_EQ(file_SaveInfo(base, sample_block(), {}), 0) << base;
    EXPECT_EQ(port->texts().size(), 4u);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_FALSE(file_exists(dir.path().parent_path() / "North26.FRT"));
}

// A nutrient file without its schedule would fail every later leaching report.
TEST(NutrientFile, AScheduleFileThatCannotBeWrittenLeavesNoNutrientFileEither)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    std::filesystem::create_directory(dir.file("North26.LCH"));
    EXPECT_EQ(file_SaveInfo("North26", sample_block(), two_entries()), 0);
    EXPECT_EQ(port->texts().back(), "ERROR: Can't Save Nutrient File in file_SaveInfo()!\n"
                                    "cannot write " +
                                        dir.file("North26.LCH").string() + ": not a regular file");
    EXPECT_FALSE(size_of_file(dir.file("North26.FRT")).has_value());
}

TEST(NutrientFile, MissingAndShortFilesGiveTheReadersMessages)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages port;
    NutrientBlock block;
    std::vector<ScheduleEntry> entries;
    EXPECT_EQ(read_nutrient_file("North26", block), 0);
    EXPECT_EQ(read_schedule_file("North26", entries, 2), 0);

    ASSERT_EQ(file_SaveInfo("North26", sample_block(), two_entries()), 1);
    const auto frt = *read_file(dir.file("North26.FRT"));
    ASSERT_TRUE(write_file_atomic(dir.file("North26.FRT"), std::span(frt).first(663)));
    const auto lch = *read_file(dir.file("North26.LCH"));
    ASSERT_TRUE(write_file_atomic(dir.file("North26.LCH"), std::span(lch).first(100)));
    EXPECT_EQ(read_nutrient_file("North26", block), 0);
    EXPECT_EQ(load_nutrient_file("North26").status, FileReadStatus::Short);
    EXPECT_EQ(read_schedule_file("North26", entries, 2), 0);
    EXPECT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].material, "Anhydrous Ammonia");

    const std::vector<std::string> expected = {
        "Can't Open Nutrient File.  You Must Run Fertility Scheduler First!",
        "Can't Open Nutrient Schedule File. You Must Run Fertility Scheduler First!",
        "ERROR: Couldn't Read Nutrient File!",
        "ERROR: Couldn't Read Schedule File!",
    };
    EXPECT_EQ(port->texts(), expected);
    // A count that no file could hold is read as far as the file goes, never allocated.
    EXPECT_EQ(read_schedule_file("North26", entries, 2147483647), 0);
    EXPECT_EQ(entries.size(), 1u);
}

} // namespace
} // namespace tw
