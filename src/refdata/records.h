#pragma once

#include "platform/edition.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The fixed records of soil.db, station.db and crop.db. Stored quantities are in internal units.
// Texts are UTF-8 here and cut to their field's width when a record is encoded.
namespace tw {

struct SoilRecord
{
    std::int32_t index = 0;
    std::string name; ///< char[16]
    std::string type; ///< char[16], the texture class
    float sm_fc = 0.0f;
    float sm_pwp = 0.0f;
    float awhc = 0.0f;
};

struct StationRecord
{
    std::int32_t index = 0;
    std::string name; ///< char[20]
    float elevation = 0.0f;
    float latitude = 0.0f;
    float pressure = 0.0f;
    float warm_month_tmin = 0.0f;
    float warm_month_tmax = 0.0f;
    float jh_ct = 0.0f;
    float jh_tx = 0.0f;
    float anemometer_height = 0.0f;
    std::int32_t reference_type = 0; ///< 0 None, 1 Short (Grass), 2 Tall (Alfalfa), -1 unset
    float delta_t = 0.0f;
    float k_zero = 0.0f;
};

enum StageFlag : std::int32_t {
    StageOrdinary = 0,
    StagePlanting = 1,
    StageEmergence = 2,
    StageFullCover = 3,
    StageStopIrrigating = 4,
    StageHarvest = 5,
};

struct GrowthStage
{
    std::string name; ///< char[20]
    std::int32_t flag = StageOrdinary;
    float allowable_depletion = 0.0f;
    float end_day = 0.0f;
    float end_gdd = 0.0f;
};

constexpr std::size_t kMaxStages = 50;

/// Crop-coefficient polynomial: a3·R³ + a2·R² + a1·R + a0, stored a3 first.
using KcPolynomial = std::array<double, 4>;

struct CropRecord
{
    std::int32_t index = 0;
    std::string name;   ///< char[20]
    std::string hybrid; ///< char[20]
    std::int32_t max_harvests = 1;
    float planting_depth = 0.0f;
    float max_root_depth = 0.0f;
    float gdd_min_temp = 0.0f;
    float gdd_max_temp = 0.0f;
    KcPolynomial kc_before{};
    KcPolynomial kc_after{};
    std::string yield_units; ///< char[12]
    float n_requirement = 0.0f;
    std::int32_t average_yield = 0;
    std::int32_t plant_population = 0;
    float yield_b0 = 0.0f;
    /// Uptake efficiencies in percent: fertilizer, residual nitrate, organic matter, legume
    /// fixation, manure mineralization, irrigation water nitrate.
    std::array<std::int32_t, 6> efficiency{};
    std::array<std::int32_t, 3> p_levels{}; ///< low, medium, high, lb/acre
    std::array<std::int32_t, 3> k_levels{};
    std::int32_t stage_count = 0;
    std::array<GrowthStage, kMaxStages> stages{};
};

/// Flags as the earlier release numbered them (0 none, 1 Emergence, 2 Full Cover, 3 Stop
/// Irrigating, 4 Planting, 5 Harvest) and back; a value outside 0 to 5 stays as it is.
std::int32_t stage_flag_from_release1(std::int32_t flag);
std::int32_t stage_flag_to_release1(std::int32_t flag);

constexpr std::size_t kSoilRecordSize = 48;
constexpr std::size_t kStationRecordSize = 68;
constexpr std::size_t kGrowthStageSize = 36;
constexpr std::size_t kCropRecordSize = 2008;

constexpr std::size_t kRelease1StationRecordSize = 52;
constexpr std::size_t kRelease1CropRecordSize = 928;
constexpr std::size_t kRelease1MaxStages = 20;

std::size_t station_record_size(StationLayout layout);
std::size_t crop_record_size(CropLayout layout);
/// How many stages a crop of the layout can hold.
std::size_t crop_stage_capacity(CropLayout layout);

using SoilImage = std::array<std::uint8_t, kSoilRecordSize>;
using StationImage = std::array<std::uint8_t, kStationRecordSize>;
using CropImage = std::array<std::uint8_t, kCropRecordSize>;

SoilImage encode_soil(const SoilRecord &record);
SoilRecord decode_soil(std::span<const std::uint8_t, kSoilRecordSize> bytes);
StationImage encode_station(const StationRecord &record);
StationRecord decode_station(std::span<const std::uint8_t, kStationRecordSize> bytes);
/// Stage entries beyond the count are written as they stand in the record.
CropImage encode_crop(const CropRecord &record);
/// A stored stage count outside 0 to 50 is brought into that range.
CropRecord decode_crop(std::span<const std::uint8_t, kCropRecordSize> bytes);

/// The record in the layout's bytes (its size above). The earlier layouts drop what they have no
/// field for, and a crop keeps at most its capacity of stages.
std::vector<std::uint8_t> encode_station(const StationRecord &record, StationLayout layout);
std::vector<std::uint8_t> encode_crop(const CropRecord &record, CropLayout layout);
/// The record of the layout from at least its size of bytes (fewer read as zeros). An earlier
/// station takes the values a location assumed without them: anemometer 2.0 m, reference crop 2
/// (Tall (Alfalfa)); an earlier crop has one harvest per season.
StationRecord decode_station(std::span<const std::uint8_t> bytes, StationLayout layout);
CropRecord decode_crop(std::span<const std::uint8_t> bytes, CropLayout layout);

} // namespace tw
