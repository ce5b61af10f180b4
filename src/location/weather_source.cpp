#include "location/weather_source.h"

#include "location/csv_presets.h"
#include "platform/dates.h"
#include "platform/text_format.h"

#include <array>

namespace tw {
namespace {

constexpr std::array<std::string_view, 3> kPlaceholders = {"{station}", "{from}", "{to}"};

// Only letters, digits and "-._~" stand for themselves in a URL; a station id is data, so
// anything else in it is escaped rather than allowed to change the address.
std::string percent_encoded(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || ch == '-' || ch == '.' || ch == '_' || ch == '~') {
            out += ch;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

void replace_all(std::string &text, std::string_view what, std::string_view with)
{
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

// A misspelt placeholder would be sent to the server as it stands and fail there, far from the
// typing slip; it is refused where it was typed.
std::string url_problem(std::string_view label, const std::string &url, bool with_station)
{
    const std::string upper = to_upper_ascii(url);
    if (!upper.starts_with("HTTP://") && !upper.starts_with("HTTPS://"))
        return "The " + std::string(label) + " must start with http:// or https://.";
    std::string rest = url;
    for (const std::string_view placeholder : kPlaceholders)
        replace_all(rest, placeholder, "");
    if (const std::size_t open = rest.find('{'); open != std::string::npos)
        return "The " + std::string(label) + " holds \"" +
               rest.substr(open, rest.find('}', open) - open + 1) +
               "\"; it takes {station}, {from} and {to}.";
    if (!with_station && url.find("{station}") != std::string::npos)
        return "The " + std::string(label) + " has {station} but no station is given.";
    return {};
}

} // namespace

std::string weather_source_problem(const WeatherSource &source)
{
    const bool with_station = !source.station.empty();
    if (source.url.empty())
        return "The weather source needs an address.";
    if (std::string problem = url_problem("address", source.url, with_station); !problem.empty())
        return problem;
    if (!source.forecast_url.empty()) {
        if (std::string problem =
                url_problem("forecast address", source.forecast_url, with_station);
            !problem.empty())
            return problem;
    }
    if (source.preset.empty() == source.map.empty())
        return "The weather source needs a preset or a map (one of them).";
    return source_map(source).problem;
}

std::string source_url(std::string_view url_template, std::string_view station, int from, int to)
{
    std::string url(url_template);
    replace_all(url, "{station}", percent_encoded(station));
    replace_all(url, "{from}", iso_date(from));
    replace_all(url, "{to}", iso_date(to));
    return url;
}

CsvMapParse preset_map(std::string_view name)
{
    if (auto map = find_csv_preset(load_csv_presets(), name))
        return {std::move(map), {}};
    return {std::nullopt, "No preset is named \"" + std::string(name) + "\" in " +
                              std::string(kCsvPresetsFile) + "."};
}

CsvMapParse source_map(const WeatherSource &source)
{
    return source.map.empty() ? preset_map(source.preset) : parse_csv_weather_map(source.map);
}

} // namespace tw
