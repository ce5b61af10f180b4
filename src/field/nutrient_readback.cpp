#include "field/nutrient_readback.h"

#include "fertility/nutrient_file.h"
#include "field/field_doc.h"
#include "platform/message_port.h"

namespace tw {

bool read_nutrient_values(CFieldDoc &field)
{
    const std::string base =
        nutrient_base_for_field(field.saved.name, field.saved.planting_date.day());
    const NutrientFileRead read = load_nutrient_file(base);
    if (read.status != FileReadStatus::Ok) {
        const char *text = read.status == FileReadStatus::Short
                               ? "Unable to read from the file: "
                               : "Unable to open the nutrient file: ";
        messages().inform(text + base + ".FRT");
        return false;
    }
    const FieldNitrogenReadBack values = field_nitrogen_read_back(read.block);
    FieldNitrogen &nitrogen = field.saved.nitrogen;
    nitrogen.water_nitrate_ppm = values.irrigation_nitrate;
    field.seasonal_nitrogen = values.yield_goal;
    if (!nitrogen.soil_nitrogen_from_file) {
        nitrogen.soil_nitrogen = values.soil_nitrogen_at_planting;
        nitrogen.soil_nitrogen_from_file = true;
    }
    return true;
}

} // namespace tw
