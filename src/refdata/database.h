#pragma once

#include "refdata/records.h"

#include <vector>

namespace tw {

// Whole-database reads for the users that only need the records: each opens the file of its kind
// in the working directory (re-creating it with the defaults, after the notice, when it is
// missing), reads every whole record, and closes it. An unreadable file yields no records.
std::vector<SoilRecord> load_soils();
std::vector<CropRecord> load_crops();
std::vector<StationRecord> load_stations();

} // namespace tw
