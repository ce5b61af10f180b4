#include "app/farm_folder.h"

#include "fertility/default_files.h"
#include "platform/settings_store.h"
#include "platform/work_dir.h"
#include "refdata/complete_crops.h"
#include "refdata/database.h"

#include <system_error>
#include <utility>

namespace tw {
namespace {

/// Every file a new farm needs, with the program's own defaults; a new farm starts with every
/// shipped crop rather than Corn alone.
std::vector<DefaultFile> farm_seeds()
{
    std::vector<DefaultFile> seeds = {
        {"soil.db", [] { return db_CreateSoils().has_value(); }},
        {"crop.db", [] { return write_complete_crop_db(); }},
        {"station.db", [] { return db_CreateStation().has_value(); }},
    };
    for (DefaultFile &file : preference_and_knowledge_files())
        seeds.push_back(std::move(file));
    return seeds;
}

} // namespace

std::filesystem::path farm_folder(const SettingsStore &store, const std::filesystem::path &home)
{
    if (const auto stored = store.read_string(kFarmFolderSection, kFarmFolderKey);
        stored && !stored->empty())
        return *stored;
    return home / "Tillwise";
}

void remember_farm_folder(SettingsStore &store, const std::filesystem::path &folder)
{
    store.write_string(kFarmFolderSection, kFarmFolderKey, folder.string());
}

std::vector<std::string> open_farm_folder(const std::filesystem::path &folder)
{
    std::vector<std::string> failed;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder, ec)) {
        failed.push_back(folder.string());
        for (const DefaultFile &seed : farm_seeds())
            failed.push_back(seed.name);
        return failed;
    }
    set_work_dir(folder);
    return create_missing_files(farm_seeds());
}

} // namespace tw
