// A preferences change with a year-long location open: every open document refreshed and the
// location window redrawn, as after OK on the preferences sheet.
#include "app/commands.h"
#include "app/ui/main_frame.h"
#include "app/ui/tillwise_app.h"
#include "location/location_doc.h"
#include "location/location_file.h"
#include "location/ui/location_frame.h"
#include "location/ui/location_summary.h"
#include "location/ui/location_view.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/settings_store.h"
#include "refdata/custom_settings.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

namespace {

using namespace tw;

constexpr int kDays = 365;

std::filesystem::path year_of_weather(const std::filesystem::path &dir)
{
    CLocationDoc loc;
    loc.name = "Greeley";
    loc.start_date = StoredDate::from_day(serial_from_civil(2022, 1, 1));
    loc.latitude = 40.39f;
    loc.elevation = 1425.0f;
    loc.pressure = 859.9f;
    loc.days.assign(kDays, WeatherDay{});
    for (int i = 0; i < kDays; ++i) {
        const double season = std::sin(6.283185307 * (i - 110) / 365.0);
        WeatherDay &d = loc.day(i);
        d.t_min = static_cast<float>(2.0 + 10.0 * season);
        d.t_max = static_cast<float>(17.0 + 13.0 * season);
        d.rh_min = 0.25f;
        d.rh_max = 0.85f;
        d.solar_radiation = static_cast<float>(450.0 + 200.0 * season);
        d.wind_run = 180.0f;
        d.rain = i % 9 == 0 ? 6.0f : 0.0f;
    }
    loc.recompute_all();
    const std::filesystem::path path = dir / "Greeley2022.loc";
    write_file_atomic(path, encode_location(loc));
    return path;
}

void BM_PreferencesChangeRedrawsLocation(benchmark::State &state)
{
    RecordingMessagePort quiet;
    MessagePort *previous = set_messages(&quiet);
    const std::filesystem::path dir =
        std::filesystem::path(QDir::tempPath().toStdString()) / "tillwise-ui-bench";
    std::filesystem::create_directories(dir);
    MemorySettingsStore store;
    {
        CTillwiseApp app(store);
        app.init_instance({QStringLiteral("/Embedding")});
        CMainFrame &frame = *app.main_frame();
        frame.resize(1280, 900);
        frame.show();
        app.documents().open_document(year_of_weather(dir));
        auto *window = dynamic_cast<CLocationFrame *>(frame.active_frame());
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
    set_messages(previous);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PreferencesChangeRedrawsLocation)->Unit(benchmark::kMillisecond);

} // namespace

// The application lives on main's stack: a static one would be destroyed after Qt's own statics
// at exit and crash there.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
