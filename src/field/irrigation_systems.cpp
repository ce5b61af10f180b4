#include "field/irrigation_systems.h"

#include "platform/edition.h"
#include "platform/text_format.h"

#include <array>

namespace tw {
namespace {

constexpr std::array<IrrigationSystem, 16> kSystems{{
    {"Flood (wild)", 20, 5.0f},
    {"Border", 40, 4.0f},
    {"Furrows", 50, 3.5f},
    {"Furrows Surge", 65, 3.5f},
    {"Level Basins", 90, 4.0f},
    {"Sprinker:Solid Set", 80, 2.0f},
    {"Sprinker:Hand Move/Tow", 70, 2.5f},
    {"Sprinker:Side Roll Sprinker", 70, 1.5f},
    {"Sprinker:Big Gun", 55, 1.5f},
    {"Sprinker:HP Center Pivot", 70, 1.2f},
    {"Sprinker:Low Impact CP", 75, 1.2f},
    {"Sprinker:Mid Elevation Spray CP", 85, 0.8f},
    {"Sprinker:Low Elevation Spray CP", 90, 0.8f},
    {"Sprinker:LEPA CP", 95, 2.5f},
    {"Surface Drip", 90, 0.5f},
    {"Subsurface Drip", 95, 0.5f},
}};

// The earlier release offered three kinds of system. Each takes its efficiency and depth from the
// row of the table above it is closest to: Sprinkler from "Sprinker:HP Center Pivot", the high-
// pressure pivot its growers ran; Furrow from "Furrows"; Flood from "Flood (wild)".
constexpr std::array<IrrigationSystem, 3> kRelease1Systems{{
    {"Sprinkler", kSystems[9].efficiency, kSystems[9].net_depth_in},
    {"Furrow", kSystems[2].efficiency, kSystems[2].net_depth_in},
    {"Flood", kSystems[0].efficiency, kSystems[0].net_depth_in},
}};

} // namespace

std::span<const IrrigationSystem> irrigation_systems()
{
    if (!edition().full_irrigation_table)
        return kRelease1Systems;
    return kSystems;
}

const IrrigationSystem *irrigation_system(std::int32_t index)
{
    const auto systems = irrigation_systems();
    if (index < 0 || static_cast<std::size_t>(index) >= systems.size())
        return nullptr;
    return &systems[static_cast<std::size_t>(index)];
}

std::optional<std::int32_t> irrigation_system_index(std::string_view name)
{
    const std::string wanted = to_upper_ascii(name);
    const auto systems = irrigation_systems();
    for (std::size_t i = 0; i < systems.size(); ++i) {
        if (to_upper_ascii(systems[i].name) == wanted)
            return static_cast<std::int32_t>(i);
    }
    return std::nullopt;
}

} // namespace tw
