#include "field_fixtures.h"

#include "platform/dates.h"
#include "refdata/database.h"

namespace tw::test {
namespace {

GrowthStage stage(const char *name, std::int32_t flag, float depletion, float day, float gdd)
{
    return {name, flag, depletion, day, gdd};
}

} // namespace

CropRecord corn()
{
    CropRecord c;
    c.name = "CORN";
    c.hybrid = "MIDSEASON";
    c.max_harvests = 1;
    c.planting_depth = 50.0f;
    c.max_root_depth = 1200.0f;
    c.gdd_min_temp = 10.0f;
    c.gdd_max_temp = 30.0f;
    c.kc_before = {-2.7, 4.52, -1.1, 0.332};
    c.kc_after = {-9.3e-8, -2.1e-4, 4.71e-3, 1.04};
    c.yield_units = "BU/Acre";
    c.n_requirement = 0.9f;
    c.average_yield = 150;
    c.plant_population = 36;
    c.yield_b0 = -12.7f;
    c.efficiency = {50, 50, 100, 90, 90, 90};
    c.p_levels = {80, 50, 30};
    c.k_levels = {60, 40, 30};
    const GrowthStage stages[] = {
        stage("Planting", StagePlanting, 0.5f, 0, 0),
        stage("VE: Emergence", StageEmergence, 0.5f, 10, 39),
        stage("V1-6: Early Leaf", StageOrdinary, 0.5f, 25, 91),
        stage("V7-18: Later Leaf", StageOrdinary, 0.5f, 45, 381),
        stage("Vt: Tasseling", StageOrdinary, 0.5f, 65, 683),
        stage("R1: Silking", StageFullCover, 0.5f, 80, 760),
        stage("R2: Blister", StageOrdinary, 0.5f, 90, 846),
        stage("R3: Milk", StageOrdinary, 0.5f, 95, 964),
        stage("R4: Dough", StageOrdinary, 0.5f, 100, 1034),
        stage("R5: Dent", StageOrdinary, 0.5f, 105, 1152),
        stage("R6: Maturity", StageStopIrrigating, 0.5f, 120, 1371),
        stage("Harvest", StageHarvest, 0.5f, 122, 1426),
    };
    c.stage_count = 12;
    std::copy(std::begin(stages), std::end(stages), c.stages.begin());
    return c;
}

CropRecord short_crop()
{
    CropRecord c;
    db_InitCrop(c, 1);
    c.name = "SHORT";
    return c;
}

SoilRecord loam()
{
    return {3, "Loam", "Loam", 0.3425f, 0.1333f, 0.2092f};
}

std::unique_ptr<CLocationDoc> make_location(int days, int weather_days, Weather weather)
{
    auto location = std::make_unique<CLocationDoc>();
    location->name = "Greeley";
    location->start_date = StoredDate::from_day(serial_from_civil(2022, 5, 1));
    location->days.assign(static_cast<std::size_t>(days), WeatherDay{});
    for (int i = 0; i < weather_days && i < days; ++i) {
        WeatherDay &w = location->day(i);
        w.has_data = 1;
        w.t_min = weather.t_min;
        w.t_max = weather.t_max;
        w.rain = weather.rain;
        w.etr = w.etr_used = weather.etr;
    }
    return location;
}

std::unique_ptr<CFieldDoc> make_field(CLocationDoc &location, const CropRecord &crop, int offset,
                                      std::int32_t system)
{
    return new_field({true, &location}, [&](CFieldDoc &f) {
        f.name = "north";
        f.crop = crop;
        f.soil = loam();
        f.select_system(system);
        f.planting_date = StoredDate::from_day(location.start_date.day() + offset);
        return true;
    });
}

} // namespace tw::test
