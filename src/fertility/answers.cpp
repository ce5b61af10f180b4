#include "fertility/answers.h"

#include "fertility/choices.h"
#include "platform/text_encoding.h"
#include "platform/text_format.h"

#include <map>
#include <span>

namespace tw {
namespace {

constexpr int kMaxFertigations = 15;
constexpr const char *kNutrients[] = {" (Phosphorus)", " (Potassium)", " (Nitrogen)"};
constexpr std::string_view kNewBlend = "(New Blend)";

bool names_application_page(std::string_view name)
{
    const std::string wanted = comparable_caption(name);
    std::vector<ScheduleSlot> slots = {
        {PhasePreplant, 0}, {PhaseStarter, 0}, {PhasePostEmergence, 0}};
    for (int k = 1; k <= kMaxFertigations; ++k)
        slots.push_back({PhaseFertigation, k});
    for (const ScheduleSlot &slot : slots) {
        for (const char *nutrient : kNutrients) {
            if (comparable_caption(phase_name(slot) + nutrient) == wanted)
                return true;
        }
    }
    return false;
}

bool names_page(PageId id, std::string_view name)
{
    const std::string wanted = comparable_caption(name);
    return comparable_caption(page_title(id)) == wanted ||
           comparable_caption(page_name(id)) == wanted;
}

bool names_any_page(std::string_view name)
{
    for (const PageId id : kAllPages) {
        if (names_page(id, name))
            return true;
    }
    return names_application_page(name);
}

std::string where(const AnswerSection &section, const AnswerEntry &entry)
{
    return strprintf("line %d: [%s] %s", entry.line, section.name.c_str(), entry.key.c_str());
}

/// Sets the page's fields from the section. A field another answer enables (an analysis and its
/// contents) may come first in the file, so refused answers are tried again while any succeeds.
bool apply_page_answers(WizardPage &page, const AnswerSection &section, std::string &error)
{
    std::vector<const AnswerEntry *> pending;
    for (const AnswerEntry &e : section.entries)
        pending.push_back(&e);
    while (!pending.empty()) {
        std::vector<const AnswerEntry *> refused;
        std::string first_reason;
        for (const AnswerEntry *e : pending) {
            if (const auto reason = page.set_text(e->key, e->value)) {
                if (refused.empty())
                    first_reason = *reason;
                refused.push_back(e);
            }
        }
        if (refused.size() == pending.size()) {
            error = where(section, *refused.front()) + ": " + first_reason;
            return false;
        }
        pending = std::move(refused);
    }
    return true;
}

enum class ApplicationKey {
    Material,
    State,
    Method,
    Rain,
    BlendName,
    BlendN,
    BlendP,
    BlendK,
    BlendSolid,
    BlendLiquid,
    BlendGas,
    Volatility,
    MaxPreplant,
    MaxStarter,
    MaxPostEmergence,
    MaxFertigation,
};

struct ApplicationKeyName
{
    ApplicationKey key;
    std::string_view name;
    std::string_view caption;
};

constexpr ApplicationKeyName kApplicationKeys[] = {
    {ApplicationKey::Material, "material", "Source Material:"},
    {ApplicationKey::State, "state", "Material Phase"},
    {ApplicationKey::Method, "method", "Application Method:"},
    {ApplicationKey::Rain, "rain", "Rain Expected "},
    {ApplicationKey::BlendName, "blend_name", "Blend Name:"},
    {ApplicationKey::BlendN, "blend_n", "%N"},
    {ApplicationKey::BlendP, "blend_p", "%P205"},
    {ApplicationKey::BlendK, "blend_k", "%K20"},
    {ApplicationKey::BlendSolid, "blend_solid", "Solid"},
    {ApplicationKey::BlendLiquid, "blend_liquid", "Liquid"},
    {ApplicationKey::BlendGas, "blend_gas", "Gas"},
    {ApplicationKey::Volatility, "volatility", "Volatility Class"},
    {ApplicationKey::MaxPreplant, "max_preplant", "Preplant"},
    {ApplicationKey::MaxStarter, "max_starter", "Starter"},
    {ApplicationKey::MaxPostEmergence, "max_postemergence", "Post Emergence"},
    {ApplicationKey::MaxFertigation, "max_fertigation", "Fertigation"},
};

std::optional<ApplicationKey> application_key(std::string_view text)
{
    const std::string wanted = comparable_caption(text);
    for (const ApplicationKeyName &k : kApplicationKeys) {
        if (comparable_caption(k.name) == wanted || comparable_caption(k.caption) == wanted)
            return k.key;
    }
    return std::nullopt;
}

/// The index of a choice named by its text or its index.
std::optional<int> choice_index(std::span<const std::string_view> choices, std::string_view text)
{
    const std::string wanted = comparable_caption(text);
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (comparable_caption(choices[i]) == wanted)
            return static_cast<int>(i);
    }
    const auto number = parse_number_text(trimmed(text));
    if (number && *number >= 0 && *number < static_cast<double>(choices.size()) &&
        *number == static_cast<int>(*number))
        return static_cast<int>(*number);
    return std::nullopt;
}

/// Answers the application pages from their sections.
class AnswersChooser : public ApplicationChooser
{
public:
    explicit AnswersChooser(ConsultationAnswers &answers)
        : answers_(answers)
    {}

