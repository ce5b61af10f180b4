// The season run of one field and the location summary of fifteen, on a synthetic year of
// weather.
#include "field/field_doc.h"
#include "field/field_summary.h"
#include "field/growth_stages.h"
#include "field/water_balance.h"
#include "location/location_doc.h"
#include "platform/dates.h"
#include "platform/message_port.h"
#include "platform/work_dir.h"
#include "refdata/custom_settings.h"
#include "refdata/database.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>

namespace tw {
namespace {

constexpr int kSeasonDays = 365;
constexpr int kSummaryFields = 15;

class SilentPort : public MessagePort
{
public:
    void inform(std::string_view, std::string_view, MessageIcon) override {}
    bool ask_yes_no(std::string_view, std::string_view) override { return true; }
    std::size_t choose(std::string_view, const std::vector<std::string> &,
                       std::string_view) override
    {
        return 0;
    }
    void beep() override {}
};

/// A scratch working directory (no nutrient files) with the default crop and soil databases.
struct Setup
{
    SilentPort port;
    CropRecord corn;
    SoilRecord loam;
    std::unique_ptr<CLocationDoc> location;

    Setup()
    {
        set_messages(&port);
        const auto dir = std::filesystem::temp_directory_path() / "tillwise-field-bench";
        std::filesystem::create_directories(dir);
        set_work_dir(dir);
        corn = load_crops().at(0);
        for (const SoilRecord &s : load_soils()) {
            if (s.name == "Loam")
                loam = s;
        }
        location = std::make_unique<CLocationDoc>();
        location->start_date = StoredDate::from_day(serial_from_civil(2022, 4, 1));
        location->days.assign(kSeasonDays, WeatherDay{});
        for (int i = 0; i < kSeasonDays; ++i) {
            WeatherDay &w = location->day(i);
            const float season = std::sin(6.2832f * static_cast<float>(i - 20) / kSeasonDays);
            w.has_data = 1;
            w.t_max = 20.0f + 12.0f * season;
            w.t_min = w.t_max - 14.0f;
            w.etr = w.etr_used = 4.0f + 4.0f * season;
            w.rain = i % 9 == 4 ? 12.0f : 0.0f;
        }
    }

    std::unique_ptr<CFieldDoc> field()
    {
        return new_field(*location, [&](CFieldDoc &f) {
            f.saved.name = "bench";
            f.saved.crop = corn;
            f.saved.soil = loam;
            f.saved.select_system(9);
            return true;
        });
    }
};

Setup &setup()
{
    static Setup s;
    return s;
}

// Arguments: crop-growth basis, root-depth model, nitrogen on (1) or off (0).
void BM_SeasonRun(benchmark::State &state)
{
    CustomSettings &settings = custom_settings();
    settings.crop_growth_basis = static_cast<std::int32_t>(state.range(0));
    settings.root_depth_model = static_cast<std::int32_t>(state.range(1));
    auto field = setup().field();
    field->seasonal_nitrogen = state.range(2) ? 150.0f : 0.0f;
    field->saved.nitrogen.soil_nitrogen = 60.0f;
    for (auto _ : state)
        benchmark::DoNotOptimize(field->season_run(0));
    state.counters["field_day"] = benchmark::Counter(static_cast<double>(field->day_count()),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_SeasonRun)
    ->ArgNames({"basis", "roots", "nitrogen"})
    ->ArgsProduct({{SeasonDays, GrowingDegreeDays}, {LinearRoots, NonLinearRoots}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// The location summary's lines of fifteen computed fields.
void BM_SummaryRows(benchmark::State &state)
{
    custom_settings() = CustomSettings{};
    std::vector<std::unique_ptr<CFieldDoc>> fields;
    for (int i = 0; i < kSummaryFields; ++i)
        fields.push_back(setup().field());
    for (auto _ : state)
        benchmark::DoNotOptimize(location_summary_rows(*setup().location));
}
BENCHMARK(BM_SummaryRows)->Unit(benchmark::kMicrosecond);

// What `summary L.loc F1 .. F15` does after reading the files: open (decode and run) fifteen
// fields and list them.
void BM_SummaryOfFifteenOpenedFields(benchmark::State &state)
{
    custom_settings() = CustomSettings{};
    const std::vector<std::uint8_t> bytes = setup().field()->serialize();
    for (auto _ : state) {
        std::vector<std::unique_ptr<CFieldDoc>> fields;
        for (int i = 0; i < kSummaryFields; ++i)
            fields.push_back(open_field(*setup().location, bytes, "bench.fld"));
        benchmark::DoNotOptimize(location_summary_rows(*setup().location));
    }
    state.counters["field_day"] = benchmark::Counter(
        static_cast<double>(kSummaryFields * kSeasonDays),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SummaryOfFifteenOpenedFields)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tw
