#pragma once

namespace tw {

/// A value axis from 0 whose labels read as round numbers of the unit shown.
struct AxisScale
{
    double top = 1.0;  ///< the axis' end: a whole number of steps
    double step = 0.2; ///< 1, 2, 2.5 or 5 times a power of ten
    int ticks = 6;     ///< labels from 0 to top, both included
    int decimals = 1;  ///< the fewest that write every label exactly
};

/// The axis that holds values up to `largest` with a little room above it, in about five steps.
AxisScale round_axis(double largest);

} // namespace tw