    bool choose(ApplicationPage &page) override { return error.empty() && fill(page); }

    std::string error;

private:
    using Given = std::map<ApplicationKey, const AnswerEntry *>;

    bool fail(const AnswerEntry &entry, const std::string &reason)
    {
        error = where(*section_, entry) + ": " + reason;
        return false;
    }

    bool fill(ApplicationPage &page)
    {
        section_ = nullptr;
        for (AnswerSection &s : answers_.sections) {
            if (comparable_caption(s.name) == comparable_caption(page.title()))
                section_ = &s;
        }
        if (!section_) {
            error = "no answers for the application page [" + page.title() + "]";
            return false;
        }
        section_->used = true;
        Given given;
        for (const AnswerEntry &e : section_->entries) {
            const auto key = application_key(e.key);
            if (!key)
                return fail(e, "the application page has no such field");
            given[*key] = &e;
        }
        for (const ApplicationKey required : {ApplicationKey::Material, ApplicationKey::State}) {
            if (!given.count(required)) {
                error = "[" + section_->name + "] needs \"" +
                        std::string(kApplicationKeys[static_cast<int>(required)].name) + "\"";
                return false;
            }
        }
        return choose_material(page, given) && choose_state(page, given) &&
               choose_method(page, given) && choose_rain(page, given) && page.accept();
    }

    bool choose_material(ApplicationPage &page, const Given &given)
    {
        const AnswerEntry &answer = *given.at(ApplicationKey::Material);
        const std::string wanted = comparable_caption(answer.value);
        if (wanted == comparable_caption(kNewBlend))
            return new_blend(page, given);
        for (const auto &[key, entry] : given) {
            if (key >= ApplicationKey::BlendName)
                return fail(*entry, "a blend's values need \"material = (New Blend)\"");
        }
        const auto &materials = page.materials();
        for (std::size_t i = 0; i < materials.size(); ++i) {
            if (comparable_caption(materials[i].name) == wanted ||
                comparable_caption(material_label(materials[i])) == wanted) {
                page.select_material(i);
                return true;
            }
        }
        return fail(answer, "\"" + answer.value +
                                "\" is not a material of the library allowed in " +
                                phase_name(page.slot()));
    }

    bool new_blend(ApplicationPage &page, const Given &given)
    {
        BlendForm form;
        for (const auto &[key, entry] : given) {
            if (key < ApplicationKey::BlendName)
                continue;
            if (key == ApplicationKey::BlendName) {
                form.name = trimmed(entry->value);
                continue;
            }
            if (key == ApplicationKey::Volatility) {
                const auto v = choice_index(choice::kVolatility, entry->value);
                if (!v)
                    return fail(*entry, "not a volatility class");
                form.volatility = *v;
                continue;
            }
            if (key == ApplicationKey::BlendSolid || key == ApplicationKey::BlendLiquid ||
                key == ApplicationKey::BlendGas) {
                const auto yes = parse_yes_no(entry->value);
                if (!yes)
                    return fail(*entry, "takes yes or no");
                (key == ApplicationKey::BlendSolid    ? form.solid
                 : key == ApplicationKey::BlendLiquid ? form.liquid
                                                      : form.gas) = *yes;
                continue;
            }
            const auto number = parse_number_text(trimmed(entry->value));
            if (!number || *number < 0 ||
                *number > (key <= ApplicationKey::BlendK ? kMaxBlendPercent : kMaxBlendApplication))
                return fail(*entry, "\"" + entry->value + "\" is out of range");
            const float value = static_cast<float>(*number);
            switch (key) {
            case ApplicationKey::BlendN: form.n_percent = value; break;
            case ApplicationKey::BlendP: form.p_percent = value; break;
            case ApplicationKey::BlendK: form.k_percent = value; break;
            default:
                form.max_application[static_cast<std::size_t>(key) -
                                     static_cast<std::size_t>(ApplicationKey::MaxPreplant)] = value;
                break;
            }
        }
        if (!page.use_new_blend(form))
            return fail(*given.at(ApplicationKey::Material), "the blend was refused");
        return true;
    }

