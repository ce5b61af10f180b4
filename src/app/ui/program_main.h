#pragma once

namespace tw {

struct Edition;

/// The whole life of the desktop program as the given edition: start-up, the event loop, the
/// end. Returns the exit status.
int run_program(int argc, char **argv, const Edition &edition);

} // namespace tw
