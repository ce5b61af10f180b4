// A day entered in an open field window: the daily-entry form's OK, the season run it starts,
// and the irrigation table, chart, next-irrigation panel and location summary redrawn. One frame
// (16 ms) is the budget.
#include "app/ui/main_frame.h"
#include "field/daily_entry_form.h"
#include "field/field_doc.h"
#include "field/ui/field_chart_view.h"
#include "field/ui/field_frame.h"
#include "field/ui/field_view.h"
#include "field/ui/next_irrigation_panel.h"
#include "location/location_file.h"
#include "location/ui/location_frame.h"
#include "location/ui/location_summary.h"
#include "refdata/database.h"
#include "ui_bench_support.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace tw;

/// A corn field on loam planted on 1 May, saved beside its location; its path.
std::filesystem::path corn_field(const std::filesystem::path &location_file)
{
    CLocationDoc location;
    load_location_file(location_file, location);
    auto field = new_field(location, [](CFieldDoc &f) {
        f.saved.name = "bench";
        f.saved.crop = load_crops().at(0);
        for (const SoilRecord &s : load_soils()) {
            if (s.name == "Loam")
                f.saved.soil = s;
        }
        f.saved.select_system(9);
        f.saved.planting_date = StoredDate::from_day(serial_from_civil(2022, 5, 1));
        return true;
    });
    const std::filesystem::path path = location_file.parent_path() / "bench22.fld";
    save_field_file(*field, path);
    return path;
}

CLocationFrame *location_window(CMainFrame &frame)
{
    for (QMdiSubWindow *window : frame.mdi_area()->subWindowList()) {
        if (auto *location = qobject_cast<CLocationFrame *>(window->widget()))
            return location;
    }
    return nullptr;
}

void BM_DayEnteredRedrawsTheFieldWindow(benchmark::State &state)
{
    bench::BenchProgram program("tillwise-ui-field-bench");
    CMainFrame &frame = program.frame();
    const auto location_file = bench::year_of_weather(program.dir());
    const auto field_file = corn_field(location_file);
    program.app().documents().open_document(location_file);
    program.app().documents().open_document(field_file);
    auto *window = dynamic_cast<CFieldFrame *>(frame.active_frame());
    CLocationFrame *location = location_window(frame);
    if (!window || !location) {
        state.SkipWithError("the field window did not open");
        return;
    }
    QCoreApplication::processEvents();
    CFieldDoc &field = window->document();
    // A day in midseason, with the crop well grown: the run goes on from it to the forecast.
    const int d = 60;
    float amount = 1.0f;
    for (auto _ : state) {
        auto form = DailyEntryForm::open(field, d);
        form->irrigation = amount;
        amount = amount == 1.0f ? 1.5f : 1.0f;
        form->accept();
        window->view()->viewport()->repaint();
        window->chart_view()->viewport()->repaint();
        window->next_irrigation_panel()->repaint();
        location->summary()->viewport()->repaint();
    }
    field.set_modified(false);
}
BENCHMARK(BM_DayEnteredRedrawsTheFieldWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return tw::bench::run_offscreen(argc, argv);
}
