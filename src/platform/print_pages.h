#pragma once

namespace tw {

/// How a printed table falls onto pages: rows per page from the printable height (eight row
/// heights are kept for the margins, the header and the footer), and the rows of each page.
struct PrintPages
{
    int rows = 0;
    int rows_per_page = 1;

    /// At least one row a page, however small the page or large the row.
    static PrintPages for_page(int rows, int printable_height, int row_height);
    /// Enough pages for every row, and one (headers only) for an empty table.
    int page_count() const;
    /// Page p (from 1) holds rows [first_row, end_row).
    int first_row(int page) const;
    int end_row(int page) const;
};

} // namespace tw
