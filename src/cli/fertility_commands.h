#pragma once

#include "fertility/answers.h"

#include <filesystem>
#include <iosfwd>
#include <optional>

namespace tw {
class CFieldDoc;
} // namespace tw

namespace tw::cli {

/// The answers of an answers file; nothing after telling err why.
std::optional<ConsultationAnswers> read_answers(const std::filesystem::path &path,
                                                std::ostream &err);

/// The field's fertility consultation answered from the file: prints the results, the three
/// breakdowns and the schedule, then writes the nutrient and schedule files. False after telling
/// err why; nothing is written then.
bool consult_with_answers(CFieldDoc &field, ConsultationAnswers &answers, std::ostream &out,
                          std::ostream &err);

} // namespace tw::cli
