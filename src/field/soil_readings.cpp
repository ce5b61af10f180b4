// Probe readings entered as the days' soil-moisture overrides, from a small CSV file.
#include "field/soil_readings.h"

#include "field/daily_entry_form.h"
#include "field/field_doc.h"
#include "field/root_zone_bound.h"
#include "platform/csv.h"
#include "platform/dates.h"
#include "platform/files.h"
#include "platform/text_encoding.h"
#include "platform/text_format.h"
#include "refdata/units.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace tw {
namespace {

constexpr ReadingUnit kDeficitUnits[] = {{"mm", ReadingKind::Deficit, 1.0},
                                         {"in", ReadingKind::Deficit, 25.4},
                                         {"cm", ReadingKind::Deficit, 10.0}};
constexpr ReadingUnit kContentUnits[] = {{"fraction", ReadingKind::Content, 1.0},
                                         {"percent", ReadingKind::Content, 0.01}};
/// A deficit further than this from field capacity (mm) is no root zone's.
constexpr double kMaxDeficitMm = 10000.0;
/// A probe's export is a few kilobytes a season; anything far larger is not one.
constexpr std::size_t kMaxFileBytes = 8u << 20;

std::string line_message(int line, const std::string &text)
{
    return "Line " + std::to_string(line) + ": " + text;
}

/// The value's message when it is no reading of its kind; nothing when it is one.
std::optional<std::string> value_message(double internal, const ReadingUnit &unit, double typed)
{
    if (unit.kind == ReadingKind::Content && (internal < 0.0 || internal > 1.0))
        return strprintf("a content of %g %s is outside 0 to %g.", typed,
                         std::string(unit.name).c_str(), 1.0 / unit.to_internal);
    if (unit.kind == ReadingKind::Deficit && std::fabs(internal) > kMaxDeficitMm)
        return strprintf("a deficit of %g %s is beyond any root zone.", typed,
                         std::string(unit.name).c_str());
    return std::nullopt;
}

bool is_header(const std::optional<std::vector<std::string>> &fields)
{
    return fields && fields->size() == 2 && to_upper_ascii(trimmed((*fields)[0])) == "DATE" &&
           to_upper_ascii(trimmed((*fields)[1])) == "VALUE";
}

/// The reading of one line, or the line's message.
std::optional<std::string> parse_line(std::string_view text, int line, const ReadingUnit &unit,
                                      SoilReading &reading)
{
    const auto fields = split_csv_line(text);
    if (!fields)
        return line_message(line, "a quoted field is not closed.");
    if (fields->size() != 2)
        return line_message(
            line, strprintf("a reading is a date and a value, not %zu fields.", fields->size()));
    const std::string date_text = trimmed((*fields)[0]);
    const auto date = parse_iso_date(date_text);
    if (!date)
        return line_message(line, "\"" + date_text + "\" is not a date as YYYY-MM-DD.");
    const auto typed = parse_csv_number((*fields)[1]);
    if (!typed)
        return line_message(line, "\"" + trimmed((*fields)[1]) + "\" is not a number.");
    const double internal = *typed * unit.to_internal;
    if (const auto m = value_message(internal, unit, *typed))
        return line_message(line, *m);
    reading = {line, *date, static_cast<float>(internal)};
    return std::nullopt;
}

/// Why field day d cannot take a reading; nothing when it can.
std::optional<std::string_view> refusal(const CFieldDoc &field, int d)
{
    if (!field.has_day(d))
        return "the field has no such day";
    if (d == 0)
        return "the planting day (its soil moisture is the field's initial soil moisture)";
    const FieldDay &day = field.season.days[static_cast<std::size_t>(d)];
    if (day.kind == KindForecast)
        return "a forecast day";
    if (day.kind == KindNoData)
        return "no weather";
    if (day.stage == StagePostHarvest)
        return "post-harvest";
    if (d > field.season.last_actual_day || day.stage < 0)
        return "after a day without weather";
    return std::nullopt;
}

} // namespace

std::optional<ReadingKind> reading_kind_named(std::string_view name)
{
    const std::string upper = to_upper_ascii(name);
    if (upper == "DEFICIT")
        return ReadingKind::Deficit;
    if (upper == "CONTENT")
        return ReadingKind::Content;
    return std::nullopt;
}

std::optional<ReadingTime> reading_time_named(std::string_view name)
{
    const std::string upper = to_upper_ascii(name);
    if (upper == "EVENING")
        return ReadingTime::Evening;
    if (upper == "MORNING")
        return ReadingTime::Morning;
    return std::nullopt;
}

int end_of_day_date(int date, ReadingTime taken)
{
    return taken == ReadingTime::Morning ? date - 1 : date;
}

