#include "platform/dates.h"

#include <array>
#include <charconv>
#include <cmath>
#include <ctime>

namespace tw {
namespace {

// Day 0 of the archive (30 December 1899) counted from 1 January 1970.
constexpr int kSerialEpochOffset = 25569;

constexpr std::array<const char *, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                   "Thursday", "Friday", "Saturday"};
constexpr std::array<const char *, 12> kMonths = {"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int days_from_epoch(int y, int m, int d)
{
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate civil_from_epoch_days(int z)
{
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp + (mp < 10 ? 3 : -9);
    return {yoe + era * 400 + (m <= 2), m, d};
}

std::string two_digits(int value)
{
    value %= 100;
    if (value < 0)
        value += 100;
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

} // namespace

int serial_from_civil(int year, int month, int day)
{
    return days_from_epoch(year, month, day) + kSerialEpochOffset;
}

int serial_from_civil(const CivilDate &date)
{
    return serial_from_civil(date.year, date.month, date.day);
}

CivilDate civil_from_serial(int serial)
{
    return civil_from_epoch_days(serial - kSerialEpochOffset);
}

bool is_leap_year(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int days_in_year(int year)
{
    return is_leap_year(year) ? 366 : 365;
}

int day_of_year(int serial)
{
    const CivilDate date = civil_from_serial(serial);
    return serial - serial_from_civil(date.year, 1, 1) + 1;
}

int year_of(int serial)
{
    return civil_from_serial(serial).year;
}

int weekday(int serial)
{
    // Day 0, 30 December 1899, was a Saturday.
    const int w = (serial + 6) % 7;
    return w < 0 ? w + 7 : w;
}

std::string format_date(int serial, std::string_view format)
{
    const CivilDate date = civil_from_serial(serial);
    const char *weekday_name = kWeekdays[static_cast<std::size_t>(weekday(serial))];
    const char *month_name = kMonths[static_cast<std::size_t>(date.month - 1)];
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        char conversion = format[++i];
        const bool alternate = conversion == '#' && i + 1 < format.size();
        if (alternate)
            conversion = format[++i];
        switch (conversion) {
        case 'd': out += alternate ? std::to_string(date.day) : two_digits(date.day); break;
        case 'm': out += alternate ? std::to_string(date.month) : two_digits(date.month); break;
        case 'y': out += two_digits(date.year); break;
        case 'Y': out += std::to_string(date.year); break;
        case 'j': {
            const std::string n = std::to_string(day_of_year(serial));
            out += std::string(3 - n.size(), '0') + n;
            break;
        }
        case 'a': out += std::string(weekday_name, 3); break;
        case 'A': out += weekday_name; break;
        case 'b': out += std::string(month_name, 3); break;
        case 'B': out += month_name; break;
        case 'x':
            if (alternate) {
                out += std::string(weekday_name) + ", " + month_name + " " +
                       std::to_string(date.day) + ", " + std::to_string(date.year);
            } else {
                out += two_digits(date.month) + "/" + two_digits(date.day) + "/" +
                       two_digits(date.year);
            }
            break;
        case '%': out += '%'; break;
        default:
            out += '%';
            if (alternate)
                out += '#';
            out += conversion;
            break;
        }
    }
    return out;
}

std::string now_text()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[64] = {};
    std::strftime(buffer, sizeof buffer, "%c", &local);
    return buffer;
}

int today_serial()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return serial_from_civil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::optional<int> parse_iso_date(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    auto number = [&](std::size_t pos, std::size_t len) {
        int value = -1;
        const char *first = text.data() + pos;
        const auto [ptr, ec] = std::from_chars(first, first + len, value);
        return (ec == std::errc() && ptr == first + len) ? value : -1;
    };
    const int y = number(0, 4), m = number(5, 2), d = number(8, 2);
    if (y < 0 || m < 1 || m > 12 || d < 1)
        return std::nullopt;
    const int serial = serial_from_civil(y, m, d);
    if (civil_from_serial(serial) != CivilDate{y, m, d})
        return std::nullopt;
    return serial;
}

std::string iso_date(int serial)
{
    const CivilDate date = civil_from_serial(serial);
    std::string year = std::to_string(date.year);
    if (year.size() < 4)
        year.insert(0, 4 - year.size(), '0');
    return year + "-" + two_digits(date.month) + "-" + two_digits(date.day);
}

int StoredDate::day() const
{
    if (!std::isfinite(serial) || serial > 2.0e9 || serial < -2.0e9)
        return 0;
    return static_cast<int>(std::floor(serial));
}

} // namespace tw
