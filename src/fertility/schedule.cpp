#include "fertility/schedule.h"

#include "field/growth_stages.h"
#include "field/water_balance.h"
#include "platform/message_port.h"
#include "platform/text_format.h"

#include <algorithm>
#include <cmath>

namespace tw {
namespace {

/// One application chosen on a page, with its loss factor.
struct Application
{
    SourceMaterial material;
    ApplicationMethod method;
    double loss = 1.0;
    double amount = 0.0;

    double nitrogen() const { return (2.0 - loss) * material.n_percent * amount * 0.01; }
    double phosphorus() const { return material.p_percent * amount * 0.01; }
    double potassium() const { return material.k_percent * amount * 0.01; }
};

std::optional<Application> ask_for(const ScheduleSlot &slot, LibraryType nutrient,
                                   const ScheduleRequest &request,
                                   const ScheduleKnowledge &knowledge, ApplicationChooser &chooser)
{
    ApplicationPage page(slot, nutrient, lib_LoadForPhase(nutrient, slot.phase), knowledge);
    if (!chooser.choose(page) || !page.material() || !page.method())
        return std::nullopt;
    Application a;
    a.material = *page.material();
    a.method = *page.method();
    a.loss = application_loss_factor(knowledge, request, a.material, a.method, page.rain());
    return a;
}

double capped_amount(const Application &a, int phase, double wanted)
{
    return std::min(static_cast<double>(a.material.max_for_phase(phase)), wanted);
}

ScheduleEntry entry_for(const ScheduleSlot &slot, const Application &a)
{
    ScheduleEntry e;
    e.phase = slot.phase;
    e.fertigation_number = slot.fertigation_number;
    e.material = a.material.name;
    e.method = a.method.name;
    e.nitrogen = static_cast<float>(a.nitrogen());
    e.phosphorus = static_cast<float>(a.phosphorus());
    e.potassium = static_cast<float>(a.potassium());
    e.amount = static_cast<float>(a.amount);
    return e;
}

/// The applications of one slot, phosphorus first: what a material brings of the other nutrients
/// is credited against their needs in the same slot.
std::vector<Application> plan_slot(const ScheduleSlot &slot, int code, int fertigations,
                                   const ScheduleRequest &r, const ScheduleKnowledge &k,
                                   ApplicationChooser &chooser)
{
    const double frac_n = k.n_fraction(code, slot.phase);
    const double frac_p = k.p_fraction(code, slot.phase);
    const double frac_k = k.k_fraction(code, slot.phase);
    // Phosphorus is planned first, so nothing is left to credit against what later materials
    // bring of it.
    double supplied_n = 0.0, supplied_k = 0.0;
    std::vector<Application> planned;

    if (frac_p > 0.0 && r.phosphorus > 0.0f) {
        if (auto a = ask_for(slot, LibPhosphorus, r, k, chooser)) {
            a->amount =
                capped_amount(*a, slot.phase,
                              ratio_or_zero(frac_p, a->material.p_percent) * r.phosphorus * 100.0);
            supplied_n += a->nitrogen();
            supplied_k += a->potassium();
            planned.push_back(*a);
        }
    }
    if (frac_k > 0.0 && r.potassium > 0.0f && frac_k * r.potassium > supplied_k) {
        if (auto a = ask_for(slot, LibPotassium, r, k, chooser)) {
            a->amount = capped_amount(*a, slot.phase,
                                      ratio_or_zero(frac_k, a->material.k_percent) *
                                          (r.potassium - supplied_k) * 100.0);
            supplied_n += a->nitrogen();
            planned.push_back(*a);
        }
    }
    if (frac_n > 0.0 && r.nitrogen > 0.0f && r.nitrogen * frac_n > supplied_n) {
        if (auto a = ask_for(slot, LibNitrogen, r, k, chooser)) {
            const double w = slot.phase == PhaseFertigation
                                 ? fertigation_weight(slot.fertigation_number, fertigations)
                                 : 1.0;
            a->amount = capped_amount(
                *a, slot.phase,
                (r.nitrogen - supplied_n) *
                    ratio_or_zero(a->loss * w * frac_n, a->material.n_percent) * 100.0);
            planned.push_back(*a);
        }
    }
    return planned;
}

} // namespace

int combination_code(const PhaseChoice &p)
{
    // Codes by (Preplant, Starter, PostEmergence, Fertigation) as bits 8, 4, 2, 1.
    static constexpr int kCodes[16] = {0, 4, 3, 10, 2, 9, 8, 14, 1, 7, 6, 12, 5, 13, 11, 15};
    const int bits = (p.preplant ? 8 : 0) | (p.starter ? 4 : 0) | (p.postemergence ? 2 : 0) |
                     (p.fertigation && p.fertigations > 0 ? 1 : 0);
    return kCodes[bits];
}

std::vector<ScheduleSlot> schedule_slots(const PhaseChoice &p)
{
    std::vector<ScheduleSlot> slots;
    if (p.preplant)
        slots.push_back({PhasePreplant, 0});
    if (p.starter)
        slots.push_back({PhaseStarter, 0});
    if (p.postemergence)
        slots.push_back({PhasePostEmergence, 0});
    if (p.fertigation) {
        for (int k = 1; k <= p.fertigations; ++k)
            slots.push_back({PhaseFertigation, k});
    }
    return slots;
}

double fertigation_weight(int k, int count)
{
    if (count < 3)
        return ratio_or_zero(1.0, count);
    const double a = count - 1;
    const double b = count + 1;
    const double centre = k - b / 2.0;
    return ratio_or_zero(1.0, a - a * a * a / (3.0 * b * b)) +
           ratio_or_zero(centre * centre, a * a * a / 12.0 - a * b * b / 4.0);
}

std::string phase_name(const ScheduleSlot &slot)
{
    switch (slot.phase) {
    case PhasePreplant: return "Preplant";
    case PhaseStarter: return "Starter";
    case PhasePostEmergence: return "PostEmergence";
    default: return "Fertigation #" + std::to_string(slot.fertigation_number);
    }
}

ApplicationPage::ApplicationPage(ScheduleSlot slot, LibraryType nutrient,
                                 std::vector<SourceMaterial> materials,
                                 const ScheduleKnowledge &knowledge)
    : slot_(slot)
    , nutrient_(nutrient)
    , materials_(std::move(materials))
    , knowledge_(knowledge)
{}

std::string ApplicationPage::title() const
{
    static constexpr const char *kNutrients[] = {" (Phosphorus)", " (Potassium)", " (Nitrogen)"};
    return phase_name(slot_) + kNutrients[nutrient_];
}

void ApplicationPage::select_material(std::size_t index)
{
    if (index >= materials_.size())
        return;
    material_ = materials_[index];
    // A state or method chosen for another material may not suit this one.
    if (state_ && !state_enabled(*state_))
        state_.reset();
    method_.reset();
}

bool ApplicationPage::use_new_blend(const BlendForm &form)
{
    const auto blend = accept_blend(form, nutrient_);
    if (!blend)
        return false;
    material_ = *blend;
    if (state_ && !state_enabled(*state_))
        state_.reset();
    method_.reset();
    offer_to_save_blend(*blend, nutrient_);
    return true;
}

bool ApplicationPage::state_enabled(int state) const
{
    return material_ && material_->allows_state(state);
}

bool ApplicationPage::select_state(int state)
{
    if (!state_enabled(state))
        return false;
    if (state_ != state)
        method_.reset();
    state_ = state;
    return true;
}

std::optional<std::vector<ApplicationMethod>> ApplicationPage::open_method_list()
{
    if (!material_) {
        messages().inform("Please select material and application phase before application method",
                          "No material specified", MessageIcon::Warning);
        return std::nullopt;
    }
    if (!state_) {
        messages().inform("Please select application phase before application method", "No Phase",
                          MessageIcon::Warning);
        return std::nullopt;
    }
    listed_ = knowledge_.methods_offered(slot_.phase, *state_);
    if (listed_.size() == 1)
        method_ = listed_.front();
    return listed_;
}

bool ApplicationPage::select_method(std::size_t index)
{
    if (index >= listed_.size())
        return false;
    method_ = listed_[index];
    return true;
}

void ApplicationPage::select_rain(int rain)
{
    if (rain_enabled() && rain >= 0 && rain <= 2)
        rain_ = rain;
}

bool ApplicationPage::accept()
{
    if (!method_) {
        messages().inform("Please select application method before continuing",
                          "No application method specified", MessageIcon::Warning);
        return false;
    }
    return true;
}

float application_loss_factor(const ScheduleKnowledge &knowledge, const ScheduleRequest &r,
                              const SourceMaterial &material, const ApplicationMethod &method,
                              int rain)
{
    const int acid = r.soil_ph < 7.0f ? 1 : 0;
    const int cec_class = r.cec < 10.0f ? 0 : r.cec <= 25.0f ? 1 : 2;
    return knowledge.loss_factor(acid, material.volatility, method.class_value, cec_class, rain);
}

std::vector<ScheduleEntry> build_schedule(const ScheduleRequest &request,
                                          const ScheduleKnowledge &knowledge,
                                          ApplicationChooser &chooser)
{
    const int code = combination_code(request.phases);
    std::vector<ScheduleEntry> entries;
    if (code == 0)
        return entries;
    for (const ScheduleSlot &slot : schedule_slots(request.phases)) {
        for (const Application &a :
             plan_slot(slot, code, request.phases.fertigations, request, knowledge, chooser)) {
            if (a.amount > 0.0)
                entries.push_back(entry_for(slot, a));
        }
    }
    return entries;
}

ScheduleTable schedule_table(const std::vector<ScheduleEntry> &entries, const NutrientNeeds &needs)
{
    ScheduleTable table;
    for (const ScheduleEntry &e : entries) {
        const ScheduleSlot slot{e.phase, e.fertigation_number};
        const std::string stage = e.phase == PhaseFertigation
                                      ? strprintf("Fertigation #%d", e.fertigation_number)
                                      : phase_name(slot) + ":";
        const int n = truncate_to_int(e.nitrogen);
        const int p = truncate_to_int(e.phosphorus);
        const int k = truncate_to_int(e.potassium);
        table.rows.push_back({stage, e.material, std::to_string(truncate_to_int(e.amount)),
                              e.method, std::to_string(n), std::to_string(p), std::to_string(k)});
        table.total_nitrogen += n;
        table.total_phosphorus += p;
        table.total_potassium += k;
    }
    const struct
    {
        float ScheduleEntry::*supplied;
        long long shown;
        float need;
        const char *unit;
    } nutrients[] = {{&ScheduleEntry::nitrogen, table.total_nitrogen, needs.nitrogen, "N"},
                     {&ScheduleEntry::phosphorus, table.total_phosphorus, needs.phosphorus, "P2O5"},
                     {&ScheduleEntry::potassium, table.total_potassium, needs.potassium, "K2O"}};
    for (const auto &n : nutrients) {
        double supplied = 0.0;
        for (const ScheduleEntry &e : entries)
            supplied += e.*n.supplied;
        // Short by half a pound or more: a loss factor just above 1 leaves a sliver unmet that
        // no grower would chase. The figures are the page's: the total and the recommendation.
        if (supplied < n.need - 0.5)
            table.shortfalls.push_back(strprintf(
                "The schedule supplies %lld of %d lb %s/acre: add a phase or fertigations, or "
                "choose another material.",
                n.shown, truncate_to_int(n.need), n.unit));
    }
    return table;
}

} // namespace tw
