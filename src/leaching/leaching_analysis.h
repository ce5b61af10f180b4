#pragma once

#include "fertility/nutrient_file.h"
#include "fertility/schedule_entry.h"
#include "field/field_day.h"
#include "field/growth_stages.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The leaching analysis: a field's season (or its part up to a midseason fertilizer consultation)
// judged from its water and its nitrogen. The daily nitrate balance is the water balance's; this
// sums and grades its days with the nutrient file the consultation wrote.
namespace tw {

class CFieldDoc;

/// The season's statistics; depths in inches, nitrogen in lb/acre.
struct LeachingSummary
{
    std::int32_t state = 1;
    float water_applied = 0.0f; ///< total gross irrigation
    std::int32_t irrigation_count = 0;
    float average_irrigation = 0.0f;
    float reserved = 0.0f;
    float irrigation_interval = 0.0f; ///< days
    float leaching_index = 0.0f;
    float deep_percolation = 0.0f;   ///< below the maximum root depth
    float nitrogen_applied = 0.0f;   ///< preplant nitrogen plus the season's applications
    std::int32_t nitrogen_count = 0; ///< -1 when there were none
    float average_nitrogen = 0.0f;
    float nitrate_available = 0.0f; ///< on the last analysed day with weather
    float nitrate_leached = 0.0f;
    float reduced_nitrogen = 0.0f; ///< the nitrogen that would have left nothing to leach
    float yield_before = 0.0f;     ///< crop yield units per acre
    float yield_after = 0.0f;
};

// Statistics of the analysed days.
float total_water_applied(std::span<const FieldDay> days);
std::int32_t irrigation_count(std::span<const FieldDay> days);
float average_irrigation(float water_applied, std::int32_t count);
/// The span from the first to the last irrigation over the number of irrigations.
float irrigation_interval(std::span<const FieldDay> days);
/// Measured rain plus effective irrigation, inches.
float total_water_received(std::span<const FieldDay> days);
float total_deep_percolation(std::span<const FieldDay> days);
float total_nitrogen_applied(std::span<const FieldDay> days, float preplant);
/// Days with nitrogen applied, the preplant nitrogen counting as one; -1 when none.
std::int32_t nitrogen_count(std::span<const FieldDay> days, float preplant);
float average_nitrogen(float nitrogen_applied, std::int32_t count);
/// The soil nitrate of the last day with weather (day 0 when no later day has any).
float final_nitrate_available(std::span<const FieldDay> days);
float total_nitrate_leached(std::span<const FieldDay> days);

/// The runoff-curve k of a drainage class (Very Well Drained 0 .. Poorly Drained 4); nothing for
/// any other class.
std::optional<float> drainage_k(std::int32_t drainage_class);
/// The index from the water received (inches) and k: 0 while the water stays within the
/// retention threshold 0.4 S, where the squared excess would grow again as the water falls.
float leaching_index(float water_in, float k);

enum class Grade { Low = 1, Medium, High, Excessive };

Grade grade_leaching_index(float index);
Grade grade_deep_percolation(float inches);
Grade grade_nitrate_available(float lbs);
Grade grade_nitrate_leached(float lbs);
std::string_view grade_word(Grade grade);

/// How long and how far the soil dried past the critical (allowable) deficit on the days with
/// weather; the leaching grades say nothing of a crop short of water.
struct WaterStress
{
    int days = 0;                 ///< days the deficit exceeded the allowable depletion
    float largest_deficit = 0.0f; ///< inches, over the analysed crop days with weather
};

WaterStress water_stress_of(std::span<const FieldDay> days);

/// The reduction advice, in lb/acre and crop yield units per acre.
struct ReductionAdvice
{
    float reduced_nitrogen = 0.0f;
    float yield_before = 0.0f;
    float yield_after = 0.0f;
};

/// Cutting the fertilizer by what leached (not below 0) would have left nothing to leach. The
/// yields follow the consultation's relation between nitrogen and yield: the recommendation is
/// the fertilizer nitrogen for the yield goal, and each lb/acre short of it costs
/// 1 / n_requirement units of yield:
///   yield(N) = yield_goal - max(0, recommended - N) / n_requirement, kept within 0..yield_goal,
/// with recommended = the final recommendation, plus the nitrogen applied before it for a
/// midseason correction (whose recommendation is what remains to apply). yield_before =
/// yield(nitrogen_applied), yield_after = yield(reduced_nitrogen). Without a requirement per unit
/// of yield there is no relation, and both yields are the goal.
ReductionAdvice reduction_advice(float nitrogen_applied, float nitrate_leached,
                                 const NutrientBlock &block);

/// Every statistic of the analysed days, the index and the reduction advice. A drainage class
/// outside 0..4 gives an index of 0 (run_leaching_analysis refuses such a file).
LeachingSummary summarize_leaching(std::span<const FieldDay> days, const NutrientBlock &block);

/// The first harvest's end of irrigation as the record and the basis see it.
struct SeasonReach
{
    std::span<const FieldDay> days;
    HarvestCycle cycle;     ///< the first harvest cycle
    std::int32_t basis = 0; ///< CropGrowthBasis
};

/// The check of the "Leaching Summary" command: by days, the Stop Irrigating day has weather; by
/// degree days, a day with weather before the last one is past the Stop Irrigating degree days.
bool reaches_end_of_irrigation(const SeasonReach &reach);

/// The Stop Irrigating day has no weather and its degree days lie beyond the record's last day.
bool season_incomplete(std::span<const FieldDay> days, const HarvestCycle &cycle);

/// Which days are analysed: all of them, a midseason part, or none (after the message).
struct AnalysisPeriod
{
    bool stop = false;
    bool midseason = false;
    int day_count = 0;
};

/// The period of the analysis from the nutrient file's midseason mode, the crop and the record;
/// a midseason period runs from planting to the day before the soil test, within the record.
AnalysisPeriod decide_period(std::span<const FieldDay> days, const HarvestCycle &cycle,
                             std::string_view crop_name, const FertilityInputs &inputs);

/// What a run of the analysis gives the report.
struct LeachingRun
{
    LeachingSummary summary;
    bool midseason = false;
    int analysed_days = 0;
    int consultation_date = 0; ///< day serial of the midseason soil test
    WaterStress stress;
    std::vector<ScheduleEntry> schedule;
};

/// Reads the field's nutrient and schedule files, decides the period and sums its first
/// `day_count` days; nothing after the message when the analysis stops.
std::optional<LeachingRun> run_leaching_analysis(const CFieldDoc &field, int day_count);

/// The "Leaching Summary" command: the check of the record (a corn field goes on to the
/// analysis, which decides on a midseason consultation), then the analysis of every day.
std::optional<LeachingRun> leaching_summary_command(const CFieldDoc &field);

// Each refusal says what to do next, so that the user is not left at a dead end.
inline constexpr std::string_view kNotEnoughDataMessage =
    "There is Not Enough Irrigation Data to Run Leaching Module.\n"
    "The report comes with the season's end: enter or import the weather through the crop's "
    "Stop Irrigating stage, then run Leaching Summary again.";
inline constexpr std::string_view kMidseasonFirstMessage =
    "A Midseason Fertilizer Consult must be run before a Midseason Leaching Consult.\n"
    "Run Consult > Fertilizer Consultation and choose the midseason correction (tillwise-cli "
    "fertility F.fld --location L.loc --answers FILE with a midseason answers file), or wait for "
    "the whole season's report at its end.";

} // namespace tw
