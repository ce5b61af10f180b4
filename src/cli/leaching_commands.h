#pragma once

#include <iosfwd>

namespace tw {
struct LeachingRun;
} // namespace tw

namespace tw::cli {

/// A leaching run as the report window shows it: the midseason notice when it is one, the two
/// groups of values with their grades, and the advice.
void print_leaching_run(std::ostream &out, const LeachingRun &run);

} // namespace tw::cli
