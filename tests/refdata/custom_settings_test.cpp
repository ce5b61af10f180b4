#include "refdata/custom_settings.h"

#include "platform/files.h"
#include "platform/record_codec.h"
#include "platform/work_dir.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tw {
namespace {

using Texts = std::vector<std::string>;

const std::string kMissingMessage =
    "Unable to Find the Customization File.  You Can Create One With the Customize Options.";

std::vector<std::uint8_t> file_bytes(const std::filesystem::path &path)
{
    return read_file(path).value_or(std::vector<std::uint8_t>{});
}

const CustomSettingsField &field_named(std::string_view name)
{
    for (const CustomSettingsField &f : custom_settings_fields()) {
        if (f.name == name)
            return f;
    }
    ADD_FAILURE() << "no field " << name;
    return custom_settings_fields().front();
}

TEST(CustomSettings, EveryFieldHasItsOffsetTypeAndDefault)
{
    struct Case
    {
        std::string_view name;
        std::size_t offset;
        bool is_float;
        double value;
    };
    const Case cases[] = {
        {"crop_growth_basis", 0, false, 0},
        {"root_depth_model", 4, false, 0},
        {"moisture_display", 8, false, 1},
        {"depth_unit", 12, false, 1},
        {"height_unit", 16, false, 0},
        {"soil_moisture_unit", 20, false, 1},
        {"radiation_unit", 24, false, 1},
        {"pressure_unit", 28, false, 1},
        {"temperature_unit", 32, false, 1},
        {"wind_unit", 36, false, 0},
        {"latent_heat_unit", 40, false, 0},
        {"cloud_cover_input", 44, false, 0},
        {"albedo", 48, true, 0.23},
        {"vpd_method", 52, false, 3},
        {"soil_heat_method", 56, false, 1},
        {"rso_mean_const", 60, true, 31.54},
        {"rso_mean_lat", 64, true, 0.2734},
        {"rso_mean_elev", 68, true, 0.0007813},
        {"rso_amp_const", 72, true, -0.2986},
        {"rso_amp_lat", 76, true, 0.2678},
        {"rso_amp_elev", 80, true, 0.0004102},
        {"rso_phase", 84, true, 2.92},
        {"spare_coefficient_1", 88, true, 0.35},
        {"spare_coefficient_2", 92, true, 0.61},
        {"rnl_a", 96, true, 1.22},
        {"rnl_b", 100, true, -0.18},
        {"emis_a", 104, true, 0.325},
        {"emis_b", 108, true, -0.044},
        {"wind_a", 112, true, 0.75},
        {"wind_b", 116, true, 0.0115},
        {"wind_exponent", 120, true, 0.2},
        {"jh_c1_base", 124, true, 38},
        {"jh_elev_step", 128, true, 305},
        {"jh_c2", 132, true, 7.3},
        {"jh_ch_numerator", 136, true, 50},
        {"jh_tx_base", 140, true, -2.5},
        {"jh_tx_slope", 144, true, -0.14},
        {"jh_tx_elev_divisor", 148, true, 550},
    };
    const auto fields = custom_settings_fields();
    ASSERT_EQ(fields.size(), std::size(cases));
    const CustomSettings defaults;
    const CustomSettingsImage image = encode_custom_settings(defaults);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const Case &c = cases[i];
        EXPECT_EQ(fields[i].name, c.name);
        EXPECT_EQ(fields[i].offset, c.offset) << c.name;
        EXPECT_EQ(fields[i].is_float, c.is_float) << c.name;
        if (c.is_float) {
            EXPECT_EQ(custom_settings_value(defaults, fields[i]), static_cast<float>(c.value))
                << c.name;
            EXPECT_EQ(codec::get_f32(image, c.offset), static_cast<float>(c.value)) << c.name;
        } else {
            EXPECT_EQ(custom_settings_value(defaults, fields[i]), c.value) << c.name;
            EXPECT_EQ(codec::get_i32(image, c.offset), static_cast<std::int32_t>(c.value))
                << c.name;
        }
    }
}

TEST(CustomSettings, WithoutAFileTheDefaultsHoldAndTheMessageIsShown)
{
    test::ScopedWorkDir dir;
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    settings->depth_unit = 0;
    settings->albedo = 0.5f;
    load_custom_settings();
    EXPECT_EQ(messages->texts(), Texts{kMissingMessage});
    EXPECT_EQ(encode_custom_settings(custom_settings()), encode_custom_settings(CustomSettings{}));
    EXPECT_FALSE(file_exists(dir.file("custom.con"))) << "loading never writes";
}

