#pragma once

#include "field/field_day.h"
#include "field/remembered_location.h"
#include "field/saved_field.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tw {

/// The .fld bytes of a field: its saved values, its days, and `location` as the location it
/// remembers.
std::vector<std::uint8_t> encode_field_file(const SavedField &field, std::span<const FieldDay> days,
                                            const LocationIdentity &location);
/// Reads .fld bytes over `field` and `days`; false when they cannot be read.
bool decode_field_file(std::span<const std::uint8_t> bytes, SavedField &field,
                       std::vector<FieldDay> &days);

} // namespace tw
