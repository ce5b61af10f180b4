#pragma once

#include "field/season.h"

#include <cstdint>
#include <string_view>

namespace tw {

/// The season run from day s: every day with weather, then a forecast with the recent weather's
/// means until an irrigation is called for or irrigating stops; later days are blanked. Days
/// before s keep what an earlier run computed. It reads no file and tells nobody: what the user
/// has to be told comes back in the season's messages.
void run_season(const SeasonInputs &inputs, FieldSeason &season, int s);

/// The advice shown for a day's category; empty for a day beyond the forecast.
std::string_view advice_message(std::int32_t category);

} // namespace tw
