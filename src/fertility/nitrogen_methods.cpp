#include "fertility/nitrogen_methods.h"

#include "fertility/choices.h"
#include "field/growth_stages.h"
#include "field/water_balance.h"
#include "platform/text_format.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tw {
namespace {

using namespace choice;

constexpr int kLayerWeights[5] = {37, 28, 20, 8, 7};

int layer_weight_sum(int feet)
{
    int sum = 0;
    for (int i = 0; i < std::min(feet, 5); ++i)
        sum += kLayerWeights[i];
    return sum;
}

double efficiency(const FertilityInputs &in, EfficiencyIndex which)
{
    return in.efficiency[which] * 0.01;
}

/// A manure form other than Liquid counts as Solid: the previous-season page does not ask for
/// it, and an unset form must not take the neighbouring manure type's coefficients.
int manure_form(std::int32_t stored)
{
    return stored == 1 ? 1 : 0;
}

/// The last step of every method: the figure, what remains after the uptake to date, and the
/// pre-season-test figure during that pass; none negative.
template<class Result>
void finish(const FertilityInputs &in, double value, Result &r)
{
    r.recommendation = static_cast<float>(value);
    r.remaining = static_cast<float>(value - in.uptake_to_date);
    if (in.midseason_pass == 1) {
        r.midseason_recommendation = static_cast<float>(value);
        r.remaining = 0.0f;
    }
    r.recommendation = std::max(r.recommendation, 0.0f);
    r.remaining = std::max(r.remaining, 0.0f);
    r.midseason_recommendation = std::max(r.midseason_recommendation, 0.0f);
}

void credit_soil_test_terms(const FertilityInputs &in, double basic, SoilTestResult &r)
{
    r.basic = r.basic_copy = static_cast<float>(basic);
    r.legume = static_cast<float>(legume_credit(in));
    r.manure = static_cast<float>(manure_credit(in));
    r.irrigation = static_cast<float>(irrigation_credit(in));
    finish(in, basic - r.legume - r.manure - r.irrigation, r);
}

/// Nitrogen per ton of manure as applied: entered when analysed, else the table's defaults.
double manure_nitrogen_fraction(const MassBalanceTable &table, bool analysed, float n_percent,
                                float moisture, int form, int type)
{
    const double n = analysed ? n_percent : table.default_n(form, type);
    const double water = analysed ? moisture : table.default_moisture(form, type);
    return n * 0.01 * (1.0 - water * 0.01);
}

double mass_balance_manure(const FertilityInputs &in, const MassBalanceTable &table)
{
    double total = 0.0;
    if (in.manure_this_season != 0) {
        const int form = manure_form(in.manure_form);
        total += manure_nitrogen_fraction(table, in.manure_analysis != 0, in.manure_n_percent,
                                          in.manure_moisture, form, in.manure_type) *
                 table.availability(form, in.manure_fresh, in.manure_method) *
                 table.mineralization(form, in.manure_type).first * in.manure_amount * 2000.0;
    }
    if (in.last_manure != 0) {
        const int form = manure_form(in.last_manure_form);
        const auto [this_season, following] = table.mineralization(form, in.last_manure_type);
        total +=
            manure_nitrogen_fraction(table, in.last_manure_analysis != 0, in.last_manure_n_percent,
                                     in.last_manure_moisture, form, in.last_manure_type) *
            (1.0 - this_season) * following * in.last_manure_amount * 2000.0;
    }
    return total;
}

int legume_row(int previous_crop)
{
    switch (previous_crop) {
    case CropLupine: return 1;
    case CropClover: return 2;
    case CropSoybeans: return 3;
    case CropCowpeas: return 4;
    case CropBeansDry: return 5;
    case CropLegumeGrass: return 6;
    default: return 0;
    }
}

double mass_balance_denitrification(const FertilityInputs &in, const MassBalanceTable &table,
                                    double plant_requirement)
{
    if (in.soil_ph < 5.0f)
        return 0.0;
    const long long index = static_cast<long long>(in.drainage_class) - (in.tile_drained ? 1 : 0) +
                            (in.tillage == NoTill ? 1 : 0) + (in.compact_layer ? 1 : 0);
    const int drainage = static_cast<int>(std::clamp(index, 0LL, 4LL));
    const float om = in.organic_matter;
    const int om_class = om <= 1.0f ? 0 : om <= 2.0f ? 1 : om <= 5.0f ? 2 : 3;
    return table.denitrification_percent(om_class, drainage) * plant_requirement * 0.01;
}

// The score terms every method shares: how far the soil test can be trusted.
double soil_sampling_score(const FertilityInputs &in, double s_soil, double depth_mismatch)
{
    if (!in.soil_test_available)
        return 80.0 * s_soil;
    double u = 0.0;
    if (in.sample_depth == UnknownDepth)
        u += 60.0 * s_soil;
    else
        u += 9.0 * depth_mismatch * s_soil;
    if (in.sample_count < 10) {
        const int divisor = in.sample_count + 1;
        u += (divisor == 0 ? 0 : 100 / divisor) * s_soil;
    }
    if (!in.handled_well)
        u += 30.0 * s_soil;
    if (!in.lab_trustworthy)
        u += 30.0 * s_soil;
    return u;
}

// Stored integers may come from a nutrient file; differences are taken in double so that no
// value can overflow.
double root_depth_mismatch(const FertilityInputs &in)
{
    return std::abs(static_cast<double>(in.root_depth_ft) - in.sample_depth - 1.0);
}

double legume_score(const FertilityInputs &in, double s_leg)
{
    if (in.pre_legume_nitrogen == -1)
        return 0.0;
    double u = 0.0;
    static constexpr double kPreLegume[4] = {0, 10, 20, 30};
    if (in.pre_legume_nitrogen >= 0 && in.pre_legume_nitrogen < 4)
        u += kPreLegume[in.pre_legume_nitrogen] * s_leg;
    if (in.legume_harvest == 1)
        u += 50.0 * s_leg;
    if (in.previous_yield == 1)
        u += 10.0 * s_leg;
    else if (in.previous_yield == 2)
        u += 20.0 * s_leg;
    return u;
}

double manure_score(const FertilityInputs &in, double s_man, bool beef_counts)
{
    if (in.manure_this_season == 0)
        return 0.0;
    double u = 0.0;
    switch (in.manure_type) {
    case Beef: u += beef_counts ? 10.0 * s_man : 0.0; break;
    case Horse: u += 10.0 * s_man; break;
    case Poultry: u += 40.0 * s_man; break;
    case Sheep:
    case Swine: u += 30.0 * s_man; break;
    default: break;
    }
    if (in.manure_method == SurfaceIncorporation || in.manure_method == KnifeInjection)
        u += 20.0 * s_man;
    return u;
}

double irrigation_score(const FertilityInputs &in)
{
    return in.irrigation_nitrate_known == 0 ? 20.0 : 0.0;
}

double capped(double u)
{
    return std::min(u, 100.0);
}

double certainty_of(double uncertainty)
{
    return (100.0 - uncertainty) * 0.01 * 0.98;
}

/// The line of a breakdown text with its value truncated.
std::string line(const char *format, double value)
{
    return strprintf(format, truncate_to_int(value));
}

} // namespace

