#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

class CFieldDoc;

/// The deficit an entered soil-water content (a fraction) stands for on field day d: its depth
/// below field capacity over the day's root depth.
float deficit_of_content(const CFieldDoc &field, int d, float content);

/// The "Daily Irrigation Data" dialog of one field day, values in display units.
class DailyEntryForm
{
public:
    /// The form of day d; nothing for day 0 or a day outside the field, and nothing after the
    /// warning beep for a day without a growth stage or a forecast day.
    static std::optional<DailyEntryForm> open(CFieldDoc &field, int d);

    float rain = 0.0f;
    float irrigation = 0.0f;
    bool sm_override = false;
    float soil_moisture = 0.0f;
    float n_applied = 0.0f; ///< lbs/acre
    std::string stage;      ///< the chosen entry of stage_choices()

    /// The day's date, "%#x".
    std::string title() const;
    /// The previous, current and next stages' names, those that exist.
    const std::vector<std::string> &stage_choices() const { return stage_choices_; }
    /// The advice of the day's category.
    std::string_view status() const;
    /// Gross depth to refill the soil to field capacity.
    float irrigation_needed() const;
    bool soil_moisture_editable() const { return sm_override; }
    /// The nitrogen sub-dialog's OK: a whole number of lbs/acre.
    void set_nitrogen_applied(int lbs) { n_applied = static_cast<float>(lbs); }

    /// The message refusing an overriding soil moisture the day's root zone cannot hold;
    /// nothing when there is none or it fits.
    std::optional<std::string> soil_moisture_message() const;

    /// OK: stores the entries, records a changed growth stage, reruns the season and updates
    /// the views.
    void accept();

private:
    DailyEntryForm(CFieldDoc &field, int d);

    CFieldDoc *field_;
    int d_;
    std::vector<std::string> stage_choices_;
};

/// Irrigates on every actual day whose advice calls for water, with the amount it names, as a
/// grower following the program would (each entry reruns the season from its day). Returns the
/// days irrigated.
std::vector<int> irrigate_as_advised(CFieldDoc &field);

} // namespace tw
