#pragma once

#include "refdata/records.h"

#include <vector>

// The crops growers grow, as shipped with the program: the default CORN as it is and twelve more
// whose stages, crop coefficients, root depths and allowable depletions come from the FAO-56
// tables and whose fertility fields come from extension guides (data/crops/README.md says how).
namespace tw {

/// A shipped crop and the planting date (in any year) its degree-day stage ends were taken for.
struct ShippedCrop
{
    CropRecord record;
    int planting_month;
    int planting_day;
};

/// Every shipped crop, sorted by name, each record's index its position.
std::vector<ShippedCrop> shipped_crops();

/// The records of shipped_crops(), as crop.db holds them.
std::vector<CropRecord> complete_crops();

/// Replaces crop.db in the working directory with the complete crop database; false after the
/// message when it cannot be written.
bool write_complete_crop_db();

} // namespace tw
