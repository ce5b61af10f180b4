#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tw {

enum ApplicationPhase : std::int32_t {
    PhaseUnset = -1,
    PhasePreplant = 0,
    PhaseStarter = 1,
    PhasePostEmergence = 2,
    PhaseFertigation = 3,
};

/// One planned application: the schedule file holds these back to back.
struct ScheduleEntry
{
    std::int32_t phase = PhaseUnset;
    std::int32_t fertigation_number = 0; ///< 1-based, for fertigations
    std::string material;                ///< char[30]
    std::string method;                  ///< char[22]
    float nitrogen = 0.0f;               ///< lb/acre
    float phosphorus = 0.0f;
    float potassium = 0.0f;
    float amount = 0.0f; ///< lb/acre of material
};

constexpr std::size_t kScheduleEntrySize = 76;
using ScheduleEntryImage = std::array<std::uint8_t, kScheduleEntrySize>;

ScheduleEntryImage encode_schedule_entry(const ScheduleEntry &entry);
ScheduleEntry decode_schedule_entry(std::span<const std::uint8_t, kScheduleEntrySize> bytes);

} // namespace tw
