#include "field/growth_stages.h"

#include "field/field_doc.h"
#include "platform/message_port.h"
#include "platform/text_format.h"
#include "refdata/custom_settings.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace tw {
namespace {

int stage_count_of(const CropRecord &crop)
{
    return std::clamp(crop.stage_count, 0, static_cast<std::int32_t>(kMaxStages));
}

void store_stage_end(HarvestCycle &cycle, const GrowthStage &s)
{
    const std::int32_t day = truncate_to_int(s.end_day);
    const std::int32_t gdd = truncate_to_int(s.end_gdd);
    switch (s.flag) {
    case StageEmergence:
        cycle.emergence_day = day;
        cycle.emergence_gdd = gdd;
        break;
    case StageFullCover:
        cycle.full_cover_day = day;
        cycle.full_cover_gdd = gdd;
        break;
    case StageStopIrrigating:
        cycle.stop_day = day;
        cycle.stop_gdd = gdd;
        break;
    default:
        cycle.harvest_day = day;
        cycle.harvest_gdd = gdd;
        break;
    }
}

/// The stages a perennial's expansion repeats: from `first` to the last stage, with their ends
/// counted from the end of the stage before `first` (from 0 for the only cycle).
struct RepeatedCycle
{
    int first = 1;
    int stored_harvests = 1;
    float start_day = 0.0f;
    float start_gdd = 0.0f;
};

RepeatedCycle repeated_cycle(const CropRecord &crop)
{
    const int n = stage_count_of(crop);
    RepeatedCycle r;
    int harvests = 0;
    for (int k = 0; k + 1 < n; ++k) {
        if (crop.stages[static_cast<std::size_t>(k)].flag != StageHarvest)
            continue;
        ++harvests;
        r.first = k + 1;
        r.start_day = crop.stages[static_cast<std::size_t>(k)].end_day;
        r.start_gdd = crop.stages[static_cast<std::size_t>(k)].end_gdd;
    }
    r.stored_harvests = harvests + 1;
    return r;
}

} // namespace

std::string_view stage_flag_text(std::int32_t flag)
{
    switch (flag) {
    case StageOrdinary: return "";
    case StagePlanting: return "Planting";
    case StageEmergence: return "Emergence";
    case StageFullCover: return "Full Cover";
    case StageStopIrrigating: return "Stop Irrigating";
    case StageHarvest: return "Harvest";
    default: return "Unknown Flag";
    }
}

float degree_days(float t_min, float t_max, float base, float cutoff)
{
    const float high = std::min(t_max, cutoff);
    const float low = std::max(t_min, base);
    return (high + low) / 2.0f - base;
}

int harvest_count(const CropRecord &crop)
{
    return std::clamp(crop.max_harvests, 0, static_cast<std::int32_t>(kMaxHarvestCycles));
}

int cycle_by_days(const HarvestTable &cycles, int harvests, int d)
{
    for (int c = 0; c + 1 < harvests; ++c) {
        if (d <= cycles[static_cast<std::size_t>(c)].harvest_day)
            return c;
    }
    return std::max(harvests - 1, 0);
}

int cycle_by_gdd(const HarvestTable &cycles, int harvests, float cum_gdd)
{
    for (int c = 0; c + 1 < harvests; ++c) {
        if (static_cast<float>(cycles[static_cast<std::size_t>(c)].harvest_gdd) >= cum_gdd)
            return c;
    }
    return std::max(harvests - 1, 0);
}

int cycle_of_day(const HarvestTable &cycles, int harvests, std::int32_t basis, int d, float cum_gdd)
{
    return basis == GrowingDegreeDays ? cycle_by_gdd(cycles, harvests, cum_gdd)
                                      : cycle_by_days(cycles, harvests, d);
}

bool is_post_harvest(const HarvestTable &cycles, int harvests, std::int32_t basis, int d,
                     float cum_gdd)
{
    const HarvestCycle &last = cycles[static_cast<std::size_t>(std::max(harvests - 1, 0))];
    return basis == GrowingDegreeDays ? cum_gdd > static_cast<float>(last.harvest_gdd)
                                      : d > last.harvest_day;
}

std::int32_t stage_of_day(const CropRecord &crop, std::int32_t basis, int d, float cum_gdd,
                          bool post_harvest)
{
    if (post_harvest)
        return StagePostHarvest;
    const int n = stage_count_of(crop);
    for (int k = 0; k + 1 < n; ++k) {
        const GrowthStage &s = crop.stages[static_cast<std::size_t>(k)];
        if (basis == GrowingDegreeDays ? cum_gdd <= s.end_gdd : static_cast<float>(d) <= s.end_day)
            return k;
    }
    return StagePostHarvest;
}

