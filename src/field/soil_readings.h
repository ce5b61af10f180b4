#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

class CFieldDoc;

/// What a probe's readings measure: the root zone's deficit below field capacity, or its water
/// content (entered as the daily dialog turns a content into a deficit).
enum class ReadingKind { Deficit, Content };

/// A unit a readings file may be written in, with its name on the command line and what turns
/// a value into the internal unit of its kind (mm of deficit, a fraction of content).
struct ReadingUnit
{
    std::string_view name;
    ReadingKind kind;
    double to_internal;
};

std::optional<ReadingKind> reading_kind_named(std::string_view name);
/// The units of a kind; the first is the one a file is read in when none is named.
std::span<const ReadingUnit> reading_units(ReadingKind kind);
/// The entry of reading_units(kind) a dialog proposes: a deficit in the user's depth unit.
std::size_t proposed_reading_unit(ReadingKind kind);
const ReadingUnit *reading_unit_named(ReadingKind kind, std::string_view name);

/// When the probe was read: in the evening, after the day's rain and irrigation, the reading is
/// that day's end; in the morning, before them, it is the end of the day before.
enum class ReadingTime { Evening, Morning };

std::optional<ReadingTime> reading_time_named(std::string_view name);
/// The date whose end-of-day soil moisture a reading taken on `date` is.
int end_of_day_date(int date, ReadingTime taken);

/// One reading of a file, its value in the internal unit of its kind.
struct SoilReading
{
    int line = 0;
    int date = 0; ///< day number
    float value = 0.0f;
};

/// The readings of a file's text: a header "date,value", then one ISO date and value a line
/// (blank lines skipped). The message of the first bad line instead, naming its number.
struct ParsedReadings
{
    std::vector<SoilReading> readings;
    std::optional<std::string> error;
};
ParsedReadings parse_soil_readings(std::string_view text, const ReadingUnit &unit);

/// What entering readings did: how many became their day's soil-moisture override, and a line
/// for each one skipped because its day cannot take one.
struct EnteredReadings
{
    int entered = 0;
    std::vector<std::string> skipped;
    std::string report(std::string_view source) const;
};

/// How a file's readings are entered: when they were taken, and whether the field learns from its
/// readings once one is entered (left as it is when empty).
struct ReadingsEntry
{
    ReadingTime taken = ReadingTime::Evening;
    std::optional<bool> learn;
};

/// Enters each reading as the override of the day it ends (a content by the daily dialog's rule),
/// marks the field modified when one was entered, and reruns the season from the first of them.
EnteredReadings enter_soil_readings(CFieldDoc &field, std::span<const SoilReading> readings,
                                    ReadingKind kind, const ReadingsEntry &entry = {});

/// A readings file read and entered; the file's error, with nothing entered, when it cannot be
/// read or a line is bad.
struct ReadingsImport
{
    std::optional<std::string> error;
    EnteredReadings entered;
};
ReadingsImport import_soil_readings(CFieldDoc &field, const std::filesystem::path &file,
                                    const ReadingUnit &unit, const ReadingsEntry &entry = {});

} // namespace tw