MethodKnowledge load_method_knowledge()
{
    MethodKnowledge k;
    kb_ReadNMethod2Table(k.table);
    k.legumes = read_input_kb();
    return k;
}

bool uses_nebraska_method(const FertilityInputs &inputs)
{
    return inputs.crop_name == "CORN";
}

int sample_depth_feet(const FertilityInputs &in)
{
    if (in.sample_depth == UnknownDepth)
        return 2;
    // Beyond five feet no further layer counts.
    return std::clamp(in.sample_depth, -1, 5) + 1;
}

double depth_fraction(int root_depth_ft, int sample_feet)
{
    return ratio_or_zero(layer_weight_sum(root_depth_ft), layer_weight_sum(sample_feet));
}

double legume_credit(const FertilityInputs &in)
{
    switch (in.previous_crop) {
    case CropAlfalfa:
    case CropClover: return 50.0;
    case CropBeansDry:
    case CropCowpeas:
    case CropLegumeGrass:
    case CropSoybeans: return 30.0;
    case CropLupine: return 65.0;
    default: return 0.0;
    }
}

double manure_credit(const FertilityInputs &in)
{
    return in.manure_this_season == 1 ? in.manure_amount * 5.0 : 0.0;
}

double irrigation_credit(const FertilityInputs &in)
{
    if (in.irrigation_nitrate_known != 1)
        return 0.0;
    return static_cast<double>(in.irrigation_efficiency) * in.irrigation_amount *
           in.irrigation_nitrate * 0.002267;
}

