#include "fertility/consultation.h"

#include "fertility/choices.h"
#include "fertility/nutrient_file.h"
#include "field/growth_stages.h"
#include "platform/message_port.h"

#include <algorithm>

namespace tw {
namespace {

using FI = FertilityInputs;

struct PageNames
{
    PageId id;
    std::string_view name;
    std::string_view title;
};

constexpr PageNames kPageNames[] = {
    {PageId::Evaluation, "evaluation", "Fertilizer Wizard (Pre-Season Evaluation)"},
    {PageId::SoilTest, "soil_test", "Soil Test "},
    {PageId::FieldWater, "field_water", "Field and Water Management"},
    {PageId::CurrentManure, "current_manure", "Current Season Manure Application"},
    {PageId::PreviousSeason, "previous_season", "Previous Season Data"},
    {PageId::PreviousManure, "previous_manure", "Previous Season Manure Application"},
    {PageId::MidseasonEvaluation, "midseason", "Fertlizer Wizard (Midseason Nitrogen Correction)"},
    {PageId::PreseasonResults, "results", "Pre-Season Results"},
    {PageId::MidseasonResults, "midseason_results", "Midseason Correction Results"},
};

const PageNames &names_of(PageId id)
{
    for (const PageNames &n : kPageNames) {
        if (n.id == id)
            return n;
    }
    return kPageNames[0];
}

bool is_set(std::int32_t flag)
{
    return flag == 1;
}

std::int32_t check_value(const WizardPage &page, std::string_view key)
{
    return page.checked(key) ? 1 : 0;
}

// ---- question pages ----------------------------------------------------------------------

WizardPage evaluation_page(const FI &in)
{
    return WizardPage(
        std::string(page_title(PageId::Evaluation)),
        {
            integer_field("yield_goal", "Yield Goal:", truncate_to_int(in.yield_goal), 0, 100000,
                          in.yield_units),
            check_field("manure_this_season", "Manure application this season",
                        is_set(in.manure_this_season)),
            check_field("last_manure", "Manure was applied last season", is_set(in.last_manure)),
            check_field("soil_test_available", "Soil test results available",
                        is_set(in.soil_test_available)),
        });
}

bool store_evaluation(const WizardPage &page, FI &in)
{
    const double goal = page.value("yield_goal");
    if (goal > in.yield_goal_int + 100.0 &&
        !messages().ask_yes_no("Are you sure this yield goal is obtainable?",
                               "Yield Goal Range Check"))
        return false;
    in.yield_goal = static_cast<float>(goal);
    in.manure_this_season = check_value(page, "manure_this_season");
    in.last_manure = check_value(page, "last_manure");
    in.soil_test_available = check_value(page, "soil_test_available");
    return true;
}

WizardPage soil_test_page(const FI &in)
{
    using namespace choice;
    return WizardPage(
        std::string(page_title(PageId::SoilTest)),
        {
            number_field("organic_matter", "Organic Matter Fraction:", in.organic_matter, 0, 100,
                         "%"),
            number_field("soil_nitrate", "Soil Nitrate:", in.soil_nitrate, 0, 1000, "ppm"),
            choice_field("k_level", "Potassium Level:", in.k_level, kPotassiumLevels),
            choice_field("p_test_type", "Phosphorus Test Type:", in.p_test_type, kPhosphorusTests),
            integer_field("p_level", "Phosphorus Level:", in.p_level, 0, 1000, "ppm"),
            choice_field("sample_depth", "Depth of Soil Samples:", in.sample_depth, kSampleDepths),
            integer_field("sample_count", "Number of Soil Samples:", in.sample_count, 0, 1000),
            check_field("handled_well", "Soil was handled well", is_set(in.handled_well)),
            check_field("lab_trustworthy", "Lab Analysis is trustworthy",
                        is_set(in.lab_trustworthy)),
            number_field("bulk_density", "Soil Bulk Density:", in.bulk_density, 0.5, 2.5, "g/cm3"),
            number_field("soil_ph", "Soil pH:", in.soil_ph, 0, 14),
            number_field("cn_ratio", "Carbon/Nitrogen Ratio:", in.cn_ratio, 1, 100),
            number_field("cec", "Cation Exchange Capacity:", in.cec, 0, 200, "meq/100g"),
        });
}

bool store_soil_test(const WizardPage &page, FI &in)
{
    in.organic_matter = static_cast<float>(page.value("organic_matter"));
    in.soil_nitrate = static_cast<float>(page.value("soil_nitrate"));
    in.k_level = page.integer("k_level");
    in.p_test_type = page.integer("p_test_type");
    in.p_level = page.integer("p_level");
    in.p_class = phosphorus_class(in.p_test_type, in.p_level);
    in.sample_depth = page.integer("sample_depth");
    in.sample_count = page.integer("sample_count");
    in.handled_well = check_value(page, "handled_well");
    in.lab_trustworthy = check_value(page, "lab_trustworthy");
    in.bulk_density = static_cast<float>(page.value("bulk_density"));
    in.soil_ph = static_cast<float>(page.value("soil_ph"));
    in.cn_ratio = static_cast<float>(page.value("cn_ratio"));
    in.cec = static_cast<float>(page.value("cec"));
    return true;
}

WizardPage field_water_page(const FI &in)
{
    PageField amount = number_field(
        "irrigation_amount", "Irrigation amount this season:", in.irrigation_amount, 0, 1000, "in");
    // The amount is not asked for; the value the inputs were prepared with stands.
    amount.visible = false;
    return WizardPage(
        std::string(page_title(PageId::FieldWater)),
        {
            check_field("irrigation_nitrate_known",
                        "Amount of nitrate in irrigation water is known.",
                        is_set(in.irrigation_nitrate_known)),
            number_field("irrigation_nitrate", "Concentration of Nitrate: ", in.irrigation_nitrate,
                         0, 1000, "ppm"),
            check_field("tile_drained", "Field is Tile Drained.", is_set(in.tile_drained)),
            check_field("compact_layer", "Field has compact layer within top 4 feet.",
                        is_set(in.compact_layer)),
            choice_field("drainage_class", "Drainage Class:", in.drainage_class,
                         choice::kDrainageClasses),
            amount,
        });
}

bool store_field_water(const WizardPage &page, FI &in)
{
    in.irrigation_nitrate_known = check_value(page, "irrigation_nitrate_known");
    in.irrigation_nitrate = static_cast<float>(page.value("irrigation_nitrate"));
    in.tile_drained = check_value(page, "tile_drained");
    in.compact_layer = check_value(page, "compact_layer");
    in.drainage_class = page.integer("drainage_class");
    return true;
}

/// The members one manure page edits: this season's, or last season's (which has no phosphorus
/// and whose form and application method are not asked for).
struct ManureMembers
{
    const char *prefix;
    PageId page;
    float FI::*amount;
    std::int32_t FI::*type;
    std::int32_t FI::*form;
    std::int32_t FI::*fresh;
    std::int32_t FI::*method;
    std::int32_t FI::*analysis;
    float FI::*n_percent;
    float FI::*p_percent;
    float FI::*moisture;
    bool last_season;
};

constexpr ManureMembers kCurrentManure = {"manure_",
                                          PageId::CurrentManure,
                                          &FI::manure_amount,
                                          &FI::manure_type,
                                          &FI::manure_form,
                                          &FI::manure_fresh,
                                          &FI::manure_method,
                                          &FI::manure_analysis,
                                          &FI::manure_n_percent,
                                          &FI::manure_p_percent,
                                          &FI::manure_moisture,
                                          false};

constexpr ManureMembers kLastManure = {"last_manure_",
                                       PageId::PreviousManure,
                                       &FI::last_manure_amount,
                                       &FI::last_manure_type,
                                       &FI::last_manure_form,
                                       &FI::last_manure_fresh,
                                       &FI::last_manure_method,
                                       &FI::last_manure_analysis,
                                       &FI::last_manure_n_percent,
                                       nullptr,
                                       &FI::last_manure_moisture,
                                       true};

std::string key(const ManureMembers &m, const char *name)
{
    return std::string(m.prefix) + name;
}

WizardPage manure_page(const FI &in, const ManureMembers &m)
{
    using namespace choice;
    std::vector<PageField> fields = {
        number_field(key(m, "amount"), "Amount of Manure:", in.*m.amount, 0, 1000, "tons/acre"),
        choice_field(key(m, "type"), "Type of Manure:", in.*m.type, kManureTypes),
        choice_field(key(m, "form"), "Solid / Liquid", in.*m.form, kManureForms),
        check_field(key(m, "fresh"), "Fresh ", is_set(in.*m.fresh)),
        choice_field(key(m, "method"), "Application Method:", in.*m.method, kManureMethods),
        check_field(key(m, "analysis"), "Analysis Performed", is_set(in.*m.analysis)),
        number_field(key(m, "n_percent"), "Nitrogen Content : ", in.*m.n_percent, 0, 100, "%"),
        number_field(key(m, "p_percent"),
                     "Phosphorus Content : ", m.p_percent ? in.*m.p_percent : 0.0f, 0, 100, "%"),
        number_field(key(m, "moisture"), "Moisture Content:", in.*m.moisture, 0, 100, "%"),
    };
    for (PageField &f : fields) {
        if (m.last_season &&
            (f.key == key(m, "form") || f.key == key(m, "method") || f.key == key(m, "p_percent")))
            f.visible = false;
    }
    const std::string analysis = key(m, "analysis");
    const std::array<std::string, 3> analysed = {key(m, "n_percent"), key(m, "p_percent"),
                                                 key(m, "moisture")};
    return WizardPage(std::string(page_title(m.page)), std::move(fields),
                      [analysis, analysed](WizardPage &page) {
                          for (const std::string &k : analysed)
                              page.set_enabled(k, page.checked(analysis));
                      });
}

bool store_manure(const WizardPage &page, FI &in, const ManureMembers &m)
{
    in.*m.amount = static_cast<float>(page.value(key(m, "amount")));
    in.*m.type = page.integer(key(m, "type"));
    in.*m.fresh = check_value(page, key(m, "fresh"));
    in.*m.analysis = check_value(page, key(m, "analysis"));
    in.*m.n_percent = static_cast<float>(page.value(key(m, "n_percent")));
    in.*m.moisture = static_cast<float>(page.value(key(m, "moisture")));
    if (!m.last_season) {
        in.*m.form = page.integer(key(m, "form"));
        in.*m.method = page.integer(key(m, "method"));
        in.*m.p_percent = static_cast<float>(page.value(key(m, "p_percent")));
    }
    return true;
}

WizardPage previous_season_page(const FI &in)
{
    using namespace choice;
    const LegumeFlags legumes = read_input_kb();
    return WizardPage(
        std::string(page_title(PageId::PreviousSeason)),
        {
            choice_field("previous_crop", "Previous Crop:", in.previous_crop, kPreviousCrops),
            choice_field("legume_harvest", "Legume Harvest:", in.legume_harvest, kLegumeHarvest),
            choice_field("pre_legume_nitrogen", "Residual Soil Nitrogen pre-Legume:",
                         in.pre_legume_nitrogen, kPreLegumeNitrogen),
            choice_field("previous_yield", "Previous Crop Yield:", in.previous_yield,
                         kPreviousYields),
            choice_field("residue_left", "Crop Residue left on Field:", in.residue_left,
                         kResidueLeft),
            choice_field("tillage", "Tillage Type:", in.tillage, kTillage),
        },
        [legumes](WizardPage &page) {
            const bool legume = legumes.flag(page.integer("previous_crop")) == 1;
            page.set_enabled("legume_harvest", legume);
            page.set_enabled("pre_legume_nitrogen", legume);
        });
}

bool store_previous_season(const WizardPage &page, FI &in)
{
    const int crop = page.integer("previous_crop");
    if (crop < 0) {
        messages().inform("Please enter previous crop name", "Previous Crop", MessageIcon::Warning);
        return false;
    }
    const std::int32_t legume = read_input_kb().flag(crop);
    if (legume == 1) {
        if (page.integer("legume_harvest") < 0) {
            messages().inform("Please enter legume harvest management", "Legume Information",
                              MessageIcon::Warning);
            return false;
        }
        if (page.integer("pre_legume_nitrogen") < 0) {
            messages().inform("Please enter Nitrogen before legume", "Legume Information",
                              MessageIcon::Warning);
            return false;
        }
    }
    in.previous_crop = crop;
    in.legume_harvest = page.integer("legume_harvest");
    in.pre_legume_nitrogen = page.integer("pre_legume_nitrogen");
    // A crop flagged a legume by a value other than 1 earns the legume credit without being asked
    // the legume questions; the unasked choices take the page's first answers, since choices left
    // unset would cancel the credit.
    if (legume != 0 && legume != 1) {
        in.legume_harvest = std::max(in.legume_harvest, 0);
        in.pre_legume_nitrogen = std::max(in.pre_legume_nitrogen, 0);
    }
    in.previous_yield = page.integer("previous_yield");
    in.residue_left = page.integer("residue_left");
    in.tillage = page.integer("tillage");
    return true;
}

WizardPage midseason_evaluation_page(const FI &in, int today)
{
    return WizardPage(
        std::string(page_title(PageId::MidseasonEvaluation)),
        {
            display_field("applications_count", "Nitrogen Applications this season",
                          in.applications_count),
            display_field("yield_goal", "Predicted Yield:", in.yield_goal),
            check_field("new_soil_test", "New Soil test Available", is_set(in.new_soil_test)),
            date_field("soil_test_date", "Date Soil Test Taken", today),
        });
}

bool store_midseason_evaluation(const WizardPage &page, FI &in)
{
    in.new_soil_test = check_value(page, "new_soil_test");
    in.applications_count = page.integer("applications_count");
    in.soil_test_date = page.integer("soil_test_date");
    return true;
}

// ---- results pages -----------------------------------------------------------------------

std::string without_colon(const char *label)
{
    std::string s = label;
    if (!s.empty() && s.back() == ':')
        s.pop_back();
    return s;
}

void add_method_rows(std::vector<PageField> &fields, const FI &in, const char *prefix,
                     const char *caption_prefix, const std::array<float, 3> &figures,
                     const std::array<float, 3> &certainties, bool cut_negative)
{
    const auto labels = method_labels(in);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string n = std::to_string(i + 1);
        const float figure = cut_negative ? std::max(figures[i], 0.0f) : figures[i];
        fields.push_back(display_field(std::string(prefix) + n,
                                       caption_prefix + std::string(labels[i]),
                                       truncate_to_int(figure)));
        fields.push_back(display_field(std::string(prefix) + n + "_certainty",
                                       caption_prefix + without_colon(labels[i]) + " Certainty",
                                       truncate_to_int(certainties[i])));
    }
}

WizardPage preseason_results_page(const FI &in, const Recommendation &rec, const PhaseChoice &p)
{
    std::vector<PageField> fields;
    add_method_rows(fields, in, "method_", "", rec.method_rec, rec.certainty, false);
    fields.push_back(
        number_field("final_n", "Nitrogen Recommendation:", rec.final, 0, 500, "lb/acre"));
    fields.push_back(number_field("phosphorus", "Phosphorus Recommendation:", rec.phosphorus, 0,
                                  500, "lb/acre"));
    fields.push_back(
        number_field("potassium", "Potassium Recommendation:", rec.potassium, 0, 500, "lb/acre"));
    fields.push_back(check_field("preplant", "Preplant", p.preplant));
    fields.push_back(check_field("starter", "Starter", p.starter));
    fields.push_back(check_field("postemergence", "Post-Emergence", p.postemergence));
    fields.push_back(check_field("fertigation", "Fertigations", p.fertigation));
    fields.push_back(
        integer_field("fertigations", "Number of Fertigations:", p.fertigations, 0, 15));
    return WizardPage(
        std::string(page_title(PageId::PreseasonResults)), std::move(fields),
        [had_nutrient = true](WizardPage &page) mutable {
            // Nothing left to apply clears the phases once; they stay open for the user. A legume
            // without nitrogen keeps them: its phosphorus and potassium still need one.
            const bool nutrient = page.value("final_n") > 0.0 || page.value("phosphorus") > 0.0 ||
                                  page.value("potassium") > 0.0;
            const bool fell = had_nutrient && !nutrient;
            had_nutrient = nutrient;
            for (const char *phase : {"preplant", "starter", "postemergence", "fertigation"}) {
                if (fell && page.checked(phase))
                    page.assign(phase, 0.0);
            }
        });
}

WizardPage midseason_results_page(const FI &in, const Recommendation &rec, const PhaseChoice &p)
{
    const bool new_test = in.new_soil_test == 1;
    std::vector<PageField> fields;
    add_method_rows(fields, in, "preseason_test_", "Pre-Season Test ", rec.preseason_test_rec,
                    rec.midseason_certainty, true);
    const std::size_t first_new = fields.size();
    add_method_rows(fields, in, "new_test_", "New Soil Test ", rec.remaining_rec, rec.certainty,
                    false);
    for (std::size_t i = first_new; i < fields.size(); ++i)
        fields[i].enabled = new_test;
    fields.push_back(number_field("final_n", "Nitrogen Recommendation:",
                                  proposed_midseason_nitrogen(rec, new_test), 0, 500, "lb/acre"));
    fields.push_back(
        integer_field("fertigations", "Number of Fertigations:", p.fertigations, 0, 15));
    return WizardPage(std::string(page_title(PageId::MidseasonResults)), std::move(fields));
}

} // namespace

