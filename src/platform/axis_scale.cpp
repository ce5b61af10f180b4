#include "platform/axis_scale.h"

#include <algorithm>
#include <cmath>

namespace tw {
namespace {

/// About this many steps: enough labels to read a value off, few enough to stay legible.
constexpr double kSteps = 5.0;
/// Room above the largest value, so that a line at the top does not run along the frame.
constexpr double kHeadroom = 1.05;

int decimals_of(double step)
{
    for (int d = 0; d < 6; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::abs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled))
            return d;
    }
    return 6;
}

} // namespace

AxisScale round_axis(double largest)
{
    if (!(largest > 0.0) || !std::isfinite(largest))
        return {};
    const double rough = largest * kHeadroom / kSteps;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    const double fraction = rough / magnitude;
    double nice = 10.0;
    for (const double candidate : {1.0, 2.0, 2.5, 5.0}) {
        if (fraction <= candidate) {
            nice = candidate;
            break;
        }
    }
    AxisScale axis;
    axis.step = nice * magnitude;
    const double steps = std::max(1.0, std::ceil(largest * kHeadroom / axis.step - 1e-9));
    axis.top = steps * axis.step;
    axis.ticks = static_cast<int>(steps) + 1;
    axis.decimals = decimals_of(axis.step);
    return axis;
}

} // namespace tw
