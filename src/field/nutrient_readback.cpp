#include "field/nutrient_readback.h"

#include "fertility/nutrient_file.h"
#include "field/field_doc.h"
#include "platform/message_port.h"

namespace tw {

bool read_nutrient_values(CFieldDoc &field)
{
    const std::string base = nutrient_base_for_field(field.name, field.planting_date.day());
    const NutrientFileRead read = load_nutrient_file(base);
    if (read.status != FileReadStatus::Ok) {
        const char *text = read.status == FileReadStatus::Short
                               ? "Unable to read from the file: "
                               : "Unable to open the nutrient file: ";
        messages().inform(text + base + ".FRT");
        return false;
    }
    const FieldNitrogenReadBack values = field_nitrogen_read_back(read.block);
    field.n1 = values.irrigation_nitrate;
    field.n4 = values.yield_goal;
    if (field.n3 <= 0.0f) {
        field.n2 = values.soil_nitrogen_at_planting;
        field.n3 = 0.1f;
    }
    return true;
}

} // namespace tw
