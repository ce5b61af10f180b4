#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tw {

/// One row of the fixed irrigation system table.
struct IrrigationSystem
{
    std::string_view name;
    float efficiency;   ///< default application efficiency, percent
    float net_depth_in; ///< net application depth, inches (drives the effective-rain factor)
};

/// The systems of the running edition, by index: the 16 of the current release, the three of
/// the earlier one.
std::span<const IrrigationSystem> irrigation_systems();
/// The row of an index, nothing outside the table.
const IrrigationSystem *irrigation_system(std::int32_t index);
/// The index of a system by its name (compared without regard to case).
std::optional<std::int32_t> irrigation_system_index(std::string_view name);

} // namespace tw
