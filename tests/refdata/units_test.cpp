#include "refdata/units.h"

#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cmath>
#include <span>

namespace tw {
namespace {

using Texts = std::vector<std::string>;

// Degree_Days and Inv_Temperature follow the Temperature code.
void set_code(std::int32_t dimension, std::int32_t code)
{
    const std::int32_t own =
        dimension == Degree_Days || dimension == Inv_Temperature ? Temperature : dimension;
    *unit_code_field(own) = code;
}

struct Conversion
{
    std::int32_t dimension;
    std::int32_t code;
    float in;
    float out;
};

// The stored values are single precision, so a relative 1e-6 is the resolution of any result.
void expect_close(float actual, float expected, const Conversion &c, const char *operation)
{
    EXPECT_NEAR(actual, expected, 1e-6f * std::max(1.0f, std::fabs(expected)))
        << operation << " dimension " << c.dimension << " code " << c.code << " of " << c.in;
}

// Every case with its unit code set; none may report a missed switch.
void check_conversions(std::span<const Conversion> cases, float (*convert)(std::int32_t, float),
                       const char *operation)
{
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    for (const Conversion &c : cases) {
        set_code(c.dimension, c.code);
        expect_close(convert(c.dimension, c.in), c.out, c, operation);
    }
    EXPECT_TRUE(messages->texts().empty());
}

TEST(Units, ConvertToDisplayByEveryTableEntry)
{
    const Conversion cases[] = {
        {Depth, 0, 12.5f, 12.5f},
        {Depth, 1, 25.4f, 0.999998f},
        {Depth, 1, 100.0f, 3.937f},
        {Depth, 2, 100.0f, 10.0f},
        {Height, 0, 100.0f, 328.08f},
        {Height, 1, 1421.0f, 1421.0f},
        {Height, 2, 1500.0f, 1.5f},
        {Height, 3, 1609.27f, 1.0f},
        {Soil_Moisture, 0, 0.25f, 0.25f},
        {Soil_Moisture, 1, 0.3425f, 4.11f},
        {Soil_Moisture, 2, 0.25f, 0.25f},
        {Soil_Moisture, 3, 0.25f, 2.5f},
        {Radiation, 0, 238.92f, 10.0f},
        {Radiation, 1, 550.0f, 550.0f},
        {Radiation, 2, 550.0f, 550.0f},
        {Radiation, 3, 100.0f, 418.55f},
        {Radiation, 4, 100.0f, 368.54f},
        {Radiation, 5, 100.0f, 1163.0f},
        {Radiation, 6, 206.36f, 100.0f},
        {Pressure, 0, 1013.25f, 1.0f},
        {Pressure, 1, 863.08f, 863.08f},
        {Pressure, 2, 1000.0f, 100.0f},
        {Pressure, 3, 689.476f, 10.0f},
        {Temperature, 0, 21.5f, 21.5f},
        {Temperature, 1, 10.0f, 50.0f},
        {Temperature, 1, -40.0f, -40.0f},
        {Temperature, 1, 0.0f, 0.0f},
        {Degree_Days, 0, 100.0f, 100.0f},
        {Degree_Days, 1, 100.0f, 182.0f},
        {Degree_Days, 1, 0.0f, 0.0f},
        {Inv_Temperature, 0, 0.025f, 0.025f},
        {Inv_Temperature, 1, 0.025f, 0.0138889f},
        {Inv_Temperature, 1, 0.0f, 0.0f},
        {Wind_Speed, 0, 100.0f, 62.136f},
        {Wind_Speed, 1, 250.0f, 250.0f},
        {Wind_Speed, 2, 386.16f, 10.0f},
        {Wind_Speed, 3, 240.0f, 10.0f},
        {Wind_Speed, 4, 864.0f, 10.0f},
        {Latent_Heat, 0, 585.0f, 585.0f},
        {Latent_Heat, 1, 585.0f, 585.0f},
        {Latent_Heat, 2, 2389.2f, 10.0f},
        {Latent_Heat, 3, 100.0f, 179.955f},
        {Latent_Heat, 4, 8598.45f, 10.0f},
    };
    check_conversions(cases, &convert_to, "convert_to");
}

TEST(Units, ConvertFromDisplayByEveryTableEntry)
{
    const Conversion cases[] = {
        {Depth, 0, 12.5f, 12.5f},
        {Depth, 1, 1.0f, 25.4f},
        {Depth, 2, 10.0f, 100.0f},
        {Height, 0, 1.0f, 0.3048f},
        {Height, 1, 1421.0f, 1421.0f},
        {Height, 2, 1.5f, 1500.0f},
        {Height, 3, 1.0f, 1609.27f},
        {Soil_Moisture, 0, 0.25f, 0.25f},
        {Soil_Moisture, 1, 3.0f, 0.25f},
        {Soil_Moisture, 2, 0.25f, 0.25f},
        {Soil_Moisture, 3, 2.5f, 0.25f},
        {Radiation, 0, 10.0f, 238.92f},
        {Radiation, 1, 550.0f, 550.0f},
        {Radiation, 2, 550.0f, 550.0f},
        {Radiation, 3, 418.55f, 100.0f},
        {Radiation, 4, 368.54f, 100.0f},
        {Radiation, 5, 1163.0f, 100.0f},
        {Radiation, 6, 100.0f, 206.36f},
        {Pressure, 0, 1.0f, 1013.25f},
        {Pressure, 1, 863.08f, 863.08f},
        {Pressure, 2, 100.0f, 1000.0f},
        {Pressure, 3, 10.0f, 689.476f},
        {Temperature, 0, 21.5f, 21.5f},
        {Temperature, 1, 50.0f, 10.0f},
        {Temperature, 1, 212.0f, 100.0f},
        {Temperature, 1, 0.0f, 0.0f},
        {Temperature, 2, 283.15f, 10.0f},
        {Temperature, 3, 509.67f, 10.0f},
        {Degree_Days, 0, 100.0f, 0.0f},
        {Degree_Days, 1, 182.0f, 0.0f},
        {Inv_Temperature, 0, 0.025f, 0.025f},
        {Inv_Temperature, 1, 0.0138889f, 0.025f},
        {Inv_Temperature, 1, 0.0f, 0.0f},
        {Wind_Speed, 0, 1.0f, 1.60937f},
        {Wind_Speed, 1, 250.0f, 250.0f},
        {Wind_Speed, 2, 10.0f, 386.16f},
        {Wind_Speed, 3, 10.0f, 240.0f},
        {Wind_Speed, 4, 10.0f, 864.0f},
        {Latent_Heat, 0, 585.0f, 585.0f},
        {Latent_Heat, 1, 585.0f, 585.0f},
        {Latent_Heat, 2, 10.0f, 2389.2f},
        {Latent_Heat, 3, 179.955f, 100.0f},
        {Latent_Heat, 4, 10.0f, 8598.45f},
    };
    check_conversions(cases, &convert_from, "convert_from");
}

TEST(Units, EachDirectionUsesItsOwnSinglePrecisionConstant)
{
    test::ScopedSettings settings;
    settings->depth_unit = 1;
    EXPECT_EQ(convert_to(Depth, 25.4f), 25.4f * 0.03937f);
    EXPECT_NE(convert_to(Depth, 25.4f), 1.0f);
    EXPECT_EQ(convert_from(Depth, 1.0f), 25.4f);
    settings->temperature_unit = 1;
    EXPECT_EQ(convert_to(Degree_Days, 100.0f), 100.0f * 1.82f);
}

TEST(Units, ZeroPassesThroughTemperaturesBeforeTheCodeIsLookedAt)
{
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    settings->temperature_unit = 7;
    for (std::int32_t dimension : {Temperature, Degree_Days, Inv_Temperature}) {
        EXPECT_EQ(convert_to(dimension, 0.0f), 0.0f) << dimension;
        EXPECT_EQ(convert_from(dimension, 0.0f), 0.0f) << dimension;
    }
    EXPECT_TRUE(messages->texts().empty());
    // Other dimensions have no such rule: their missed switch is reported for 0 as well.
    settings->depth_unit = 7;
    EXPECT_EQ(convert_to(Depth, 0.0f), -9991.0f);
    EXPECT_EQ(messages->texts(), Texts{"ERROR-Missed Depth Switch in convert_to()"});
}

TEST(Units, CodesOutsideTheTablesReportTheirSwitchAndReturnTheMarker)
{
    struct Case
    {
        std::int32_t dimension;
        std::int32_t code;
        std::string word;
        float marker;
    };
    const Case cases[] = {
        {Depth, 3, "Depth", -9991},
        {Height, 7, "Height", -9992},
        {Soil_Moisture, -1, "Soil_Moisture", -9993},
        {Radiation, 7, "Radiation", -9994},
        {Pressure, 4, "Pressure", -9995},
        {Temperature, 4, "Temperature", -9996},
        {Inv_Temperature, 2, "Inv_Temperature", -9996},
        {Wind_Speed, 5, "Wind_Speed", -9997},
        {Latent_Heat, 5, "Latent_Heat", -9998},
    };
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    for (const Case &c : cases) {
        set_code(c.dimension, c.code);
        messages->clear();
        EXPECT_EQ(convert_to(c.dimension, 5.0f), c.marker) << c.word;
        EXPECT_EQ(convert_from(c.dimension, 5.0f), c.marker) << c.word;
        EXPECT_EQ(messages->texts(),
                  (Texts{"ERROR-Missed " + c.word + " Switch in convert_to()",
                         "ERROR-Missed " + c.word + " Switch in convert_from()"}));
    }
}

TEST(Units, TemperatureCodesWithoutADisplayConversion)
{
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    // Degree days are display-only: a bad code reports the Temperature switch on the way out and
    // nothing on the way in, which always yields 0.
    settings->temperature_unit = 9;
    EXPECT_EQ(convert_to(Degree_Days, 5.0f), -9996.0f);
    EXPECT_EQ(convert_from(Degree_Days, 5.0f), 0.0f);
    // Kelvin and Rankine convert from the display but not to it.
    settings->temperature_unit = 2;
    EXPECT_EQ(convert_to(Temperature, 5.0f), -9996.0f);
    EXPECT_EQ(sed_SetUnits(Temperature), "K");
    settings->temperature_unit = 3;
    EXPECT_EQ(sed_SetUnits(Temperature), "R");
    EXPECT_EQ(messages->texts(), (Texts{"ERROR-Missed Temperature Switch in convert_to()",
                                        "ERROR-Missed Temperature Switch in convert_to()"}));
}

TEST(Units, DimensionsOutsideTheTableFailEachInItsOwnWay)
{
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    for (std::int32_t dimension : {0, 11, -3}) {
        messages->clear();
        EXPECT_EQ(convert_to(dimension, 5.0f), -9995.0f);
        EXPECT_EQ(convert_from(dimension, 5.0f), 0.0f);
        EXPECT_EQ(sed_SetUnits(dimension), "");
        EXPECT_EQ(SetSystemUnits(dimension), "");
        EXPECT_EQ(messages->texts(), (Texts{"ERROR-Missed Dimension Switch in convert_to()",
                                            "ERROR-Missed Dimension Switch in sed_SetUnits()",
                                            "ERROR-Missed Dimension Switch in SetSystemUnits()"}));
        EXPECT_TRUE(unit_choices(dimension).empty());
        EXPECT_EQ(unit_code_field(dimension), nullptr);
    }
    messages->clear();
    EXPECT_EQ(sed_SetUnits(Degree_Days), "");
    EXPECT_EQ(SetSystemUnits(Degree_Days), "");
    EXPECT_EQ(messages->texts(), (Texts{"ERROR-Missed Dimension Switch in sed_SetUnits()",
                                        "ERROR-Missed Dimension Switch in SetSystemUnits()"}));
}

TEST(Units, LabelsOfEveryDisplayUnit)
{
    struct Case
    {
        std::int32_t dimension;
        std::string word; // of the missed-switch message
        Texts labels;     // by code
    };
    const Case cases[] = {
        {Depth, "Depth", {"mm", "in", "cm"}},
        {Height, "Height", {"ft", "m", "km", "mi"}},
        {Soil_Moisture, "Soil_Moisture", {"in/in", "in/ft", "mm/mm", "mm/cm"}},
        {Radiation,
         "Radiation",
         {"MJ/m2 day", "cal/cm2 day", "ly/day", "J/cm2 day", "BTU/ft2 day", "W hr/m2 day", "W/m2"}},
        {Pressure, "Pressure", {"atm", "mb", "kPa", "PSI"}},
        {Temperature, "Temperature", {"\u00B0C", "\u00B0F"}},
        {Inv_Temperature, "Temperature", {"\u00B0C", "\u00B0F"}},
        {Wind_Speed, "Wind_Speed", {"mi/day", "km/day", "mph", "km/hr", "m/s"}},
        {Latent_Heat, "Latent_Heat", {"cal/cm3", "cal/g", "MJ/kg", "BTU/lb", "KWhr/kg"}},
    };
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    for (const Case &c : cases) {
        for (std::size_t code = 0; code < c.labels.size(); ++code) {
            set_code(c.dimension, static_cast<std::int32_t>(code));
            EXPECT_EQ(sed_SetUnits(c.dimension), c.labels[code]) << c.dimension << " " << code;
        }
        set_code(c.dimension, static_cast<std::int32_t>(c.labels.size()) + 3);
        messages->clear();
        EXPECT_EQ(sed_SetUnits(c.dimension), "");
        EXPECT_EQ(messages->texts(), Texts{"ERROR-Missed " + c.word + " Switch in sed_SetUnits()"});
    }
}

TEST(Units, InternalUnitLabels)
{
    const std::pair<std::int32_t, std::string> cases[] = {
        {Depth, "mm"},
        {Height, "m"},
        {Soil_Moisture, "mm/mm"},
        {Radiation, "cal/cm2 day"},
        {Pressure, "mb"},
        {Temperature, "\u00B0C"},
        {Inv_Temperature, "\u00B0C"},
        {Wind_Speed, "km/day"},
        {Latent_Heat, "cal/cm3"},
    };
    test::ScopedSettings settings;
    settings->temperature_unit = 1;
    for (const auto &[dimension, label] : cases)
        EXPECT_EQ(SetSystemUnits(dimension), label) << dimension;
}

TEST(Units, ThePreferencesPageOffersTheseChoices)
{
    struct Case
    {
        std::int32_t dimension;
        Texts choices; // by code; empty where the page does not offer the unit
    };
    const Case cases[] = {
        {Depth, {"mm", "in", "cm"}},
        {Height, {"ft", "m", "km", "mi"}},
        {Soil_Moisture,
         {"in water / in soil", "in water / ft soil", "mm water / mm soil", "mm water / cm soil"}},
        {Radiation, {"MJ/m2 day", "cal/cm2 day", "ly/day", "J/cm2 day", "", "", ""}},
        {Pressure, {"atm", "mb", "kPa", ""}},
        {Temperature, {"Celsius", "Farenheight"}},
        {Wind_Speed, {"mi/day", "km/day", "mph", "km/hr", "m/s"}},
        {Latent_Heat, {"cal/cm3", "cal/g", "MJ/kg", "BTU/lb", "KWhr/kg"}},
    };
    for (const Case &c : cases) {
        const auto choices = unit_choices(c.dimension);
        ASSERT_EQ(choices.size(), c.choices.size()) << c.dimension;
        for (std::size_t i = 0; i < choices.size(); ++i) {
            EXPECT_EQ(choices[i].code, static_cast<std::int32_t>(i));
            EXPECT_EQ(choices[i].choice_text, c.choices[i]) << c.dimension << " " << i;
        }
    }
    EXPECT_TRUE(unit_choices(Degree_Days).empty());
    EXPECT_TRUE(unit_choices(Inv_Temperature).empty());
}

TEST(Units, ConversionsReadThePreferencesAtTheMomentOfTheCall)
{
    test::ScopedSettings settings;
    EXPECT_EQ(sed_SetUnits(Depth), "in");
    EXPECT_EQ(sed_SetUnits(Temperature), "\u00B0F");
    EXPECT_EQ(convert_to(Temperature, 10.0f), 50.0f);
    settings->temperature_unit = 0;
    EXPECT_EQ(convert_to(Temperature, 10.0f), 10.0f);
    EXPECT_EQ(sed_SetUnits(Inv_Temperature), "\u00B0C");
}

} // namespace
} // namespace tw
