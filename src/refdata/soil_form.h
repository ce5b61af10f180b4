#pragma once

#include "refdata/records.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

// The "Soil Attributes" dialog without the dialog: a soil as the user types it (moisture values in
// the display Soil_Moisture unit), its AWHC assistance and its range check. The soils database and
// a field's own soil share it; so do the soils list and `db list soils`.
namespace tw {

/// A soil's name and type hold this many characters (char[16] on disk).
constexpr std::size_t kSoilTextChars = 15;
constexpr float kMinAwhc = 0.001f;
constexpr float kMaxAwhc = 6.0f;

/// The dialog's fields; a default-constructed value is a new soil.
struct SoilValues
{
    std::string name;
    std::string type;
    float field_capacity = 0.0f;
    float wilting_point = 0.0f;
    float awhc = kMinAwhc;
};

SoilValues soil_values_of(const SoilRecord &soil);
/// Stores the values in internal units, the texts cut to their fields.
void store_soil_values(const SoilValues &values, SoilRecord &soil);

/// The AWHC field receives the focus: with both moisture values typed above 0, AWHC becomes their
/// difference.
void assist_awhc(SoilValues &values);
/// The message of an AWHC outside its range, nothing when the values can be stored.
std::optional<std::string> check_soil_values(const SoilValues &values);

constexpr int kSoilListColumns = 5;
/// "Soil Name", "Soil Type" and the three moisture headings with the display unit.
std::array<std::string, kSoilListColumns> soil_list_headings();
/// A soil as the list shows it: the moisture values in the display unit, "%1.3f".
std::array<std::string, kSoilListColumns> soil_list_row(const SoilRecord &soil);

} // namespace tw
