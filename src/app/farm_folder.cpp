#include "app/farm_folder.h"

#include "fertility/knowledge_files.h"
#include "fertility/mass_balance_table.h"
#include "fertility/source_library.h"
#include "platform/edition.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/settings_store.h"
#include "platform/work_dir.h"
#include "refdata/complete_crops.h"
#include "refdata/custom_settings.h"
#include "refdata/database.h"

#include <functional>
#include <system_error>

namespace tw {
namespace {

bool write_image(const char *name, const std::vector<std::uint8_t> &bytes)
{
    return write_file_atomic(work_file(name), bytes);
}

struct Seed
{
    const char *name;
    std::function<bool()> create;
};

bool is_release1()
{
    return edition().release == 1;
}

/// Every file a new farm needs, with the program's own defaults; a new farm of the current
/// release starts with every shipped crop rather than Corn alone. The earlier release's records
/// have no room for the perennials and long stage lists of the complete database.
std::vector<Seed> farm_seeds()
{
    return {
        {"soil.db", [] { return db_CreateSoils().has_value(); }},
        {"crop.db",
         [] { return is_release1() ? db_CreateCrops().has_value() : write_complete_crop_db(); }},
        {"station.db", [] { return db_CreateStation().has_value(); }},
        {"custom.con",
         [] {
             const CustomSettingsImage image = encode_custom_settings(CustomSettings{});
             return write_image("custom.con", {image.begin(), image.end()});
         }},
        {"METHOD_2.KB", [] { return kb_CreateNMethod2Table().has_value(); }},
        {"N_FERT.LIB", [] { return lib_CreateNSourceLib().has_value(); }},
        {"P_FERT.LIB", [] { return lib_CreatePSourceLib().has_value(); }},
        {"K_FERT.LIB", [] { return lib_CreateKSourceLib().has_value(); }},
        {"INPUT.KB", [] { return write_image("INPUT.KB", default_input_kb_image()); }},
        {"REC.KB", [] { return write_image("REC.KB", default_rec_kb_image()); }},
    };
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
        for (const Seed &seed : farm_seeds())
            failed.push_back(seed.name);
        return failed;
    }
    set_work_dir(folder);
    // The creators tell of the missing file they replace; a new farm is expected to lack them.
    RecordingMessagePort quiet;
    MessagePort *previous = set_messages(&quiet);
    for (const Seed &seed : farm_seeds()) {
        if (!file_exists(work_file(seed.name)) && !seed.create())
            failed.push_back(seed.name);
    }
    set_messages(previous);
    return failed;
}

} // namespace tw
