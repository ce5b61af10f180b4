// A preferences change with a year-long location open: every open document refreshed and the
// location window redrawn, as after OK on the preferences sheet.
#include "app/commands.h"
#include "location/ui/location_frame.h"
#include "location/ui/location_summary.h"
#include "location/ui/location_view.h"
#include "refdata/custom_settings.h"
#include "ui_bench_support.h"

#include <QHeaderView>

#include <benchmark/benchmark.h>

namespace {

using namespace tw;

void BM_PreferencesChangeRedrawsLocation(benchmark::State &state)
{
    bench::BenchProgram program("tillwise-ui-bench");
    CTillwiseApp &app = program.app();
    app.documents().open_document(bench::year_of_weather(program.dir()));
    auto *window = dynamic_cast<CLocationFrame *>(program.frame().active_frame());
    QCoreApplication::processEvents();
    for (auto _ : state) {
        CustomSettings &settings = custom_settings();
        settings.temperature_unit = 1 - settings.temperature_unit;
        settings.depth_unit = 1 - settings.depth_unit;
        app.refresh_after_preferences();
        window->view()->viewport()->repaint();
        window->view()->horizontalHeader()->viewport()->repaint();
        window->summary()->viewport()->repaint();
    }
}
BENCHMARK(BM_PreferencesChangeRedrawsLocation)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return tw::bench::run_offscreen(argc, argv);
}
