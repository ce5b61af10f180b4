#pragma once

#include "platform/dates.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace tw {

class CLocationDoc;
class CFieldDoc;

/// Which location a field was made or last saved with: the location's file name and its first
/// date. A field from before fields remembered this holds an empty name ("unknown").
struct LocationIdentity
{
    std::string file_name;
    StoredDate first_date;

    bool known() const { return !file_name.empty(); }
    friend bool operator==(const LocationIdentity &, const LocationIdentity &) = default;
};

/// The open location as a field would remember it; unknown while it has no file.
LocationIdentity identity_of(const CLocationDoc &location);
/// "north.loc" (first day 05/01/22), as the messages name a location.
std::string describe(const LocationIdentity &location);
/// Whether a field that remembers `remembered` is opened against another location.
bool is_other_location(const LocationIdentity &remembered, const CLocationDoc &open);

/// The remembered location's file: looked for beside the open location, then in the farm folder.
std::optional<std::filesystem::path> find_remembered_location(const LocationIdentity &remembered,
                                                              const CLocationDoc &open);

/// Settles which location an opening field binds to: the open one, or another, or none (cancel).
using LocationSettler = std::function<CLocationDoc *(const CFieldDoc &field, CLocationDoc &open)>;

/// Asks the user when the field remembers another location: open the remembered one (offered when
/// its file is found, and opened through `open_location`), use the open one, or cancel.
CLocationDoc *ask_which_location(
    const CFieldDoc &field, CLocationDoc &open,
    const std::function<CLocationDoc *(const std::filesystem::path &)> &open_location);

} // namespace tw
