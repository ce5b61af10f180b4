#pragma once

#include <cstdint>

// What every weather reader does with a record once it has read it: find its day in the season,
// check its values and store them.
namespace tw {

class CLocationDoc;
struct WeatherDay;

/// Where a record's day of year falls in the season. The first calendar year ends with the record
/// of its last day (366 in a leap year); later records count on from there.
class DayPlacement
{
public:
    explicit DayPlacement(const CLocationDoc &location);

    enum class Action { Skip, Stop, Store };
    struct Result
    {
        Action action;
        int index;
    };

    Result place(int doy);

private:
    int start_;
    int first_year_length_;
    int day_count_;
    bool first_year_ = true;
};

/// A record's values in internal units.
struct WeatherValues
{
    float t_max = 0.0f;
    float t_min = 0.0f;
    float rh_max = 0.0f;
    float rh_min = 0.0f;
    float solar_radiation = 0.0f;
    float wind_run = 0.0f;
    float rain = 0.0f;
    float etr = 0.0f;
};

/// The values a range check looks at, as bits.
enum CheckedValue : unsigned {
    kCheckHumidity = 1u << 0,
    kCheckTMax = 1u << 1,
    kCheckTMin = 1u << 2,
    kCheckSolar = 1u << 3,
    kCheckWind = 1u << 4,
    kCheckAll = (1u << 5) - 1,
};

struct Bounds
{
    float low;
    float high;
};

struct RangeRules
{
    Bounds t_max;
    Bounds t_min;
    const char *solar_message;
};

/// The temperature bounds and solar message of the readers that take a file in chosen units.
RangeRules langley_range_rules();

/// Each checked value outside its range (or not a number) is reported with the day of year and
/// becomes 0; a maximum humidity from 1 up to the bound becomes 1.
void check_ranges(const RangeRules &rules, unsigned checked, WeatherValues &values, int doy);

/// Stores the weather values (and the ETr as the day's alternate one when `with_etr`) and marks
/// the day as holding data.
void store_values(const WeatherValues &values, bool with_etr, WeatherDay &day);

/// After the last record: when any day was filled, recomputes ET and marks the location modified.
void finish_import(CLocationDoc &location, int filled);

} // namespace tw