std::span<const ReadingUnit> reading_units(ReadingKind kind)
{
    if (kind == ReadingKind::Deficit)
        return kDeficitUnits;
    return kContentUnits;
}

std::size_t proposed_reading_unit(ReadingKind kind)
{
    if (kind != ReadingKind::Deficit)
        return 0;
    // A deficit is a depth of water: the user reads it in the depth unit of the preferences.
    const auto units = reading_units(kind);
    const std::string depth = sed_SetUnits(Depth);
    const auto it = std::find_if(units.begin(), units.end(),
                                 [&](const ReadingUnit &u) { return u.name == depth; });
    return it == units.end() ? 0 : static_cast<std::size_t>(it - units.begin());
}

const ReadingUnit *reading_unit_named(ReadingKind kind, std::string_view name)
{
    const auto units = reading_units(kind);
    const auto it = std::find_if(units.begin(), units.end(), [&](const ReadingUnit &u) {
        return to_upper_ascii(u.name) == to_upper_ascii(name);
    });
    return it == units.end() ? nullptr : &*it;
}

ParsedReadings parse_soil_readings(std::string_view text, const ReadingUnit &unit)
{
    text = without_byte_order_mark(text);
    ParsedReadings parsed;
    std::map<int, int> line_of_date;
    int line = 0;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view row = text.substr(start, end - start);
        start = end + 1;
        ++line;
        if (line == 1) {
            if (!is_header(split_csv_line(row)))
                return {{}, line_message(1, "a readings file starts with the header date,value.")};
            continue;
        }
        if (trimmed(row).empty())
            continue;
        SoilReading reading;
        if (auto m = parse_line(row, line, unit, reading))
            return {{}, std::move(m)};
        const auto [seen, added] = line_of_date.emplace(reading.date, line);
        if (!added) {
            return {{},
                    line_message(line, iso_date(reading.date) + " was read on line " +
                                           std::to_string(seen->second) + " already.")};
        }
        parsed.readings.push_back(reading);
    }
    return parsed;
}

std::string EnteredReadings::report(std::string_view source) const
{
    std::string text =
        strprintf("Entered %d soil reading%s from %.*s.", entered, entered == 1 ? "" : "s",
                  static_cast<int>(source.size()), source.data());
    for (const std::string &line : skipped)
        text += "\n" + line;
    return text;
}

EnteredReadings enter_soil_readings(CFieldDoc &field, std::span<const SoilReading> readings,
                                    ReadingKind kind, const ReadingsEntry &entry)
{
    EnteredReadings result;
    int first = field.day_count();
    for (const SoilReading &reading : readings) {
        const int ends = end_of_day_date(reading.date, entry.taken);
        const int d = ends - field.saved.planting_date.day();
        if (const auto why = refusal(field, d)) {
            const std::string shifted =
                ends == reading.date ? ""
                                     : " (a morning reading, the end of " + iso_date(ends) + ")";
            result.skipped.push_back(
                line_message(reading.line, iso_date(reading.date) + shifted +
                                               " is skipped: " + std::string(*why) + "."));
            continue;
        }
        FieldDay &day = field.season.days[static_cast<std::size_t>(d)];
        day.deficit = kind == ReadingKind::Content ? deficit_of_content(field, d, reading.value)
                                                   : reading.value;
        day.sm_override = 1;
        first = std::min(first, d);
        ++result.entered;
    }
    if (result.entered > 0) {
        if (entry.learn)
            field.saved.learn_from_readings = *entry.learn;
        field.set_modified(true);
        field.run_and_update(first, ViewHint::changed_day(first));
    }
    return result;
}

ReadingsImport import_soil_readings(CFieldDoc &field, const std::filesystem::path &file,
                                    const ReadingUnit &unit, const ReadingsEntry &entry)
{
    const auto bytes = read_file(file, kMaxFileBytes + 1);
    if (!bytes)
        return {"Unable to open the readings file: " + file.string(), {}};
    if (bytes->size() > kMaxFileBytes)
        return {"The readings file " + file.string() + " is too large to be a season's readings.",
                {}};
    const std::string text(bytes->begin(), bytes->end());
    ParsedReadings parsed = parse_soil_readings(text, unit);
    if (parsed.error)
        return {"Nothing was entered from " + file.filename().string() + ". " + *parsed.error, {}};
    // A morning reading is bounded by the root zone of the day it is entered on, the one before.
    std::vector<SoilReading> entered = parsed.readings;
    for (SoilReading &r : entered)
        r.date = end_of_day_date(r.date, entry.taken);
    if (auto beyond = reading_beyond_root_zone(field, entered, unit.kind))
        return {"Nothing was entered from " + file.filename().string() + ". " + *beyond, {}};
    return {std::nullopt, enter_soil_readings(field, parsed.readings, unit.kind, entry)};
}

} // namespace tw
