#include "fertility/work_files.h"

#include "platform/files.h"
#include "platform/work_dir.h"

#include <cmath>
#include <limits>

namespace tw {

std::optional<FileBytes>
read_or_create_work_file(std::string_view name, std::size_t max_bytes,
                         const std::function<std::optional<FileBytes>()> &create)
{
    const std::filesystem::path path = work_file(name);
    if (file_exists(path))
        return read_file(path, max_bytes);
    return create();
}

int truncate_to_int(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (value <= lowest)
        return std::numeric_limits<int>::min();
    if (value >= highest)
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

double safe_divide(double a, double b)
{
    return b == 0.0 ? 0.0 : a / b;
}

} // namespace tw
