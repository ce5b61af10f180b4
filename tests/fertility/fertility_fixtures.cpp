#include "fertility_fixtures.h"

#include "platform/dates.h"

#include <gtest/gtest.h>

namespace tw::test {

FieldFacts corn_field()
{
    FieldFacts f;
    f.crop.name = "CORN";
    f.crop.yield_units = "BU/ACRE";
    f.crop.average_yield = 180;
    f.crop.n_requirement = 0.9f;
    f.crop.plant_population = 30;
    f.crop.yield_b0 = -12.7f;
    f.crop.efficiency = {60, 50, 40, 55, 45, 65};
    f.crop.p_levels = {60, 30, 0};
    f.crop.k_levels = {80, 40, 20};
    f.crop.max_root_depth = 1300.0f;
    f.soil_texture = "Silty Loam";
    f.irrigation_efficiency = 85.0f;
    f.planting_date = StoredDate::from_day(serial_from_civil(2026, 5, 1));
    f.field_name = "North";
    return f;
}

void fill(WizardPage &page, std::initializer_list<std::pair<const char *, const char *>> answers)
{
    for (const auto &[name, value] : answers) {
        const auto refused = page.set_text(name, value);
        ASSERT_FALSE(refused) << name << ": " << *refused;
    }
}

bool ScriptedChooser::choose(ApplicationPage &page)
{
    asked.push_back(page.title());
    const auto it = plan.find(page.title());
    if (it == plan.end())
        return false;
    const PlannedApplication &p = it->second;
    for (std::size_t i = 0; i < page.materials().size(); ++i) {
        if (page.materials()[i].name == p.material)
            page.select_material(i);
    }
    page.select_state(p.state);
    if (const auto methods = page.open_method_list()) {
        for (std::size_t i = 0; i < methods->size(); ++i) {
            if ((*methods)[i].name == p.method)
                page.select_method(i);
        }
    }
    page.select_rain(p.rain);
    return page.accept();
}

} // namespace tw::test
