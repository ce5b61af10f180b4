#pragma once

#include "location/location_doc.h"
#include "location/location_file.h"
#include "platform/dates.h"
#include "platform/files.h"

#include "app/ui/main_frame.h"
#include "app/ui/tillwise_app.h"
#include "platform/message_port.h"
#include "platform/settings_store.h"
#include "platform/work_dir.h"

#include <QApplication>
#include <QDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>

namespace tw::bench {

constexpr int kYearDays = 365;

/// A year of Greeley weather from 1 January 2022 with ETr computed, saved as Greeley2022.loc in
/// dir; its path.
inline std::filesystem::path year_of_weather(const std::filesystem::path &dir)
{
    CLocationDoc loc;
    loc.name = "Greeley";
    loc.start_date = StoredDate::from_day(serial_from_civil(2022, 1, 1));
    loc.latitude = 40.39f;
    loc.elevation = 1425.0f;
    loc.pressure = 859.9f;
    loc.days.assign(kYearDays, WeatherDay{});
    for (int i = 0; i < kYearDays; ++i) {
        const double season = std::sin(6.283185307 * (i - 110) / 365.0);
        WeatherDay &d = loc.day(i);
        d.has_data = 1;
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

/// The program shown offscreen for one benchmark: its main window at a desktop size, a scratch
/// folder for its files, and its messages kept quiet; all of it gone at the end.
class BenchProgram
{
public:
    explicit BenchProgram(const std::string &folder)
        : previous_(set_messages(&quiet_))
        , dir_(std::filesystem::path(QDir::tempPath().toStdString()) / folder)
        , previous_dir_(work_dir())
    {
        std::filesystem::create_directories(dir_);
        // The databases a field reads are made there too, not in the folder the bench runs from.
        set_work_dir(dir_);
        app_.emplace(store_);
        app_->init_instance({QStringLiteral("/Embedding")});
        frame().resize(1280, 900);
        frame().show();
    }
    ~BenchProgram()
    {
        app_.reset();
        set_messages(previous_);
        set_work_dir(previous_dir_);
        std::filesystem::remove_all(dir_);
    }
    BenchProgram(const BenchProgram &) = delete;
    BenchProgram &operator=(const BenchProgram &) = delete;

    CTillwiseApp &app() { return *app_; }
    CMainFrame &frame() { return *app_->main_frame(); }
    const std::filesystem::path &dir() const { return dir_; }

private:
    RecordingMessagePort quiet_;
    MessagePort *previous_;
    std::filesystem::path dir_;
    std::filesystem::path previous_dir_;
    MemorySettingsStore store_;
    std::optional<CTillwiseApp> app_;
};

/// The body of a widget benchmark's main: Qt offscreen, then the benchmarks. The application
/// lives on main's stack: a static one would be destroyed after Qt's own statics at exit and
/// crash there.
inline int run_offscreen(int argc, char **argv)
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

} // namespace tw::bench
