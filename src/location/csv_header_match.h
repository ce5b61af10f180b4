#pragma once

#include "location/csv_weather.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

// Station exports name their columns in many ways ("Tmax(F)", "Max Temp (°F)", "tmax_c"): the
// header's names and the units written in them, read without regard to case, spacing and
// punctuation, give a first map for the user to confirm.
namespace tw {

/// For each quantity the header column it was found in (nothing when none fits) and the index of
/// the unit its name writes among the quantity's units.
struct CsvHeaderMatch
{
    std::array<std::optional<std::size_t>, kCsvQuantities> columns{};
    std::array<std::size_t, kCsvQuantities> units{};

    std::optional<std::size_t> column(CsvQuantity q) const
    {
        return columns[static_cast<std::size_t>(q)];
    }
    std::size_t unit(CsvQuantity q) const { return units[static_cast<std::size_t>(q)]; }
};

/// Matches the preview's header. A humidity column whose name writes no unit is read as percent
/// unless the first rows hold nothing above 1.5.
CsvHeaderMatch match_csv_header(const CsvPreview &preview);

/// What an automatic map lacks to be taken without a look: the date, or either temperature. The
/// sentence names them; empty when nothing is lacking.
std::string csv_auto_map_problem(const CsvWeatherMap &map);

} // namespace tw