std::string_view page_title(PageId id)
{
    return names_of(id).title;
}

std::string_view page_name(PageId id)
{
    return names_of(id).name;
}

float proposed_midseason_nitrogen(const Recommendation &rec, bool new_soil_test)
{
    const auto &figures = new_soil_test ? rec.remaining_rec : rec.preseason_test_rec;
    const auto &certainty = new_soil_test ? rec.certainty : rec.midseason_certainty;
    std::size_t best = 0;
    for (std::size_t i = 1; i < 3; ++i) {
        if (certainty[i] > certainty[best])
            best = i;
    }
    return std::max(figures[best], 0.0f);
}

FertilizerConsultation::FertilizerConsultation(FertilityInputs &inputs, const FieldFacts &field,
                                               int today)
    : inputs_(inputs)
    , prepared_(prepare_fertility_inputs(inputs, field))
    , today_(today)
{
    phases_.preplant = true;
    if (midseason()) {
        predict_midseason_yield(inputs_, prepared_.degree_days);
        run_preseason_test_pass(inputs_, load_method_knowledge(), results_);
        phases_ = {false, false, false, true, 0};
    }
    show(midseason() ? PageId::MidseasonEvaluation : PageId::Evaluation);
}

std::vector<PageId> FertilizerConsultation::question_pages() const
{
    const FI &in = inputs_;
    if (midseason()) {
        std::vector<PageId> pages = {PageId::MidseasonEvaluation};
        if (in.new_soil_test == 1)
            pages.push_back(PageId::SoilTest);
        return pages;
    }
    std::vector<PageId> pages = {PageId::Evaluation};
    if (in.soil_test_available == 1)
        pages.push_back(PageId::SoilTest);
    pages.push_back(PageId::FieldWater);
    if (in.manure_this_season == 1)
        pages.push_back(PageId::CurrentManure);
    pages.push_back(PageId::PreviousSeason);
    if (in.last_manure == 1)
        pages.push_back(PageId::PreviousManure);
    return pages;
}

