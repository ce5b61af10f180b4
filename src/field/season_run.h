#pragma once

#include <cstdint>
#include <string_view>

namespace tw {

/// The advice shown for a day's category; empty for a day beyond the forecast.
std::string_view advice_message(std::int32_t category);

} // namespace tw
