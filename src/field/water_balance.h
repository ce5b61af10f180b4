#pragma once

#include <cstdint>

namespace tw {

class CFieldDoc;

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

/// The preferences a season run reads, taken once at its start, and what learning from readings
/// adds to the days it is run for.
struct RunSettings
{
    std::int32_t basis = 0;
    std::int32_t root_model = 0;
    std::int32_t moisture_display = 1;
    /// Water taken from the root zone each day before harvest beyond crop ET, mm (a negative
    /// value adds water).
    float added_depletion = 0.0f;

    static RunSettings current();
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
void prepare_season_run(CFieldDoc &field);

/// Computes field day d (0 <= d < day count) from day d-1 and the day's weather; 0 when the day
/// has no weather (nothing is changed then).
int daily_step(CFieldDoc &field, int d, const RunSettings &settings);

} // namespace tw
