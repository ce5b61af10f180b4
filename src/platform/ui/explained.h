#pragma once

#include <functional>
#include <string>

class QWidget;

namespace tw {

/// Shows what a figure means as its tool tip and its What's This text. The text is asked for
/// again each time it is about to show, so that it names the units of the moment.
void explain(QWidget &widget, std::function<std::string()> text);

/// The header roles that carry a column title's explanation (tool tip and What's This).
bool is_explanation_role(int role);

} // namespace tw
