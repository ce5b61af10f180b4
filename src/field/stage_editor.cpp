#include "field/stage_editor.h"

#include "field/growth_stages.h"
#include "platform/edition.h"
#include "platform/message_port.h"
#include "platform/text_encoding.h"
#include "platform/text_format.h"
#include "refdata/units.h"

#include <algorithm>
#include <cmath>

namespace tw {
namespace {

constexpr float kLastDay = 365.0f;
constexpr float kMaxGdd = 10000.0f;

const GrowthStage &stage_at(const CropRecord &crop, int k)
{
    return crop.stages[static_cast<std::size_t>(k)];
}

float shown_gdd(const GrowthStage &stage)
{
    return convert_to(Degree_Days, stage.end_gdd);
}

StageDetails details_of(const GrowthStage &stage)
{
    return {stage.name, std::round(stage.allowable_depletion * 100.0f), stage.end_day,
            shown_gdd(stage)};
}

bool is_protected(const GrowthStage &stage)
{
    return stage.flag >= StagePlanting && stage.flag <= StageHarvest;
}

} // namespace

std::array<std::string, kStageListColumns> stage_list_titles()
{
    return {"Growth Stage     ", "MAD", "End DOY", "End GDD (" + sed_SetUnits(Temperature) + ")",
            "      Flag          "};
}

std::array<std::string, kStageListColumns> stage_list_row(const GrowthStage &stage)
{
    // A depletion of 0.29 is 28.999998 % in single precision: the list shows the percent typed.
    return {stage.name, strprintf("%ld", std::lround(stage.allowable_depletion * 100.0f)),
            strprintf("%d", truncate_to_int(stage.end_day)),
            strprintf("%d", truncate_to_int(shown_gdd(stage))),
            std::string(stage_flag_text(stage.flag))};
}

std::optional<std::string> check_stage_details(const StageDetails &d, const StageBounds &b)
{
    if (auto m = range_message(d.depletion_percent, 0, 100, "the Allowable Depletion"))
        return m;
    if (auto m = range_message(d.days, 0, kLastDay, "the Calender Days"))
        return m;
    if (auto m = range_message(d.gdd, 0, kMaxGdd, "the Growing Degree Days"))
        return m;
    if (d.days <= b.previous_day)
        return "Day Must be Greater than that of Previous Growth Stage start!";
    if (d.days >= b.next_day)
        return "Day Must be Less than that of Next Growth Stage start!";
    if (d.gdd <= b.previous_gdd)
        return "GDD must be Greater than that of Previous Growth Stage start GDD!";
    if (d.gdd > b.next_gdd)
        return "GDD must be Less than that of next Growth Stage start GDD!";
    return std::nullopt;
}

int StageEditor::count() const
{
    return std::clamp(crop_.stage_count, 0, static_cast<std::int32_t>(kMaxStages));
}

StageBounds StageEditor::bounds_around(int previous, int next) const
{
    StageBounds b;
    if (previous >= 0) {
        b.previous_day = stage_at(crop_, previous).end_day;
        b.previous_gdd = shown_gdd(stage_at(crop_, previous));
    }
    if (next < count()) {
        b.next_day = stage_at(crop_, next).end_day;
        b.next_gdd = shown_gdd(stage_at(crop_, next));
    }
    return b;
}

std::optional<StageEdit> StageEditor::begin_insert(std::optional<int> selected) const
{
    if (!selected || *selected < 0 || *selected >= count()) {
        messages().inform("Please select the stage preceeding the new growth stage");
        return std::nullopt;
    }
    const int k = *selected;
    const GrowthStage &previous = stage_at(crop_, k);
    if (previous.flag == StagePlanting) {
        messages().inform("Cannot insert a stage between Planting and Emergence");
        return std::nullopt;
    }
    if (previous.flag == StageHarvest) {
        messages().inform("Cannot insert a stage directly after Harvest");
        return std::nullopt;
    }
    if (count() >= kMaxEditedStages) {
        messages().inform("Too many stages. Maximum stages allowed already exist.");
        return std::nullopt;
    }
    StageEdit edit;
    edit.stage = k;
    edit.inserting = true;
    edit.bounds = bounds_around(k, k + 1);
    // A start just past the previous stage, which the user moves to where the new stage ends.
    edit.details = details_of(previous);
    edit.details.name.clear();
    edit.details.days = std::trunc(previous.end_day) + 1.0f;
    edit.details.gdd = std::trunc(shown_gdd(previous)) + 1.0f;
    edit.shown = edit.details;
    return edit;
}

std::optional<StageEdit> StageEditor::begin_edit(int k) const
{
    if (k < 0 || k >= count())
        return std::nullopt;
    StageEdit edit;
    edit.stage = k;
    edit.depletion_only = stage_at(crop_, k).flag == StagePlanting;
    edit.bounds = bounds_around(k - 1, k + 1);
    edit.details = details_of(stage_at(crop_, k));
    edit.shown = edit.details;
    return edit;
}

void StageEditor::store(GrowthStage &stage, const StageEdit &edit) const
{
    const StageDetails &d = edit.details;
    stage.allowable_depletion = d.depletion_percent / 100.0f;
    if (edit.depletion_only)
        return;
    stage.name = cut_to_chars(d.name, kStageNameChars);
    // Values the user left as shown keep their stored precision.
    if (d.days != edit.shown.days || edit.inserting)
        stage.end_day = d.days;
    if (d.gdd != edit.shown.gdd || edit.inserting)
        stage.end_gdd = degree_days_from_display(d.gdd);
}

bool StageEditor::finish(const StageEdit &edit)
{
    if (const auto message = check_stage_details(edit.details, edit.bounds)) {
        messages().inform(*message);
        return false;
    }
    const int n = count();
    if (edit.stage < 0 || edit.stage >= n)
        return false;
    if (!edit.inserting) {
        store(crop_.stages[static_cast<std::size_t>(edit.stage)], edit);
        return true;
    }
    // The crop goes back to crop.db, which holds no more stages than its layout has room for.
    if (n >= static_cast<int>(crop_stage_capacity(edition().crop_layout)))
        return false;
    const auto at = crop_.stages.begin() + edit.stage + 1;
    std::move_backward(at, crop_.stages.begin() + n, crop_.stages.begin() + n + 1);
    *at = GrowthStage{};
    store(*at, edit);
    crop_.stage_count = n + 1;
    return true;
}

bool StageEditor::remove(std::optional<int> selected)
{
    if (!selected || *selected < 0 || *selected >= count()) {
        messages().inform("Please select the stage to delete.");
        return false;
    }
    const int k = *selected;
    const int n = count();
    if (is_protected(stage_at(crop_, k))) {
        messages().inform("This is a protected growth stage which cannot be deleted.", {},
                          MessageIcon::Warning);
        return false;
    }
    if (k > 0 && k < n - 1 &&
        messages().ask_yes_no("Are you sure you want to delete this stage?")) {
        std::move(crop_.stages.begin() + k + 1, crop_.stages.begin() + n, crop_.stages.begin() + k);
        crop_.stages[static_cast<std::size_t>(n - 1)] = GrowthStage{};
        crop_.stage_count = n - 1;
        return true;
    }
    messages().beep();
    return false;
}

} // namespace tw
