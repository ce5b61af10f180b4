#include "field/daily_entry_form.h"

#include "field/field_doc.h"
#include "field/root_zone_bound.h"
#include "field/season_run.h"
#include "field/water_balance.h"
#include "platform/dates.h"
#include "platform/message_port.h"
#include "platform/text_format.h"
#include "refdata/units.h"

namespace tw {
namespace {

const std::string &stage_name(const CFieldDoc &field, int k)
{
    return field.saved.crop.stages[static_cast<std::size_t>(k)].name;
}

bool same_name(std::string_view a, std::string_view b)
{
    return to_upper_ascii(a) == to_upper_ascii(b);
}

} // namespace

float deficit_of_content(const CFieldDoc &field, int d, float content)
{
    return (field.saved.soil.sm_fc - content) *
           field.season.days[static_cast<std::size_t>(d)].root_depth;
}

std::optional<DailyEntryForm> DailyEntryForm::open(CFieldDoc &field, int d)
{
    if (d < 1 || !field.has_day(d))
        return std::nullopt;
    const FieldDay &day = field.season.days[static_cast<std::size_t>(d)];
    if (day.stage < 0 || day.stage >= field.saved.crop.stage_count || day.kind == KindForecast) {
        messages().beep();
        return std::nullopt;
    }
    return DailyEntryForm(field, d);
}

DailyEntryForm::DailyEntryForm(CFieldDoc &field, int d)
    : field_(&field)
    , d_(d)
{
    const FieldDay &day = field.season.days[static_cast<std::size_t>(d)];
    rain = convert_to(Depth, day.rain);
    irrigation = convert_to(Depth, day.gross_irrigation);
    sm_override = day.sm_override != 0;
    const double fc = field.saved.soil.sm_fc;
    soil_moisture = convert_to(
        Soil_Moisture, day.category == AdviceBeyondForecast
                           ? field.saved.soil.sm_fc
                           : static_cast<float>(fc - ratio_or_zero(day.deficit, day.root_depth)));
    n_applied = day.n_applied;
    for (int k = day.stage - 1; k <= day.stage + 1; ++k) {
        if (k >= 0 && k < field.saved.crop.stage_count)
            stage_choices_.push_back(stage_name(field, k));
    }
    stage = stage_name(field, day.stage);
}

std::string DailyEntryForm::title() const
{
    return format_date(field_->date_of(d_), "%#x");
}

std::string_view DailyEntryForm::status() const
{
    return advice_message(field_->season.days[static_cast<std::size_t>(d_)].category);
}

float DailyEntryForm::irrigation_needed() const
{
    const FieldDay &day = field_->season.days[static_cast<std::size_t>(d_)];
    const double needed =
        day.deficit > 0.0f ? ratio_or_zero(day.deficit, field_->saved.efficiency / 100.0) : 0;
    return convert_to(Depth, static_cast<float>(needed));
}

std::optional<std::string> DailyEntryForm::soil_moisture_message() const
{
    if (!sm_override)
        return std::nullopt;
    return deficit_beyond_root_zone(
        *field_, d_, deficit_of_content(*field_, d_, convert_from(Soil_Moisture, soil_moisture)));
}

void DailyEntryForm::accept()
{
    CFieldDoc &field = *field_;
    FieldDay &day = field.season.days[static_cast<std::size_t>(d_)];
    day.sm_override = sm_override ? 1 : 0;
    if (sm_override)
        day.deficit = deficit_of_content(field, d_, convert_from(Soil_Moisture, soil_moisture));
    day.gross_irrigation = convert_from(Depth, irrigation);
    day.rain = convert_from(Depth, rain);
    if (n_applied != day.n_applied)
        day.n_applied = n_applied;
    field.set_modified(true);

    const int current = day.stage;
    const std::string previous = current > 0 ? stage_name(field, current - 1) : std::string();
    if (same_name(stage, stage_name(field, current))) {
        field.run_and_update(d_, ViewHint::changed_day(d_));
        return;
    }
    const bool back = same_name(stage, previous);
    if (!back || current > 0)
        record_stage_end(field, d_, back ? current - 1 : current + 1);
    field.run_and_update(0, ViewHint::everything());
}

std::vector<int> irrigate_as_advised(CFieldDoc &field)
{
    std::vector<int> irrigated;
    for (int d = 1; d <= field.season.last_actual_day; ++d) {
        const float needed = field.season.days[static_cast<std::size_t>(d)].irrigation_needed;
        auto form = needed > 0.0f ? DailyEntryForm::open(field, d) : std::nullopt;
        if (!form)
            continue;
        form->irrigation = convert_to(Depth, needed);
        form->accept();
        irrigated.push_back(d);
    }
    return irrigated;
}

} // namespace tw