    bool choose_state(ApplicationPage &page, const Given &given)
    {
        const AnswerEntry &answer = *given.at(ApplicationKey::State);
        const auto state = choice_index(choice::kMaterialStates, answer.value);
        if (!state)
            return fail(answer, "takes Solid, Liquid or Gas");
        if (!page.select_state(*state))
            return fail(answer, page.material()->name + " cannot be applied as " +
                                    std::string(choice::kMaterialStates[*state]));
        return true;
    }

    bool choose_method(ApplicationPage &page, const Given &given)
    {
        const auto methods = page.open_method_list();
        if (!methods)
            return false;
        const auto it = given.find(ApplicationKey::Method);
        if (it == given.end()) {
            if (page.method())
                return true;
            error = "[" + section_->name + "] needs \"method\"";
            return false;
        }
        for (std::size_t i = 0; i < methods->size(); ++i) {
            if (comparable_caption((*methods)[i].name) == comparable_caption(it->second->value))
                return page.select_method(i);
        }
        std::string offered;
        for (const ApplicationMethod &m : *methods)
            offered += (offered.empty() ? "" : ", ") + m.name;
        return fail(*it->second, "the methods offered are: " + offered);
    }

    bool choose_rain(ApplicationPage &page, const Given &given)
    {
        const auto it = given.find(ApplicationKey::Rain);
        if (it == given.end())
            return true;
        if (!page.rain_enabled())
            return fail(*it->second,
                        "a fertigation always expects rain; the choice is not enabled");
        const auto rain = choice_index(choice::kRainExpected, it->second->value);
        if (!rain)
            return fail(*it->second, "not a rain choice");
        page.select_rain(*rain);
        return true;
    }

    ConsultationAnswers &answers_;
    AnswerSection *section_ = nullptr;
};

} // namespace

std::optional<ConsultationAnswers> parse_answers(std::string_view text, std::string &error)
{
    text = without_byte_order_mark(text);
    ConsultationAnswers answers;
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = trimmed(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']') {
                error = strprintf("line %d: a section is written [name]", number);
                return std::nullopt;
            }
            const std::string name = trimmed(std::string_view(line).substr(1, line.size() - 2));
            if (!names_any_page(name)) {
                error = strprintf("line %d: [%s] names no page of the consultation", number,
                                  name.c_str());
                return std::nullopt;
            }
            for (const AnswerSection &s : answers.sections) {
                if (comparable_caption(s.name) == comparable_caption(name)) {
                    error = strprintf("line %d: [%s] is answered twice", number, name.c_str());
                    return std::nullopt;
                }
            }
            answers.sections.push_back({name, number, {}, false});
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || answers.sections.empty()) {
            error =
                strprintf("line %d: an answer is written \"name = value\" inside a [page]", number);
            return std::nullopt;
        }
        answers.sections.back().entries.push_back({trimmed(std::string_view(line).substr(0, eq)),
                                                   trimmed(std::string_view(line).substr(eq + 1)),
                                                   number});
    }
    return answers;
}

bool answer_consultation(FertilizerConsultation &c, ConsultationAnswers &answers,
                         std::string &error)
{
    using Stage = FertilizerConsultation::Stage;
    while (c.stage() == Stage::Pages || c.stage() == Stage::Results) {
        for (AnswerSection &s : answers.sections) {
            if (!names_page(c.page_id(), s.name))
                continue;
            s.used = true;
            if (!apply_page_answers(c.page(), s, error))
                return false;
        }
        const std::string title = c.page().title();
        if (!c.next()) {
            error = "the page [" + title + "] refused its answers";
            return false;
        }
    }
    if (c.stage() != Stage::Applications) {
        error = "the consultation ended before its results";
        return false;
    }
    AnswersChooser chooser(answers);
    c.schedule(chooser);
    if (!chooser.error.empty()) {
        error = chooser.error;
        return false;
    }
    for (const AnswerSection &s : answers.sections) {
        if (!s.used) {
            error = strprintf("line %d: [%s] was not used: the consultation did not show that page",
                              s.line, s.name.c_str());
            return false;
        }
    }
    return true;
}

} // namespace tw
