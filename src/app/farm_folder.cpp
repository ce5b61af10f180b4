#include "app/farm_folder.h"

#include "fertility/default_files.h"
#include "platform/edition.h"
#include "platform/settings_store.h"
#include "platform/work_dir.h"
#include "refdata/complete_crops.h"
#include "refdata/database.h"

#include <system_error>
#include <utility>

namespace tw {
namespace {

bool is_release1()
{
    return edition().release == 1;
}

/// Every file a new farm needs, with the program's own defaults; a new farm of the current
/// release starts with every shipped crop rather than Corn alone. The earlier release's records
/// have no room for the perennials and long stage lists of the complete database.
std::vector<DefaultFile> farm_seeds()
{
    std::vector<DefaultFile> seeds = {
        {"soil.db", [] { return db_CreateSoils().has_value(); }},
        {"crop.db",
         [] { return is_release1() ? db_CreateCrops().has_value() : write_complete_crop_db(); }},
        {"station.db", [] { return db_CreateStation().has_value(); }},
    };
    for (DefaultFile &file : preference_and_knowledge_files())
        seeds.push_back(std::move(file));
    return seeds;
}

} // namespace

// The two releases' crop and station databases cannot share a folder, so each release keeps a
// farm folder, and remembers it, of its own.
std::string_view farm_folder_key()
{
    return is_release1() ? kRelease1FarmFolderKey : kFarmFolderKey;
}

std::filesystem::path farm_folder(const SettingsStore &store, const std::filesystem::path &home)
{
    if (const auto stored = store.read_string(kFarmFolderSection, farm_folder_key());
        stored && !stored->empty())
        return *stored;
    return home / (is_release1() ? "Tillwise1" : "Tillwise");
}

void remember_farm_folder(SettingsStore &store, const std::filesystem::path &folder)
{
    store.write_string(kFarmFolderSection, farm_folder_key(), folder.string());
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
