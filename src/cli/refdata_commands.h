#pragma once

#include <iosfwd>

namespace tw::cli {

/// Creates whichever of soil.db, crop.db and station.db is missing from the working directory
/// (the notices go through the message port) and tells out what it created; false when one could
/// not be created. With `complete_crops` a missing crop.db gets every shipped crop.
bool create_missing_databases(std::ostream &out, bool complete_crops = false);

} // namespace tw::cli
