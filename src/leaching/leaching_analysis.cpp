#include "leaching/leaching_analysis.h"

#include "field/field_doc.h"
#include "platform/message_port.h"
#include "platform/text_format.h"
#include "refdata/custom_settings.h"

#include <algorithm>

namespace tw {
namespace {

constexpr double kMmPerInch = 25.4;

template<typename Value>
double sum_of(std::span<const FieldDay> days, Value value)
{
    double total = 0.0;
    for (const FieldDay &t : days)
        total += value(t);
    return total;
}

float inches(double mm)
{
    return static_cast<float>(mm / kMmPerInch);
}

bool irrigated(const FieldDay &t)
{
    return t.gross_irrigation != 0.0f;
}

// A forecast day is a projection from averaged weather, not weather: a season whose record ends
// before Stop Irrigating must not pass for complete because its forecast reaches that day.
bool has_weather(const FieldDay &t)
{
    return t.kind != KindNoData && t.kind != KindForecast;
}

/// The grade of a value against the upper bounds of Low, Medium and High.
Grade grade_by(float value, float low, float medium, float high)
{
    if (value <= low)
        return Grade::Low;
    if (value <= medium)
        return Grade::Medium;
    return value <= high ? Grade::High : Grade::Excessive;
}

constexpr const char *kErrorCaption = "ERROR";

std::string drainage_class_message(std::string_view file, std::int32_t drainage_class)
{
    return strprintf("The nutrient file %.*s gives drainage class %d, which is not one of the five "
                     "classes (0 Very Well Drained to 4 Poorly Drained). Run the Fertilizer "
                     "Consultation again to choose the field's drainage class.",
                     static_cast<int>(file.size()), file.data(), drainage_class);
}

} // namespace

float total_water_applied(std::span<const FieldDay> days)
{
    return inches(sum_of(days, [](const FieldDay &t) { return t.gross_irrigation; }));
}

std::int32_t irrigation_count(std::span<const FieldDay> days)
{
    return static_cast<std::int32_t>(std::count_if(days.begin(), days.end(), irrigated));
}

float average_irrigation(float water_applied, std::int32_t count)
{
    return count < 1 ? 0.0f : water_applied / static_cast<float>(count);
}

float irrigation_interval(std::span<const FieldDay> days)
{
    const std::int32_t count = irrigation_count(days);
    if (count == 0)
        return 0.0f;
    const auto first = std::find_if(days.begin(), days.end(), irrigated) - days.begin();
    const auto last = days.rend() - std::find_if(days.rbegin(), days.rend(), irrigated) - 1;
    return static_cast<float>(last - first) / static_cast<float>(count);
}

float total_water_received(std::span<const FieldDay> days)
{
    return inches(sum_of(days, [](const FieldDay &t) {
        return static_cast<double>(t.rain) + t.effective_irrigation;
    }));
}

float total_deep_percolation(std::span<const FieldDay> days)
{
    return inches(sum_of(days, [](const FieldDay &t) { return t.drainage; }));
}

float total_nitrogen_applied(std::span<const FieldDay> days, float preplant)
{
    return static_cast<float>(preplant +
                              sum_of(days, [](const FieldDay &t) { return t.n_applied; }));
}

std::int32_t nitrogen_count(std::span<const FieldDay> days, float preplant)
{
    const auto count = std::count_if(days.begin(), days.end(),
                                     [](const FieldDay &t) { return t.n_applied != 0.0f; }) +
                       (preplant > 0.0f ? 1 : 0);
    return count == 0 ? -1 : static_cast<std::int32_t>(count);
}

float average_nitrogen(float nitrogen_applied, std::int32_t count)
{
    return count < 1 ? 0.0f : nitrogen_applied / static_cast<float>(count);
}

float final_nitrate_available(std::span<const FieldDay> days)
{
    if (days.empty())
        return 0.0f;
    const auto later = std::find_if(days.rbegin(), days.rend() - 1, has_weather);
    return later == days.rend() - 1 ? days.front().nitrate_available : later->nitrate_available;
}

float total_nitrate_leached(std::span<const FieldDay> days)
{
    return static_cast<float>(sum_of(days, [](const FieldDay &t) { return t.nitrate_leached; }));
}

std::optional<float> drainage_k(std::int32_t drainage_class)
{
    switch (drainage_class) {
    case 0: return 28.0f;
    case 1: return 21.0f;
    case 2: return 17.0f;
    case 3:
    case 4: return 15.0f;
    default: return std::nullopt;
    }
}

float leaching_index(float water_in, float k)
{
    const double s = 1000.0 / k - 10.0;
    const double p = water_in;
    if (p <= 0.4 * s)
        return 0.0f;
    return static_cast<float>((p - 0.4 * s) * (p - 0.4 * s) / (p + 0.6 * s));
}

Grade grade_leaching_index(float index)
{
    return grade_by(index, 5.0f, 10.0f, 20.0f);
}

Grade grade_deep_percolation(float inches)
{
    return grade_by(inches, 2.0f, 4.0f, 6.0f);
}

Grade grade_nitrate_available(float lbs)
{
    return grade_by(lbs, 50.0f, 100.0f, 150.0f);
}

Grade grade_nitrate_leached(float lbs)
{
    return grade_by(lbs, 5.0f, 10.0f, 15.0f);
}

std::string_view grade_word(Grade grade)
{
    switch (grade) {
    case Grade::Low: return "Low";
    case Grade::Medium: return "Medium";
    case Grade::High: return "High";
    case Grade::Excessive: return "Excessive";
    }
    return {};
}

ReductionAdvice reduction_advice(float nitrogen_applied, float nitrate_leached,
                                 const NutrientBlock &block)
{
    const FertilityInputs &in = block.inputs;
    const double goal = std::max(0.0f, in.yield_goal);
    const double recommended = static_cast<double>(block.recommendation.final) +
                               (in.midseason_mode == 1 ? in.applied_to_date : 0.0f);
    const auto yield_with = [&](double nitrogen) {
        if (in.n_requirement <= 0.0f)
            return goal;
        const double loss = std::max(0.0, recommended - nitrogen) / in.n_requirement;
        return std::clamp(goal - loss, 0.0, goal);
    };
    ReductionAdvice advice;
    advice.reduced_nitrogen = std::max(0.0f, nitrogen_applied - nitrate_leached);
    advice.yield_before = static_cast<float>(yield_with(nitrogen_applied));
    advice.yield_after = static_cast<float>(yield_with(advice.reduced_nitrogen));
    return advice;
}

LeachingSummary summarize_leaching(std::span<const FieldDay> days, const NutrientBlock &block)
{
    const float preplant = preplant_nitrogen(block);
    LeachingSummary s;
    s.water_applied = total_water_applied(days);
    s.irrigation_count = irrigation_count(days);
    s.average_irrigation = average_irrigation(s.water_applied, s.irrigation_count);
    s.irrigation_interval = irrigation_interval(days);
    const auto k = drainage_k(block.inputs.drainage_class);
    s.leaching_index = k ? leaching_index(total_water_received(days), *k) : 0.0f;
    s.deep_percolation = total_deep_percolation(days);
    s.nitrogen_applied = total_nitrogen_applied(days, preplant);
    s.nitrogen_count = nitrogen_count(days, preplant);
    s.average_nitrogen = average_nitrogen(s.nitrogen_applied, s.nitrogen_count);
    s.nitrate_available = final_nitrate_available(days);
    s.nitrate_leached = total_nitrate_leached(days);
    const ReductionAdvice advice = reduction_advice(s.nitrogen_applied, s.nitrate_leached, block);
    s.reduced_nitrogen = advice.reduced_nitrogen;
    s.yield_before = advice.yield_before;
    s.yield_after = advice.yield_after;
    return s;
}

WaterStress water_stress_of(std::span<const FieldDay> days)
{
    WaterStress stress;
    for (const FieldDay &t : days) {
        // After harvest nothing is allowed to deplete, and there is no crop to stress.
        if (!has_weather(t) || t.stage < 0)
            continue;
        if (t.deficit > t.allowable_depletion)
            ++stress.days;
        stress.largest_deficit = std::max(stress.largest_deficit, t.deficit);
    }
    stress.largest_deficit = inches(stress.largest_deficit);
    return stress;
}

bool reaches_end_of_irrigation(const SeasonReach &reach)
{
    const auto days = reach.days;
    if (reach.basis != GrowingDegreeDays) {
        const auto stop = static_cast<std::size_t>(std::max(reach.cycle.stop_day, 0));
        return stop < days.size() && has_weather(days[stop]);
    }
    if (days.empty())
        return false;
    const auto stop_gdd = static_cast<float>(reach.cycle.stop_gdd);
    return std::any_of(days.begin(), days.end() - 1,
                       [&](const FieldDay &t) { return has_weather(t) && t.cum_gdd > stop_gdd; });
}

bool season_incomplete(std::span<const FieldDay> days, const HarvestCycle &cycle)
{
    // A Stop Irrigating day beyond the record has no weather either.
    const auto stop = static_cast<std::size_t>(std::max(cycle.stop_day, 0));
    const bool stop_has_weather = stop < days.size() && has_weather(days[stop]);
    const float last_gdd = days.empty() ? 0.0f : days.back().cum_gdd;
    return !stop_has_weather && static_cast<float>(cycle.stop_gdd) > last_gdd;
}

AnalysisPeriod decide_period(std::span<const FieldDay> days, const HarvestCycle &cycle,
                             std::string_view crop_name, const FertilityInputs &inputs)
{
    const int whole = static_cast<int>(days.size());
    const bool incomplete = season_incomplete(days, cycle);
    if (inputs.midseason_mode == 1) {
        if (!incomplete)
            return {false, false, whole};
        const int n = truncate_to_int(inputs.soil_test_date - inputs.planting_date.serial);
        return {false, true, std::clamp(n, 0, whole)};
    }
    if (crop_name == "CORN" && incomplete)
        return {true, false, 0};
    return {false, false, whole};
}

std::optional<LeachingRun> run_leaching_analysis(const CFieldDoc &field, int day_count)
{
    const std::string base =
        nutrient_base_for_field(field.saved.name, field.saved.planting_date.day());
    NutrientBlock block;
    if (!read_nutrient_file(base, block))
        return std::nullopt;
    if (!drainage_k(block.inputs.drainage_class)) {
        messages().inform(drainage_class_message(base + ".FRT", block.inputs.drainage_class),
                          kErrorCaption, MessageIcon::Error);
        return std::nullopt;
    }
    LeachingRun run;
    // Missing or short schedule entries are reported and the analysis goes on: no statistic
    // depends on them.
    if (block.schedule_count > 0)
        read_schedule_file(base, run.schedule, block.schedule_count);

    const std::span<const FieldDay> days(
        field.season.days.data(),
        static_cast<std::size_t>(std::clamp(day_count, 0, field.day_count())));
    const AnalysisPeriod period =
        decide_period(days, field.season.cycles[0], field.saved.crop.name, block.inputs);
    if (period.stop) {
        messages().inform(kMidseasonFirstMessage);
        return std::nullopt;
    }
    run.midseason = period.midseason;
    run.analysed_days = period.day_count;
    run.consultation_date = block.inputs.soil_test_date;
    const auto analysed = days.first(static_cast<std::size_t>(period.day_count));
    run.summary = summarize_leaching(analysed, block);
    run.stress = water_stress_of(analysed);
    return run;
}

std::optional<LeachingRun> leaching_summary_command(const CFieldDoc &field)
{
    const SeasonReach reach{field.season.days, field.season.cycles[0],
                            custom_settings().crop_growth_basis};
    if (!reaches_end_of_irrigation(reach) && field.saved.crop.name != "CORN") {
        messages().inform(kNotEnoughDataMessage);
        return std::nullopt;
    }
    return run_leaching_analysis(field, field.day_count());
}

} // namespace tw
