// A location's weather fetched from a station network's server (here one on the loopback address,
// run by the test), and a forecast taken into the field's season.
#include "cli/cli.h"

#include "platform/csv.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "support/cli_run.h"
#include "support/loopback_http_server.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

namespace tw::cli {
namespace {

using test::CliRun;
using test::contains;
using test::lines;
using test::LoopbackHttpServer;

constexpr const char *kMap = "date=Date,t_max=Tmax[C],t_min=Tmin[C],rh_max=RHmax[fraction],"
                             "rh_min=RHmin[fraction],solar=Rs[MJ/m2],wind=Wind[km/day],"
                             "rain=Precip[mm]";

// The demo's Greeley 2022 weather (a research farm's station, JVU lines) as a station network's
// CSV for the dates from..to, in the columns of kMap; `rain` false leaves the rain column out.
std::string station_csv(int from, int to, bool rain = true)
{
    std::ifstream in(std::filesystem::path(TILLWISE_SOURCE_DIR) / "data/demo/greeley-2022.txt");
    std::string csv = rain ? "Date,Tmax,Tmin,RHmax,RHmin,Rs,Wind,Precip\n"
                           : "Date,Tmax,Tmin,RHmax,RHmin,Rs,Wind\n";
    for (std::string line; std::getline(in, line);) {
        const auto f = split_csv_line(line).value();
        const auto date = parse_iso_date(f[1]);
        if (!date || *date < from || *date > to)
            continue;
        csv += f[1] + "," + f[3] + "," + f[5] + "," + f[8] + "," + f[10] + "," + f[12] + "," +
               f[13] + (rain ? "," + f[14] : "") + "\n";
    }
    return csv;
}

int date(int month, int day)
{
    return serial_from_civil(2022, month, day);
}

// The query's from and to, as the source's address template puts them.
std::pair<int, int> asked_dates(const std::string &target)
{
    const auto at = [&](const std::string &key) {
        const std::size_t p = target.find(key + "=");
        return parse_iso_date(target.substr(p + key.size() + 1, 10)).value_or(0);
    };
    return {at("from"), at("to")};
}

struct UpdateCli : test::DemoFolderCli
{
    std::string bytes_of(const std::string &file) { return test::read_text(file); }

