#pragma once

#include "field/soil_readings.h"

#include <optional>
#include <span>
#include <string>

namespace tw {

class CFieldDoc;

/// Why a soil-moisture deficit (mm) cannot be field day d's: below 0, wetter than field
/// capacity, or above the total available water of the day's root zone. The message names the
/// day and the limit in the depth unit shown; nothing when the root zone can hold it.
std::optional<std::string> deficit_beyond_root_zone(const CFieldDoc &field, int d, double deficit);

/// The message of the first reading of a field's day that its root zone cannot hold, naming its
/// line; nothing when every one fits.
std::optional<std::string> reading_beyond_root_zone(const CFieldDoc &field,
                                                    std::span<const SoilReading> readings,
                                                    ReadingKind kind);

} // namespace tw
