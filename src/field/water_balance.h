#pragma once

#include "field/season.h"

#include <cstdint>

namespace tw {

/// The root-depth models of the preferences.
enum RootDepthModel : std::int32_t {
    LinearRoots = 0,
    NonLinearRoots = 1,
};

/// The soil-moisture display modes of the preferences (any other value shows content).
enum MoistureDisplay : std::int32_t {
    AvailableDepth = 0,
    DeficitDisplay = 1,
    ContentDisplay = 2,
};

/// A quotient whose divisor may be 0 (a crop or soil without depths or stage ends): 0 then.
inline double ratio_or_zero(double numerator, double divisor)
{
    return divisor == 0.0 ? 0.0 : numerator / divisor;
}

/// The water-stress coefficient of a day from the previous day's deficit and TAW: 1 with no
/// deficit, 0 at TAW (and beyond, where an entered deficit may lie).
double water_stress(float deficit, float taw);

/// The share of measured rain that counts as effective for a system's net application depth
/// (inches): the soil-storage factor of the SCS effective-rainfall method, at most 1.
double effective_rain_factor(float net_depth_in);

/// The cumulative irrigation (inches) and nitrogen-applied sums the daily steps read; also sizes
/// the cumulative-leaching array.
void prepare_season_run(FieldSeason &season);

/// Computes field day d (0 <= d < day count) from day d-1 and the day's weather; 0 when the day
/// has no weather (nothing is changed then).
int daily_step(const SeasonInputs &inputs, FieldSeason &season, int d);

} // namespace tw
