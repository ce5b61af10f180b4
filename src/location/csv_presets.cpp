#include "location/csv_presets.h"

#include "platform/csv.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/text_format.h"
#include "platform/work_dir.h"

#include <algorithm>
#include <cstdint>

namespace tw {
namespace {

constexpr std::size_t kMaxNameLength = 40;
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 20;

constexpr std::string_view kShipped =
    R"PRESETS(# Named maps for Import > CSV... and tillwise-cli location import --format csv --preset NAME.
# One a line, NAME: MAP, the map written as --map takes it. Lines starting with # are comments.
# Each shipped preset follows the network's published description of its daily export. Where that
# description does not give a column's header text, the comment says so: check such a preset
# against a real file in the Import > CSV... preview before the first import.

# CoAgMET (Colorado), daily data in English units as the data API returns it with a header line:
# https://coagmet.colostate.edu/data/doc.html (the "Daily Data", "Units" and "CSV" sections). The
# header texts below are not confirmed against that page's field list, which was not available
# when this preset was written; missing values are empty cells, which the import counts.
coagmet: date=Date,t_max=Max Temp[F],t_min=Min Temp[F],rh_max=Max RH[percent],rh_min=Min RH[percent],solar=Solar Rad[langley],wind=Wind Run[mi/day],rain=Precip[in],etr=ETr[in]

# CIMIS (California), Daily report, "CSV with Headers", metric units: the export described in
# https://animalscience.ucdavis.edu/extension/software/pcranch/weather-cimis (report method and
# sensors) with the column style "Sol Rad (W/sq.m)", "Air Temp (C)", "Wind Speed (m/s)" that
# NCAR/EOL documents for the network's files (https://data.eol.ucar.edu//file/download/4129331BB46/CIMIS.html).
# The daily header texts are not confirmed from a daily sample. CIMIS gives the grass reference
# ETo, not the alfalfa reference ETr, so no column is taken for etr.
cimis: date=Date,t_max=Max Air Temp (C)[C],t_min=Min Air Temp (C)[C],rh_max=Max Rel Hum (%)[percent],rh_min=Min Rel Hum (%)[percent],solar=Sol Rad (W/sq.m)[W/m2],wind=Avg Wind Speed (m/s)[m/s],rain=Precip (mm)[mm]

# Not shipped, with the reason:
# - AZMET (Arizona) raw daily files (https://cales.arizona.edu/azmet/raw2003.htm) have no header
#   line: their values are known by position only (data points 1 year, 2 day of year, ...), and
#   the CSV import takes the first line as the header. Add a header line to such a file, then map
#   by column number (year=1,doy=2,...).
# - AgriMet (Pacific Northwest) daily exports name each column by station and parameter code
#   ("CRVO MX"), so one map cannot serve every station; save a preset per station.
# - Nebraska Mesonet: no public description of the daily CSV's header was found.
)PRESETS";

bool same_name(std::string_view a, std::string_view b)
{
    return to_upper_ascii(a) == to_upper_ascii(b);
}

// The name and map of a preset line; nothing for a comment, a blank line or a line without ':'.
std::optional<std::pair<std::string, std::string>> preset_line(std::string_view line)
{
    const std::string text = trimmed(line);
    const std::size_t colon = text.find(':');
    if (text.empty() || text[0] == '#' || colon == std::string::npos)
        return std::nullopt;
    return std::pair{trimmed(std::string_view(text).substr(0, colon)),
                     trimmed(std::string_view(text).substr(colon + 1))};
}

std::string file_text(const std::vector<std::uint8_t> &bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

std::string_view shipped_csv_presets()
{
    return kShipped;
}

std::vector<CsvPreset> parse_csv_presets(std::string_view text)
{
    std::vector<CsvPreset> presets;
    for (const std::string_view line : text_lines(text)) {
        const auto entry = preset_line(line);
        if (!entry || csv_preset_name_problem(entry->first))
            continue;
        const CsvMapParse parsed = parse_csv_weather_map(entry->second);
        if (parsed.map)
            presets.push_back({entry->first, *parsed.map});
    }
    return presets;
}

std::vector<CsvPreset> load_csv_presets()
{
    const auto path = work_file(kCsvPresetsFile);
    if (const auto bytes = read_file(path, kMaxFileBytes))
        return parse_csv_presets(file_text(*bytes));
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) {
        const std::string_view text = shipped_csv_presets();
        write_file_atomic(path, {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()});
    }
    return parse_csv_presets(shipped_csv_presets());
}

std::optional<CsvWeatherMap> find_csv_preset(const std::vector<CsvPreset> &presets,
                                             std::string_view name)
{
    const auto found = std::find_if(presets.begin(), presets.end(),
                                    [&](const CsvPreset &p) { return same_name(p.name, name); });
    return found == presets.end() ? std::nullopt : std::optional(found->map);
}

std::optional<std::string> csv_preset_name_problem(std::string_view name)
{
    const bool fits = !name.empty() && name.size() <= kMaxNameLength &&
                      std::all_of(name.begin(), name.end(), [](char c) {
                          return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                 (c >= '0' && c <= '9') || c == '-' || c == '_';
                      });
    if (fits)
        return std::nullopt;
    return "A preset's name is 1 to " + std::to_string(kMaxNameLength) +
           " letters, digits, '-' or '_'.";
}

std::string with_csv_preset(std::string_view text, std::string_view name, const CsvWeatherMap &map)
{
    const std::string entry = std::string(name) + ": " + csv_weather_map_text(map);
    std::string out;
    bool placed = false;
    for (const std::string_view line : text_lines(text)) {
        const auto existing = preset_line(line);
        const bool same = existing && same_name(existing->first, name);
        if (same && placed)
            continue;
        out += std::string(same ? std::string_view(entry) : line) + "\n";
        placed = placed || same;
    }
    return placed ? out : out + entry + "\n";
}

bool save_csv_preset(std::string_view name, const CsvWeatherMap &map)
{
    if (const auto problem = csv_preset_name_problem(name)) {
        messages().inform(*problem);
        return false;
    }
    load_csv_presets(); // creates the file with the shipped presets when it is missing
    const auto path = work_file(kCsvPresetsFile);
    const auto bytes = read_file(path, kMaxFileBytes);
    const std::string text =
        with_csv_preset(bytes ? file_text(*bytes) : std::string(shipped_csv_presets()), name, map);
    std::string error;
    if (!write_file_atomic(path, {reinterpret_cast<const std::uint8_t *>(text.data()), text.size()},
                           &error)) {
        messages().inform("The preset could not be saved in " + path.string() + ": " + error);
        return false;
    }
    return true;
}

} // namespace tw
