#include "platform/print_pages.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(PrintPages, RowsFallOntoWholePagesWithoutAnEmptyLastPage)
{
    // 48 row heights of printable height: 48 - 8 = 40 rows a page.
    const PrintPages hundred = PrintPages::for_page(100, 480, 10);
    EXPECT_EQ(hundred.rows_per_page, 40);
    EXPECT_EQ(hundred.page_count(), 3);
    EXPECT_EQ(hundred.first_row(3), 80);
    EXPECT_EQ(hundred.end_row(3), 100);
    EXPECT_EQ(hundred.end_row(2) - hundred.first_row(2), 40);

    EXPECT_EQ(PrintPages::for_page(80, 480, 10).page_count(), 2);
    EXPECT_EQ(PrintPages::for_page(81, 480, 10).page_count(), 3);
    EXPECT_EQ(PrintPages::for_page(0, 480, 10).page_count(), 1);
    // A page too small for its margins still takes a row, and a zero row height divides nothing.
    EXPECT_EQ(PrintPages::for_page(5, 50, 10).rows_per_page, 1);
    EXPECT_EQ(PrintPages::for_page(5, 50, 10).page_count(), 5);
    EXPECT_EQ(PrintPages::for_page(5, 50, 0).rows_per_page, 1);
}

} // namespace
} // namespace tw
