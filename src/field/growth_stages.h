#pragma once

#include "platform/numbers.h"
#include "refdata/records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

class CFieldDoc;

/// The crop-growth basis of the preferences: stages and cycles placed by days or by degree days.
enum CropGrowthBasis : std::int32_t {
    SeasonDays = 0,
    GrowingDegreeDays = 1,
};

/// The end days and end degree days (truncated) of the flagged stages of one harvest.
struct HarvestCycle
{
    std::int32_t emergence_day = 0;
    std::int32_t full_cover_day = 0;
    std::int32_t stop_day = 0;
    std::int32_t harvest_day = 0;
    std::int32_t emergence_gdd = 0;
    std::int32_t full_cover_gdd = 0;
    std::int32_t stop_gdd = 0;
    std::int32_t harvest_gdd = 0;
};

constexpr std::size_t kMaxHarvestCycles = 10;
using HarvestTable = std::array<HarvestCycle, kMaxHarvestCycles>;

/// The text of a management flag in the stage list.
std::string_view stage_flag_text(std::int32_t flag);

/// One day's growing degree days: Tmax capped at the cutoff, Tmin raised to the base.
float degree_days(float t_min, float t_max, float base, float cutoff);

/// The number of harvests the cycle lookups may use (the crop's value kept within the table).
int harvest_count(const CropRecord &crop);

/// The harvest cycle of day d by days, and by cumulative degree days.
int cycle_by_days(const HarvestTable &cycles, int harvests, int d);
int cycle_by_gdd(const HarvestTable &cycles, int harvests, float cum_gdd);
/// The cycle of a day by the basis.
int cycle_of_day(const HarvestTable &cycles, int harvests, std::int32_t basis, int d,
                 float cum_gdd);

/// Past the last harvest of the season.
bool is_post_harvest(const HarvestTable &cycles, int harvests, std::int32_t basis, int d,
                     float cum_gdd);

/// The first stage among all but the last that day d (or its degree days) has not passed;
/// StagePostHarvest when post-harvest or none.
std::int32_t stage_of_day(const CropRecord &crop, std::int32_t basis, int d, float cum_gdd,
                          bool post_harvest);

/// The stage of field day d by the preferences' basis, from the day's stored degree days.
std::int32_t calc_growth_stage(const CFieldDoc &field, int d);

/// Fills the table from the flagged stages; false when the number of completed harvests differs
/// from the crop's.
bool fill_harvest_cycles(const CropRecord &crop, HarvestTable &cycles);
inline constexpr const char *kHarvestCountMessage =
    "Problem with number of harvests in Perennial Crop";
/// fill_harvest_cycles, telling the user when the count differs.
bool derive_harvest_cycles(const CropRecord &crop, HarvestTable &cycles);

/// The stage of day d changes to k: the end of the stage left (or of stage k, going back) moves
/// to day d, then the cycles are derived again.
void record_stage_end(CFieldDoc &field, int d, int k);

/// Repeats the Emergence..Harvest stages once per further harvest (of a crop that stores its first
/// cutting cycle followed by the later one, the later one: stages after its first Harvest stage,
/// from that Harvest); for an established stand
/// (planting_season false) drops the first stage and names the new first "Green-up". Nothing
/// changes, and the reason is returned, when the result would not fit in a crop.
std::optional<std::string> expand_perennial(CropRecord &crop, bool planting_season);

} // namespace tw
