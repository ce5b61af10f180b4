#include "field/saved_field.h"

#include "field/irrigation_systems.h"

namespace tw {

void SavedField::select_system(std::int32_t index)
{
    set_system_index(index);
    if (const IrrigationSystem *row = irrigation_system(index))
        efficiency = row->efficiency;
}

void SavedField::set_system_index(std::int32_t index)
{
    system_index = index;
    // A stored index outside the table (a damaged file) keeps the field usable without a name.
    const IrrigationSystem *row = irrigation_system(index);
    system_name = row ? row->name : std::string_view{};
    net_depth_in = row ? row->net_depth_in : 0.0f;
}

} // namespace tw
