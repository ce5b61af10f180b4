#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// What the three nitrogen methods and their combination produce, in lb/acre unless marked. The
// soil-test, mass-balance and combination records are stored in the nutrient file as plain
// sequences of float32 in member order.
namespace tw {

struct SoilTestResult
{
    float spare = 0.0f;
    float basic = 0.0f;
    float basic_copy = 0.0f;
    float legume = 0.0f;
    float manure = 0.0f;
    float irrigation = 0.0f;
    float recommendation = 0.0f;
    float midseason_recommendation = 0.0f;
    float remaining = 0.0f;
};

struct MassBalanceResult
{
    float plant_requirement = 0.0f;
    float residual = 0.0f;
    float organic_matter = 0.0f;
    float crop_residue = 0.0f;
    float legume = 0.0f;
    float manure = 0.0f;
    float irrigation = 0.0f;
    float denitrification = 0.0f;
    float extra = 0.0f;
    float recommendation = 0.0f;
    float midseason_recommendation = 0.0f;
    float remaining = 0.0f;
};

/// Efficiencies are fractions. Not stored in any file.
struct UptakeEfficiencyResult
{
    float plant_requirement = 0.0f;
    float residual_efficiency = 0.0f;
    float residual = 0.0f;
    float organic_matter_efficiency = 0.0f;
    float organic_matter = 0.0f;
    float legume_efficiency = 0.0f;
    float legume = 0.0f;
    float manure_efficiency = 0.0f;
    float manure = 0.0f;
    float irrigation_efficiency = 0.0f;
    float irrigation = 0.0f;
    float fertilizer_efficiency = 0.0f;
    float recommendation = 0.0f;
    float midseason_recommendation = 0.0f;
    float remaining = 0.0f;
};

struct Recommendation
{
    std::array<float, 3> method_rec{};
    /// Midseason: each method's pre-season-test figure minus the nitrogen applied to date.
    std::array<float, 3> preseason_test_rec{};
    std::array<float, 3> remaining_rec{};
    std::array<float, 3> certainty{}; ///< %
    std::array<float, 3> midseason_certainty{};
    float final = 0.0f;
    float spare_1 = 0.0f;
    float spare_2 = 0.0f;
    float phosphorus = 0.0f;
    float potassium = 0.0f;
};

constexpr std::size_t kSoilTestResultSize = 9 * 4;
constexpr std::size_t kMassBalanceResultSize = 12 * 4;
constexpr std::size_t kRecommendationSize = 20 * 4;

void encode_soil_test_result(const SoilTestResult &r, std::span<std::uint8_t> out);
SoilTestResult decode_soil_test_result(std::span<const std::uint8_t> in);
void encode_mass_balance_result(const MassBalanceResult &r, std::span<std::uint8_t> out);
MassBalanceResult decode_mass_balance_result(std::span<const std::uint8_t> in);
void encode_recommendation(const Recommendation &r, std::span<std::uint8_t> out);
Recommendation decode_recommendation(std::span<const std::uint8_t> in);

} // namespace tw
