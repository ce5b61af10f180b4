#pragma once

#include "fertility/consultation.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A consultation without windows, answered from a file. Each "[section]" names a page by its
// title or short name, or an application page by its title ("Preplant (Nitrogen)"); each line
// "name = value" sets a field of the page by its caption or key. Lines starting with '#' or ';'
// are comments.
namespace tw {

struct AnswerEntry
{
    std::string key;
    std::string value;
    int line = 0;
};

struct AnswerSection
{
    std::string name;
    int line = 0;
    std::vector<AnswerEntry> entries;
    bool used = false;
};

struct ConsultationAnswers
{
    std::vector<AnswerSection> sections;
};

/// The answers of a file, or nothing with the reason (naming the line) when a line is not a
/// section or an answer, or a section names no page of any consultation.
std::optional<ConsultationAnswers> parse_answers(std::string_view text, std::string &error);

/// Answers every page from the first to the schedule page, as a user pressing Next would. False,
/// with the reason, at the first answer a page refuses (an unknown field, a value out of range,
/// a page's own check), when an application page has no answers, or when a section was never
/// used; the consultation then writes nothing.
bool answer_consultation(FertilizerConsultation &consultation, ConsultationAnswers &answers,
                         std::string &error);

} // namespace tw
