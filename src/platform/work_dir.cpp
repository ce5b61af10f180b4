#include "platform/work_dir.h"

namespace tw {
namespace {

std::filesystem::path &current()
{
    static std::filesystem::path dir;
    return dir;
}

} // namespace

const std::filesystem::path &work_dir()
{
    return current();
}

void set_work_dir(std::filesystem::path dir)
{
    current() = std::move(dir);
}

std::filesystem::path work_file(std::string_view name)
{
    // An empty working directory means the process's current directory, so relative names do.
    return current().empty() ? std::filesystem::path(name) : current() / name;
}

} // namespace tw
