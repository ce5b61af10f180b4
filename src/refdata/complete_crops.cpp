#include "refdata/complete_crops.h"

#include "refdata/database.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace tw {
namespace {

// What the extension guides give for a crop's fertilizer consultation (data/crops/README.md
// names them): the yield unit and the average yield the yield goal starts from, the nitrogen
// requirement per unit of yield (for some crops an effective figure calibrated so that the
// mass-balance method meets the guide), the plant population, and the lb P2O5 and lb K2O per
// acre paid at a Low, Medium and High soil test.
struct GuideFertility
{
    std::string_view yield_units;
    std::int32_t average_yield;
    float n_requirement;
    std::int32_t plant_population; ///< thousands per acre
    std::array<std::int32_t, 3> p_levels;
    std::array<std::int32_t, 3> k_levels;
};

// One crop as the FAO-56 tables give it. Table 11: the lengths of the initial, development,
// mid-season and late-season stages (days, the row named in `table11_row`); for a perennial whose
// first cutting cycle is longer than the later ones, `regrowth_days` are the later cycles'
// lengths (all 0 when every cycle is the same). Table 12: the single crop coefficients for the
// grass reference; Table 22: the range of the maximum root depth and the depletion fraction p.
// The degree-day thresholds and the planting depth come from agronomy (data/crops/README.md names
// the sources); the stage ends in degree days were accumulated on the demo season from the
// planting date given.
struct FaoCrop
{
    std::string_view name;
    std::string_view hybrid;
    std::int32_t max_harvests;
    int planting_month, planting_day;
    float planting_depth; ///< mm
    std::array<int, 4> stage_days;
    std::array<int, 4> regrowth_days;
    std::string_view table11_row;
    double kc_ini, kc_mid, kc_end;
    float root_depth_low, root_depth_high; ///< m
    float depletion;
    float gdd_base, gdd_upper; ///< °C
    std::array<float, 7> stage_gdd;
    /// The later cycles' stage ends (Regrow to Harvest), counted from the first cycle's start.
    std::array<float, 6> regrowth_gdd;
    GuideFertility fertility;
};

constexpr std::array<int, 4> kSameCycles = {};

// For a perennial the stages are the first cutting cycle and, when they differ, the cycle the
// field repeats for the later cuttings. Winter wheat starts at spring green-up (the date to enter
// as its planting): the dormant months of its initial stage carry no irrigation decision and are
// left out.
constexpr std::array<FaoCrop, 12> kFaoCrops = {{
    {"ALFALFA",
     "HAY",
     4,
     4,
     10,
     10.0f,
     {10, 30, 25, 10},
     {5, 20, 10, 10},
     "alfalfa, 1st and other cutting cycles, Idaho",
     0.40,
     1.20,
     1.15,
     1.0f,
     2.0f,
     0.55f,
     5.0f,
     30.0f,
     {0, 30, 66, 348, 625, 706, 788},
     {830, 859, 1203, 1374, 1459, 1549},
     {"Tons/Acre", 5, 0.0f, 435, {75, 30, 0}, {90, 45, 0}}},
    {"BARLEY",
     "SPRING",
     1,
     4,
     1,
     40.0f,
     {20, 25, 60, 30},
     kSameCycles,
     "barley/oats/wheat, 35-45 degrees",
     0.30,
     1.15,
     0.25,
     1.0f,
     1.5f,
     0.55f,
     0.0f,
     30.0f,
     {0, 92, 183, 505, 1627, 1966, 2307},
     {},
     {"BU/Acre", 120, 0.85f, 1100, {70, 40, 0}, {75, 50, 15}}},
    {"COTTON",
     "UPLAND",
     1,
     5,
     15,
     25.0f,
     {30, 50, 55, 45},
     kSameCycles,
     "cotton, Texas",
     0.35,
     1.175,
     0.60,
     1.0f,
     1.7f,
     0.65f,
     15.56f,
     30.0f,
     {0, 68, 147, 497, 852, 930, 957},
     {},
     {"CWT/Acre", 12, 9.7f, 50, {120, 60, 0}, {120, 80, 0}}},
    {"DRY BEANS",
     "PINTO",
     1,
     6,
     1,
     40.0f,
     {25, 25, 30, 20},
     kSameCycles,
     "beans, dry, Idaho",
     0.40,
     1.15,
     0.35,
     0.6f,
     0.9f,
     0.45f,
     10.0f,
     30.0f,
     {0, 126, 259, 556, 922, 1027, 1134},
     {},
     {"CWT/Acre", 22, 2.7f, 70, {60, 30, 0}, {40, 0, 0}}},
    {"ONIONS",
     "DRY",
     1,
     4,
     1,
     15.0f,
     {15, 25, 70, 40},
     kSameCycles,
     "onion, dry, Mediterranean",
     0.70,
     1.05,
     0.75,
     0.3f,
     0.6f,
     0.30f,
     4.4f,
     30.0f,
     {0, 53, 90, 303, 1325, 1682, 2023},
     {},
     {"CWT/Acre", 500, 0.25f, 150, {120, 80, 40}, {80, 40, 0}}},
    {"POTATOES",
     "RUSSET",
     1,
     4,
     25,
     100.0f,
     {45, 30, 70, 20},
     kSameCycles,
     "potato, Idaho",
     0.50,
     1.15,
     0.75,
     0.4f,
     0.6f,
     0.35f,
     7.0f,
     30.0f,
     {0, 185, 373, 795, 1789, 1890, 1970},
     {},
     {"CWT/Acre", 400, 0.43f, 15, {160, 120, 80}, {120, 60, 0}}},
    {"SORGHUM",
     "GRAIN",
     1,
     6,
     1,
     40.0f,
     {20, 35, 40, 30},
     kSameCycles,
     "sorghum, USA",
     0.30,
     1.05,
     0.55,
     1.0f,
     2.0f,
     0.55f,
     10.0f,
     30.0f,
     {0, 90, 208, 618, 1081, 1210, 1322},
     {},
     {"BU/Acre", 120, 1.20f, 80, {50, 15, 0}, {75, 30, 0}}},
    {"SOYBEANS",
     "GROUP II",
     1,
     5,
     15,
     40.0f,
     {20, 35, 60, 25},
     kSameCycles,
     "soybeans, central USA",
     0.50,
     1.15,
     0.50,
     0.6f,
     1.3f,
     0.50f,
     10.0f,
     30.0f,
     {0, 64, 131, 514, 1225, 1332, 1422},
     {},
     {"BU/Acre", 65, 0.0f, 120, {65, 15, 0}, {80, 30, 0}}},
    {"SPRING WHEAT",
     "HARD RED",
     1,
     4,
     1,
     40.0f,
     {20, 25, 60, 30},
     kSameCycles,
     "barley/oats/wheat, 35-45 degrees",
     0.30,
     1.15,
     0.25,
     1.0f,
     1.5f,
     0.55f,
     0.0f,
     30.0f,
     {0, 92, 183, 505, 1627, 1966, 2307},
     {},
     {"BU/Acre", 90, 1.75f, 1100, {60, 15, 0}, {65, 25, 0}}},
    {"SUGARBEETS",
     "SUGAR",
     1,
     4,
     10,
     25.0f,
     {50, 40, 50, 40},
     kSameCycles,
     "sugarbeet, Idaho",
     0.35,
     1.20,
     0.70,
     0.7f,
     1.2f,
     0.55f,
     1.1f,
     30.0f,
     {0, 239, 580, 1331, 2381, 2734, 3026},
     {},
     {"Tons/Acre", 30, 4.5f, 30, {100, 60, 30}, {80, 40, 0}}},
    {"SUNFLOWERS",
     "OILSEED",
     1,
     6,
     1,
     40.0f,
     {25, 35, 45, 25},
     kSameCycles,
     "sunflower, California",
     0.35,
     1.10,
     0.35,
     0.8f,
     1.5f,
     0.45f,
     6.7f,
     30.0f,
     {0, 165, 338, 867, 1499, 1640, 1737},
     {},
     {"CWT/Acre", 25, 4.5f, 22, {50, 15, 0}, {85, 40, 0}}},
    {"WINTER WHEAT",
     "HARD RED",
     1,
     3,
     1,
     40.0f,
     {10, 75, 75, 25},
     kSameCycles,
     "winter wheat, Idaho, from green-up",
     0.40,
     1.15,
     0.25,
     1.5f,
     1.8f,
     0.55f,
     0.0f,
     30.0f,
     {0, 51, 54, 820, 2373, 2659, 2906},
     {},
     {"BU/Acre", 100, 1.45f, 1000, {65, 15, 0}, {65, 25, 0}}},
}};

// The program's reference is alfalfa, the tables' is grass; in the semi-arid West alfalfa
// reference ET runs about this much above grass reference ET.
constexpr double kAlfalfaOverGrass = 1.2;

constexpr std::array<std::string_view, 7> kStageNames = {
    "Planting",   "Emergence",       "Initial Growth", "Full Cover",
    "Mid-Season", "Stop Irrigating", "Harvest"};
constexpr std::array<StageFlag, 7> kStageFlags = {
    StagePlanting, StageEmergence,      StageOrdinary, StageFullCover,
    StageOrdinary, StageStopIrrigating, StageHarvest};

bool has_regrowth_cycle(const FaoCrop &f)
{
    return f.regrowth_days != kSameCycles;
}

// Emergence halfway through the initial stage; irrigation stops halfway through the late stage.
std::array<int, 7> stage_ends(const std::array<int, 4> &lengths)
{
    const auto [initial, development, mid, late] = lengths;
    const int full_cover = initial + development;
    const int mid_end = full_cover + mid;
    return {0,       (initial + 1) / 2,        initial,       full_cover,
            mid_end, mid_end + (late + 1) / 2, mid_end + late};
}

// Least-squares cubic through the points (x, y): the normal equations solved by elimination.
KcPolynomial fit_cubic(const std::vector<double> &x, const std::vector<double> &y)
{
    std::array<std::array<double, 5>, 4> m{};
    for (std::size_t k = 0; k < x.size(); ++k) {
        const std::array<double, 4> p = {std::pow(x[k], 3), x[k] * x[k], x[k], 1.0};
        for (std::size_t r = 0; r < 4; ++r) {
            for (std::size_t c = 0; c < 4; ++c)
                m[r][c] += p[r] * p[c];
            m[r][4] += p[r] * y[k];
        }
    }
    for (std::size_t col = 0; col < 4; ++col) {
        const auto pivot = std::max_element(
            m.begin() + static_cast<std::ptrdiff_t>(col), m.end(),
            [col](const auto &a, const auto &b) { return std::abs(a[col]) < std::abs(b[col]); });
        std::swap(m[col], *pivot);
        for (std::size_t r = 0; r < 4; ++r) {
            if (r == col)
                continue;
            const double f = m[r][col] / m[col][col];
            for (std::size_t c = col; c < 5; ++c)
                m[r][c] -= f * m[col][c];
        }
    }
    return {m[0][4] / m[0][0], m[1][4] / m[1][1], m[2][4] / m[2][2], m[3][4] / m[3][3]};
}

// The FAO curve on the days the water balance evaluates: before full cover at R = day / full
// cover day, flat through the initial stage and rising to the mid-season value; after it at
// R = days since full cover, flat through mid-season and falling to the end value at harvest.
// Before full cover R is that curve only in the first cycle, which therefore alone shapes it;
// after full cover every cutting of a season counts.
void fit_coefficients(const FaoCrop &f, CropRecord &crop)
{
    const double ini = f.kc_ini / kAlfalfaOverGrass;
    const double top = f.kc_mid / kAlfalfaOverGrass;
    const double end = f.kc_end / kAlfalfaOverGrass;
    const auto [initial, development, first_mid, first_late] = f.stage_days;
    const int full_cover = initial + development;
    std::vector<double> x, y;
    for (int d = 0; d <= full_cover; ++d) {
        x.push_back(static_cast<double>(d) / full_cover);
        y.push_back(d <= initial ? ini : ini + (top - ini) * (d - initial) / development);
    }
    crop.kc_before = fit_cubic(x, y);
    x.clear();
    y.clear();
    std::vector<std::array<int, 4>> cycles = {f.stage_days};
    if (has_regrowth_cycle(f))
        cycles.insert(cycles.end(), static_cast<std::size_t>(f.max_harvests - 1), f.regrowth_days);
    for (const auto &cycle : cycles) {
        const int mid = cycle[2];
        const int late = cycle[3];
        for (int r = 0; r <= mid + late; ++r) {
            x.push_back(r);
            y.push_back(r <= mid ? top : top + (end - top) * (r - mid) / late);
        }
    }
    crop.kc_after = fit_cubic(x, y);
}

void set_fertility(const GuideFertility &g, CropRecord &crop)
{
    crop.yield_units = g.yield_units;
    crop.average_yield = g.average_yield;
    crop.n_requirement = g.n_requirement;
    crop.plant_population = g.plant_population;
    crop.p_levels = g.p_levels;
    crop.k_levels = g.k_levels;
}

// The first cycle's seven stages and, for a perennial whose later cuttings come sooner, the
// later cycle after it (without a second Planting), which the field repeats for the cuttings left.
void set_fao_stages(const FaoCrop &f, CropRecord &crop)
{
    crop.stages = {};
    std::size_t n = 0;
    const std::array<int, 7> ends = stage_ends(f.stage_days);
    for (std::size_t i = 0; i < ends.size(); ++i)
        crop.stages[n++] = {std::string(kStageNames[i]), kStageFlags[i], f.depletion,
                            static_cast<float>(ends[i]), f.stage_gdd[i]};
    if (has_regrowth_cycle(f)) {
        const std::array<int, 7> later = stage_ends(f.regrowth_days);
        for (std::size_t i = 1; i < later.size(); ++i) {
            const std::string_view name =
                kStageFlags[i] == StageEmergence ? std::string_view("Regrow") : kStageNames[i];
            crop.stages[n++] = {std::string(name), kStageFlags[i], f.depletion,
                                static_cast<float>(ends.back() + later[i]), f.regrowth_gdd[i - 1]};
        }
    }
    crop.stage_count = static_cast<std::int32_t>(n);
}

CropRecord record_of(const FaoCrop &f)
{
    // What neither the tables nor the guides give (B0, the uptake efficiencies) is the new-crop
    // template's.
    CropRecord crop;
    db_InitCrop(crop, f.max_harvests);
    crop.name = f.name;
    crop.hybrid = f.hybrid;
    crop.planting_depth = f.planting_depth;
    crop.max_root_depth = std::round((f.root_depth_low + f.root_depth_high) / 2.0f * 1000.0f);
    crop.gdd_min_temp = f.gdd_base;
    crop.gdd_max_temp = f.gdd_upper;
    fit_coefficients(f, crop);
    set_fertility(f.fertility, crop);
    set_fao_stages(f, crop);
    return crop;
}

} // namespace

std::vector<ShippedCrop> shipped_crops()
{
    std::vector<ShippedCrop> crops = {{default_corn_record(), 5, 10}};
    for (const FaoCrop &f : kFaoCrops)
        crops.push_back({record_of(f), f.planting_month, f.planting_day});
    std::sort(crops.begin(), crops.end(), [](const ShippedCrop &a, const ShippedCrop &b) {
        return a.record.name < b.record.name;
    });
    for (std::size_t i = 0; i < crops.size(); ++i)
        crops[i].record.index = static_cast<std::int32_t>(i);
    return crops;
}

std::vector<CropRecord> complete_crops()
{
    std::vector<CropRecord> records;
    for (ShippedCrop &c : shipped_crops())
        records.push_back(std::move(c.record));
    return records;
}

bool write_complete_crop_db()
{
    return db_Write(DbCrops, complete_crops());
}

} // namespace tw
