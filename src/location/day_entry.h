#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The day entry dialog's rules without the dialog: one day's values as the user types them
// (display units, whole-percent humidities) and what OK does with them.
namespace tw {

class CLocationDoc;

struct DayEntry
{
    float t_min = 0.0f;
    float t_max = 0.0f;
    int rh_min = 0; ///< whole percent
    int rh_max = 0;
    float solar_radiation = 0.0f;
    /// The radiation comes from a cloud-cover class (the preferences' choice).
    bool use_cloud_cover = false;
    std::int32_t cloud_cover = 0; ///< class 0..4
    float wind_run = 0.0f;
    float rain = 0.0f;
    bool use_alternate_etr = false;
    float alternate_etr = 0.0f;

    /// Unticking "Use Alternate ET" clears the alternate value.
    void set_use_alternate_etr(bool on);
};

/// The dialog's fields for day i (0 <= i < day_count).
DayEntry day_entry_of(const CLocationDoc &location, int i);

/// Jensen-Haise and Hargreaves read neither humidity nor wind; the dialog hides them.
bool humidity_and_wind_shown(std::int32_t et_method);
/// With ETR the typed ETr is all there is.
bool alternate_etr_forced(std::int32_t et_method);

/// The message that refuses the entry, or nothing.
std::optional<std::string> day_entry_problem(const DayEntry &entry);

/// OK: stores the entry into day i, marks the location modified, computes the day (telling the
/// fields) and updates the views with hint i. False after the message when the entry is refused.
bool apply_day_entry(CLocationDoc &location, int i, const DayEntry &entry);

} // namespace tw
