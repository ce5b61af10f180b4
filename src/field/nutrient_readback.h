#pragma once

namespace tw {

class CFieldDoc;

/// Takes the nitrogen values of the field's nutrient file (in the working directory): the
/// irrigation water's nitrate, the seasonal basis, and, unless already derived, the soil nitrogen
/// at planting. False after the message when the file cannot be opened or read.
bool read_nutrient_values(CFieldDoc &field);

} // namespace tw
