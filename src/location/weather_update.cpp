#include "location/weather_update.h"

#include "location/csv_import_form.h"
#include "location/csv_weather.h"
#include "location/forecast_days.h"
#include "location/location_doc.h"
#include "location/location_file.h"
#include "platform/dates.h"
#include "platform/http_port.h"
#include "platform/message_port.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace tw {
namespace {

// An import's messages are held back while it runs: the one that ends it becomes the update's
// reason, and the notices of one that succeeds are shown after it.
class HeldMessages
{
public:
    HeldMessages()
        : previous_(set_messages(&held_))
    {}
    ~HeldMessages() { set_messages(previous_); }
    HeldMessages(const HeldMessages &) = delete;
    HeldMessages &operator=(const HeldMessages &) = delete;

    std::string last() const
    {
        const auto texts = held_.texts();
        return texts.empty() ? std::string("nothing could be read") : texts.back();
    }
    void pass_on() const
    {
        for (const auto &entry : held_.entries())
            previous_->inform(entry.text, entry.caption, entry.icon);
    }

private:
    RecordingMessagePort held_;
    MessagePort *previous_;
};

struct Fetcher
{
    HttpPort &http;
    const std::string &station;

    /// The body, or nothing after setting the update's problem.
    std::optional<std::string> fetch(const std::string &url_template, int from, int to,
                                     WeatherUpdate &update) const
    {
        const std::string url = source_url(url_template, station, from, to);
        HttpResult result = http.get(url);
        if (!result.body)
            update.problem = "Cannot fetch " + url + ": " + result.problem;
        return std::move(result.body);
    }
};

bool import_held(const std::function<int()> &import, WeatherUpdate &update, int &count,
                 const std::string &what)
{
    HeldMessages held;
    count = import();
    if (count >= 0) {
        held.pass_on();
        return true;
    }
    update.problem =
        "The " + what + " is not the station's CSV as the map reads it: " + held.last();
    return false;
}

// A preset serves every station of a network, and a station's file may lack a column or two
// (no sensor for it); the columns its header has are taken, as an import through the preset
// takes them. A map written for the source is its station's own and is taken as it stands.
CsvWeatherMap map_for(const WeatherSource &source, const CsvWeatherMap &map, std::string_view body)
{
    if (source.preset.empty())
        return map;
    constexpr std::size_t kPreviewRows = 20;
    CsvImportForm form(csv_preview(body, kPreviewRows), std::nullopt);
    form.choose_map(map);
    return form.map();
}

} // namespace

std::string weather_update_summary(const WeatherUpdate &update)
{
    const std::string through = iso_date(std::max(update.to, update.from - 1));
    if (!update.changed())
        return "Nothing new through " + through;
    const int filled = update.filled();
    std::string text = filled > 0
                           ? std::to_string(filled) + (filled == 1 ? " day" : " days") + " from " +
                                 iso_date(update.from) + " to " + iso_date(update.to)
                           : "no new day through " + through;
    if (update.forecast_days > 0)
        text += ", " + std::to_string(update.forecast_days) + " days of forecast";
    return text;
}

std::string weather_update_text(const WeatherUpdate &update)
{
    std::string text = weather_update_summary(update) + ".";
    for (const std::string &line : csv_summary_details(update.days))
        text += "\n" + line;
    return text;
}

WeatherUpdate update_weather(CLocationDoc &location, HttpPort &http, int through)
{
    WeatherUpdate update;
    const WeatherSource &source = location.source;
    if (source.empty()) {
        update.problem = "The location has no weather source.";
        return update;
    }
    update.problem = weather_source_problem(source);
    const CsvMapParse map = source_map(source);
    if (update.problem.empty() && !map.map)
        update.problem = map.problem;
    if (!update.problem.empty())
        return update;

    // Everything is taken into a copy first, so that a failure at any step leaves the location
    // as it was.
    CLocationDoc season;
    copy_stored_values(location, season);
    const Fetcher fetcher{http, source.station};
    const int season_end = location.date_of(location.day_count() - 1);
    update.from = location.date_of(last_day_with_data(location) + 1);
    update.to = std::min(through, season_end);
    if (update.from <= update.to) {
        const auto body = fetcher.fetch(source.url, update.from, update.to, update);
        int filled = 0;
        if (!body || !import_held(
                         [&] {
                             const auto summary = import_csv_weather_text(
                                 season, map_for(source, *map.map, *body), *body, false);
                             if (summary)
                                 update.days = *summary;
                             return imported_days(summary);
                         },
                         update, filled, "answer"))
            return update;
    }
    const int forecast_from = season.date_of(last_day_with_data(season) + 1);
    if (!source.forecast_url.empty() && forecast_from <= season_end) {
        const int forecast_to = std::min(forecast_from + kForecastRequestDays - 1, season_end);
        const auto body = fetcher.fetch(source.forecast_url, forecast_from, forecast_to, update);
        if (!body || !import_held(
                         [&] {
                             return import_csv_forecast_text(
                                 season, map_for(source, *map.map, *body), *body);
                         },
                         update, update.forecast_days, "forecast"))
            return update;
    }
    update.ok = true;
    if (update.changed()) {
        location.days = std::move(season.days);
        location.forecast = std::move(season.forecast);
        location.recompute_all();
        location.set_modified();
    }
    return update;
}

} // namespace tw