double residual_nitrate(const FertilityInputs &in, const MassBalanceTable &table)
{
    const int d = sample_depth_feet(in);
    // An unknown texture has no background to subtract.
    const double background = in.texture_index < 0 ? 0.0 : table.background(in.texture_index);
    const double r = 2.72 * in.bulk_density * (in.soil_nitrate - 0.1 * background) *
                     depth_fraction(in.root_depth_ft, d) * d;
    return std::max(r, 0.0);
}

double organic_matter_mineralization(const FertilityInputs &in, const MassBalanceTable &table)
{
    return (in.organic_matter * 0.01) * (table.om_c() * 0.01) * in.bulk_density * table.om_b() *
           226512.0 * ratio_or_zero(table.om_a(), in.cn_ratio);
}

int compute_soil_test(const FertilityInputs &in, SoilTestResult &r)
{
    const int d = sample_depth_feet(in);
    const double basic =
        ratio_or_zero(in.yield_goal * in.n_requirement, efficiency(in, EffFertilizer)) -
        depth_fraction(in.root_depth_ft, d) * in.soil_nitrate * d * 3.6 - in.organic_matter * 30.0;
    credit_soil_test_terms(in, basic, r);
    return 1;
}

int compute_nebraska(const FertilityInputs &in, SoilTestResult &r)
{
    double n = in.soil_nitrate;
    if (in.sample_depth == LessThanOneFoot)
        n *= 0.68;
    const double yg = in.yield_goal;
    double basic = 0.0;
    if (in.nebraska_equation == 0)
        basic = yg * 1.2 + 35.0 - n * 8.0 - in.organic_matter * yg * 0.14;
    else if (in.nebraska_equation == 1)
        basic = yg * 7.5 + 35.0 - n * 8.0 - in.organic_matter * yg * 0.85;
    credit_soil_test_terms(in, basic, r);
    return 1;
}

int compute_mass_balance(const FertilityInputs &in, const MethodKnowledge &k, MassBalanceResult &r)
{
    const MassBalanceTable &t = k.table;
    const double p = static_cast<double>(in.yield_goal) * in.n_requirement * 1.55;
    r.plant_requirement = static_cast<float>(p);
    r.residual = static_cast<float>(residual_nitrate(in, t));
    r.organic_matter = static_cast<float>(organic_matter_mineralization(in, t));
    r.crop_residue = static_cast<float>(t.residue_tillage(in.tillage) * 0.01 *
                                        t.residue_n(in.previous_crop, in.residue_left) *
                                        t.residue_factor(in.previous_crop) * 0.5);
    r.legume = 0.0f;
    if (k.legumes.flag(in.previous_crop) != 0) {
        const int row = legume_row(in.previous_crop);
        r.legume = static_cast<float>(static_cast<double>(t.legume_n(row, in.previous_yield)) *
                                      t.pre_legume_factor(in.pre_legume_nitrogen) *
                                      t.harvest_factor(in.legume_harvest) * t.legume_factor(row));
    }
    r.manure = static_cast<float>(mass_balance_manure(in, t));
    r.irrigation = in.irrigation_nitrate_known != 0
                       ? static_cast<float>(static_cast<double>(in.irrigation_efficiency) * 0.01 *
                                            in.irrigation_amount * in.irrigation_nitrate * 0.2267)
                       : 0.0f;
    r.denitrification = static_cast<float>(mass_balance_denitrification(in, t, p));
    r.extra = in.extra_nitrogen;
    finish(in,
           p - r.residual - r.organic_matter - r.crop_residue - r.legume - r.manure - r.irrigation +
               r.extra + r.denitrification,
           r);
    return 1;
}

