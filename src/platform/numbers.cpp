#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tw {

std::int32_t truncate_to_int(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::trunc(value), lo, hi));
}

} // namespace tw
