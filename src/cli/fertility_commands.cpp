// The fertility consultation from the command line, answered from a file.
#include "cli/fertility_commands.h"

#include "cli/cli.h"
#include "cli/field_commands.h"
#include "fertility/field_facts.h"
#include "fertility/nitrogen_methods.h"
#include "fertility/nutrient_file.h"
#include "field/field_doc.h"
#include "field/growth_stages.h"
#include "location/location_doc.h"
#include "platform/dates.h"
#include "platform/files.h"

#include <ostream>

namespace tw::cli {
namespace {

/// An answers file of a consultation is a page of text; anything larger is not one.
constexpr std::size_t kMaxAnswersBytes = 1u << 20;

std::string whole(float value)
{
    return std::to_string(truncate_to_int(value));
}

void print_method_rows(std::ostream &out, const FertilityInputs &in, const char *group,
                       const std::array<float, 3> &figures, const std::array<float, 3> &certainty,
                       bool cut_negative)
{
    const auto labels = method_labels(in);
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < 3; ++i) {
        const float figure = cut_negative ? std::max(figures[i], 0.0f) : figures[i];
        rows.push_back({labels[i], whole(figure), whole(certainty[i])});
    }
    print_table(out, {group, "Nitrogen (lb/acre)", "Certainty (%)"}, rows, false);
}

void print_results(std::ostream &out, const FertilizerConsultation &c)
{
    const Recommendation &rec = c.results().recommendation;
    const FertilityInputs &in = c.inputs();
    out << (c.midseason() ? page_title(PageId::MidseasonResults)
                          : page_title(PageId::PreseasonResults))
        << "\n";
    if (c.midseason()) {
        print_method_rows(out, in, "Pre-Season Test", rec.preseason_test_rec,
                          rec.midseason_certainty, true);
        if (in.new_soil_test == 1)
            print_method_rows(out, in, "New Soil Test", rec.remaining_rec, rec.certainty, false);
    } else {
        print_method_rows(out, in, "Method", rec.method_rec, rec.certainty, false);
    }
    out << "Nitrogen Recommendation: " << whole(rec.final) << " lb/acre\n";
    if (!c.midseason()) {
        out << "Phosphorus Recommendation: " << whole(rec.phosphorus) << " lb/acre\n"
            << "Potassium Recommendation: " << whole(rec.potassium) << " lb/acre\n";
    }
}

void print_breakdowns(std::ostream &out, const FertilizerConsultation &c)
{
    const auto titles = method_titles(c.inputs());
    const auto texts = c.breakdown_texts();
    for (std::size_t i = 0; i < 3; ++i)
        out << "\n" << titles[i] << "\n" << texts[i];
}

void print_schedule_page(std::ostream &out, const FertilizerConsultation &c)
{
    const ScheduleTable table = c.table();
    std::vector<std::vector<std::string>> rows;
    for (const auto &row : table.rows)
        rows.emplace_back(row.begin(), row.end());
    out << "\nFertilizer Application Schedule\n";
    print_table(out, {ScheduleTable::kColumns.begin(), ScheduleTable::kColumns.end()}, rows, false);
    out << "Totals (lb/acre): Nitrogen " << table.total_nitrogen << ", Phosphorus "
        << table.total_phosphorus << ", Potassium " << table.total_potassium << "\n";
    for (const std::string &line : table.shortfalls)
        out << line << "\n";
}

void declare_consultation(CLI::App &command)
{
    add_argument(command, "FILE.fld", "the field file");
    add_value(command, "--location", "L.loc", "the location whose weather the field is run with",
              Need::Required);
    add_value(command, "--answers", "ANSWERS.ini",
              "the consultation's answers (data/examples has examples of a pre-season and a "
              "midseason consultation)",
              Need::Required);
}

int fertility_consultation(Context &ctx)
{
    const Options *options = &ctx.options;
    auto answers = read_answers(*options->value("answers"), ctx.err);
    if (!answers)
        return kExitUsage;
    auto location = read_location(*options->value("location"), ctx.err);
    if (!location)
        return kExitFailure;
    auto field = open_field(*location, std::filesystem::path(options->positionals()[0]),
                            warn_of_other_location(ctx.err));
    if (!field)
        return kExitFailure;
    if (!consult_with_answers(*field, *answers, ctx.out, ctx.err))
        return kExitFailure;
    field->run_and_update(0, ViewHint::everything());
    ctx.out << "\n";
    print_summary(ctx.out, *location, false);
    return kExitOk;
}

const Registration registration(
    {"fertility", "",
     "Runs the field's fertilizer consultation from an answers file, writes its nutrient and "
     "schedule files and reruns the field.",
     &declare_consultation, &fertility_consultation});

} // namespace

std::optional<ConsultationAnswers> read_answers(const std::filesystem::path &path,
                                                std::ostream &err)
{
    std::string reason;
    const auto bytes = read_file(path, kMaxAnswersBytes + 1, &reason);
    if (!bytes) {
        err << "Cannot read the answers file: " << reason << ".\n";
        return std::nullopt;
    }
    if (bytes->size() > kMaxAnswersBytes) {
        err << "The answers file " << path.string() << " is too large to be one.\n";
        return std::nullopt;
    }
    auto answers = parse_answers(
        std::string_view(reinterpret_cast<const char *>(bytes->data()), bytes->size()), reason);
    if (!answers)
        err << path.string() << ", " << reason << ".\n";
    return answers;
}

bool consult_with_answers(CFieldDoc &field, ConsultationAnswers &answers, std::ostream &out,
                          std::ostream &err)
{
    FertilizerConsultation c(fertility_inputs(), field_facts(field), today_serial());
    std::string reason;
    if (!answer_consultation(c, answers, reason)) {
        err << "The consultation stopped at " << reason << ". Nothing was written.\n";
        return false;
    }
    print_results(out, c);
    print_breakdowns(out, c);
    print_schedule_page(out, c);
    if (!c.finish())
        return false;
    const std::string &base = c.base_name();
    out << "\nWrote " << base << ".FRT (" << kNutrientFileSize << " bytes) and " << base << ".LCH ("
        << c.entries().size() << " entries).\n";
    return true;
}

} // namespace tw::cli
