#include "refdata/preferences_form.h"

#include "refdata/units.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(PreferencesForm, CarriesTheTwelveSwitchesAndLeavesTheCoefficients)
{
    CustomSettings settings;
    settings.temperature_unit = 0;
    settings.cloud_cover_input = 1;
    PreferencesForm form = PreferencesForm::from(settings);
    EXPECT_EQ(form.temperature_unit, 0);
    EXPECT_EQ(form.cloud_cover_input, 1);
    EXPECT_EQ(form.depth_unit, 1);

    form.depth_unit = 0;
    form.latent_heat_unit = 4;
    form.crop_growth_basis = 1;
    CustomSettings target;
    target.albedo = 0.5f;
    form.apply_to(target);
    EXPECT_EQ(target.depth_unit, 0);
    EXPECT_EQ(target.latent_heat_unit, 4);
    EXPECT_EQ(target.crop_growth_basis, 1);
    EXPECT_EQ(target.temperature_unit, 0);
    EXPECT_FLOAT_EQ(target.albedo, 0.5f);
    EXPECT_EQ(PreferencesForm::from(target), form);
}

TEST(PreferencesForm, UnitListsOfferOnlyTheUnitsThePageShows)
{
    EXPECT_EQ(unit_list_texts(Radiation).size(), 4u);
    EXPECT_EQ(unit_list_texts(Pressure).size(), 3u);
    EXPECT_EQ(unit_list_texts(Temperature),
              (std::vector<std::string_view>{"Celsius", "Farenheight"}));
    EXPECT_EQ(unit_list_texts(Soil_Moisture).front(), "in water / in soil");
}

TEST(PreferencesForm, CodeTheListCannotShowIsKeptWhenNothingIsChosen)
{
    struct Case
    {
        int stored;
        int count;
        int shown;
        int chosen;
        int saved;
    };
    const Case cases[] = {
        {2, 4, 2, 2, 2},   // offered, left alone
        {2, 4, 2, 0, 0},   // offered, changed
        {5, 4, -1, -1, 5}, // Radiation 5: nothing shown, nothing chosen, stays 5
        {3, 3, -1, 1, 1},  // Pressure 3: the user picks kPa
        {-1, 3, -1, -1, -1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(selection_for(c.stored, c.count), c.shown) << c.stored;
        EXPECT_EQ(code_for(c.chosen, c.stored), c.saved) << c.stored;
    }
}

} // namespace
} // namespace tw
