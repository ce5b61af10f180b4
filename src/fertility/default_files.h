#pragma once

#include <functional>
#include <string>
#include <vector>

// The files of a working folder that start with the program's defaults and are the user's to
// change afterwards.
namespace tw {

struct DefaultFile
{
    const char *name;
    std::function<bool()> create; ///< writes the defaults; false when it could not
};

/// custom.con and the files the fertilizer consultation reads: its knowledge files and the
/// libraries of materials.
std::vector<DefaultFile> preference_and_knowledge_files();

/// Writes each of the files the working directory lacks, without the notices a missing file
/// shows later (a new folder is expected to lack them); the names of those that could not be
/// written. Files already there are left as they are.
std::vector<std::string> create_missing_files(const std::vector<DefaultFile> &files);

} // namespace tw
