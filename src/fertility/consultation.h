#pragma once

#include "fertility/fertility_inputs.h"
#include "fertility/field_facts.h"
#include "fertility/nitrogen_methods.h"
#include "fertility/nutrient_file.h"
#include "fertility/preparation.h"
#include "fertility/schedule.h"
#include "fertility/wizard_page.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The fertilizer consultation as a sequence of pages without windows: the question pages, the
// computation, the results page, the application schedule and the writing of the nutrient and
// schedule files. The Qt wizard and the headless consultation both drive it.
namespace tw {

enum class PageId {
    Evaluation,
    SoilTest,
    FieldWater,
    CurrentManure,
    PreviousSeason,
    PreviousManure,
    MidseasonEvaluation,
    PreseasonResults,
    MidseasonResults,
};

inline constexpr PageId kAllPages[] = {
    PageId::Evaluation,          PageId::SoilTest,         PageId::FieldWater,
    PageId::CurrentManure,       PageId::PreviousSeason,   PageId::PreviousManure,
    PageId::MidseasonEvaluation, PageId::PreseasonResults, PageId::MidseasonResults};

/// The title a page shows ("Soil Test ").
std::string_view page_title(PageId id);
/// A short name for the page, which an answers file may use instead of the title ("soil_test").
std::string_view page_name(PageId id);

class FertilizerConsultation
{
public:
    enum class Stage {
        Pages,        ///< a question page is shown
        Results,      ///< the results page is shown
        Applications, ///< the phases are chosen; the application pages come next
        Schedule,     ///< the schedule page is shown
        Saved,        ///< the files are written
        Ended,        ///< left without writing, or the files could not be written
    };

    /// Prepares the inputs from the field and, in midseason mode, predicts the yield and runs the
    /// pre-season-test pass. `today` is the default date of a new soil test.
    FertilizerConsultation(FertilityInputs &inputs, const FieldFacts &field, int today);

    bool midseason() const { return inputs_.midseason_mode == 1; }
    Stage stage() const { return stage_; }
    PageId page_id() const { return page_id_; }
    /// The page shown (question or results page).
    WizardPage &page() { return page_; }
    const WizardPage &page() const { return page_; }

    /// "Next": checks and stores the page, then shows the next one, computing the
    /// recommendations after the last question page. False when the page refuses (it stays).
    bool next();
    /// "Back": discards the page and shows the previous one (from the results page, the last
    /// question page); before the first page the consultation ends.
    void back();

    /// The page's window closed without Next or Back: the consultation ends writing nothing.
    void cancel();

    /// Builds the schedule for the chosen phases, asking the chooser for every application.
    void schedule(ApplicationChooser &chooser);
    const std::vector<ScheduleEntry> &entries() const { return entries_; }
    /// The schedule page's table, with a line for each nutrient the schedule falls short of.
    ScheduleTable table() const;
    /// "< Reschedule": back to the results page.
    void reschedule();
    /// "Finish >": writes the nutrient and schedule files; false when they could not be written.
    bool finish();

    const FertilityInputs &inputs() const { return inputs_; }
    const MethodResults &results() const { return results_; }
    const PhaseChoice &phases() const { return phases_; }
    const std::string &base_name() const { return prepared_.base_name; }
    /// The breakdown of each method, method 1 by crop.
    std::array<std::string, 3> breakdown_texts() const;
    /// The nutrient block as it would be saved now.
    NutrientBlock block() const;

private:
    std::vector<PageId> question_pages() const;
    void show(PageId id);
    void compute();
    void show_results();
    bool store_results();

    FertilityInputs &inputs_;
    PreparedConsultation prepared_;
    int today_;
    MethodResults results_;
    PhaseChoice phases_;
    std::vector<ScheduleEntry> entries_;
    Stage stage_ = Stage::Pages;
    PageId page_id_ = PageId::Evaluation;
    WizardPage page_;
    /// The question pages shown so far, for Back.
    std::vector<PageId> history_;
    bool results_seen_ = false;
};

/// The midseason results page's proposal: the first method's figure unless a later method's
/// certainty is higher (equal certainties keep the earlier method).
float proposed_midseason_nitrogen(const Recommendation &rec, bool new_soil_test);

} // namespace tw
