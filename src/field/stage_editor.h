#pragma once

#include "refdata/records.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

// The rules of a crop's "Growth Stages" page and its "Growth Stage Details" dialog, for the crops
// database and a field's own crop alike. Degree days are shown in the display unit of the field
// table (Degree_Days), days as whole season days.
namespace tw {

constexpr int kStageListColumns = 5;
/// The page inserts no stage once the crop holds this many.
constexpr int kMaxEditedStages = 48;
constexpr std::size_t kStageNameChars = 19;

std::array<std::string, kStageListColumns> stage_list_titles();
/// A stage as the list shows it: name, MAD in whole percent, end day, end GDD, flag text.
std::array<std::string, kStageListColumns> stage_list_row(const GrowthStage &stage);

/// What the details dialog shows and edits.
struct StageDetails
{
    std::string name;
    float depletion_percent = 0.0f;
    float days = 0.0f;
    float gdd = 0.0f; ///< display unit
};

/// The ends the stage must lie between: the previous stage's and the next one's.
struct StageBounds
{
    float previous_day = -1.0f;
    float previous_gdd = -1.0f;
    float next_day = 365.0f;
    float next_gdd = 10000.0f;
};

/// One opening of the details dialog: a new stage after `stage`, or stage `stage` itself.
struct StageEdit
{
    int stage = 0;
    bool inserting = false;
    /// A Planting stage keeps its name and its ends; only its depletion is typed.
    bool depletion_only = false;
    StageDetails details;
    StageBounds bounds;
    StageDetails shown; ///< the details as the dialog opened
};

/// The message of the first bound or range the details break, nothing when they are accepted.
std::optional<std::string> check_stage_details(const StageDetails &details,
                                               const StageBounds &bounds);

class StageEditor
{
public:
    explicit StageEditor(CropRecord &crop)
        : crop_(crop)
    {}

    int count() const;
    /// Stage k, 0 <= k < count().
    const GrowthStage &stage(int k) const { return crop_.stages[static_cast<std::size_t>(k)]; }

    /// Insert after the selected stage: the dialog's start, or nothing after the message that
    /// refuses it.
    std::optional<StageEdit> begin_insert(std::optional<int> selected) const;
    /// Edit a stage: the dialog's start, nothing when there is no such stage.
    std::optional<StageEdit> begin_edit(int k) const;
    /// OK of the details dialog: false after the message that keeps it open; otherwise the stage
    /// is inserted or changed.
    bool finish(const StageEdit &edit);
    /// Delete: the messages, the question, or the beep; true when the stage went.
    bool remove(std::optional<int> selected);

private:
    StageBounds bounds_around(int previous, int next) const;
    void store(GrowthStage &stage, const StageEdit &edit) const;

    CropRecord &crop_;
};

} // namespace tw