void FertilizerConsultation::show(PageId id)
{
    page_id_ = id;
    switch (id) {
    case PageId::Evaluation: page_ = evaluation_page(inputs_); break;
    case PageId::SoilTest: page_ = soil_test_page(inputs_); break;
    case PageId::FieldWater: page_ = field_water_page(inputs_); break;
    case PageId::CurrentManure: page_ = manure_page(inputs_, kCurrentManure); break;
    case PageId::PreviousSeason: page_ = previous_season_page(inputs_); break;
    case PageId::PreviousManure: page_ = manure_page(inputs_, kLastManure); break;
    case PageId::MidseasonEvaluation: page_ = midseason_evaluation_page(inputs_, today_); break;
    case PageId::PreseasonResults:
        page_ = preseason_results_page(inputs_, results_.recommendation, phases_);
        break;
    case PageId::MidseasonResults:
        page_ = midseason_results_page(inputs_, results_.recommendation, phases_);
        break;
    }
}

bool FertilizerConsultation::next()
{
    if (stage_ == Stage::Results) {
        if (!store_results())
            return false;
        stage_ = Stage::Applications;
        return true;
    }
    if (stage_ != Stage::Pages)
        return false;
    bool stored = false;
    switch (page_id_) {
    case PageId::Evaluation: stored = store_evaluation(page_, inputs_); break;
    case PageId::SoilTest: stored = store_soil_test(page_, inputs_); break;
    case PageId::FieldWater: stored = store_field_water(page_, inputs_); break;
    case PageId::CurrentManure: stored = store_manure(page_, inputs_, kCurrentManure); break;
    case PageId::PreviousSeason: stored = store_previous_season(page_, inputs_); break;
    case PageId::PreviousManure: stored = store_manure(page_, inputs_, kLastManure); break;
    case PageId::MidseasonEvaluation: stored = store_midseason_evaluation(page_, inputs_); break;
    default: break;
    }
    if (!stored)
        return false;
    const std::vector<PageId> pages = question_pages();
    const auto at = std::find(pages.begin(), pages.end(), page_id_);
    history_.push_back(page_id_);
    if (at != pages.end() && at + 1 != pages.end()) {
        show(*(at + 1));
        return true;
    }
    // Past the last question page. A midseason correction computes only once: its
    // pre-season-test figures must not be recomputed from the pages' inputs.
    if (midseason() && results_seen_) {
        stage_ = Stage::Ended;
        return true;
    }
    compute();
    show_results();
    return true;
}

