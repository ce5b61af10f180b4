#include "field/field_details_form.h"

#include "field/field_doc.h"
#include "field/irrigation_systems.h"
#include "field/system_capacity.h"
#include "platform/dates.h"
#include "platform/edition.h"
#include "platform/file_names.h"
#include "platform/message_port.h"
#include "platform/text_encoding.h"
#include "platform/text_format.h"
#include "refdata/units.h"

#include <cmath>
#include <cstdlib>

namespace tw {
namespace {

/// A value as its box shows it after "%1.2f" was written into it.
float shown_to_hundredths(float value)
{
    return std::strtof(strprintf("%1.2f", static_cast<double>(value)).c_str(), nullptr);
}

} // namespace

std::string list_entry(std::string_view name, std::string_view kind)
{
    return std::string(name) + " (" + std::string(kind) + ")";
}

FieldDetailsForm::FieldDetailsForm(CFieldDoc &field, std::vector<CropRecord> crops,
                                   std::vector<SoilRecord> soils)
    : field_(field)
    , new_field_(true)
    , crops_(std::move(crops))
    , soils_(std::move(soils))
{
    values.system = field.saved.system_index;
    values.efficiency = field.saved.efficiency;
    values.planting_date = field.saved.planting_date.day();
    values.initial_moisture = convert_to(Soil_Moisture, field.saved.initial_moisture);
}

FieldDetailsForm::FieldDetailsForm(CFieldDoc &field)
    : field_(field)
    , new_field_(false)
{
    values.name = field.saved.name;
    values.system = field.saved.system_index;
    values.efficiency = std::trunc(field.saved.efficiency);
    values.perennial = field.saved.perennial != 0;
    values.planting_date = field.saved.planting_date.day();
    values.initial_moisture = convert_to(Soil_Moisture, field.saved.initial_moisture);
    values.n_available = std::trunc(field.saved.nitrogen.soil_nitrogen);
    shown_n_available_ = values.n_available;
    if (has_system_capacity(field.saved.days_per_mm))
        values.days_per_unit = days_per_unit_shown(field.saved.days_per_mm);
    values.learn_from_readings = field.saved.learn_from_readings;
}

std::vector<std::string> FieldDetailsForm::crop_entries() const
{
    std::vector<std::string> entries;
    for (const CropRecord &crop : crops_)
        entries.push_back(list_entry(crop.name, crop.hybrid));
    return entries;
}

std::vector<std::string> FieldDetailsForm::soil_entries() const
{
    std::vector<std::string> entries;
    for (const SoilRecord &soil : soils_)
        entries.push_back(list_entry(soil.name, soil.type));
    return entries;
}

void FieldDetailsForm::choose_system(std::int32_t index)
{
    if (const IrrigationSystem *row = irrigation_system(index)) {
        values.system = index;
        values.efficiency = row->efficiency;
    }
}

void FieldDetailsForm::choose_soil(std::size_t entry)
{
    if (entry >= soils_.size())
        return;
    values.soil = entry;
    values.initial_moisture = shown_to_hundredths(convert_to(Soil_Moisture, soils_[entry].sm_fc));
}

void FieldDetailsForm::choose_crop(std::size_t entry)
{
    if (entry >= crops_.size())
        return;
    values.crop = entry;
    values.perennial = false;
}

int FieldDetailsForm::harvests_shown() const
{
    if (!new_field_)
        return field_.saved.crop.max_harvests;
    return values.crop ? crops_[*values.crop].max_harvests : 1;
}

bool FieldDetailsForm::perennial_visible() const
{
    return edition().perennial_crops && harvests_shown() > 1;
}

std::string_view FieldDetailsForm::date_label() const
{
    return !perennial_visible() || values.perennial ? "Planting Date:" : "Spring Green-up:";
}

std::optional<std::string> FieldDetailsForm::check() const
{
    if (auto m = range_message(values.efficiency, 1, 100, "the Efficiency"))
        return m;
    // A consultation may leave more than the box allows; only a value the user typed is held to it.
    if (n_available_changed()) {
        if (auto m = range_message(values.n_available, 0, 300, "the Nitrogen Available"))
            return m;
    }
    if (values.days_per_unit) {
        if (auto m = system_capacity_message(*values.days_per_unit))
            return m;
    }
    const CLocationDoc *location = field_.binding.location;
    const int start = location ? location->start_date.day() : 0;
    const int end = start + (location ? location->day_count() : 0);
    if (values.planting_date < start || values.planting_date > end)
        return "Field Plant Date must be within bounds of weather location information";
    if (new_field_ && (!values.crop || *values.crop >= crops_.size()))
        return "Please select a valid crop";
    // A field without a soil has no water to hold: it would never be advised to irrigate.
    if (new_field_ && (!values.soil || *values.soil >= soils_.size()))
        return "Please select a valid soil";
    if (values.name.empty())
        return "Please enter a valid Field name";
    if (cut_to_chars(values.name, kMaxFieldNameChars) != values.name)
        return strprintf("A Field name holds at most %zu characters.", kMaxFieldNameChars);
    return unsafe_file_name_reason(values.name, "field");
}

bool FieldDetailsForm::accept()
{
    if (const auto message = check()) {
        messages().inform(*message);
        return false;
    }
    CropRecord crop;
    if (new_field_) {
        crop = crops_[*values.crop];
        if (const auto refused = expand_perennial(crop, values.perennial)) {
            messages().inform(*refused);
            return false;
        }
    }
    field_.saved.select_system(values.system);
    field_.saved.efficiency = values.efficiency;
    if (n_available_changed())
        field_.saved.nitrogen.soil_nitrogen = values.n_available;
    field_.saved.days_per_mm =
        values.days_per_unit ? days_per_mm_from_shown(*values.days_per_unit) : 0.0f;
    field_.saved.learn_from_readings = values.learn_from_readings;
    const int stored_date = field_.saved.planting_date.day();
    const bool date_moved = !new_field_ && values.planting_date != stored_date;
    if (new_field_ || date_moved) {
        if (!new_field_)
            field_.shift_start(values.planting_date - stored_date);
        field_.saved.planting_date = StoredDate::from_day(values.planting_date);
    }
    field_.saved.name = values.name;
    field_.saved.initial_moisture = convert_from(Soil_Moisture, values.initial_moisture);
    field_.set_title(values.name + format_date(values.planting_date, "%y"));
    field_.set_modified(true);
    if (new_field_) {
        field_.saved.crop = std::move(crop);
        field_.saved.soil = soils_[*values.soil];
        field_.saved.perennial = values.perennial ? 1 : 0;
        return true;
    }
    field_.run_and_update(0, date_moved ? ViewHint::planting_date() : ViewHint::everything());
    return true;
}

FieldSoilForm::FieldSoilForm(CFieldDoc &field)
    : SoilValues(soil_values_of(field.saved.soil))
    , field_(field)
{}

void FieldSoilForm::accept()
{
    store_soil_values(*this, field_.saved.soil);
    field_.set_modified(true);
    field_.run_and_update(0, ViewHint::everything());
}

} // namespace tw
