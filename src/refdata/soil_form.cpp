#include "refdata/soil_form.h"

#include "platform/text_encoding.h"
#include "platform/text_format.h"
#include "refdata/units.h"

namespace tw {
namespace {

std::string moisture_heading(const char *name)
{
    return std::string(name) + " (" + sed_SetUnits(Soil_Moisture) + ")";
}

std::string moisture_text(float value)
{
    return strprintf("%1.3f", static_cast<double>(convert_to(Soil_Moisture, value)));
}

} // namespace

SoilValues soil_values_of(const SoilRecord &soil)
{
    return {soil.name, soil.type, convert_to(Soil_Moisture, soil.sm_fc),
            convert_to(Soil_Moisture, soil.sm_pwp), convert_to(Soil_Moisture, soil.awhc)};
}

void store_soil_values(const SoilValues &values, SoilRecord &soil)
{
    soil.name = cut_to_chars(values.name, kSoilTextChars);
    soil.type = cut_to_chars(values.type, kSoilTextChars);
    soil.sm_fc = convert_from(Soil_Moisture, values.field_capacity);
    soil.sm_pwp = convert_from(Soil_Moisture, values.wilting_point);
    soil.awhc = convert_from(Soil_Moisture, values.awhc);
}

void assist_awhc(SoilValues &values)
{
    if (values.field_capacity > 0.0f && values.wilting_point > 0.0f)
        values.awhc = values.field_capacity - values.wilting_point;
}

std::optional<std::string> check_soil_values(const SoilValues &values)
{
    return range_message(values.awhc, kMinAwhc, kMaxAwhc,
                         "the Available Water Holding Capacity(AWHC)");
}

std::array<std::string, kSoilListColumns> soil_list_headings()
{
    return {"Soil Name", "Soil Type", moisture_heading("SM_FC"), moisture_heading("SM_PWP"),
            moisture_heading("AWHC")};
}

std::array<std::string, kSoilListColumns> soil_list_row(const SoilRecord &soil)
{
    return {soil.name, soil.type, moisture_text(soil.sm_fc), moisture_text(soil.sm_pwp),
            moisture_text(soil.awhc)};
}

} // namespace tw