int compute_uptake_efficiency(const FertilityInputs &in, const MethodKnowledge &k,
                              UptakeEfficiencyResult &r)
{
    r.fertilizer_efficiency = static_cast<float>(efficiency(in, EffFertilizer));
    r.residual_efficiency = static_cast<float>(efficiency(in, EffResidual));
    r.organic_matter_efficiency = static_cast<float>(efficiency(in, EffOrganicMatter));
    r.legume_efficiency = static_cast<float>(efficiency(in, EffLegume));
    r.manure_efficiency = static_cast<float>(efficiency(in, EffManure));
    r.irrigation_efficiency = static_cast<float>(efficiency(in, EffIrrigation));
    r.plant_requirement = in.yield_goal * in.n_requirement;
    r.residual = static_cast<float>(residual_nitrate(in, k.table));
    r.organic_matter = static_cast<float>(organic_matter_mineralization(in, k.table));
    r.legume = static_cast<float>(legume_credit(in));
    r.manure = static_cast<float>(manure_credit(in));
    r.irrigation = static_cast<float>(irrigation_credit(in));
    const double need =
        static_cast<double>(r.plant_requirement) - r.residual_efficiency * r.residual -
        r.organic_matter_efficiency * r.organic_matter - r.legume_efficiency * r.legume -
        r.manure_efficiency * r.manure - r.irrigation_efficiency * r.irrigation;
    finish(in, ratio_or_zero(need, r.fertilizer_efficiency), r);
    return 1;
}

int phosphorus_class(int test_type, int level)
{
    static constexpr int kBounds[3][3] = {{8, 15, 23}, {6, 16, 26}, {4, 8, 12}};
    if (test_type < 0 || test_type > 2)
        return 4;
    int p_class = 0;
    while (p_class < 3 && level >= kBounds[test_type][p_class])
        ++p_class;
    return p_class;
}

namespace {

int class_recommendation(const FertilityInputs &in, int level,
                         const std::array<std::int32_t, 5> &table, float &value)
{
    value = 0.0f;
    if (!in.soil_test_available || level < 0 || level >= 4)
        return 0;
    value = static_cast<float>(table[static_cast<std::size_t>(level)]);
    return 1;
}

} // namespace

int phosphorus_recommendation(const FertilityInputs &in, float &value)
{
    return class_recommendation(in, in.p_class, in.p_recommendation, value);
}

int potassium_recommendation(const FertilityInputs &in, float &value)
{
    return class_recommendation(in, in.k_level, in.k_recommendation, value);
}

double soil_test_uncertainty(const FertilityInputs &in, const SoilTestResult &r)
{
    const double sum = static_cast<double>(r.basic_copy) + r.legume + r.manure + r.irrigation;
    const double s_soil = ratio_or_zero(r.basic_copy, sum);
    const double s_leg = ratio_or_zero(r.legume, sum);
    const double s_man = ratio_or_zero(r.manure, sum);
    const double mismatch =
        uses_nebraska_method(in) ? std::abs(1.0 - in.sample_depth) : root_depth_mismatch(in);
    double u = soil_sampling_score(in, s_soil, mismatch);
    if (in.soil_test_available) {
        // Compared in single precision, as the values are stored.
        if (in.bulk_density != 1.32f)
            u += 2.0 * s_soil;
        if (in.cn_ratio != 10.0f)
            u += 2.0 * s_soil;
    }
    if (in.residue_left == 0)
        u += 5.0 * s_soil;
    switch (in.tillage) {
    case Moldboard:
    case Chisel: u += 5.0 * s_soil; break;
    case RidgeTill: u += 3.0 * s_soil; break;
    case Disk:
    case OtherTillage: u += 4.0 * s_soil; break;
    default: break;
    }
    u += legume_score(in, s_leg);
    u += manure_score(in, s_man, true);
    u += irrigation_score(in);
    if (in.organic_matter > 1.0f && in.drainage_class >= 1 && in.drainage_class <= 4)
        u += 10.0 * in.drainage_class;
    return capped(u);
}

