#pragma once

#include "field/remembered_location.h"
#include "platform/dates.h"
#include "refdata/records.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

/// The field's nitrogen values as a .fld keeps them.
struct FieldNitrogen
{
    float water_nitrate_ppm = 0.0f; ///< nitrate-N of the irrigation water
    float soil_nitrogen = 0.0f;     ///< available at planting, lbs/acre
    /// The soil nitrogen was taken from the nutrient file once; from then on only the user
    /// changes it.
    bool soil_nitrogen_from_file = false;
};

/// What a .fld holds besides its days: the field's own values, and the system table's row for
/// its system.
struct SavedField
{
    std::string name; ///< names the nutrient file
    std::string second_text;
    std::int32_t system_index = 0;
    std::string_view system_name; ///< from the table row of system_index
    float efficiency = 0.0f;      ///< application efficiency, percent
    float net_depth_in = 0.0f;    ///< from the table row of system_index
    /// The system's capacity: days it needs to apply one mm to the whole field; 0 when unset.
    float days_per_mm = 0.0f;
    /// "Learn from readings": the days after the last reading take the drift fitted on them.
    bool learn_from_readings = false;
    /// The location the file was saved with; unknown in older files.
    LocationIdentity remembered_location;
    CropRecord crop;
    SoilRecord soil; ///< sm_fc field capacity, sm_pwp wilting point, awhc
    float initial_moisture = 0.3f;
    std::int32_t perennial = 0;
    StoredDate planting_date;
    FieldNitrogen nitrogen;

    /// A system chosen from the table: index, name, efficiency and depth from its row.
    void select_system(std::int32_t index);
    /// A system index read from a file: the name and depth follow the row, the efficiency stays.
    void set_system_index(std::int32_t index);
};

} // namespace tw