TEST(CustomSettings, AFileReplacesAsManyLeadingFieldsAsItHolds)
{
    struct Case
    {
        std::size_t size;
        std::int32_t depth_unit;  // offset 12
        float albedo;             // offset 48
        float jh_tx_elev_divisor; // offset 148
    };
    // Every word of the file holds 7 (int) or 7.0f (float) where the file reaches; bytes past
    // 152 are garbage. A partial word replaces its leading bytes (07 00 over 01 00 00 00).
    const Case cases[] = {
        {0, 1, 0.23f, 550.0f},  {12, 1, 0.23f, 550.0f}, {14, 7, 0.23f, 550.0f},
        {16, 7, 0.23f, 550.0f}, {52, 7, 7.0f, 550.0f},  {152, 7, 7.0f, 7.0f},
        {400, 7, 7.0f, 7.0f},
    };
    for (const Case &c : cases) {
        test::ScopedWorkDir dir;
        test::ScopedSettings settings;
        test::ScopedMessages messages;
        CustomSettings sevens;
        for (const CustomSettingsField &f : custom_settings_fields())
            set_custom_settings_value(sevens, f, 7.0);
        std::vector<std::uint8_t> bytes(c.size, 0xEE);
        const CustomSettingsImage image = encode_custom_settings(sevens);
        std::copy_n(image.begin(), std::min(c.size, image.size()), bytes.begin());
        ASSERT_TRUE(write_file_atomic(dir.file("custom.con"), bytes));

        load_custom_settings();
        EXPECT_TRUE(messages->texts().empty()) << c.size;
        const CustomSettings &s = custom_settings();
        EXPECT_EQ(s.depth_unit, c.depth_unit) << c.size;
        EXPECT_EQ(s.albedo, c.albedo) << c.size;
        EXPECT_EQ(s.jh_tx_elev_divisor, c.jh_tx_elev_divisor) << c.size;
    }
}

TEST(CustomSettings, ATwelveByteFileSetsOnlyTheThreeMethodSwitches)
{
    test::ScopedWorkDir dir;
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    std::vector<std::uint8_t> bytes(12);
    codec::put_i32(bytes, 0, 1);
    codec::put_i32(bytes, 4, 1);
    codec::put_i32(bytes, 8, 0);
    ASSERT_TRUE(write_file_atomic(dir.file("custom.con"), bytes));
    load_custom_settings();
    CustomSettings expected;
    expected.crop_growth_basis = 1;
    expected.root_depth_model = 1;
    expected.moisture_display = 0;
    EXPECT_EQ(encode_custom_settings(custom_settings()), encode_custom_settings(expected));
}

TEST(CustomSettings, SaveWritesTheWholeRecordWithTheDefaultCoefficients)
{
    test::ScopedWorkDir dir;
    test::ScopedSettings settings;
    settings->depth_unit = 0;
    ASSERT_TRUE(save_custom_settings());
    const auto bytes = file_bytes(dir.file("custom.con"));
    ASSERT_EQ(bytes.size(), 152u);
    EXPECT_EQ(codec::get_i32(bytes, 12), 0);
    const CustomSettingsImage defaults = encode_custom_settings(CustomSettings{});
    EXPECT_TRUE(std::equal(bytes.begin() + 48, bytes.end(), defaults.begin() + 48));
    EXPECT_EQ(codec::get_f32(bytes, 48), 0.23f);
    EXPECT_EQ(codec::get_i32(bytes, 52), 3);
    EXPECT_EQ(codec::get_f32(bytes, 148), 550.0f);

    // And the saved file is read back as it was saved.
    custom_settings() = CustomSettings{};
    load_custom_settings();
    EXPECT_EQ(custom_settings().depth_unit, 0);
}

TEST(CustomSettings, ASaveThatFailsSaysSoAndKeepsTheSettings)
{
    test::ScopedWorkDir dir;
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    set_work_dir(dir.file("missing folder"));
    settings->temperature_unit = 0;
    EXPECT_FALSE(save_custom_settings());
    // The fixed text, then the system's reason.
    ASSERT_EQ(messages->texts().size(), 1u);
    EXPECT_TRUE(messages->texts()[0].starts_with("ERROR: Can't Save to Customization File\n"));
    EXPECT_TRUE(messages->texts()[0].ends_with("No such file or directory"));
    EXPECT_EQ(custom_settings().temperature_unit, 0);
}

TEST(CustomSettings, FieldsAreSetByTheirTableEntry)
{
    CustomSettings s;
    set_custom_settings_value(s, field_named("wind_unit"), 3.0);
    set_custom_settings_value(s, field_named("vpd_method"), 1.6);
    set_custom_settings_value(s, field_named("jh_c2"), 7.5);
    EXPECT_EQ(s.wind_unit, 3);
    EXPECT_EQ(s.vpd_method, 2);
    EXPECT_EQ(s.jh_c2, 7.5f);
    EXPECT_EQ(custom_settings_value(s, field_named("jh_c2")), 7.5);
}

} // namespace
} // namespace tw