std::int32_t calc_growth_stage(const CFieldDoc &field, int d)
{
    const std::int32_t basis = custom_settings().crop_growth_basis;
    const float cum =
        field.has_day(d) ? field.season.days[static_cast<std::size_t>(d)].cum_gdd : 0.0f;
    const int harvests = harvest_count(field.saved.crop);
    return stage_of_day(field.saved.crop, basis, d, cum,
                        is_post_harvest(field.season.cycles, harvests, basis, d, cum));
}

bool fill_harvest_cycles(const CropRecord &crop, HarvestTable &cycles)
{
    cycles = {};
    std::size_t c = 0;
    const int n = stage_count_of(crop);
    for (int k = 0; k < n; ++k) {
        const GrowthStage &s = crop.stages[static_cast<std::size_t>(k)];
        if (s.flag < StageEmergence || s.flag > StageHarvest)
            continue;
        if (c < kMaxHarvestCycles)
            store_stage_end(cycles[c], s);
        if (s.flag == StageHarvest)
            ++c;
    }
    return static_cast<std::int64_t>(c) == crop.max_harvests;
}

bool derive_harvest_cycles(const CropRecord &crop, HarvestTable &cycles)
{
    if (fill_harvest_cycles(crop, cycles))
        return true;
    messages().inform(kHarvestCountMessage);
    return false;
}

void record_stage_end(CFieldDoc &field, int d, int k)
{
    if (!field.has_day(d))
        return;
    const FieldDay &day = field.season.days[static_cast<std::size_t>(d)];
    const int s = day.stage;
    const int n = stage_count_of(field.saved.crop);
    if (k > s && s >= 0 && s < n) {
        GrowthStage &stage = field.saved.crop.stages[static_cast<std::size_t>(s)];
        stage.end_day = static_cast<float>(d);
        stage.end_gdd = day.cum_gdd;
    } else if (k < s && k >= 0 && k < n) {
        GrowthStage &stage = field.saved.crop.stages[static_cast<std::size_t>(k)];
        stage.end_day = static_cast<float>(d + 1);
        stage.end_gdd = day.cum_gdd + 1.0f;
    }
    derive_harvest_cycles(field.saved.crop, field.season.cycles);
}

std::optional<std::string> expand_perennial(CropRecord &crop, bool planting_season)
{
    const int harvests = crop.max_harvests;
    const int n = stage_count_of(crop);
    if (harvests <= 1 || n == 0)
        return std::nullopt;
    // A count read from crop.db is not trusted to size the copying below.
    if (harvests > static_cast<int>(kMaxHarvestCycles)) {
        return strprintf("The crop's Maximum Harvests/Season of %d is more than the %zu harvests a "
                         "field holds.",
                         harvests, kMaxHarvestCycles);
    }
    std::vector<GrowthStage> stages(crop.stages.begin(), crop.stages.begin() + n);
    // A crop may store its first cutting cycle and then the shorter one of the later cuttings:
    // the last cycle stored is the one repeated, from the harvest before it.
    const RepeatedCycle repeated = repeated_cycle(crop);
    float last_day = stages.back().end_day;
    float last_gdd = stages.back().end_gdd;
    for (int c = repeated.stored_harvests; c < harvests && n > 1; ++c) {
        for (int k = repeated.first; k < n; ++k) {
            GrowthStage copy = crop.stages[static_cast<std::size_t>(k)];
            copy.end_day += last_day - repeated.start_day;
            copy.end_gdd += last_gdd - repeated.start_gdd;
            if (copy.flag == StageEmergence)
                copy.name = "Regrow";
            stages.push_back(std::move(copy));
        }
        last_day = stages.back().end_day;
        last_gdd = stages.back().end_gdd;
    }
    if (!planting_season) {
        stages.erase(stages.begin());
        if (!stages.empty())
            stages.front().name = "Green-up";
    }
    if (stages.size() > kMaxStages) {
        return strprintf("The crop's %d growth stages repeated for %d harvests need %zu stages; a "
                         "crop holds at most %zu.",
                         n, harvests, stages.size(), kMaxStages);
    }
    std::copy(stages.begin(), stages.end(), crop.stages.begin());
    crop.stage_count = static_cast<std::int32_t>(stages.size());
    return std::nullopt;
}

} // namespace tw
