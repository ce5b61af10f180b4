#include "fertility/nitrogen_methods.h"

#include "fertility/choices.h"

#include <gtest/gtest.h>

#include <string_view>

namespace tw {
namespace {

MethodKnowledge defaults()
{
    MethodKnowledge k;
    k.table = default_mass_balance_table();
    for (const int legume : {0, 2, 14, 15, 17, 19, 23})
        k.legumes.values[legume] = 1;
    return k;
}

FertilityInputs soil_tested(const char *crop)
{
    FertilityInputs in;
    in.crop_name = crop;
    in.n_requirement = 1.0f;
    in.root_depth_ft = 2;
    in.manure_this_season = 0;
    in.last_manure = 0;
    in.irrigation_nitrate_known = 0;
    return in;
}

TEST(NitrogenMethods, OnlyUpperCaseCornUsesTheNebraskaMethod)
{
    const struct
    {
        const char *crop;
        bool nebraska;
        const char *title;
        const char *label;
    } cases[] = {
        {"CORN", true, "Nebraska Method", "Nebraska  Soil Testing Method:"},
        {"Corn", false, "JVU Soil Test Method", "JVU Soil Test Nitrogen Method:"},
        {"POTATOES", false, "JVU Soil Test Method", "JVU Soil Test Nitrogen Method:"},
    };
    for (const auto &c : cases) {
        FertilityInputs in = soil_tested(c.crop);
        EXPECT_EQ(uses_nebraska_method(in), c.nebraska) << c.crop;
        EXPECT_STREQ(method_titles(in)[0], c.title);
        EXPECT_STREQ(method_labels(in)[0], c.label);
        MethodResults r;
        run_methods(in, defaults(), r);
        // Nebraska, equation 0: 200 x 1.2 + 35 - 20 x 8 - 1 x 200 x 0.14 = 87.
        // Soil test: 200 / 0.7 - f(2) x 20 x 2 x 3.6 - 30, f(2) = 1.
        const double expected = c.nebraska ? 87.0 : 200.0 / 0.7 - 144.0 - 30.0;
        EXPECT_NEAR(r.soil_test.basic, expected, 1e-3) << c.crop;
    }
}

TEST(NitrogenMethods, DepthFraction)
{
    const struct
    {
        int root, sample;
        double fraction;
    } cases[] = {{2, 2, 1.0}, {1, 2, 37.0 / 65.0}, {4, 3, 93.0 / 85.0},
                 {7, 5, 1.0}, {2, 0, 0.0},         {0, 3, 0.0}};
    for (const auto &c : cases)
        EXPECT_NEAR(depth_fraction(c.root, c.sample), c.fraction, 1e-12)
            << c.root << "/" << c.sample;

    FertilityInputs in;
    const struct
    {
        int choice, feet;
    } depths[] = {{0, 1}, {4, 5}, {5, 2}, {-1, 0}};
    for (const auto &d : depths) {
        in.sample_depth = d.choice;
        EXPECT_EQ(sample_depth_feet(in), d.feet) << d.choice;
    }
}

TEST(NitrogenMethods, ResidualNitrateNeverGoesNegative)
{
    const MassBalanceTable table = default_mass_balance_table();
    FertilityInputs in = soil_tested("CORN");
    in.texture_index = 0; // clay, background 70 -> 7 ppm
    in.soil_nitrate = 5.0f;
    EXPECT_EQ(residual_nitrate(in, table), 0.0);
    in.soil_nitrate = 10.0f;
    EXPECT_NEAR(residual_nitrate(in, table), 2.72 * 1.32 * 3.0 * 2.0, 1e-4);
    // An unknown texture subtracts no background.
    in.texture_index = -1;
    EXPECT_NEAR(residual_nitrate(in, table), 2.72 * 1.32 * 10.0 * 2.0, 1e-4);
}

TEST(NitrogenMethods, IrrigationCreditsNeedAnAmount)
{
    FertilityInputs in = soil_tested("CORN");
    in.irrigation_nitrate_known = 1;
    in.irrigation_nitrate = 25.0f;
    in.irrigation_amount = 0.0f;
    EXPECT_EQ(irrigation_credit(in), 0.0);
    MassBalanceResult m;
    compute_mass_balance(in, defaults(), m);
    EXPECT_EQ(m.irrigation, 0.0f);
    in.irrigation_amount = 12.0f;
    EXPECT_NEAR(irrigation_credit(in), 75.0 * 12.0 * 25.0 * 0.002267, 1e-6);
}

TEST(NitrogenMethods, UptakeAtFullFertilizerEfficiencyIsTheRequirementLessWeightedCredits)
{
    FertilityInputs in = soil_tested("CORN");
    in.efficiency = {100, 50, 40, 55, 45, 65};
    in.previous_crop = 14; // Clover, credit 50
    in.manure_this_season = 1;
    in.manure_amount = 4.0f;
    const MethodKnowledge k = defaults();
    UptakeEfficiencyResult r;
    compute_uptake_efficiency(in, k, r);
    const double expected = 200.0 - 0.5 * residual_nitrate(in, k.table) -
                            0.4 * organic_matter_mineralization(in, k.table) - 0.55 * 50.0 -
                            0.45 * 20.0;
    EXPECT_NEAR(r.recommendation, expected, 1e-3);
}

TEST(NitrogenMethods, DivisorsOfZeroGiveZero)
{
    FertilityInputs in = soil_tested("POTATOES");
    in.efficiency = {0, 70, 70, 70, 70, 70};
    in.cn_ratio = 0.0f;
    const MethodKnowledge k = defaults();
    EXPECT_EQ(organic_matter_mineralization(in, k.table), 0.0);
    MethodResults r;
    run_methods(in, k, r);
    EXPECT_EQ(r.uptake.recommendation, 0.0f);
    EXPECT_EQ(r.soil_test.recommendation, 0.0f); // 0 - 144 - 30 cut to 0
    // The whole figure is the soil's; a count of -1 samples adds nothing (100 / 0 counts as 0),
    // the C/N ratio 2 and the unknown irrigation nitrate 20.
    in.sample_count = -1;
    EXPECT_NEAR(soil_test_uncertainty(in, r.soil_test), 22.0, 1e-9);
}

// A legume (no nitrogen requirement) after fallow on a field without organic matter or nitrate:
// each method's shares divide 0 by 0 and count as 0, which leaves the unknown irrigation nitrate
// alone in every score: certainty (100 - 20) x 0.98, and no nitrogen.
TEST(NitrogenMethods, ALegumeOnABareFieldHasNoSharesToWeigh)
{
    FertilityInputs in = soil_tested("SOYBEANS");
    in.n_requirement = 0.0f;
    in.organic_matter = 0.0f;
    in.soil_nitrate = 0.0f;
    in.previous_crop = 4; // Fallow
    MethodResults r;
    run_methods(in, defaults(), r);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(r.recommendation.certainty[i], 78.4f) << i;
    EXPECT_EQ(r.recommendation.final, 0.0f);
}

TEST(NitrogenMethods, PhosphorusClassesAndRecommendations)
{
    const struct
    {
        int type, level, p_class;
    } classes[] = {{0, 7, 0},  {0, 8, 1}, {0, 22, 2}, {0, 23, 3}, {1, 5, 0}, {1, 15, 1},
                   {1, 26, 3}, {2, 3, 0}, {2, 11, 2}, {2, 12, 3}, {3, 5, 4}, {-1, 5, 4}};
    for (const auto &c : classes)
        EXPECT_EQ(phosphorus_class(c.type, c.level), c.p_class) << c.type << "/" << c.level;

    FertilityInputs in;
    in.p_recommendation = {60, 30, 10, 0, 0};
    in.p_class = 1;
    in.k_level = 0;
    float p = -1, k = -1;
    EXPECT_EQ(phosphorus_recommendation(in, p), 1);
    EXPECT_EQ(potassium_recommendation(in, k), 1);
    EXPECT_EQ(p, 30.0f);
    EXPECT_EQ(k, 80.0f);
    in.k_level = 4;
    EXPECT_EQ(potassium_recommendation(in, k), 0);
    EXPECT_EQ(k, 0.0f);
    in.soil_test_available = 0;
    EXPECT_EQ(phosphorus_recommendation(in, p), 0);
    EXPECT_EQ(p, 0.0f);
}

TEST(NitrogenMethods, EqualCertaintiesPickMethod3)
{
    FertilityInputs in = soil_tested("CORN");
    SoilTestResult s;
    MassBalanceResult m;
    UptakeEfficiencyResult u;
    s.recommendation = 10.0f;
    m.recommendation = 20.0f;
    u.recommendation = 30.0f;
    // Nothing drives any score but the unknown irrigation nitrate: all three certainties 78.4.
    Recommendation rec;
    combine(in, rec, s, m, u);
    for (const float c : rec.certainty)
        EXPECT_NEAR(c, 78.4, 1e-4);
    EXPECT_EQ(rec.final, 30.0f);

    // A strictly higher certainty wins.
    in.irrigation_nitrate_known = 1;
    m.plant_requirement = 100.0f;
    m.manure = 100.0f;
    in.manure_this_season = 1;
    in.manure_analysis = 1;
    s.basic_copy = 100.0f;
    s.manure = 100.0f;
    in.manure_method = 1;
    u.plant_requirement = 100.0f;
    u.residual = 100.0f;
    u.residual_efficiency = 1.0f;
    combine(in, rec, s, m, u);
    EXPECT_EQ(rec.final, 20.0f);
}

TEST(NitrogenMethods, StoredDefaultsScoreNothing)
{
    // The single-precision defaults must compare equal to their decimal constants.
    FertilityInputs in = soil_tested("CORN");
    in.sample_depth = 1;
    in.sample_count = 10;
    in.irrigation_nitrate_known = 1;
    in.organic_matter = 1.0f;
    SoilTestResult s;
    s.basic_copy = 100.0f;
    EXPECT_EQ(soil_test_uncertainty(in, s), 0.0);
    in.bulk_density = 1.4f;
    in.cn_ratio = 12.0f;
    EXPECT_NEAR(soil_test_uncertainty(in, s), 4.0, 1e-9);
    in.soil_test_available = 0;
    EXPECT_NEAR(soil_test_uncertainty(in, s), 80.0, 1e-9);
}

TEST(NitrogenMethods, MidseasonPassKeepsItsFigureAndRemainingIsCut)
{
    FertilityInputs in = soil_tested("POTATOES");
    in.uptake_to_date = 1000.0f;
    MethodResults r;
    run_methods(in, defaults(), r);
    EXPECT_GT(r.mass_balance.recommendation, 0.0f);
    EXPECT_EQ(r.mass_balance.remaining, 0.0f);
    EXPECT_EQ(r.mass_balance.midseason_recommendation, 0.0f);

    in.midseason_pass = 1;
    prepare_records(in, r);
    run_methods(in, defaults(), r);
    const float kept = r.mass_balance.midseason_recommendation;
    EXPECT_EQ(kept, r.mass_balance.recommendation);
    in.midseason_pass = 0;
    prepare_records(in, r);
    EXPECT_EQ(r.mass_balance.midseason_recommendation, kept);
    EXPECT_EQ(r.mass_balance.recommendation, 0.0f);
    EXPECT_EQ(r.recommendation.certainty[1], 100.0f);
}

TEST(NitrogenMethods, BreakdownTextsAreExact)
{
    const SoilTestResult s{.basic = 150.9f,
                           .legume = 30.0f,
                           .manure = 50.0f,
                           .irrigation = 0.4f,
                           .recommendation = 70.5f};
    EXPECT_EQ(basic_text(s), "     150 lbs/Acre   Basic Recommendation     \n"
                             "-     30 lbs/Acre   Legume Symbiotic Fixation\n"
                             "-     50 lbs/Acre   Manure Mineralization    \n"
                             "-      0 lbs/Acre   Irrigation Water Nitrate \n\n"
                             "=     70 lbs/Acre   Nitrogen Recomendation   \n");

    // The irrigation term enters the figure but has no line.
    const MassBalanceResult m{.plant_requirement = 265.0f,
                              .residual = 132.5f,
                              .organic_matter = 82.8f,
                              .crop_residue = 13.5f,
                              .legume = 52.5f,
                              .manure = 81.5f,
                              .irrigation = 9.0f,
                              .denitrification = 119.3f,
                              .recommendation = 21.6f};
    EXPECT_EQ(mass_balance_text(m), "    265 lbs/Acre   Plant Requirement     \n"
                                    "-    132 lbs/Acre   Residual Inorganic Nitrogen\n"
                                    "-     82 lbs/Acre   Organic Matter Mineralization   \n"
                                    "-     13 lbs/Acre   Crop Residue Mineralization   \n"
                                    "-     52 lbs/Acre   Legume Symbiotic Fixation \n"
                                    "-     81 lbs/Acre   Manure Mineralization \n"
                                    "+   119 lbs/Acre   Soil Nitrate Denitrification \n"
                                    "=   21 lbs/Acre   Nitrogen Recomendation   \n");

    const UptakeEfficiencyResult u{.plant_requirement = 171.0f,
                                   .residual_efficiency = 0.5f,
                                   .residual = 132.5f,
                                   .organic_matter_efficiency = 0.4f,
                                   .organic_matter = 82.8f,
                                   .legume_efficiency = 0.55f,
                                   .legume = 30.0f,
                                   .manure_efficiency = 0.45f,
                                   .manure = 50.0f,
                                   .irrigation_efficiency = 0.7f,
                                   .irrigation = 0.0f,
                                   .fertilizer_efficiency = 0.6f,
                                   .recommendation = 54.4f};
    EXPECT_EQ(uptake_text(u),
              "     171 lbs/Acre Plant Requirement             *    60% (1/Fertilizer Efficiency)\n"
              "-    132 lbs/Acre Residual Inorganic N.        *    50% Residual N Uptake "
              "Efficiency\n"
              "-     82 lbs/Acre Organic Matter Mineralization *    40% Organic Matter Uptake "
              "Efficiency\n"
              "-     30 lbs/Acre Legume Symbiotic Fixation     *    55% Legume Uptake Efficiency\n"
              "-     50 lbs/Acre Manure Mineralization         *    45% Manure Uptake Efficiency\n"
              "-      0 lbs/Acre Irrigation Water Nitrate      *    70% Irrigation Uptake "
              "Efficiency\n\n"
              "=     54 lbs/Acre   Nitrogen Recomendation   \n");
}

// Denitrification takes the table's percentage of the plant requirement for the soil's organic
// matter class (to 1 %, to 2 %, to 5 %, above) and drainage (the class, one better when tiled, one
// worse under no-till or a compact layer, within 0..4); a soil below pH 5 loses none. The table's
// words are made distinct so that a wrong class cannot read an equal percentage by chance.
TEST(NitrogenMethods, DenitrificationClassesChangeAtTheirBoundaries)
{
    MethodKnowledge k = defaults();
    for (std::size_t i = 0; i < k.table.values.size(); ++i)
        k.table.values[i] = static_cast<float>(i % 97) + 1.0f;
    const struct
    {
        float ph, organic_matter;
        std::int32_t drainage_class, tile_drained, tillage, compact_layer;
        int om_class, drainage; ///< -1: no denitrification
    } cases[] = {
        {4.99f, 1.0f, 2, 0, choice::Moldboard, 0, -1, -1},
        {5.0f, 1.0f, 2, 0, choice::Moldboard, 0, 0, 2},
        {8.0f, 1.01f, 2, 0, choice::Moldboard, 0, 1, 2},
        {8.0f, 2.0f, 2, 0, choice::Moldboard, 0, 1, 2},
        {8.0f, 2.01f, 2, 0, choice::Moldboard, 0, 2, 2},
        {8.0f, 5.0f, 2, 0, choice::Moldboard, 0, 2, 2},
        {8.0f, 5.01f, 2, 0, choice::Moldboard, 0, 3, 2},
        {8.0f, 1.0f, 0, 1, choice::Moldboard, 0, 0, 0},
        {8.0f, 1.0f, 2, 0, choice::NoTill, 0, 0, 3},
        {8.0f, 1.0f, 3, 0, choice::NoTill, 1, 0, 4},
        {8.0f, 1.0f, 4, 0, choice::Moldboard, 1, 0, 4},
    };
    for (const auto &c : cases) {
        FertilityInputs in = soil_tested("POTATOES");
        in.soil_ph = c.ph;
        in.organic_matter = c.organic_matter;
        in.drainage_class = c.drainage_class;
        in.tile_drained = c.tile_drained;
        in.tillage = c.tillage;
        in.compact_layer = c.compact_layer;
        MassBalanceResult m;
        compute_mass_balance(in, k, m);
        const double percent =
            c.om_class < 0 ? 0.0 : k.table.denitrification_percent(c.om_class, c.drainage);
        // Stored as a float of at most a few hundred lb/acre: 1e-3 is some ten units of its last
        // place.
        EXPECT_NEAR(m.denitrification, percent * m.plant_requirement * 0.01, 1e-3)
            << "pH " << c.ph << ", organic matter " << c.organic_matter << ", drainage "
            << c.drainage_class;
    }
}

TEST(NitrogenMethods, NebraskaEquationsAndAShallowSample)
{
    // Default inputs: yield goal 200, soil nitrate 20 ppm, organic matter 1 %, no credits.
    const struct
    {
        std::int32_t equation, sample_depth;
        double basic;
    } cases[] = {
        {1, 1, 200 * 7.5 + 35 - 20 * 8.0 - 1 * 200 * 0.85}, // 1205
        // A sample shallower than a foot reads 0.68 of its nitrate: 20 x 0.68 = 13.6 ppm.
        {0, choice::LessThanOneFoot, 200 * 1.2 + 35 - 13.6 * 8.0 - 1 * 200 * 0.14}, // 138.2
        {1, choice::LessThanOneFoot, 200 * 7.5 + 35 - 13.6 * 8.0 - 1 * 200 * 0.85}, // 1256.2
        // An equation the program does not know recommends nothing rather than a stray figure.
        {2, 1, 0.0},
    };
    for (const auto &c : cases) {
        FertilityInputs in = soil_tested("CORN");
        in.nebraska_equation = c.equation;
        in.sample_depth = c.sample_depth;
        SoilTestResult r;
        compute_nebraska(in, r);
        EXPECT_NEAR(r.basic, c.basic, 1e-3) << c.equation << "/" << c.sample_depth;
        EXPECT_NEAR(r.recommendation, c.basic, 1e-3) << c.equation << "/" << c.sample_depth;
    }
}

// Mass balance manure, worked from the default METHOD_2.KB values:
// N fraction = N% x 0.01 x (1 - moisture% x 0.01), then x availability x mineralization x tons
// x 2000 lb.
TEST(NitrogenMethods, ManureOfThisAndLastSeasonByTypeAndForm)
{
    const struct
    {
        const char *what;
        std::int32_t form, type, analysed;
        float n_percent, moisture;
        double manure;
    } cases[] = {
        // Poultry solid: 2.0 % N, 60 % water, availability 0.85, 0.7 this season.
        {"poultry solid", 0, choice::Poultry, 0, 0, 0, 0.02 * 0.4 * 0.85 * 0.7 * 10 * 2000},
        // Poultry liquid: 4.5 % N, 80 % water, availability 0.65, 0.9 this season.
        {"poultry liquid", 1, choice::Poultry, 0, 0, 0, 0.045 * 0.2 * 0.65 * 0.9 * 10 * 2000},
        // An unset form takes Solid's coefficients, not a neighbouring type's.
        {"poultry unset", -1, choice::Poultry, 0, 0, 0, 0.02 * 0.4 * 0.85 * 0.7 * 10 * 2000},
        // Analysed: the entered 3 % N and 50 % water replace the defaults.
        {"poultry analysed", 0, choice::Poultry, 1, 3.0f, 50.0f,
         0.03 * 0.5 * 0.85 * 0.7 * 10 * 2000},
        // Dairy solid: 2.5 % N, 60 % water, 0.3 this season.
        {"dairy solid", 0, choice::Dairy, 0, 0, 0, 0.025 * 0.4 * 0.85 * 0.3 * 10 * 2000},
        // A type beyond the list has no coefficients.
        {"unknown type", 0, 7, 0, 0, 0, 0.0},
    };
    for (const auto &c : cases) {
        FertilityInputs in = soil_tested("POTATOES");
        in.manure_this_season = 1;
        in.manure_amount = 10.0f;
        in.manure_form = c.form;
        in.manure_type = c.type;
        in.manure_fresh = 0;
        in.manure_method = 0;
        in.manure_analysis = c.analysed;
        in.manure_n_percent = c.n_percent;
        in.manure_moisture = c.moisture;
        MassBalanceResult r;
        compute_mass_balance(in, defaults(), r);
        EXPECT_NEAR(r.manure, c.manure, 1e-3) << c.what;
    }

    // Last season's swine solid (1.5 % N, 55 % water, 0.7 then 0.04 mineralized): this season
    // gets 0.04 of what the first season left.
    FertilityInputs in = soil_tested("POTATOES");
    in.last_manure = 1;
    in.last_manure_amount = 20.0f;
    in.last_manure_form = 0;
    in.last_manure_type = choice::Swine;
    in.last_manure_analysis = 0;
    MassBalanceResult r;
    compute_mass_balance(in, defaults(), r);
    EXPECT_NEAR(r.manure, 0.015 * 0.45 * (1 - 0.7) * 0.04 * 20 * 2000, 1e-4); // 3.24
}

TEST(NitrogenMethods, CropResidueByTillage)
{
    // Corn before, high residue: 26.4 lb N, factor 7, half of it; the share left by tillage
    // is 5, 20, 18, 10, 15, 15 % from No-Till to Other.
    const struct
    {
        std::int32_t tillage;
        double percent;
    } cases[] = {{choice::NoTill, 5},
                 {choice::Moldboard, 20},
                 {choice::Chisel, 18},
                 {choice::RidgeTill, 10},
                 {choice::Disk, 15},
                 {choice::OtherTillage, 15},
                 {6, 0},
                 {-1, 0}};
    for (const auto &c : cases) {
        FertilityInputs in = soil_tested("POTATOES");
        in.previous_crop = choice::CropCorn;
        in.residue_left = 0;
        in.tillage = c.tillage;
        MassBalanceResult r;
        compute_mass_balance(in, defaults(), r);
        EXPECT_NEAR(r.crop_residue, c.percent * 0.01 * 26.4 * 7.0 * 0.5, 1e-4) << c.tillage;
    }
}

/// Inputs whose soil-test score is zero while the soil term carries the whole sum.
FertilityInputs scored_nothing(const char *crop)
{
    FertilityInputs in = soil_tested(crop);
    in.sample_depth = 1;
    in.sample_count = 10;
    in.irrigation_nitrate_known = 1;
    in.tillage = choice::NoTill;
    return in;
}

TEST(NitrogenMethods, SamplingAndTillageScores)
{
    const SoilTestResult soil_only{.basic_copy = 100.0f};
    const struct
    {
        const char *what;
        void (*change)(FertilityInputs &);
        double potatoes, corn; ///< the soil-test score of each crop's method
    } cases[] = {
        {"nine samples", [](FertilityInputs &in) { in.sample_count = 9; }, 10, 10},
        {"two samples", [](FertilityInputs &in) { in.sample_count = 2; }, 33, 33}, // 100 / 3
        {"no sample", [](FertilityInputs &in) { in.sample_count = 0; }, 100, 100},
        {"unknown depth", [](FertilityInputs &in) { in.sample_depth = choice::UnknownDepth; }, 60,
         60},
        // Potatoes: |root 2 ft - depth 3 - 1| = 2; Nebraska: |1 - depth 3| = 2. Both 9 each.
        {"deep sample", [](FertilityInputs &in) { in.sample_depth = 3; }, 18, 18},
        // Potatoes: |2 - 0 - 1| = 1; Nebraska compares with the one-foot sample: |1 - 0| = 1.
        {"shallow sample", [](FertilityInputs &in) { in.sample_depth = 0; }, 9, 9},
        {"handled badly", [](FertilityInputs &in) { in.handled_well = 0; }, 30, 30},
        {"untrusted lab", [](FertilityInputs &in) { in.lab_trustworthy = 0; }, 30, 30},
        {"no residue", [](FertilityInputs &in) { in.residue_left = 0; }, 5, 5},
        {"moldboard", [](FertilityInputs &in) { in.tillage = choice::Moldboard; }, 5, 5},
        {"chisel", [](FertilityInputs &in) { in.tillage = choice::Chisel; }, 5, 5},
        {"ridge till", [](FertilityInputs &in) { in.tillage = choice::RidgeTill; }, 3, 3},
        {"disk", [](FertilityInputs &in) { in.tillage = choice::Disk; }, 4, 4},
        {"other tillage", [](FertilityInputs &in) { in.tillage = choice::OtherTillage; }, 4, 4},
        // Drainage counts only above 1 % organic matter, 10 a class.
        {"drainage at 1 %", [](FertilityInputs &in) { in.drainage_class = 4; }, 0, 0},
        {"drainage above 1 %",
         [](FertilityInputs &in) {
             in.drainage_class = 4;
             in.organic_matter = 1.01f;
         },
         40, 40},
        {"nitrate unknown", [](FertilityInputs &in) { in.irrigation_nitrate_known = 0; }, 20, 20},
        // 60 + 30 + 30 is capped.
        {"capped",
         [](FertilityInputs &in) {
             in.sample_depth = choice::UnknownDepth;
             in.handled_well = 0;
             in.lab_trustworthy = 0;
         },
         100, 100},
    };
    for (const auto &c : cases) {
        for (const char *crop : {"POTATOES", "CORN"}) {
            FertilityInputs in = scored_nothing(crop);
            ASSERT_EQ(soil_test_uncertainty(in, soil_only), 0.0) << crop;
            c.change(in);
            const double expected = std::string_view(crop) == "CORN" ? c.corn : c.potatoes;
            EXPECT_NEAR(soil_test_uncertainty(in, soil_only), expected, 1e-9)
                << c.what << ", " << crop;
        }
    }
}

TEST(NitrogenMethods, ManureAndLegumeScores)
{
    const struct
    {
        std::int32_t type, method;
        double soil_test, uptake; ///< beef counts in the soil test only
    } manure[] = {
        {choice::Beef, 0, 10, 0},
        {choice::Dairy, 0, 0, 0},
        {choice::Horse, 0, 10, 10},
        {choice::Poultry, 0, 40, 40},
        {choice::Sheep, 0, 30, 30},
        {choice::Swine, 0, 30, 30},
        {6, 0, 0, 0},
        {choice::Dairy, 1, 20, 20},
        {choice::Dairy, 2, 20, 20},
        {choice::Dairy, 3, 0, 0},
        {choice::Poultry, 2, 60, 60},
    };
    const SoilTestResult soil{.manure = 100.0f};
    const UptakeEfficiencyResult uptake{.manure_efficiency = 1.0f, .manure = 100.0f};
    for (const auto &c : manure) {
        FertilityInputs in = scored_nothing("POTATOES");
        in.manure_this_season = 1;
        in.manure_type = c.type;
        in.manure_method = c.method;
        EXPECT_NEAR(soil_test_uncertainty(in, soil), c.soil_test, 1e-9) << c.type << c.method;
        EXPECT_NEAR(uptake_uncertainty(in, uptake), c.uptake, 1e-9) << c.type << c.method;
        in.manure_this_season = 0;
        EXPECT_EQ(soil_test_uncertainty(in, soil), 0.0);
    }

    // Mass balance: manure not analysed weighs 75; a compact layer 10 on the residual.
    FertilityInputs in = scored_nothing("POTATOES");
    in.manure_this_season = 1;
    in.manure_analysis = 0;
    EXPECT_NEAR(mass_balance_uncertainty(in, {.manure = 100.0f}), 75.0, 1e-9);
    in.manure_analysis = 1;
    EXPECT_EQ(mass_balance_uncertainty(in, {.manure = 100.0f}), 0.0);
    in.compact_layer = 1;
    EXPECT_NEAR(mass_balance_uncertainty(in, {.residual = 100.0f}), 10.0, 1e-9);

    const struct
    {
        std::int32_t pre_legume, harvest, previous_yield;
        double score;
    } legume[] = {
        {-1, 1, 2, 0}, // no legume before: nothing counts
        {0, 0, 0, 0},  {1, 0, 0, 10}, {2, 0, 0, 20}, {3, 0, 0, 30},  {4, 0, 0, 0},
        {0, 1, 0, 50}, {0, 0, 1, 10}, {0, 0, 2, 20}, {3, 1, 2, 100},
    };
    for (const auto &c : legume) {
        FertilityInputs l = scored_nothing("POTATOES");
        l.pre_legume_nitrogen = c.pre_legume;
        l.legume_harvest = c.harvest;
        l.previous_yield = c.previous_yield;
        EXPECT_NEAR(soil_test_uncertainty(l, {.legume = 100.0f}), c.score, 1e-9)
            << c.pre_legume << "/" << c.harvest << "/" << c.previous_yield;
    }
}

} // namespace
} // namespace tw
