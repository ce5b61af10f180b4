#pragma once

#include <filesystem>
#include <string_view>

// The working directory holds the reference, knowledge, nutrient and schedule files. It is the
// process's current directory unless a program (or a test) names another.
namespace tw {

const std::filesystem::path &work_dir();
void set_work_dir(std::filesystem::path dir);
std::filesystem::path work_file(std::string_view name);

} // namespace tw
