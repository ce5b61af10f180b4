#pragma once

#include <string>

namespace tw {

/// What a column of the daily weather table holds, in one or two plain sentences with the
/// display unit of the moment (its title's tool tip); empty for any other column.
std::string weather_column_tip(int column);

} // namespace tw