void FertilizerConsultation::back()
{
    if (stage_ == Stage::Results) {
        stage_ = Stage::Pages;
        if (!history_.empty()) {
            show(history_.back());
            history_.pop_back();
        }
        return;
    }
    if (stage_ != Stage::Pages)
        return;
    if (history_.empty()) {
        stage_ = Stage::Ended;
        return;
    }
    show(history_.back());
    history_.pop_back();
}

void FertilizerConsultation::cancel()
{
    if (stage_ != Stage::Saved)
        stage_ = Stage::Ended;
}

void FertilizerConsultation::compute()
{
    const MethodKnowledge knowledge = load_method_knowledge();
    FI &in = inputs_;
    Recommendation &rec = results_.recommendation;
    if (!midseason()) {
        prepare_records(in, results_);
        run_methods(in, knowledge, results_);
        phosphorus_recommendation(in, rec.phosphorus);
        potassium_recommendation(in, rec.potassium);
        return;
    }
    rec.preseason_test_rec = {
        results_.soil_test.midseason_recommendation - in.applied_to_date,
        results_.mass_balance.midseason_recommendation - in.applied_to_date,
        results_.uptake.midseason_recommendation - in.applied_to_date,
    };
    if (in.new_soil_test == 1) {
        compute_uptake_to_date(in, prepared_.degree_days);
        prepare_records(in, results_);
        run_methods(in, knowledge, results_);
    } else {
        combine(in, rec, results_.soil_test, results_.mass_balance, results_.uptake);
    }
}

