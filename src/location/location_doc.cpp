#include "location/location_doc.h"

#include "location/reference_et.h"
#include "platform/message_port.h"

#include <algorithm>
#include <initializer_list>

namespace tw {
namespace {

bool any_non_zero(std::initializer_list<float> values)
{
    return std::any_of(values.begin(), values.end(), [](float v) { return v != 0.0f; });
}

// Which values make a day count as holding weather depends on what the equation reads.
void apply_has_data_rule(WeatherDay &d, std::int32_t et_method)
{
    switch (et_method) {
    case KimberlyPenman:
    case StandardizedPenman:
        d.has_data =
            any_non_zero({d.t_min, d.t_max, d.rh_min, d.rh_max, d.solar_radiation, d.wind_run});
        break;
    case JensenHaise:
    case Hargreaves: d.has_data = any_non_zero({d.t_min, d.t_max, d.solar_radiation}); break;
    case EtrDirect: d.has_data = d.alternate_etr != 0.0f; break;
    default: break;
    }
}

} // namespace

CLocationDoc::CLocationDoc()
    : start_date(StoredDate::from_day(today_serial()))
    , days(kNewLocationDays)
{}

void CLocationDoc::recompute_all()
{
    for (WeatherDay &d : days)
        apply_has_data_rule(d, et_method);
    for (int i = 0; i < day_count(); ++i)
        compute_day(i, true);
    compute_forecast();
    notify_fields(0);
}

void CLocationDoc::compute_forecast()
{
    drop_overtaken_forecast(*this);
    for (std::size_t k = 0; k < forecast.days.size(); ++k) {
        WeatherDay &d = forecast.days[k];
        apply_has_data_rule(d, et_method);
        if (d.has_data == 0)
            continue;
        const int i = forecast.first + static_cast<int>(k);
        d.etr = final_etr(to_float(equation_etr(*this, i, d, custom_settings())), d.alternate_etr);
        d.etr_used = d.etr;
    }
    drop_overtaken_forecast(*this);
}

bool CLocationDoc::compute_day(int i, bool quiet)
{
    if (i < 0 || i >= day_count() || day(i).has_data == 0)
        return false;
    WeatherDay &d = day(i);
    const float computed = to_float(equation_etr(*this, i, custom_settings()));
    d.etr = final_etr(computed, d.alternate_etr);
    d.etr_used = d.etr;
    if (!quiet)
        notify_fields(i);
    return true;
}

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
