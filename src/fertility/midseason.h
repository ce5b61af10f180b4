#pragma once

#include "fertility/fertility_inputs.h"
#include "fertility/nitrogen_methods.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The midseason nitrogen correction of a corn field: the yield predicted from the first eight
// weeks of degree days, and the nitrogen the crop has taken up by a new soil test.
namespace tw {

constexpr std::size_t kUptakeCurveDays = 258;

/// The season's degree days as the preparation keeps them.
struct SeasonDegreeDays
{
    /// Cumulative Celsius degree days by day after planting, as the field gave them.
    std::vector<float> cumulative_c;
    /// The same in Fahrenheit, truncated, for the uptake curve.
    std::array<std::int32_t, kUptakeCurveDays> cumulative_f{};
    /// Weeks 1..8 whose cumulative degree days on their last day are nonzero.
    int weeks_with_data = 0;
};

/// Counts the weeks with degree days; with four or more the consultation can correct at
/// midseason (`midseason_mode` 1, one application counted) and the Fahrenheit table is kept.
SeasonDegreeDays prepare_midseason_degree_days(FertilityInputs &inputs,
                                               const std::vector<float> &cumulative_c);

/// Weeks after 1 April before planting, 0..2: where the typical weeks start.
int typical_week_offset(const FertilityInputs &inputs);
/// Days from 1 May to planting, at least 0.
int days_after_first_of_may(const FertilityInputs &inputs);

/// Fills the weekly degree days (missing weeks from the typical ones) and replaces the yield
/// goal with the predicted yield.
void predict_midseason_yield(FertilityInputs &inputs, const SeasonDegreeDays &degree_days);

/// The methods and the combination with the stored pre-season soil test and the predicted yield;
/// each method's figure is kept as its midseason recommendation.
void run_preseason_test_pass(FertilityInputs &inputs, const MethodKnowledge &knowledge,
                             MethodResults &results);

/// Share (%) of the season's uptake reached at a cumulative Fahrenheit degree-day value.
double uptake_percentage(double gdd_f);
/// The crop's uptake up to the new soil test, from the kept Fahrenheit table.
void compute_uptake_to_date(FertilityInputs &inputs, const SeasonDegreeDays &degree_days);

} // namespace tw
