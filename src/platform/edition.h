#pragma once

#include <cstdint>
#include <string_view>

// Which release of the program is running. The earlier release is the same program with older
// record layouts in crop.db and station.db and a few features its users never had; every part
// that differs asks the edition instead of carrying a build switch.
namespace tw {

/// How a crop.db record is laid out: the earlier 928-byte record holds 20 stages, no maximum
/// harvests, and numbers the stage flags differently; the current one is 2008 bytes.
enum class CropLayout {
    Release1,
    Current,
};

/// How a station.db record is laid out: the earlier 52-byte record ends after Tx; the current
/// 68-byte one adds the anemometer height, the reference crop, DeltaT and Kzero.
enum class StationLayout {
    Release1,
    Current,
};

struct Edition
{
    std::int32_t release;          ///< 1 for the earlier release, 2 for the current one
    std::string_view program_name; ///< as the About box and the window titles name it
    CropLayout crop_layout;
    StationLayout station_layout;
    bool tip_window;           ///< the welcome window and its menu command
    bool location_summary;     ///< the upper pane of the location window
    bool standardized_penman;  ///< in the location's list of ET equations
    bool separate_jvu_imports; ///< "JVU (new)" and "JVU (old)" rather than one "JVU"
    bool perennial_crops;
    bool full_irrigation_table; ///< the 16 systems; else the three of the earlier release
};

const Edition &current_release();
const Edition &release1();
/// The edition with that release number, nothing for any other.
const Edition *edition_of_release(std::int32_t release);

/// The edition the process runs as: the current release unless its program chose another at
/// start-up (a test or a command may switch it for a while and back).
const Edition &edition();
/// The edition is kept by reference: pass one of the two above.
void set_edition(const Edition &edition);

} // namespace tw
