#include "location/weather_update.h"

#include "location/csv_presets.h"
#include "location/location_doc.h"
#include "location/location_file.h"
#include "platform/dates.h"
#include "platform/http_port.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <deque>

namespace tw {
namespace {

// Answers each request with the next scripted result and keeps the addresses asked for.
class ScriptedHttp : public HttpPort
{
public:
    std::deque<HttpResult> answers;
    std::vector<std::string> asked;

    HttpResult get(const std::string &url) override
    {
        asked.push_back(url);
        if (answers.empty())
            return {std::nullopt, "nothing scripted"};
        HttpResult next = answers.front();
        answers.pop_front();
        return next;
    }
};

HttpResult body(std::string text)
{
    return {std::move(text), {}};
}

int date(int month, int day)
{
    return serial_from_civil(2022, month, day);
}

struct Update : ::testing::Test
{
    test::ScopedWorkDir dir; // the presets' file
    test::ScopedSettings settings;
    test::ScopedMessages messages;
    CLocationDoc loc;
    ScriptedHttp http;

    void SetUp() override
    {
        loc.start_date = StoredDate::from_day(date(7, 1));
        loc.days.assign(30, WeatherDay{});
        loc.latitude = 40.45f;
        loc.elevation = 1427.0f;
        loc.pressure = 859.9f;
        for (int i = 0; i < 3; ++i) // 07-01 .. 07-03 hold weather
            loc.day(i) = {1, 14.0f, 33.0f, 0.15f, 0.9f, 640.0f, 0, 150.0f, 0.0f, 7.0f, 0.0f, 7.0f};
        loc.source = {"http://127.0.0.1:9/d?s={station}&from={from}&to={to}", "GLY 04", "",
                      "date=Date,t_max=Tmax[C],t_min=Tmin[C],solar=Rs[MJ/m2],rain=P[mm]", ""};
    }
};

TEST_F(Update, AsksForTheDaysAfterTheLastDayWithDataAndTakesThem)
{
    http.answers = {body("Date,Tmax,Tmin,Rs,P\n2022-07-04,31,15,25,0\n2022-07-05,29,14,24,3.5\n")};
    const WeatherUpdate u = update_weather(loc, http, date(7, 5));
    ASSERT_TRUE(u.ok) << u.problem;
    EXPECT_EQ(http.asked, std::vector<std::string>{
                              "http://127.0.0.1:9/d?s=GLY%2004&from=2022-07-04&to=2022-07-05"});
    EXPECT_EQ(u.filled(), 2);
    EXPECT_EQ(u.forecast_days, -1);
    EXPECT_TRUE(u.changed());
    EXPECT_EQ(loc.day(4).rain, 3.5f);
    EXPECT_GT(loc.day(4).etr_used, 0.0f);
    EXPECT_TRUE(loc.is_modified());

    // Nothing is due through the same day: nothing is asked for and nothing changes.
    loc.set_modified(false);
    const WeatherUpdate again = update_weather(loc, http, date(7, 5));
    EXPECT_TRUE(again.ok);
    EXPECT_FALSE(again.changed());
    EXPECT_EQ(http.asked.size(), 1u);
    EXPECT_FALSE(loc.is_modified());
}

TEST_F(Update, AForecastIsAskedForTheWeekAfterTheNewDays)
{
    loc.source.forecast_url = "http://127.0.0.1:9/f?from={from}&to={to}";
    http.answers = {body("Date,Tmax,Tmin,Rs,P\n2022-07-04,31,15,25,0\n"),
                    body("Date,Tmax,Tmin,Rs,P\n2022-07-05,36,20,26,0\n2022-07-06,35,19,25,8\n")};
    const WeatherUpdate u = update_weather(loc, http, date(7, 4));
    ASSERT_TRUE(u.ok) << u.problem;
    ASSERT_EQ(http.asked.size(), 2u);
    EXPECT_EQ(http.asked[1], "http://127.0.0.1:9/f?from=2022-07-05&to=2022-07-11");
    EXPECT_EQ(u.filled(), 1);
    EXPECT_EQ(u.forecast_days, 2);
    EXPECT_EQ(loc.day(4).has_data, 0);
    EXPECT_EQ(loc.forecast.first, 4);
    EXPECT_EQ(loc.forecast.days[1].rain, 8.0f);
}

// The report is the import's: what it kept, skipped or left unset is said after the days.
TEST_F(Update, ThePresetsColumnsTheAnswerHasAreReadAndTheImportSaysWhatItMet)
{
    ASSERT_TRUE(
        save_csv_preset("Station", *parse_csv_weather_map(loc.source.map + ",etr=ETr[mm]").map));
    loc.source.map.clear();
    loc.source.preset = "station";
    http.answers = {body("Date,Tmax,Tmin,Rs,P\n2022-06-30,31,15,25,0\n2022-07-04,31,15,25,\n"
                         "2022-07-05,29,14,24,3.5\n")};
    const WeatherUpdate u = update_weather(loc, http, date(7, 5));
    ASSERT_TRUE(u.ok) << u.problem;
    EXPECT_EQ(u.filled(), 2);
    EXPECT_EQ(loc.day(4).rain, 3.5f);
    EXPECT_EQ(weather_update_text(u), "2 days from 2022-07-04 to 2022-07-05.\n"
                                      "Skipped 1 line dated outside the season.\n"
                                      "Left 1 cell without a number unset.");
    EXPECT_TRUE(messages->texts().empty());

    // A map of the source's own is the station's: a column it names must be in the answer.
    loc.source = {loc.source.url, loc.source.station, "", "date=Date,etr=ETr[mm]", ""};
    http.answers = {body("Date,Tmax\n2022-07-06,30\n")};
    const WeatherUpdate strict = update_weather(loc, http, date(7, 6));
    EXPECT_FALSE(strict.ok);
    EXPECT_NE(strict.problem.find("ETr"), std::string::npos) << strict.problem;
}

// Whatever fails, the location is what it was, and the reason is one line.
TEST_F(Update, AnyFailureLeavesTheLocationAsItWas)
{
    const std::vector<std::uint8_t> before = encode_location(loc);
    const struct
    {
        const char *what;
        std::vector<HttpResult> answers;
        std::string forecast_url;
        std::string reason;
    } cases[] = {
        {"fetch",
         {{std::nullopt, "the server answered with HTTP status 404"}},
         "",
         "HTTP status 404"},
        {"not the CSV", {body("<html>Service moved</html>\n")}, "", "no column \"Date\""},
        {"forecast fetch",
         {body("Date,Tmax,Tmin,Rs,P\n2022-07-04,31,15,25,0\n"), {std::nullopt, "timed out"}},
         "http://127.0.0.1:9/f?from={from}",
         "timed out"},
        {"forecast not the CSV",
         {body("Date,Tmax,Tmin,Rs,P\n2022-07-04,31,15,25,0\n"), body("{\"error\":1}")},
         "http://127.0.0.1:9/f?from={from}",
         "The forecast is not"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        loc.source.forecast_url = c.forecast_url;
        const std::vector<std::uint8_t> start = encode_location(loc);
        http.answers.assign(c.answers.begin(), c.answers.end());
        messages->clear();
        const WeatherUpdate u = update_weather(loc, http, date(7, 10));
        EXPECT_FALSE(u.ok);
        EXPECT_NE(u.problem.find(c.reason), std::string::npos) << u.problem;
        EXPECT_EQ(u.problem.find('\n'), std::string::npos);
        EXPECT_EQ(encode_location(loc), start);
        EXPECT_FALSE(loc.is_modified());
        EXPECT_TRUE(messages->texts().empty()); // the reason is not shown twice
    }
    loc.source.forecast_url.clear();
    EXPECT_EQ(encode_location(loc), before);

    loc.source.map.clear();
    loc.source.preset = "Station network";
    const WeatherUpdate unknown = update_weather(loc, http, date(7, 10));
    EXPECT_FALSE(unknown.ok);
    EXPECT_EQ(unknown.problem, "No preset is named \"Station network\" in csvmaps.txt.");
    loc.source = {};
    EXPECT_EQ(update_weather(loc, http, date(7, 10)).problem,
              "The location has no weather source.");
}

} // namespace
} // namespace tw
