#pragma once

#include "refdata/records.h"
#include "refdata/soil_form.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

class CFieldDoc;

/// What the "Field Details" dialog shows and edits, in display units.
struct FieldDetailsValues
{
    std::string name;
    std::int32_t system = 0; ///< the last system chosen from the list
    float efficiency = 0.0f; ///< percent
    bool perennial = false;
    int planting_date = 0; ///< day number
    float initial_moisture = 0.0f;
    float n_available = 0.0f;           ///< lbs/acre
    std::optional<float> days_per_unit; ///< the system's capacity; nothing when unset
    std::optional<std::size_t> crop;    ///< new field: an entry of the crop list
    std::optional<std::size_t> soil;    ///< new field: an entry of the soil list
    bool learn_from_readings = false;
};

constexpr std::size_t kMaxFieldNameChars = 12;

/// An entry of the crop or soil list: name + " (" + hybrid type or soil type + ")".
std::string list_entry(std::string_view name, std::string_view kind);

/// The rules of the "Field Details" dialog, for a new field (with the crop and soil lists in file
/// order) or an existing one.
class FieldDetailsForm
{
public:
    FieldDetailsForm(CFieldDoc &field, std::vector<CropRecord> crops,
                     std::vector<SoilRecord> soils);
    explicit FieldDetailsForm(CFieldDoc &field);

    FieldDetailsValues values;

    bool is_new() const { return new_field_; }
    std::vector<std::string> crop_entries() const;
    std::vector<std::string> soil_entries() const;

    /// Sets the efficiency to the system's table value.
    void choose_system(std::int32_t index);
    /// Typing into the system box makes the efficiency editable (the typed name is not kept).
    void type_system_text() { efficiency_editable_ = true; }
    bool efficiency_editable() const { return efficiency_editable_; }
    /// Proposes the soil's field capacity as the initial soil moisture.
    void choose_soil(std::size_t entry);
    /// Shows and clears the perennial box for a crop of several harvests.
    void choose_crop(std::size_t entry);

    bool perennial_visible() const;
    bool perennial_enabled() const { return new_field_; }
    /// "Planting Date:" or "Spring Green-up:".
    std::string_view date_label() const;

    /// The message of the first check that fails, nothing when OK is accepted.
    std::optional<std::string> check() const;
    /// OK: false after the message (the dialog stays open); otherwise the field takes the values
    /// and is marked modified, and an existing field is recomputed.
    bool accept();

private:
    int harvests_shown() const;
    /// The box shows the stored value truncated: keeping it must not move the season.
    bool n_available_changed() const { return values.n_available != shown_n_available_; }

    CFieldDoc &field_;
    bool new_field_;
    bool efficiency_editable_ = false;
    float shown_n_available_ = 0.0f;
    std::vector<CropRecord> crops_;
    std::vector<SoilRecord> soils_;
};

/// The field's "Soil Attributes" dialog, moisture values in display units.
class FieldSoilForm : public SoilValues
{
public:
    explicit FieldSoilForm(CFieldDoc &field);

    /// Stores the values, marks the field modified and recomputes it.
    void accept();

private:
    CFieldDoc &field_;
};

} // namespace tw
