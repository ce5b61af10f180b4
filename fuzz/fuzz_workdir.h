#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// The working folder every harness starts from: the demo season (a Greeley location with its
// weather, a corn field with its pre-season consultation, a corn field without one, an empty
// location), made once per process with the program's own commands.
namespace tw::fuzz {

const std::filesystem::path &workdir();

/// Runs one command line in the working folder, its output thrown away; the exit status.
int cli(const std::vector<std::string> &args);

/// The file's bytes as the folder was made (empty when it was not there).
const std::vector<std::uint8_t> &original(const std::string &name);

/// Puts the file back as the folder was made.
void restore(const std::string &name);

void put(const std::string &name, std::span<const std::uint8_t> bytes);

/// The file's bytes; none when it cannot be read.
std::vector<std::uint8_t> slurp(const std::filesystem::path &path);

} // namespace tw::fuzz
