#include "app/active_location.h"

#include "field/field_file.h"
#include "location/location_doc.h"
#include "platform/message_port.h"

#include <string>
#include <vector>

namespace tw {
namespace {

std::string no_location_message(std::span<const std::uint8_t> field_bytes)
{
    std::string text = "Please Open a Location First";
    // The field is read on its own, only to say which location to open for it.
    SavedField field;
    std::vector<FieldDay> days;
    if (!field_bytes.empty() && decode_field_file(field_bytes, field, days) &&
        field.remembered_location.known())
        text += "\nThis field remembers the location " + describe(field.remembered_location) + ".";
    return text;
}

} // namespace

CLocationDoc *location_for_field(const ActiveWindow &active,
                                 std::span<const std::uint8_t> field_bytes)
{
    if (!active.exists) {
        messages().inform(no_location_message(field_bytes));
        return nullptr;
    }
    auto *location = dynamic_cast<CLocationDoc *>(active.document);
    if (!location)
        messages().inform("Please set focus on the fields Location window first");
    return location;
}

} // namespace tw
