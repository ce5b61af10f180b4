#pragma once

#include "fertility/fertility_inputs.h"
#include "fertility/method_results.h"
#include "fertility/schedule_entry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The two files a consultation leaves in the working directory: the nutrient file (BASE.FRT, one
// block of the inputs and the results) and the schedule file (BASE.LCH, the planned
// applications). The field's nitrogen balance and the leaching analysis read them back.
namespace tw {

struct NutrientBlock
{
    FertilityInputs inputs;
    Recommendation recommendation;
    SoilTestResult soil_test;
    MassBalanceResult mass_balance;
    std::int32_t schedule_count = 0;
    /// Nitrogen of the first schedule entry (truncated) when Preplant was chosen, else -1. A
    /// midseason save keeps the figure of the file it replaces.
    std::int32_t first_entry_nitrogen = -1;
};

constexpr std::size_t kNutrientFileSize = 664;
using NutrientImage = std::array<std::uint8_t, kNutrientFileSize>;

NutrientImage encode_nutrient_block(const NutrientBlock &block);
NutrientBlock decode_nutrient_block(std::span<const std::uint8_t, kNutrientFileSize> bytes);

enum class FileReadStatus { Ok, CannotOpen, Short };

struct NutrientFileRead
{
    FileReadStatus status = FileReadStatus::CannotOpen;
    NutrientBlock block;
};

/// BASE.FRT of the working directory, without any message (each reader has its own texts). A
/// base name that would leave the working directory cannot be opened.
NutrientFileRead load_nutrient_file(std::string_view base);

/// Reads BASE.FRT; 1 on success, else 0 after telling the user why.
int read_nutrient_file(std::string_view base, NutrientBlock &block);

/// Reads `count` entries of BASE.LCH; 1 on success, else 0 after telling the user why, with the
/// whole entries that could be read.
int read_schedule_file(std::string_view base, std::vector<ScheduleEntry> &entries, int count);

/// Writes BASE.FRT, then BASE.LCH with the block's schedule count of entries, each replacing the
/// old file atomically. A midseason block (`midseason_mode` 1) keeps the stored pre-season inputs
/// of the existing nutrient file. 1 on success, else 0 after the message.
int file_SaveInfo(std::string_view base, const NutrientBlock &block,
                  std::span<const ScheduleEntry> schedule);

/// The base name of a field's nutrient and schedule files: the field name and the two digits of
/// the planting year. The consultation writes them, the field and the leaching analysis read them.
std::string nutrient_base_for_field(std::string_view field_name, int planting_day);

/// What a field's season run takes from its nutrient file.
struct FieldNitrogenReadBack
{
    float irrigation_nitrate = 0.0f; ///< ppm nitrate-N of the irrigation water
    float yield_goal = 0.0f;         ///< the seasonal nitrogen basis
    /// lb/acre: preplant fertilizer nitrogen plus the mass-balance soil credits, less the
    /// denitrification loss.
    float soil_nitrogen_at_planting = 0.0f;
};

FieldNitrogenReadBack field_nitrogen_read_back(const NutrientBlock &block);

/// Nitrogen applied before planting by the schedule: the first entry's nitrogen when it is a
/// Preplant application (the block says -1 otherwise), else 0.
float preplant_nitrogen(const NutrientBlock &block);

} // namespace tw
