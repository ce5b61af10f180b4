#pragma once

#include <cstdint>

namespace tw {

/// The whole part of a value read from a file or computed from one, held to the 32-bit range
/// (NaN gives 0): a stored float can hold anything, and casting one out of range is undefined.
std::int32_t truncate_to_int(double value);

} // namespace tw
