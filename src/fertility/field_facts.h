#pragma once

#include "platform/dates.h"
#include "refdata/records.h"

#include <string>
#include <vector>

namespace tw {

class CFieldDoc;

/// What a consultation needs to know about its field. The field side fills it; the consultation
/// never reaches into the field document itself.
struct FieldFacts
{
    CropRecord crop;
    std::string soil_texture;            ///< the soil's texture text as the field holds it
    float irrigation_efficiency = 75.0f; ///< %
    StoredDate planting_date;
    /// The field name, which with the planting year names the nutrient and schedule files.
    std::string field_name;
    /// Cumulative growing degree days (Celsius) by day after planting (day 0 = planting day), 0
    /// on days without weather.
    std::vector<float> cumulative_gdd;
    /// Days of the season with nitrogen applied, and the running total on the last day (lb/acre).
    int nitrogen_applications = 0;
    float nitrogen_total = 0.0f;
};

/// The facts of an open field document, as its last season run left it.
FieldFacts field_facts(const CFieldDoc &field);

} // namespace tw