    CliRun create_and_source(const LoopbackHttpServer &server)
    {
        if (!file_exists(dir.file("soil.db"))) {
            EXPECT_EQ(run({"db", "init"}).status, kExitOk);
            EXPECT_EQ(run({"prefs", "set", "depth_unit=0"}).status, kExitOk);
        }
        EXPECT_EQ(run({"location", "new", loc, "--name", "Greeley", "--start", "2022-05-01",
                       "--station", "Greeley"})
                      .status,
                  kExitOk);
        return run({"location", "source", loc, "--url",
                    server.url("/daily?station={station}&from={from}&to={to}"), "--station",
                    "LIRF1", "--map", kMap});
    }
};

LoopbackHttpServer station_server()
{
    return LoopbackHttpServer([](const std::string &target) -> std::optional<std::string> {
        const auto [from, to] = asked_dates(target);
        return LoopbackHttpServer::ok(station_csv(from, to));
    });
}

TEST_F(UpdateCli, TheMissingDaysArriveAndASecondUpdateChangesNothing)
{
    const LoopbackHttpServer server = station_server();
    const CliRun source = create_and_source(server);
    ASSERT_EQ(source.status, kExitOk) << source.err;
    EXPECT_TRUE(lines(run({"location", "source", loc}).out)[2] == std::string("map=") + kMap);

    const CliRun first = run({"location", "update", loc, "--through", "2022-05-10"});
    ASSERT_EQ(first.status, kExitOk) << first.err;
    EXPECT_EQ(first.out, "Updated " + loc + ": 10 days from 2022-05-01 to 2022-05-10.\n");
    EXPECT_EQ(server.targets(),
              std::vector<std::string>{"/daily?station=LIRF1&from=2022-05-01&to=2022-05-10"});
    const auto shown = lines(run({"location", "export", loc}).out);
    // 2022-05-10 as the station gave it: 5.25 and 22.84 °C.
    EXPECT_TRUE(shown[10].starts_with("9,2022-05-10,1,5.25,22.84")) << shown[10];
    EXPECT_TRUE(shown[11].starts_with("10,2022-05-11,0,0,")) << shown[11];

    const std::string after_first = bytes_of(loc);
    const CliRun second = run({"location", "update", loc, "--through", "2022-05-10"});
    ASSERT_EQ(second.status, kExitOk) << second.err;
    EXPECT_EQ(second.out, "Nothing new through 2022-05-10; " + loc + " is unchanged.\n");
    EXPECT_EQ(bytes_of(loc), after_first);
    EXPECT_EQ(server.targets().size(), 1u);

    const CliRun third = run({"location", "update", loc, "--through", "2022-05-14"});
    ASSERT_EQ(third.status, kExitOk) << third.err;
    EXPECT_EQ(server.targets().back(), "/daily?station=LIRF1&from=2022-05-11&to=2022-05-14");
    EXPECT_TRUE(contains(third.out, ": 4 days from 2022-05-11 to 2022-05-14."));
}

// Offline, a missing page, a body that is not the station's CSV, an answer cut half-way: each is
// one line naming its reason, a failure status, and the file byte for byte as it was.
TEST_F(UpdateCli, EveryFailureIsOneLineAndLeavesTheFileAsItWas)
{
    const struct
    {
        const char *what;
        LoopbackHttpServer::Handler handler;
        std::string reason;
    } cases[] = {
        {"missing",
         [](const std::string &) { return LoopbackHttpServer::status(404, "Not Found"); },
         "HTTP status 404"},
        {"malformed",
         [](const std::string &) { return LoopbackHttpServer::ok("<html>Moved</html>\n"); },
         "no column \"Date\""},
        {"cut",
         [](const std::string &) {
             return LoopbackHttpServer::cut_halfway(station_csv(date(5, 1), date(5, 20)));
         },
         "stopped before its end"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const LoopbackHttpServer server(c.handler);
        std::filesystem::remove(loc);
        ASSERT_EQ(create_and_source(server).status, kExitOk);
        const std::string before = bytes_of(loc);
        const CliRun r = run({"location", "update", loc, "--through", "2022-05-20"});
        EXPECT_EQ(r.status, kExitFailure);
        EXPECT_EQ(r.out, "");
        ASSERT_EQ(lines(r.err).size(), 1u) << r.err;
        EXPECT_TRUE(contains(r.err, c.reason)) << r.err;
        EXPECT_EQ(bytes_of(loc), before);
    }

    // No server listening at all.
    int port = 0;
    {
        const LoopbackHttpServer gone([](const std::string &) { return std::nullopt; });
        port = gone.port();
        std::filesystem::remove(loc);
        ASSERT_EQ(create_and_source(gone).status, kExitOk);
    }
    const std::string before = bytes_of(loc);
    const CliRun offline = run({"location", "update", loc});
    EXPECT_EQ(offline.status, kExitFailure);
    ASSERT_EQ(lines(offline.err).size(), 1u) << offline.err;
    EXPECT_TRUE(contains(offline.err, "no connection to the server")) << offline.err;
    EXPECT_TRUE(contains(offline.err, "127.0.0.1:" + std::to_string(port))) << offline.err;
    EXPECT_EQ(bytes_of(loc), before);
}

TEST_F(UpdateCli, SourceOptionsAreCheckedBeforeAnythingIsSaved)
{
    const LoopbackHttpServer server = station_server();
    ASSERT_EQ(create_and_source(server).status, kExitOk);
    const std::string before = bytes_of(loc);
    const struct
    {
        std::vector<std::string> options;
        std::string message;
    } cases[] = {
        {{"--url", "https://x.example/{station}", "--map", kMap},
         "The address has {station} but no station is given."},
        {{"--url", "https://x.example/", "--map", kMap, "--preset", "P"},
         "The weather source needs a preset or a map (one of them)."},
        {{"--station", "X"}, "location source needs --url with the other options."},
    };
    for (const auto &c : cases) {
        std::vector<std::string> args = {"location", "source", loc};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun r = run(args);
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_EQ(r.err, c.message + "\n");
    }
    EXPECT_EQ(bytes_of(loc), before);

    // A preset must be one of the working folder's, and is kept by name.
    const std::string url = server.url("/d?from={from}&to={to}");
    const CliRun unknown = run({"location", "source", loc, "--url", url, "--preset", "greeley"});
    EXPECT_EQ(unknown.status, kExitUsage);
    EXPECT_EQ(unknown.err, "No preset is named \"greeley\" in csvmaps.txt.\n");
    EXPECT_EQ(bytes_of(loc), before);
    EXPECT_TRUE(server.targets().empty());
}

// The station's file lacks the preset's ETr column: like an import through the preset, the update
// takes the columns the file has, and says what the import met.
TEST_F(UpdateCli, AnUpdateReadsThroughANamedPreset)
{
    const LoopbackHttpServer server = station_server();
    ASSERT_EQ(create_and_source(server).status, kExitOk);
    ASSERT_EQ(run({"location", "source", loc, "--url", server.url("/d?from={from}&to={to}"),
                   "--preset", "coagmet"})
                  .status,
              kExitOk); // a shipped preset: the working folder's file is made with it
    {
        std::ofstream presets(dir.file("csvmaps.txt"), std::ios::app);
        presets << "Greeley: " << kMap << ",etr=ETr[mm]\n";
    }
    ASSERT_EQ(run({"location", "source", loc, "--url", server.url("/d?from={from}&to={to}"),
                   "--preset", "greeley"})
                  .status,
              kExitOk);
    EXPECT_EQ(lines(run({"location", "source", loc}).out)[2], "preset=greeley");
    const CliRun update = run({"location", "update", loc, "--through", "2022-05-03"});
    ASSERT_EQ(update.status, kExitOk) << update.err;
    EXPECT_EQ(update.out, "Updated " + loc + ": 3 days from 2022-05-01 to 2022-05-03.\n");
    const auto shown = lines(run({"location", "export", loc}).out);
    EXPECT_TRUE(shown[3].starts_with("2,2022-05-03,1,")) << shown[3];
}

// Each field day of `field export` by date: kind, crop ET and deficit.
struct ExportedDay
{
    int kind;
    double crop_et;
    double deficit;
};

std::map<int, ExportedDay> exported_days(const std::string &out)
{
    std::map<int, ExportedDay> days;
    const auto rows = lines(out);
    for (std::size_t i = 1; i < rows.size() && !rows[i].starts_with("#"); ++i) {
        const auto c = split_csv_line(rows[i]).value();
        days[*parse_iso_date(c[1])] = {std::atoi(c[2].c_str()), std::strtod(c[6].c_str(), nullptr),
                                       std::strtod(c[12].c_str(), nullptr)};
    }
    return days;
}

// The demo's field on 15 July with a forecast that is the weather that came: the forecast days
// run on it exactly as they run once it arrives as actual weather, and not on the week's means.
TEST_F(UpdateCli, AForecastOfTheWeatherThatCameIsWhatTheSeasonRunsOn)
{
    ASSERT_EQ(run({"demo"}).status, kExitOk);
    const auto means = exported_days(run({"field", "export", fld, "--location", loc}).out);
    const std::string before = bytes_of(loc);

    // The actual weather of 16-22 July in a copy of the location.
    const std::string actual = dir.file("actual.loc").string();
    std::filesystem::copy_file(loc, actual);
    const std::string days_file = dir.file("later.csv").string();
    ASSERT_TRUE(write_file_atomic(days_file, [&] {
        const std::string text = station_csv(date(7, 16), date(7, 22), false);
        return std::vector<std::uint8_t>(text.begin(), text.end());
    }()));
    const std::string map_without_rain =
        "date=Date,t_max=Tmax[C],t_min=Tmin[C],rh_max=RHmax[fraction],rh_min=RHmin[fraction],"
        "solar=Rs[MJ/m2],wind=Wind[km/day]";
    ASSERT_EQ(
        run({"location", "import", actual, "--format", "csv", "--map", map_without_rain, days_file})
            .status,
        kExitOk);
    const auto came = exported_days(run({"field", "export", fld, "--location", actual}).out);

    // The same days as a forecast (a grower who does not trust forecast rain maps none).
    const CliRun stored = run({"location", "import", loc, "--forecast", "--format", "csv", "--map",
                               map_without_rain, days_file});
    ASSERT_EQ(stored.status, kExitOk) << stored.err;
    EXPECT_EQ(stored.out, "Stored 7 days of forecast in " + loc + ".\n");
    const auto forecast = exported_days(run({"field", "export", fld, "--location", loc}).out);

    int compared = 0;
    for (int d = date(7, 16); forecast.contains(d) && forecast.at(d).kind == 4; ++d, ++compared) {
        SCOPED_TRACE(iso_date(d));
        EXPECT_EQ(means.at(d).kind, 4);
        EXPECT_EQ(came.at(d).kind, 1);
        EXPECT_NEAR(forecast.at(d).crop_et, came.at(d).crop_et, 1e-5);
        EXPECT_NEAR(forecast.at(d).deficit, came.at(d).deficit, 1e-4);
        EXPECT_GT(std::abs(forecast.at(d).crop_et - means.at(d).crop_et), 0.05);
    }
    EXPECT_GE(compared, 2);
    // The days before the forecast are untouched by it.
    EXPECT_EQ(forecast.at(date(7, 15)).crop_et, means.at(date(7, 15)).crop_et);
    EXPECT_NE(bytes_of(loc), before);
}

} // namespace
} // namespace tw::cli
