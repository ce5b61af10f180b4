#include "field/water_balance.h"

#include "field/forecast_weather.h"
#include "refdata/custom_settings.h"

#include <algorithm>
#include <cmath>

namespace tw {
namespace {

/// Lbs/acre of nitrate-N per ppm and inch of water.
constexpr double kPpmInchToLbsAcre = 0.2267;
constexpr double kZeroBand = 0.0001;

double polynomial(const KcPolynomial &a, double x)
{
    return a[0] * x * x * x + a[1] * x * x + a[2] * x + a[3];
}

/// What a day's step reads of the field, its season so far and its harvest cycles.
struct Step
{
    const SeasonInputs &in;
    const FieldSeason &season;
    const RunSettings &settings;
    int d;
    const FieldDay *prev; ///< nullptr on day 0
    float cum;
    bool post;
    bool by_gdd;
    const HarvestCycle &cycle;   ///< by the crop-growth basis
    const HarvestCycle &by_days; ///< by days whatever the basis
    double rain_factor;

    double peff(int day) const { return day_rain(in, season.days, day) * rain_factor; }
};

float root_depth(const Step &s)
{
    const double zr0 = s.in.crop.planting_depth;
    const double zmax = s.in.crop.max_root_depth;
    if (s.d == 0)
        return static_cast<float>(zr0);
    if (s.post)
        return static_cast<float>(zmax);
    const double prev = s.prev->root_depth;
    if (s.settings.root_model == NonLinearRoots) {
        const double fc_day = s.by_days.full_cover_day;
        if (s.d < fc_day && prev < zmax) {
            const double grown =
                (0.5 + 0.5 * std::sin(3.03 * ratio_or_zero(s.d, fc_day) - 1.47)) * zmax + zr0;
            return static_cast<float>(std::min(grown, zmax));
        }
        return static_cast<float>(zmax);
    }
    if (!s.by_gdd) {
        const double fc_day = s.by_days.full_cover_day;
        if (s.d >= fc_day || prev >= zmax)
            return static_cast<float>(zmax);
        return static_cast<float>((zmax - zr0) * ratio_or_zero(s.d, fc_day) + zr0);
    }
    const double fc_gdd = s.cycle.full_cover_gdd;
    if (s.cum < fc_gdd && prev < zmax)
        return static_cast<float>((zmax - zr0) * ratio_or_zero(s.cum, fc_gdd) + zr0);
    return static_cast<float>(zmax);
}

float crop_coefficient(const Step &s)
{
    if (s.d == 0 || s.post)
        return 0.0f;
    const HarvestCycle &c = s.cycle;
    double x = 0.0;
    bool before_cover = false;
    if (s.by_gdd) {
        before_cover = s.cum <= c.full_cover_gdd;
        if (before_cover)
            x = ratio_or_zero(s.cum, c.full_cover_gdd);
        else if (s.cum <= c.harvest_gdd)
            x = static_cast<double>(s.d) - c.full_cover_day;
    } else {
        before_cover = s.d <= c.full_cover_day;
        if (before_cover)
            x = ratio_or_zero(s.d, c.full_cover_day);
        else if (s.d <= c.harvest_day)
            x = static_cast<double>(s.d) - c.full_cover_day;
    }
    const CropRecord &crop = s.in.crop;
    const auto kc =
        static_cast<float>(polynomial(before_cover ? crop.kc_before : crop.kc_after, x));
    return kc > 0.0f ? kc : 0.0f;
}

double stress_coefficient(const Step &s)
{
    if (s.d < 2 || s.post)
        return 1.0;
    return water_stress(s.prev->deficit, s.prev->taw);
}

double evaporation_term(const Step &s, float kc)
{
    if (s.d < 3)
        return 0.0;
    const auto &days = s.season.days;
    double wet[3];
    double rain[3];
    for (int k = 0; k < 3; ++k) {
        rain[k] = s.peff(s.d - 1 - k);
        wet[k] = days[static_cast<std::size_t>(s.d - 1 - k)].effective_irrigation + rain[k];
    }
    if (s.post)
        return rain[0] > 2.0 || rain[1] > 2.0 || rain[2] > 2.0 ? 0.8 : 0.0;
    const double w = std::fabs(0.9 - kc);
    return (wet[0] >= 5.0 ? 0.8 * w : 0.0) + (wet[1] >= 10.0 ? 0.5 * w : 0.0) +
           (wet[2] >= 15.0 ? 0.3 * w : 0.0);
}

float depletion_fraction(const Step &s)
{
    const CropRecord &crop = s.in.crop;
    const int n = std::clamp(crop.stage_count, 0, static_cast<std::int32_t>(kMaxStages));
    if (n == 0)
        return 0.0f;
    for (int k = 0; k + 1 < n; ++k) {
        const GrowthStage &g = crop.stages[static_cast<std::size_t>(k)];
        if (s.by_gdd ? g.end_gdd >= s.cum : g.end_day >= static_cast<float>(s.d))
            return g.allowable_depletion;
    }
    return crop.stages[static_cast<std::size_t>(n - 1)].allowable_depletion;
}

void nitrogen_step(const Step &s, FieldDay &t, FieldSeason &season)
{
    const SeasonInputs &in = s.in;
    const double fc = in.soil.sm_fc;
    const double zr0 = in.crop.planting_depth;
    const double zmax = in.crop.max_root_depth;
    const auto d = static_cast<std::size_t>(s.d);
    const FieldDay *p = s.prev;

    t.drainage = p ? std::max(0.0f, t.deep_percolation - p->lower_deficit) : 0.0f;
    if (!p) {
        t.lower_deficit = static_cast<float>((fc - in.initial_moisture) * (zmax - zr0));
    } else {
        double v = static_cast<double>(p->lower_deficit) + t.drainage - t.deep_percolation;
        if (t.root_depth < zmax && p->root_depth < zmax)
            v *= ratio_or_zero(zmax - t.root_depth, zmax - p->root_depth);
        t.lower_deficit = static_cast<float>(v);
    }

    if (!p) {
        t.nitrate_available = in.soil_nitrogen;
    } else {
        const double available = season.cum_n_applied[d] + static_cast<double>(in.soil_nitrogen) +
                                 in.water_nitrate_ppm * kPpmInchToLbsAcre *
                                     season.cum_irrigation_in[d] * in.efficiency / 100.0 -
                                 p->n_uptake - season.cum_leached[d - 1];
        t.nitrate_available = static_cast<float>(std::max(available, 0.0));
    }

    if (!s.post && t.nitrate_available > 0.0f) {
        const double x = ratio_or_zero(s.cum, s.by_days.stop_gdd);
        const double y = 2.252 * std::pow(x, 5) - 6.626 * std::pow(x, 4) + 4.661 * x * x * x +
                         0.404 * x * x + 0.349 * x - 0.039;
        const double uptake = in.seasonal_nitrogen * 1.55 * in.crop.n_requirement * y;
        t.n_uptake = static_cast<float>(std::max(uptake, 0.0));
    } else {
        t.n_uptake = p ? p->n_uptake : 0.0f;
    }

    t.nitrate_leached = static_cast<float>(
        t.nitrate_available * (1.0 - std::exp(-2.3 * ratio_or_zero(t.drainage, fc * zmax))));
    const double before = p ? season.cum_leached[d - 1] : 0.0;
    season.cum_leached[d] = truncate_to_int(before + t.nitrate_leached);
}

void display_values(const Step &s, FieldDay &t)
{
    switch (s.settings.moisture_display) {
    case AvailableDepth:
        t.soil_moisture = t.taw - t.deficit;
        t.critical = t.taw - t.allowable_depletion;
        break;
    case DeficitDisplay:
        t.soil_moisture = t.deficit;
        t.critical = t.allowable_depletion;
        break;
    default: {
        const double fc = s.in.soil.sm_fc;
        t.soil_moisture = s.post ? s.in.soil.sm_fc
                                 : static_cast<float>(fc - ratio_or_zero(t.deficit, t.root_depth));
        t.critical = static_cast<float>(fc - ratio_or_zero(t.allowable_depletion, t.root_depth));
        break;
    }
    }
}

std::int32_t advice_category(const Step &s, const FieldDay &t)
{
    const bool past_stop = s.by_gdd ? s.cum > s.cycle.stop_gdd : s.d > s.cycle.stop_day;
    if (s.d < 1 || past_stop || t.deficit < t.allowable_depletion)
        return AdviceNone;
    return t.deficit >= t.taw ? AdviceCritical : AdviceNow;
}

} // namespace

double water_stress(float deficit, float taw)
{
    // An entered deficit beyond TAW would take the logarithm below zero: it stresses fully.
    const double depleted = std::min(ratio_or_zero(deficit, taw), 1.0);
    return std::log(100.0 * (1.0 - depleted) + 1.0) / std::log(101.0);
}

RunSettings RunSettings::current()
{
    const CustomSettings &c = custom_settings();
    return {c.crop_growth_basis, c.root_depth_model, c.moisture_display, 0.0f};
}

double effective_rain_factor(float net_depth_in)
{
    const double d = net_depth_in;
    const double f = 0.531747 + 0.295164 * d - 0.057697 * d * d + 0.003804 * d * d * d;
    return std::min(1.0, f);
}

void prepare_season_run(FieldSeason &season)
{
    const auto n = season.days.size();
    season.cum_irrigation_in.resize(n);
    season.cum_n_applied.resize(n);
    season.cum_leached.resize(n);
    float irrigation = 0.0f;
    std::int32_t nitrogen = 0;
    for (std::size_t d = 0; d < n; ++d) {
        irrigation += season.days[d].gross_irrigation / 25.4f;
        season.cum_irrigation_in[d] = irrigation;
        nitrogen = truncate_to_int(static_cast<double>(nitrogen) + season.days[d].n_applied);
        season.cum_n_applied[d] = nitrogen;
    }
}

int daily_step(const SeasonInputs &in, FieldSeason &season, int d)
{
    const RunSettings &settings = in.settings;
    FieldDay &t = season.days[static_cast<std::size_t>(d)];
    if (t.kind == KindNoData)
        return 0;
    float t_min = season.forecast_tmin, t_max = season.forecast_tmax, etr = season.forecast_etr;
    if (t.kind == KindForecast) {
        if (const auto forecast = forecast_weather(in, d)) {
            t_min = forecast->t_min;
            t_max = forecast->t_max;
            etr = forecast->etr;
        }
    } else {
        const WeatherDay *w = in.weather_of(d);
        if (!w)
            return 0;
        t_min = w->t_min;
        t_max = w->t_max;
        etr = w->etr_used;
    }
    const CropRecord &crop = in.crop;
    const FieldDay *prev = d > 0 ? &season.days[static_cast<std::size_t>(d - 1)] : nullptr;

    // 1. Degree days count only when positive, on day 0 as on every later day.
    const float g = degree_days(t_min, t_max, crop.gdd_min_temp, crop.gdd_max_temp);
    const float before = prev ? prev->cum_gdd : 0.0f;
    t.cum_gdd = g > 0.0f ? before + g : before;

    const int harvests = harvest_count(crop);
    const bool post = is_post_harvest(season.cycles, harvests, settings.basis, d, t.cum_gdd);
    const Step s{in,
                 season,
                 settings,
                 d,
                 prev,
                 t.cum_gdd,
                 post,
                 settings.basis == GrowingDegreeDays,
                 season.cycles[static_cast<std::size_t>(
                     cycle_of_day(season.cycles, harvests, settings.basis, d, t.cum_gdd))],
                 season.cycles[static_cast<std::size_t>(cycle_by_days(season.cycles, harvests, d))],
                 effective_rain_factor(in.net_depth_in)};

    // 2-4. Stage, roots, crop coefficient.
    t.stage = stage_of_day(crop, settings.basis, d, t.cum_gdd, post);
    t.root_depth = root_depth(s);
    const float kc = crop_coefficient(s);

    // 5-6. Stress and evaporation adjust the coefficient; crop ET.
    const double ke = evaporation_term(s, kc);
    const double k =
        post ? std::max(ke, 0.0) : std::clamp(kc * stress_coefficient(s) + ke, 0.15, 1.0);
    t.crop_et = static_cast<float>(k * etr);

    // 7-9. Irrigation reaching the soil, the water the roots can hold, the allowed depletion.
    t.effective_irrigation = in.efficiency / 100.0f * t.gross_irrigation;
    t.taw = in.soil.awhc * t.root_depth;
    t.allowable_depletion = post ? 0.0f : depletion_fraction(s) * t.taw;

    // 10-11. Water above field capacity drains the next day; the deficit never passes TAW.
    const double peff = s.peff(d);
    // The drift learned from readings is the growing crop's: no reading is taken after harvest.
    const double added = post ? 0.0 : settings.added_depletion;
    const double inflow = t.effective_irrigation + peff - t.crop_et - added;
    t.deep_percolation = d > 1 && prev->deficit < 0.0f
                             ? static_cast<float>(std::max(0.0, inflow - prev->deficit))
                             : 0.0f;
    if (t.sm_override == 0) {
        if (!prev) {
            t.deficit = (in.soil.sm_fc - in.initial_moisture) * crop.planting_depth;
        } else {
            const double deficit = prev->deficit - inflow;
            if (deficit >= t.taw) {
                t.deficit = t.taw;
            } else {
                const double drained = deficit + t.deep_percolation;
                t.deficit = std::fabs(drained) < kZeroBand ? 0.0f : static_cast<float>(drained);
            }
        }
    }

    // 13. The nitrate balance, once the field has a seasonal nitrogen basis.
    if (in.seasonal_nitrogen > 0.0f) {
        if (season.cum_leached.size() != season.days.size())
            prepare_season_run(season);
        nitrogen_step(s, t, season);
    }

    // 14-16.
    display_values(s, t);
    t.category = advice_category(s, t);
    t.irrigation_needed = t.category >= AdviceTomorrow && t.category <= AdviceCritical
                              ? static_cast<float>(ratio_or_zero(t.deficit, in.efficiency / 100.0))
                              : 0.0f;
    return 1;
}

} // namespace tw
