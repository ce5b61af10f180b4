#include "location/location_doc.h"

#include "platform/message_port.h"

#include <algorithm>

namespace tw {

CLocationDoc::CLocationDoc()
    : start_date(StoredDate::from_day(today_serial()))
    , days(kNewLocationDays)
{}

void CLocationDoc::set_title(std::string_view title)
{
    store_title(std::string(title) + " - (Location: " + name + ")");
}

void CLocationDoc::attach_field(LocationField *field)
{
    if (field && std::find(fields_.begin(), fields_.end(), field) == fields_.end())
        fields_.push_back(field);
}

void CLocationDoc::detach_field(LocationField *field)
{
    fields_.erase(std::remove(fields_.begin(), fields_.end(), field), fields_.end());
}

std::vector<LocationField *> CLocationDoc::collect_fields() const
{
    const std::size_t n = std::min(fields_.size(), kMaxSummaryFields);
    return {fields_.begin(), fields_.begin() + static_cast<std::ptrdiff_t>(n)};
}

bool CLocationDoc::notify_fields(int i)
{
    // A field may detach itself while it reruns, so walk a copy.
    const std::vector<LocationField *> fields = fields_;
    for (LocationField *field : fields)
        field->weather_changed(i);
    return true;
}

bool CLocationDoc::can_close() const
{
    for (const LocationField *field : fields_) {
        if (field->has_unsaved_changes()) {
            messages().inform("Please close all modified fields using Location Weather First");
            return false;
        }
    }
    return true;
}

} // namespace tw