void FertilizerConsultation::show_results()
{
    stage_ = Stage::Results;
    results_seen_ = true;
    show(midseason() ? PageId::MidseasonResults : PageId::PreseasonResults);
}

bool FertilizerConsultation::store_results()
{
    Recommendation &rec = results_.recommendation;
    rec.final = static_cast<float>(page_.value("final_n"));
    if (midseason()) {
        phases_ = {false, false, false, true, page_.integer("fertigations")};
        return true;
    }
    PhaseChoice p;
    p.preplant = page_.checked("preplant");
    p.starter = page_.checked("starter");
    p.postemergence = page_.checked("postemergence");
    p.fertigation = page_.checked("fertigation");
    p.fertigations = page_.integer("fertigations");
    if (p.fertigation && p.fertigations == 0) {
        messages().inform("Number of fertigations must be specified", "Fertigation Details",
                          MessageIcon::Warning);
        return false;
    }
    rec.phosphorus = static_cast<float>(page_.value("phosphorus"));
    rec.potassium = static_cast<float>(page_.value("potassium"));
    phases_ = p;
    return true;
}

void FertilizerConsultation::schedule(ApplicationChooser &chooser)
{
    if (stage_ != Stage::Applications)
        return;
    ScheduleRequest request;
    request.phases = phases_;
    request.nitrogen = results_.recommendation.final;
    request.phosphorus = results_.recommendation.phosphorus;
    request.potassium = results_.recommendation.potassium;
    request.soil_ph = inputs_.soil_ph;
    request.cec = inputs_.cec;
    entries_ = build_schedule(request, read_rec_kb(), chooser);
    stage_ = Stage::Schedule;
}