double mass_balance_uncertainty(const FertilityInputs &in, const MassBalanceResult &r)
{
    const double sum = static_cast<double>(r.plant_requirement) + r.residual + r.organic_matter +
                       r.crop_residue + r.legume + r.manure + r.irrigation + r.denitrification +
                       r.extra;
    const double s_soil = ratio_or_zero(static_cast<double>(r.residual) + r.organic_matter, sum);
    const double s_res = ratio_or_zero(r.residual, sum);
    const double s_man = ratio_or_zero(r.manure, sum);
    double u = soil_sampling_score(in, s_soil, root_depth_mismatch(in));
    if (in.compact_layer)
        u += 10.0 * s_res;
    if (in.manure_this_season != 0 && in.manure_analysis == 0)
        u += 75.0 * s_man;
    u += irrigation_score(in);
    return capped(u);
}

double uptake_uncertainty(const FertilityInputs &in, const UptakeEfficiencyResult &r)
{
    const double residual = static_cast<double>(r.residual_efficiency) * r.residual;
    const double organic = static_cast<double>(r.organic_matter_efficiency) * r.organic_matter;
    const double legume = static_cast<double>(r.legume_efficiency) * r.legume;
    const double manure = static_cast<double>(r.manure_efficiency) * r.manure;
    const double sum = r.plant_requirement + residual + organic + legume + manure +
                       static_cast<double>(r.irrigation_efficiency) * r.irrigation;
    const double s_soil = ratio_or_zero(residual + organic, sum);
    const double s_res = ratio_or_zero(residual, sum);
    const double s_leg = ratio_or_zero(legume, sum);
    const double s_man = ratio_or_zero(manure, sum);
    double u = soil_sampling_score(in, s_soil, root_depth_mismatch(in));
    if (in.compact_layer)
        u += 10.0 * s_res;
    u += legume_score(in, s_leg);
    u += manure_score(in, s_man, false);
    u += irrigation_score(in);
    return capped(u);
}

void combine(const FertilityInputs &in, Recommendation &rec, const SoilTestResult &soil,
             const MassBalanceResult &mass, const UptakeEfficiencyResult &uptake)
{
    rec.method_rec = {soil.recommendation, mass.recommendation, uptake.recommendation};
    rec.remaining_rec = {soil.remaining, mass.remaining, uptake.remaining};
    const std::array<double, 3> scores = {soil_test_uncertainty(in, soil),
                                          mass_balance_uncertainty(in, mass),
                                          uptake_uncertainty(in, uptake)};
    std::array<double, 3> c{};
    for (std::size_t i = 0; i < 3; ++i) {
        c[i] = certainty_of(scores[i]);
        rec.certainty[i] = static_cast<float>(c[i] * 100.0);
    }
    if (in.midseason_pass == 1) {
        for (std::size_t i = 0; i < 3; ++i) {
            c[i] = std::max(certainty_of(scores[i]), 0.0);
            rec.midseason_certainty[i] = static_cast<float>(c[i] * 100.0);
        }
    }
    if (c[0] > c[1] && c[0] > c[2])
        rec.final = rec.method_rec[0];
    else if (c[1] > c[0] && c[1] > c[2])
        rec.final = rec.method_rec[1];
    else
        rec.final = rec.method_rec[2];
}

void prepare_records(const FertilityInputs &in, MethodResults &results)
{
    const bool keep = in.midseason_pass != 1;
    const float soil_mid = results.soil_test.midseason_recommendation;
    const float mass_mid = results.mass_balance.midseason_recommendation;
    const float uptake_mid = results.uptake.midseason_recommendation;
    results.soil_test = {};
    results.mass_balance = {};
    results.uptake = {};
    if (keep) {
        results.soil_test.midseason_recommendation = soil_mid;
        results.mass_balance.midseason_recommendation = mass_mid;
        results.uptake.midseason_recommendation = uptake_mid;
    }
    Recommendation &rec = results.recommendation;
    rec.method_rec = {};
    rec.final = rec.spare_2 = rec.phosphorus = rec.potassium = 0.0f;
    rec.certainty = {100.0f, 100.0f, 100.0f};
    if (in.midseason_pass == 1)
        rec.spare_1 = 0.0f;
}

