#pragma once

#include "fertility/fertility_inputs.h"
#include "fertility/knowledge_files.h"
#include "fertility/mass_balance_table.h"
#include "fertility/method_results.h"

#include <array>
#include <string>

// The three nitrogen methods, phosphorus and potassium, the certainty of each method and the
// combination that picks the final figure. Every function reads the consultation inputs and the
// knowledge it is given; none reads a file.
namespace tw {

/// The knowledge the methods read, loaded afresh for each computation.
struct MethodKnowledge
{
    MassBalanceTable table;
    LegumeFlags legumes;
};

/// METHOD_2.KB and INPUT.KB from the working directory (created when missing).
MethodKnowledge load_method_knowledge();

/// Which variant of method 1 runs: the Nebraska method for a crop named exactly "CORN".
bool uses_nebraska_method(const FertilityInputs &inputs);

/// Soil sample depth in feet ("Unknown" counts as 2).
int sample_depth_feet(const FertilityInputs &inputs);
/// The share of the sampled nitrate that lies in the root zone.
double depth_fraction(int root_depth_ft, int sample_feet);
double legume_credit(const FertilityInputs &inputs);
double manure_credit(const FertilityInputs &inputs);
double irrigation_credit(const FertilityInputs &inputs);
double residual_nitrate(const FertilityInputs &inputs, const MassBalanceTable &table);
double organic_matter_mineralization(const FertilityInputs &inputs, const MassBalanceTable &table);

int compute_soil_test(const FertilityInputs &inputs, SoilTestResult &result);
int compute_nebraska(const FertilityInputs &inputs, SoilTestResult &result);
int compute_mass_balance(const FertilityInputs &inputs, const MethodKnowledge &knowledge,
                         MassBalanceResult &result);
int compute_uptake_efficiency(const FertilityInputs &inputs, const MethodKnowledge &knowledge,
                              UptakeEfficiencyResult &result);

/// The phosphorus class of a test type and level (4 = no results).
int phosphorus_class(int test_type, int level_ppm);
/// 1 when a class applied, else 0 with the value 0.
int phosphorus_recommendation(const FertilityInputs &inputs, float &value);
int potassium_recommendation(const FertilityInputs &inputs, float &value);

/// The uncertainty score (0..100) of each method.
double soil_test_uncertainty(const FertilityInputs &inputs, const SoilTestResult &result);
double mass_balance_uncertainty(const FertilityInputs &inputs, const MassBalanceResult &result);
double uptake_uncertainty(const FertilityInputs &inputs, const UptakeEfficiencyResult &result);

void combine(const FertilityInputs &inputs, Recommendation &rec, const SoilTestResult &soil,
             const MassBalanceResult &mass, const UptakeEfficiencyResult &uptake);

/// The three method records and the combination of one consultation.
struct MethodResults
{
    SoilTestResult soil_test;
    MassBalanceResult mass_balance;
    UptakeEfficiencyResult uptake;
    Recommendation recommendation;
};

/// Clears the records for a run of the methods: a method's midseason figure survives a normal
/// pass, and the combination keeps what the other pass set.
void prepare_records(const FertilityInputs &inputs, MethodResults &results);
/// The three methods (method 1 by crop), then the combination.
void run_methods(const FertilityInputs &inputs, const MethodKnowledge &knowledge,
                 MethodResults &results);

std::string basic_text(const SoilTestResult &result);
std::string mass_balance_text(const MassBalanceResult &result);
std::string uptake_text(const UptakeEfficiencyResult &result);

/// Titles of the calculation pages and labels of the results pages, method 1 by crop.
std::array<const char *, 3> method_titles(const FertilityInputs &inputs);
std::array<const char *, 3> method_labels(const FertilityInputs &inputs);

} // namespace tw