ScheduleTable FertilizerConsultation::table() const
{
    const Recommendation &rec = results_.recommendation;
    // A midseason correction schedules nitrogen alone.
    const NutrientNeeds needs = midseason()
                                    ? NutrientNeeds{rec.final, 0.0f, 0.0f}
                                    : NutrientNeeds{rec.final, rec.phosphorus, rec.potassium};
    return schedule_table(entries_, needs);
}

void FertilizerConsultation::reschedule()
{
    if (stage_ != Stage::Schedule)
        return;
    entries_.clear();
    show_results();
}

NutrientBlock FertilizerConsultation::block() const
{
    NutrientBlock b;
    b.inputs = inputs_;
    b.recommendation = results_.recommendation;
    b.soil_test = results_.soil_test;
    b.mass_balance = results_.mass_balance;
    b.schedule_count = static_cast<std::int32_t>(entries_.size());
    // All the nitrogen the Preplant slot plans: a phosphorus or potassium material applied first
    // in that slot brings only part of it.
    double preplant = 0.0;
    bool any = false;
    for (const ScheduleEntry &e : entries_) {
        if (e.phase == PhasePreplant) {
            preplant += e.nitrogen;
            any = true;
        }
    }
    b.first_entry_nitrogen =
        !midseason() && phases_.preplant && any ? truncate_to_int(preplant) : -1;
    return b;
}

bool FertilizerConsultation::finish()
{
    if (stage_ != Stage::Schedule)
        return false;
    const bool saved = file_SaveInfo(base_name(), block(), entries_) == 1;
    stage_ = saved ? Stage::Saved : Stage::Ended;
    return saved;
}

std::array<std::string, 3> FertilizerConsultation::breakdown_texts() const
{
    return {basic_text(results_.soil_test), mass_balance_text(results_.mass_balance),
            uptake_text(results_.uptake)};
}

} // namespace tw
