#include "field/forecast_rain.h"

#include "field/next_irrigation.h"
#include "field_fixtures.h"
#include "platform/dates.h"

namespace tw {
namespace {

using ForecastRain = test::FieldTest;

constexpr int kWeatherDays = 20;
constexpr test::Weather kHot{12.0f, 28.0f, 9.0f, 0.0f};

// A week of forecast like the actual days, with rain (mm) on the forecast days given.
ForecastDays forecast_with_rain(const std::vector<std::pair<int, float>> &rain)
{
    ForecastDays forecast{kWeatherDays, {}};
    forecast.days.assign(7, WeatherDay{1, kHot.t_min, kHot.t_max});
    for (WeatherDay &day : forecast.days)
        day.etr_used = kHot.etr;
    for (const auto &[day, mm] : rain)
        forecast.days[static_cast<std::size_t>(day)].rain = mm;
    return forecast;
}

// The irrigation date of the field's own run with that forecast.
std::optional<int> irrigation_with(CLocationDoc &location, CFieldDoc &field,
                                   const ForecastDays &forecast)
{
    location.forecast = forecast;
    field.season_run(0);
    return next_irrigation(field).date;
}

// The two dates are those of two ordinary runs, one with the forecast's rain and one with the
// same forecast dry; the rain named is the first that fell by the dry run's irrigation.
TEST_F(ForecastRain, RainThatPutsTheIrrigationOffIsNamedWithTheNewDate)
{
    auto location = test::make_location(100, kWeatherDays, kHot);
    auto field = test::make_field(*location, test::short_crop());
    const auto dry_date = irrigation_with(*location, *field, forecast_with_rain({}));
    ASSERT_TRUE(dry_date);
    EXPECT_FALSE(forecast_rain_delay(*field)); // no rain, nothing to say
    const int first_forecast = location->date_of(kWeatherDays);
    ASSERT_GT(*dry_date, first_forecast + 1);

    const auto wet_date = irrigation_with(*location, *field, forecast_with_rain({{1, 30.0f}}));
    ASSERT_TRUE(wet_date);
    ASSERT_GT(*wet_date, *dry_date);
    EXPECT_EQ(forecast_rain_delay(*field), (RainDelay{first_forecast + 1, *wet_date}));
    EXPECT_EQ(next_irrigation(*field).date, wet_date); // the field keeps its own run

    // Rain after the day the dry run irrigates did not put that irrigation off.
    const int after = *dry_date - first_forecast + 1;
    ASSERT_LT(after, 7);
    irrigation_with(*location, *field, forecast_with_rain({{after, 30.0f}}));
    EXPECT_FALSE(forecast_rain_delay(*field));
    // Without a forecast the field runs on the means: there is no forecast rain to speak of.
    irrigation_with(*location, *field, ForecastDays{});
    EXPECT_FALSE(forecast_rain_delay(*field));
}

TEST(RainDelayText, SaysTheRainsDayAndTheNewDate)
{
    EXPECT_EQ(rain_delay_text({serial_from_civil(2022, 7, 3), serial_from_civil(2022, 7, 9)}),
              "Rain expected on 07/03: next irrigation moves to 07/09");
}

} // namespace
} // namespace tw
