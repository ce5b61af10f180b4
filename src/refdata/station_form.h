#pragma once

#include "refdata/records.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The "Station Attributes" dialog without the dialog: a station as the user types it, in display
// units, with the pressure and the Jensen-Haise parameters derived as the fields are left.
namespace tw {

/// A station's name holds this many characters (char[20] on disk).
constexpr std::size_t kStationNameChars = 19;
/// The reference crop of a new station the user has not chosen one for.
constexpr std::int32_t kNoReferenceChosen = -1;

/// The dialog's fields; a default-constructed value is a new station.
struct StationValues
{
    std::string name;
    int elevation = 0; ///< a whole number in the display Height unit
    float latitude = 0.0f;
    float warm_month_tmin = 0.0f;
    float warm_month_tmax = 0.0f;
    float pressure = 0.0f; ///< derived
    float anemometer_height = 0.0f;
    float jh_ct = 0.0f; ///< derived
    float jh_tx = 0.0f; ///< derived
    std::int32_t reference_type = kNoReferenceChosen;
    float k_zero = 0.0f;
    float delta_t = 0.0f;
};

/// The elevation (m) as the dialog shows it: a whole number of the display Height unit, the
/// fraction dropped. The noise of the unit round trip is not a fraction: 4662 ft typed and stored
/// as metres shows as 4662 again, not 4661.
int shown_elevation(float elevation);
/// The station in display units, its elevation cut to a whole number.
StationValues station_values_of(const StationRecord &station);
/// Stores every value but the index, in internal units; the name cut to its field.
void store_station_values(const StationValues &values, StationRecord &station);

/// Leaving the elevation: the pressure from it, then Ct and Tx.
void station_elevation_left(StationValues &values);
/// Leaving either warmest-month temperature: Ct and Tx from the elevation and both temperatures.
void station_temperature_left(StationValues &values);
/// Kzero and DeltaT are typed unless a Standardized Penman reference crop is chosen.
bool station_k_zero_enabled(const StationValues &values);
/// The message of a negative elevation, nothing when the values can be stored.
std::optional<std::string> check_station_values(const StationValues &values);

} // namespace tw
