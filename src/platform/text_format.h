#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tw {

/// printf formatting into a string; the program's texts are defined by printf formats ("%1.3f").
std::string strprintf(const char *format, ...) __attribute__((format(printf, 1, 2)));

/// A number as a person reads it in a dialog: whole from 100 up, one decimal from 10, two from
/// 1, three significant figures below; no trailing zeros and no "-0".
std::string readable_number(double value);

/// Trims white space at both ends.
std::string trimmed(std::string_view text);

/// ASCII upper case (the program compares names such as textures and crops this way).
std::string to_upper_ascii(std::string_view text);

/// The dialogs' message for a typed value outside lo..hi (both allowed); nothing when it is
/// inside. `what` names the field ("the Efficiency").
std::optional<std::string> range_message(double value, double lo, double hi, std::string_view what);

} // namespace tw
