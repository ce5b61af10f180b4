#pragma once

#include <cstdint>
#include <span>

namespace tw {

class CLocationDoc;
class Document;

/// The child window that is active when a field is created or opened: whether there is one, and
/// the document it shows (none, a location, or another kind).
struct ActiveWindow
{
    bool exists = false;
    Document *document = nullptr;
};

/// The location a field is created in or opened against: the one the active window shows.
/// Nothing, after the message, when no window is open or the active one shows no location; with
/// no window open, the message names the location an opened field (`field_bytes`) remembers.
CLocationDoc *location_for_field(const ActiveWindow &active,
                                 std::span<const std::uint8_t> field_bytes = {});

} // namespace tw
