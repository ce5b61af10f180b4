#pragma once

#include "fertility/fertility_inputs.h"
#include "fertility/field_facts.h"
#include "fertility/midseason.h"

#include <string>
#include <string_view>

namespace tw {

/// What the preparation keeps for the rest of a consultation besides the inputs.
struct PreparedConsultation
{
    /// The name both files are read and written under.
    std::string base_name;
    SeasonDegreeDays degree_days;
};

/// The position of a texture in the texture list (compared upper-cased), or -1.
int texture_index_of(std::string_view texture);

/// Resets the inputs, loads a corn field's nutrient file (so that the stored pre-season soil test
/// survives into a midseason correction), prepares the midseason degree days and applies the
/// field's values.
PreparedConsultation prepare_fertility_inputs(FertilityInputs &inputs, const FieldFacts &field);

} // namespace tw
