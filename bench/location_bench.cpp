// Reference ET over a whole season, and the import of a long weather file.
#include "location/location_doc.h"
#include "location/weather_import.h"
#include "platform/dates.h"
#include "platform/text_format.h"
#include "refdata/custom_settings.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

using namespace tw;

constexpr int kSeasonDays = 365;
constexpr int kFileYears = 10;

// A Greeley-like station and a smooth season of weather (every value within the import ranges).
void describe_station(CLocationDoc &loc, std::int32_t method, int days)
{
    loc.start_date = StoredDate::from_day(serial_from_civil(2015, 1, 1));
    loc.days.assign(static_cast<std::size_t>(days), WeatherDay{});
    loc.et_method = method;
    loc.latitude = 40.39f;
    loc.elevation = 1425.0f;
    loc.pressure = 859.9f;
    loc.jh_ct = 0.025f;
    loc.jh_tx = -9.6f;
}

double seasonal(int doy, double mean, double amplitude)
{
    return mean + amplitude * std::sin(6.283185307 * (doy - 110) / 365.0);
}

void fill_days(CLocationDoc &loc)
{
    for (int i = 0; i < loc.day_count(); ++i) {
        WeatherDay &d = loc.day(i);
        const int doy = day_of_year(loc.date_of(i));
        d.has_data = 1;
        d.t_min = static_cast<float>(seasonal(doy, 3.0, 11.0));
        d.t_max = static_cast<float>(seasonal(doy, 19.0, 13.0));
        d.rh_min = 0.25f;
        d.rh_max = 0.85f;
        d.solar_radiation = static_cast<float>(seasonal(doy, 420.0, 250.0));
        d.wind_run = 120.0f + static_cast<float>(i % 50);
    }
}

void set_ns_per_day(benchmark::State &state, int days)
{
    state.counters["per_day"] = benchmark::Counter(
        days, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_RecomputeAll(benchmark::State &state)
{
    custom_settings() = CustomSettings{};
    CLocationDoc loc;
    describe_station(loc, static_cast<std::int32_t>(state.range(0)), kSeasonDays);
    fill_days(loc);
    for (auto _ : state) {
        loc.recompute_all();
        benchmark::DoNotOptimize(loc.day(kSeasonDays - 1).etr_used);
    }
    set_ns_per_day(state, kSeasonDays);
}
BENCHMARK(BM_RecomputeAll)
    ->ArgName("et_method")
    ->Arg(KimberlyPenman)
    ->Arg(StandardizedPenman)
    ->Arg(JensenHaise)
    ->Arg(Hargreaves);

// Ten years of USDA lines in metric display units. The season holds all ten years of days, so
// the reader parses every line: the first two calendar years are placed, the later years fall on
// days that already hold data.
std::string usda_file()
{
    std::string text = "USDA weather, ten years\n";
    for (int year = 0; year < kFileYears; ++year) {
        for (int doy = 1; doy <= 365; ++doy) {
            text += strprintf("999, %d, %.1f, %.1f, %d, %d, %.1f, %.1f, %.1f, %.2f\n", doy,
                              seasonal(doy, 19.0, 13.0), seasonal(doy, 3.0, 11.0), 85, 25,
                              seasonal(doy, 420.0, 250.0), 120.0 + doy % 50, doy % 9 ? 0.0 : 6.5,
                              seasonal(doy, 4.0, 3.5));
        }
    }
    return text;
}

void BM_ImportUsdaTenYears(benchmark::State &state)
{
    CustomSettings metric;
    metric.depth_unit = 0;
    metric.temperature_unit = 0;
    metric.wind_unit = 1;
    custom_settings() = metric;
    const std::string text = usda_file();
    const int lines = kFileYears * 365;
    for (auto _ : state) {
        CLocationDoc loc;
        describe_station(loc, KimberlyPenman, lines);
        benchmark::DoNotOptimize(import_weather_text(loc, WeatherFormat::Usda, text));
    }
    set_ns_per_day(state, lines);
}
BENCHMARK(BM_ImportUsdaTenYears);

} // namespace
