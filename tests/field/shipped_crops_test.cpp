// Every crop of the complete crop database through a season of the demo weather, irrigated as
// the program advises, as a grower would run it.
#include "field/daily_entry_form.h"
#include "field/field_details_form.h"
#include "field/field_doc.h"
#include "field/irrigation_systems.h"
#include "field_fixtures.h"
#include "location/location_doc.h"
#include "location/weather_import.h"
#include "platform/dates.h"
#include "refdata/complete_crops.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tw {
namespace {

// Greeley, 2022, from 1 January so that every planting date of the list falls in it.
std::unique_ptr<CLocationDoc> demo_location()
{
    auto location = std::make_unique<CLocationDoc>();
    location->start_date = StoredDate::from_day(serial_from_civil(2022, 1, 1));
    location->days.assign(365, WeatherDay{});
    location->elevation = 1418.0f;
    location->latitude = 40.4f;
    location->pressure = 863.4f;
    location->reference_type = 2;
    const auto weather = std::filesystem::path(TILLWISE_SOURCE_DIR) / "data/demo/greeley-2022.txt";
    EXPECT_EQ(import_weather(*location, WeatherFormat::JvuNew, weather), 333);
    return location;
}

std::unique_ptr<CFieldDoc> planted(CLocationDoc &location, const std::vector<CropRecord> &crops,
                                   std::size_t entry, int planting)
{
    return new_field(location, [&](CFieldDoc &f) {
        FieldDetailsForm form(f, crops, {test::loam()});
        form.choose_crop(entry);
        form.choose_soil(0);
        form.choose_system(*irrigation_system_index("Sprinker:HP Center Pivot"));
        form.values.name = "north";
        // An established perennial: the date is the spring green-up.
        form.values.perennial = false;
        form.values.planting_date = planting;
        return form.accept();
    });
}

struct SeasonSums
{
    double crop_et = 0.0;
    double etr = 0.0;
};

// From planting to the last harvest.
SeasonSums season_sums(const CFieldDoc &field, const CLocationDoc &location)
{
    SeasonSums sums;
    for (int d = 1; d <= field.season.last_actual_day; ++d) {
        const FieldDay &day = field.season.days[static_cast<std::size_t>(d)];
        if (day.stage < 0)
            break;
        sums.crop_et += day.crop_et;
        sums.etr += location.day(field.date_of(d) - location.start_date.day()).etr_used;
    }
    return sums;
}

using ShippedCropsSeason = test::FieldTest;

TEST_F(ShippedCropsSeason, EveryCropUsesAPlausibleShareOfReferenceEt)
{
    const auto location = demo_location();
    const std::vector<ShippedCrop> shipped = shipped_crops();
    const std::vector<CropRecord> records = complete_crops();
    ASSERT_EQ(shipped.size(), 13u);
    for (std::size_t i = 0; i < shipped.size(); ++i) {
        const ShippedCrop &crop = shipped[i];
        SCOPED_TRACE(crop.record.name);
        const int planting = serial_from_civil(2022, crop.planting_month, crop.planting_day);
        const auto field = planted(*location, records, i, planting);
        ASSERT_TRUE(field);
        EXPECT_FALSE(irrigate_as_advised(*field).empty());
        const SeasonSums sums = season_sums(*field, *location);
        const double ratio = sums.crop_et / sums.etr;
        RecordProperty(crop.record.name, std::to_string(ratio));
        // Annual crops spend part of the season on bare or partly covered soil; a cut perennial
        // regrows to full cover several times.
        const bool perennial = crop.record.max_harvests > 1;
        const std::int32_t n = crop.record.stage_count;
        // The field repeats the last cutting cycle the crop stores for the cuttings left.
        const auto stored = static_cast<std::int32_t>(
            std::count_if(crop.record.stages.begin(), crop.record.stages.begin() + n,
                          [](const GrowthStage &g) { return g.flag == StageHarvest; }));
        EXPECT_EQ(field->saved.crop.stage_count,
                  n + (crop.record.max_harvests - stored) * ((n - 1) / stored) -
                      (perennial ? 1 : 0));
        if (crop.record.name == "COTTON") {
            // Fully irrigated upland cotton on the Texas High Plains uses 500 to 750 mm a season
            // (data/crops/README.md).
            RecordProperty("COTTON_ETc_mm", std::to_string(sums.crop_et));
            EXPECT_GT(sums.crop_et, 500.0);
            EXPECT_LT(sums.crop_et, 750.0);
        }
        EXPECT_GE(ratio, perennial ? 0.6 : 0.4);
        EXPECT_LE(ratio, 1.0);
        // The season reaches its harvest within the demo weather.
        const float harvest =
            field->saved.crop.stages[static_cast<std::size_t>(field->saved.crop.stage_count - 1)]
                .end_day;
        EXPECT_LT(harvest, static_cast<float>(field->season.last_actual_day));
    }
}

// The stage ends in degree days are what the demo season accumulates by the stage ends in days
// from the planting date each crop gives (CORN keeps its own, older figures).
TEST_F(ShippedCropsSeason, DegreeDayStageEndsMatchTheDemoSeason)
{
    const auto location = demo_location();
    const std::vector<CropRecord> records = complete_crops();
    const std::vector<ShippedCrop> shipped = shipped_crops();
    for (std::size_t i = 0; i < shipped.size(); ++i) {
        const CropRecord &crop = shipped[i].record;
        if (crop.name == "CORN")
            continue;
        SCOPED_TRACE(crop.name);
        const int planting =
            serial_from_civil(2022, shipped[i].planting_month, shipped[i].planting_day);
        const auto field = planted(*location, records, i, planting);
        ASSERT_TRUE(field);
        for (std::int32_t s = 1; s < crop.stage_count; ++s) {
            const GrowthStage &stage = crop.stages[static_cast<std::size_t>(s)];
            const auto d = static_cast<std::size_t>(stage.end_day);
            EXPECT_NEAR(field->season.days[d].cum_gdd, stage.end_gdd, 0.6) << stage.name;
        }
    }
}

} // namespace
} // namespace tw
