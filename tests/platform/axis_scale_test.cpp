#include "platform/axis_scale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tw {
namespace {

// Worked by hand: a fifth of the largest value with 5 % headroom, rounded up to 1, 2, 2.5 or 5
// times a power of ten, then the top the next whole step above the headroom.
TEST(AxisScale, StepsInRoundNumbersOfTheUnit)
{
    const struct
    {
        double largest, top, step;
        int ticks, decimals;
    } cases[] = {
        {3.86, 5.0, 1.0, 6, 0},      // inches: 3.86 * 1.05 / 5 = 0.81 -> 1; 4.05 -> 5 steps
        {98.0, 125.0, 25.0, 6, 0},   // millimetres: 20.58 -> 25; 102.9 -> 5 steps
        {1.0, 1.25, 0.25, 6, 2},     // 0.21 -> 0.25; 1.05 -> 5 steps (4.2 rounded up)
        {4.76, 5.0, 1.0, 6, 0},      // 0.9996 -> 1; 4.998 fits under 5
        {0.004, 0.005, 0.001, 6, 3}, // a trace: 0.00084 -> 0.001
    };
    for (const auto &c : cases) {
        const AxisScale axis = round_axis(c.largest);
        EXPECT_NEAR(axis.top, c.top, 1e-9) << c.largest;
        EXPECT_NEAR(axis.step, c.step, 1e-12) << c.largest;
        EXPECT_EQ(axis.decimals, c.decimals) << c.largest;
        EXPECT_GE(axis.top, c.largest * 1.05 - 1e-9) << c.largest;
        EXPECT_EQ(axis.ticks, c.ticks) << c.largest;
    }
}

TEST(AxisScale, NothingToShowGivesAUnitAxis)
{
    for (const double largest : {0.0, -3.0, std::nan("")}) {
        const AxisScale axis = round_axis(largest);
        EXPECT_EQ(axis.top, 1.0);
        EXPECT_EQ(axis.ticks, 6);
    }
}

} // namespace
} // namespace tw
