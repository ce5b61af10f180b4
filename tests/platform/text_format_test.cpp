#include "platform/text_format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tw {
namespace {

// The figures a grower met in the dialogs, and the boundaries of each precision.
TEST(ReadableNumber, RoundsToTheFiguresThatMatterAtItsSize)
{
    const struct
    {
        double value;
        const char *shown;
    } cases[] = {
        {515.069, "515"},                      // a nitrogen recommendation, lb/acre
        {36.6666, "36.7"},                     //
        {0.403313, "0.403"},                   // inches of irrigation
        {-0.0, "0"},                           // never "-0.00"
        {-0.0004, "-0.0004"},  {100.0, "100"}, // from 100 up: whole
        {99.96, "100"}, // one decimal rounds it up to the next precision's number
        {99.94, "99.9"},       {10.0, "10"}, // from 10: one decimal, trailing zero dropped
        {9.999, "10"},         {1.0, "1"},   // from 1: two decimals
        {2.505, "2.5"},                      // 2.505 is stored as 2.50499..., and prints as 2.50
        {0.999, "0.999"},                    // below 1: three significant figures
        {0.0123456, "0.0123"}, {0.0, "0"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readable_number(c.value), c.shown) << c.value;
    EXPECT_EQ(readable_number(std::nan("")), "nan");
}

} // namespace
} // namespace tw
