#include "fertility/field_facts.h"

#include "field/field_doc.h"

namespace tw {

FieldFacts field_facts(const CFieldDoc &field)
{
    FieldFacts facts;
    facts.crop = field.saved.crop;
    facts.soil_texture = field.saved.soil.type;
    facts.irrigation_efficiency = field.saved.efficiency;
    facts.planting_date = field.saved.planting_date;
    facts.field_name = field.saved.name;
    facts.cumulative_gdd.reserve(field.season.days.size());
    for (const FieldDay &day : field.season.days) {
        // Forecast days are not weather the season has had.
        facts.cumulative_gdd.push_back(day.kind == KindWeather ? day.cum_gdd : 0.0f);
        if (day.n_applied != 0.0f)
            ++facts.nitrogen_applications;
    }
    if (!field.season.cum_n_applied.empty())
        facts.nitrogen_total = static_cast<float>(field.season.cum_n_applied.back());
    return facts;
}

} // namespace tw
