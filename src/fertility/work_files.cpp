#include "fertility/work_files.h"

#include "platform/files.h"
#include "platform/work_dir.h"

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

} // namespace tw
