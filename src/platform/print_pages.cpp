#include "platform/print_pages.h"

#include <algorithm>

namespace tw {

PrintPages PrintPages::for_page(int rows, int printable_height, int row_height)
{
    const int per_page = row_height > 0 ? printable_height / row_height - 8 : 1;
    return {std::max(rows, 0), std::max(per_page, 1)};
}

int PrintPages::page_count() const
{
    // A table that fills its last page exactly gets no empty page after it.
    return std::max(1, (rows + rows_per_page - 1) / rows_per_page);
}

int PrintPages::first_row(int page) const
{
    return std::min((page - 1) * rows_per_page, rows);
}

int PrintPages::end_row(int page) const
{
    return std::min(page * rows_per_page, rows);
}

} // namespace tw
