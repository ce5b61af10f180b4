#pragma once

// A seam in the file layer for tests: every write, fsync, rename and read the file layer makes is
// counted, and the n-th can be made to fail with EIO, as a failing disk would.
namespace tw::io_faults {

/// Counts from zero again; the n-th operation from now (1-based) fails, 0 fails none.
void fail_nth(int n);
/// The operations counted since the last fail_nth.
int operations();
/// Whether the operation that fail_nth chose has been reached.
bool fired();

} // namespace tw::io_faults
