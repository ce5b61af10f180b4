#include "refdata/complete_crops.h"

#include "refdata/database.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace tw {
namespace {

// One crop as the FAO-56 tables give it. Table 11: the lengths of the initial, development,
// mid-season and late-season stages (days, the row named in `table11_row`); Table 12: the single
// crop coefficients for the grass reference; Table 22: the range of the maximum root depth and
// the depletion fraction p. The degree-day thresholds and the planting depth come from agronomy
// (data/crops/README.md names the sources); the stage ends in degree days were accumulated on the
// demo season from the planting date given.
struct FaoCrop
{
    std::string_view name;
    std::string_view hybrid;
    std::int32_t max_harvests;
    int planting_month, planting_day;
    float planting_depth; ///< mm
    std::array<int, 4> stage_days;
    std::string_view table11_row;
    double kc_ini, kc_mid, kc_end;
    float root_depth_low, root_depth_high; ///< m
    float depletion;
    float gdd_base, gdd_upper; ///< °C
    std::array<float, 7> stage_gdd;
};

// For a perennial the stages are one cutting cycle; the field repeats them once per cutting.
// Winter wheat starts at spring green-up (the date to enter as its planting): the dormant months
// of its initial stage carry no irrigation decision and are left out.
constexpr std::array<FaoCrop, 11> kFaoCrops = {{
    {"ALFALFA",
     "HAY",
     4,
     4,
     10,
     10.0f,
     {5, 20, 10, 10},
     "alfalfa, other cutting cycles, Idaho",
     0.40,
     1.20,
     1.15,
     1.0f,
     2.0f,
     0.55f,
     5.0f,
     30.0f,
     {0, 25, 30, 174, 282, 348, 368}},
    {"BARLEY",
     "SPRING",
     1,
     4,
     1,
     40.0f,
     {20, 25, 60, 30},
     "barley/oats/wheat, 35-45 degrees",
     0.30,
     1.15,
     0.25,
     1.0f,
     1.5f,
     0.55f,
     0.0f,
     30.0f,
     {0, 92, 183, 505, 1627, 1966, 2307}},
    {"DRY BEANS",
     "PINTO",
     1,
     6,
     1,
     40.0f,
     {25, 25, 30, 20},
     "beans, dry, Idaho",
     0.40,
     1.15,
     0.35,
     0.6f,
     0.9f,
     0.45f,
     10.0f,
     30.0f,
     {0, 126, 259, 556, 922, 1027, 1134}},
    {"ONIONS",
     "DRY",
     1,
     4,
     1,
     15.0f,
     {15, 25, 70, 40},
     "onion, dry, Mediterranean",
     0.70,
     1.05,
     0.75,
     0.3f,
     0.6f,
     0.30f,
     4.4f,
     30.0f,
     {0, 53, 90, 303, 1325, 1682, 2023}},
    {"POTATOES",
     "RUSSET",
     1,
     4,
     25,
     100.0f,
     {45, 30, 70, 20},
     "potato, Idaho",
     0.50,
     1.15,
     0.75,
     0.4f,
     0.6f,
     0.35f,
     7.0f,
     30.0f,
     {0, 185, 373, 795, 1789, 1890, 1970}},
    {"SORGHUM",
     "GRAIN",
     1,
     6,
     1,
     40.0f,
     {20, 35, 40, 30},
     "sorghum, USA",
     0.30,
     1.05,
     0.55,
     1.0f,
     2.0f,
     0.55f,
     10.0f,
     30.0f,
     {0, 90, 208, 618, 1081, 1210, 1322}},
    {"SOYBEANS",
     "GROUP II",
     1,
     5,
     15,
     40.0f,
     {20, 35, 60, 25},
     "soybeans, central USA",
     0.50,
     1.15,
     0.50,
     0.6f,
     1.3f,
     0.50f,
     10.0f,
     30.0f,
     {0, 64, 131, 514, 1225, 1332, 1422}},
    {"SPRING WHEAT",
     "HARD RED",
     1,
     4,
     1,
     40.0f,
     {20, 25, 60, 30},
     "barley/oats/wheat, 35-45 degrees",
     0.30,
     1.15,
     0.25,
     1.0f,
     1.5f,
     0.55f,
     0.0f,
     30.0f,
     {0, 92, 183, 505, 1627, 1966, 2307}},
    {"SUGARBEETS",
     "SUGAR",
     1,
     4,
     10,
     25.0f,
     {50, 40, 50, 40},
     "sugarbeet, Idaho",
     0.35,
     1.20,
     0.70,
     0.7f,
     1.2f,
     0.55f,
     1.1f,
     30.0f,
     {0, 239, 580, 1331, 2381, 2734, 3026}},
    {"SUNFLOWERS",
     "OILSEED",
     1,
     6,
     1,
     40.0f,
     {25, 35, 45, 25},
     "sunflower, California",
     0.35,
     1.10,
     0.35,
     0.8f,
     1.5f,
     0.45f,
     6.7f,
     30.0f,
     {0, 165, 338, 867, 1499, 1640, 1737}},
    {"WINTER WHEAT",
     "HARD RED",
     1,
     3,
     1,
     40.0f,
     {10, 75, 75, 25},
     "winter wheat, Idaho, from green-up",
     0.40,
     1.15,
     0.25,
     1.5f,
     1.8f,
     0.55f,
     0.0f,
     30.0f,
     {0, 51, 54, 820, 2373, 2659, 2906}},
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
void fit_coefficients(const FaoCrop &f, CropRecord &crop)
{
    const auto [initial, development, mid, late] = f.stage_days;
    const double ini = f.kc_ini / kAlfalfaOverGrass;
    const double top = f.kc_mid / kAlfalfaOverGrass;
    const double end = f.kc_end / kAlfalfaOverGrass;
    const int full_cover = initial + development;
    std::vector<double> x, y;
    for (int d = 0; d <= full_cover; ++d) {
        x.push_back(static_cast<double>(d) / full_cover);
        y.push_back(d <= initial ? ini : ini + (top - ini) * (d - initial) / development);
    }
    crop.kc_before = fit_cubic(x, y);
    x.clear();
    y.clear();
    for (int r = 0; r <= mid + late; ++r) {
        x.push_back(r);
        y.push_back(r <= mid ? top : top + (end - top) * (r - mid) / late);
    }
    crop.kc_after = fit_cubic(x, y);
}

CropRecord record_of(const FaoCrop &f)
{
    // What the tables do not give (yields, nutrients) is the new-crop template's.
    CropRecord crop;
    db_InitCrop(crop, f.max_harvests);
    crop.name = f.name;
    crop.hybrid = f.hybrid;
    crop.planting_depth = f.planting_depth;
    crop.max_root_depth = std::round((f.root_depth_low + f.root_depth_high) / 2.0f * 1000.0f);
    crop.gdd_min_temp = f.gdd_base;
    crop.gdd_max_temp = f.gdd_upper;
    fit_coefficients(f, crop);
    const std::array<int, 7> ends = stage_ends(f.stage_days);
    crop.stages = {};
    crop.stage_count = static_cast<std::int32_t>(ends.size());
    for (std::size_t i = 0; i < ends.size(); ++i)
        crop.stages[i] = {std::string(kStageNames[i]), kStageFlags[i], f.depletion,
                          static_cast<float>(ends[i]), f.stage_gdd[i]};
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
