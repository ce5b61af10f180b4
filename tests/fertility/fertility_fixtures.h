#pragma once

#include "fertility/field_facts.h"
#include "fertility/schedule.h"
#include "fertility/wizard_page.h"

#include <initializer_list>
#include <map>
#include <string>
#include <utility>

namespace tw::test {

/// A corn field planted on 1 May 2026 on a silty loam, four feet of roots.
FieldFacts corn_field();

/// Sets the page's fields by key or caption from text, as a user would; each must be taken.
void fill(WizardPage &page, std::initializer_list<std::pair<const char *, const char *>> answers);

/// One application page's answers: material name, state, method name and rain choice.
struct PlannedApplication
{
    std::string material;
    int state = 1;
    std::string method;
    int rain = 0;
};

/// Answers the application pages by title; a page without an entry is cancelled. Records the
/// titles in the order they were asked.
class ScriptedChooser : public ApplicationChooser
{
public:
    std::map<std::string, PlannedApplication> plan;
    std::vector<std::string> asked;

    bool choose(ApplicationPage &page) override;
};

} // namespace tw::test
