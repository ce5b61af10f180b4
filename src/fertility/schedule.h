#pragma once

#include "fertility/fertility_inputs.h"
#include "fertility/knowledge_files.h"
#include "fertility/schedule_entry.h"
#include "fertility/source_library.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The application schedule: the chosen phases split each nutrient by the REC.KB fractions, the
// user picks a material and a way of applying it for every needed application, and the amounts
// follow from the material's analysis, its maximum for the phase and the expected nitrogen loss.
namespace tw {

/// What the user chose on the results page.
struct PhaseChoice
{
    bool preplant = false;
    bool starter = false;
    bool postemergence = false;
    bool fertigation = false;
    int fertigations = 0;
};

/// 1..15 for the chosen phases, 0 for none.
int combination_code(const PhaseChoice &phases);

struct ScheduleSlot
{
    int phase = PhasePreplant;
    int fertigation_number = 0; ///< 1-based for fertigations, else 0
};

/// One slot per chosen phase, in phase order, one per fertigation.
std::vector<ScheduleSlot> schedule_slots(const PhaseChoice &phases);

/// The share of the nitrogen fraction given to fertigation k of count: equal for one or two,
/// weighted toward the middle of the season for three or more.
double fertigation_weight(int k, int count);

/// "Preplant", "Starter", "PostEmergence", "Fertigation #k".
std::string phase_name(const ScheduleSlot &slot);

/// The "Fertilizer Application" page for one application, without its window.
class ApplicationPage
{
public:
    ApplicationPage(ScheduleSlot slot, LibraryType nutrient, std::vector<SourceMaterial> materials,
                    const ScheduleKnowledge &knowledge);

    /// Phase name + " (Phosphorus)", " (Potassium)" or " (Nitrogen)".
    std::string title() const;
    const ScheduleSlot &slot() const { return slot_; }
    LibraryType nutrient() const { return nutrient_; }

    /// The materials of the nutrient's library allowed in the phase.
    const std::vector<SourceMaterial> &materials() const { return materials_; }
    void select_material(std::size_t index);
    /// "(New Blend)": the blend becomes the material (and is offered for the library); false
    /// when the blend dialog refuses it.
    bool use_new_blend(const BlendForm &form);
    const std::optional<SourceMaterial> &material() const { return material_; }

    /// Only the states (0 Solid, 1 Liquid, 2 Gas) the chosen material allows can be chosen.
    bool state_enabled(int state) const;
    bool select_state(int state);
    std::optional<int> state() const { return state_; }

    /// Rebuilds the method list for the phase and the chosen state; nothing after the message
    /// when the material or the state is missing. A single method is selected at once.
    std::optional<std::vector<ApplicationMethod>> open_method_list();
    /// Picks from the list last opened.
    bool select_method(std::size_t index);
    const std::optional<ApplicationMethod> &method() const { return method_; }

    /// Fertigations always expect the most rain (water is applied with the fertilizer).
    bool rain_enabled() const { return slot_.phase != PhaseFertigation; }
    void select_rain(int rain);
    int rain() const { return rain_enabled() ? rain_ : 2; }

    /// OK: false after the message when no method has been chosen.
    bool accept();

private:
    ScheduleSlot slot_;
    LibraryType nutrient_;
    std::vector<SourceMaterial> materials_;
    const ScheduleKnowledge &knowledge_;
    std::optional<SourceMaterial> material_;
    std::optional<int> state_;
    std::vector<ApplicationMethod> listed_;
    std::optional<ApplicationMethod> method_;
    int rain_ = 0;
};

/// Whoever fills the application pages: the Qt page, or the answers of a headless consultation.
class ApplicationChooser
{
public:
    virtual ~ApplicationChooser() = default;
    /// Fills the page and accepts it; false for Cancel, which leaves the application out.
    virtual bool choose(ApplicationPage &page) = 0;
};

/// What the schedule is built for.
struct ScheduleRequest
{
    PhaseChoice phases;
    float nitrogen = 0.0f; ///< the final recommendation, lb/acre
    float phosphorus = 0.0f;
    float potassium = 0.0f;
    float soil_ph = 8.0f;
    float cec = 20.0f;
};

/// The nitrogen loss factor of an application.
float application_loss_factor(const ScheduleKnowledge &knowledge, const ScheduleRequest &request,
                              const SourceMaterial &material, const ApplicationMethod &method,
                              int rain);

/// The entries of the schedule, asking the chooser for every needed application.
std::vector<ScheduleEntry> build_schedule(const ScheduleRequest &request,
                                          const ScheduleKnowledge &knowledge,
                                          ApplicationChooser &chooser);

/// What a schedule was built to supply, lb/acre of N, P2O5 and K2O.
struct NutrientNeeds
{
    float nitrogen = 0.0f;
    float phosphorus = 0.0f;
    float potassium = 0.0f;
};

/// The "Fertilizer Application Schedule" list: its rows and the totals of the truncated values.
struct ScheduleTable
{
    static constexpr std::array<const char *, 7> kColumns = {
        "Stage",    "Material",   "lb/acre",  "Application Method",
        "Nitrogen", "Phosphorus", "Potassium"};
    std::vector<std::array<std::string, 7>> rows;
    long long total_nitrogen = 0;
    long long total_phosphorus = 0;
    long long total_potassium = 0;
    /// One line for each nutrient the applications supply at least half a pound less of than
    /// it needs: a material's maximum per application or too few phases leave the rest unmet.
    std::vector<std::string> shortfalls;
};

ScheduleTable schedule_table(const std::vector<ScheduleEntry> &entries,
                             const NutrientNeeds &needs = {});

} // namespace tw
