#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Dates are day numbers counted from 30 December 1899 (day 0), the form both document files use.
namespace tw {

struct CivilDate
{
    int year = 1899;
    int month = 12;
    int day = 30;
    friend bool operator==(const CivilDate &, const CivilDate &) = default;
};

int serial_from_civil(int year, int month, int day);
int serial_from_civil(const CivilDate &date);
CivilDate civil_from_serial(int serial);

/// 1 for 1 January.
int day_of_year(int serial);
int year_of(int serial);
bool is_leap_year(int year);
int days_in_year(int year);
/// 0 for Sunday.
int weekday(int serial);

/// strftime-like formatting of a day: %d %m %y %Y %j %a %A %b %B %x %#x %% ("%#x" is the long
/// date, "Friday, May 1, 2026"). Unknown conversions are copied as they stand.
std::string format_date(int serial, std::string_view format);

/// The current local date and time in the C library's "%c" form.
std::string now_text();
int today_serial();

/// "YYYY-MM-DD"; nothing for anything else or an impossible date.
std::optional<int> parse_iso_date(std::string_view text);
std::string iso_date(int serial);

/// A date as the document archive stores it: a status word (0 = valid) and a day number whose
/// fraction is the time of day. Kept as read so that a file is written back byte for byte.
struct StoredDate
{
    std::int32_t status = 0;
    double serial = 0.0;

    static StoredDate from_day(int day) { return {0, static_cast<double>(day)}; }
    /// The whole day (the fraction, a time of day, dropped toward earlier days).
    int day() const;
    friend bool operator==(const StoredDate &, const StoredDate &) = default;
};

} // namespace tw