void run_methods(const FertilityInputs &in, const MethodKnowledge &knowledge,
                 MethodResults &results)
{
    if (uses_nebraska_method(in))
        compute_nebraska(in, results.soil_test);
    else
        compute_soil_test(in, results.soil_test);
    compute_mass_balance(in, knowledge, results.mass_balance);
    compute_uptake_efficiency(in, knowledge, results.uptake);
    combine(in, results.recommendation, results.soil_test, results.mass_balance, results.uptake);
}

std::string basic_text(const SoilTestResult &r)
{
    return line("   %5d lbs/Acre   Basic Recommendation     \n", r.basic) +
           line("-  %5d lbs/Acre   Legume Symbiotic Fixation\n", r.legume) +
           line("-  %5d lbs/Acre   Manure Mineralization    \n", r.manure) +
           line("-  %5d lbs/Acre   Irrigation Water Nitrate \n\n", r.irrigation) +
           line("=  %5d lbs/Acre   Nitrogen Recomendation   \n", r.recommendation);
}

std::string mass_balance_text(const MassBalanceResult &r)
{
    return line("  %5d lbs/Acre   Plant Requirement     \n", r.plant_requirement) +
           line("-  %5d lbs/Acre   Residual Inorganic Nitrogen\n", r.residual) +
           line("-  %5d lbs/Acre   Organic Matter Mineralization   \n", r.organic_matter) +
           line("-  %5d lbs/Acre   Crop Residue Mineralization   \n", r.crop_residue) +
           line("-  %5d lbs/Acre   Legume Symbiotic Fixation \n", r.legume) +
           line("-  %5d lbs/Acre   Manure Mineralization \n", r.manure) +
           line("+ %5d lbs/Acre   Soil Nitrate Denitrification \n", r.denitrification) +
           line("=%5d lbs/Acre   Nitrogen Recomendation   \n", r.recommendation);
}

std::string uptake_text(const UptakeEfficiencyResult &r)
{
    // The efficiencies are whole percentages held as float fractions; rounding shows the
    // percentage entered (truncating would turn 70 % into 69 %).
    const auto pair = [](const char *value_format, double value, const char *efficiency_format,
                         double fraction) {
        return line(value_format, value) + line(efficiency_format, std::round(fraction * 100.0));
    };
    return pair("   %5d lbs/Acre Plant Requirement             ", r.plant_requirement,
                "* %5d%% (1/Fertilizer Efficiency)\n", r.fertilizer_efficiency) +
           pair("-  %5d lbs/Acre Residual Inorganic N.        ", r.residual,
                "* %5d%% Residual N Uptake Efficiency\n", r.residual_efficiency) +
           pair("-  %5d lbs/Acre Organic Matter Mineralization ", r.organic_matter,
                "* %5d%% Organic Matter Uptake Efficiency\n", r.organic_matter_efficiency) +
           pair("-  %5d lbs/Acre Legume Symbiotic Fixation     ", r.legume,
                "* %5d%% Legume Uptake Efficiency\n", r.legume_efficiency) +
           pair("-  %5d lbs/Acre Manure Mineralization         ", r.manure,
                "* %5d%% Manure Uptake Efficiency\n", r.manure_efficiency) +
           pair("-  %5d lbs/Acre Irrigation Water Nitrate      ", r.irrigation,
                "* %5d%% Irrigation Uptake Efficiency\n\n", r.irrigation_efficiency) +
           line("=  %5d lbs/Acre   Nitrogen Recomendation   \n", r.recommendation);
}

std::array<const char *, 3> method_titles(const FertilityInputs &in)
{
    return {uses_nebraska_method(in) ? "Nebraska Method" : "JVU Soil Test Method",
            "Nitrogen Mass Balance Method", "JVU Uptake Efficiency Method"};
}

std::array<const char *, 3> method_labels(const FertilityInputs &in)
{
    return {uses_nebraska_method(in) ? "Nebraska  Soil Testing Method:"
                                     : "JVU Soil Test Nitrogen Method:",
            "Nitrogen Mass Balance Method:", "JVU Uptake Efficiency Method:"};
}

} // namespace tw
