#include "app/farm_folder.h"

#include "fertility/source_library.h"
#include "platform/edition.h"
#include "platform/files.h"
#include "platform/settings_store.h"
#include "platform/work_dir.h"
#include "refdata/complete_crops.h"
#include "refdata/custom_settings.h"
#include "refdata/database.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(FarmFolder, RememberedFolderElseTillwiseInHome)
{
    MemorySettingsStore store;
    EXPECT_EQ(farm_folder(store, "/home/ann"), std::filesystem::path("/home/ann/Tillwise"));
    remember_farm_folder(store, "/srv/farms/north");
    EXPECT_EQ(farm_folder(store, "/home/ann"), std::filesystem::path("/srv/farms/north"));
}

TEST(FarmFolder, NewFolderIsSeededWithoutAnyBoxAndKeepsWhatIsThere)
{
    test::ScopedWorkDir scratch;
    test::ScopedMessages messages;
    test::ScopedSettings settings;
    const std::filesystem::path farm = scratch.file("farms/north");
    ASSERT_TRUE(open_farm_folder(farm).empty());
    EXPECT_EQ(work_dir(), farm);
    for (const char *name : {"soil.db", "crop.db", "station.db", "custom.con", "METHOD_2.KB",
                             "N_FERT.LIB", "P_FERT.LIB", "K_FERT.LIB", "INPUT.KB", "REC.KB"})
        EXPECT_TRUE(file_exists(farm / name)) << name;
    EXPECT_TRUE(messages->texts().empty());

    // The files read back without a missing-file box.
    load_custom_settings();
    EXPECT_FALSE(load_soils().empty());
    EXPECT_EQ(load_crops().size(), complete_crops().size()); // every shipped crop, not Corn alone
    EXPECT_FALSE(lib_Open(LibNitrogen).empty());
    EXPECT_TRUE(messages->texts().empty()) << messages->texts().front();

    // A second start leaves the farm's own files alone.
    const std::vector<std::uint8_t> mine = {1, 2, 3};
    ASSERT_TRUE(write_file_atomic(farm / "soil.db", mine));
    ASSERT_TRUE(open_farm_folder(farm).empty());
    EXPECT_EQ(read_file(farm / "soil.db"), mine);
}

// The earlier release cannot read the current release's crop and station databases: it keeps a
// folder of its own, seeded with its own 928-byte crops and 52-byte stations, and its first start
// meets no missing-file box.
TEST(FarmFolder, TheEarlierReleaseHasAFolderOfItsOwn)
{
    test::ScopedEdition earlier(release1());
    test::ScopedWorkDir scratch;
    test::ScopedMessages messages;
    test::ScopedSettings settings;
    MemorySettingsStore store;
    {
        test::ScopedEdition current(current_release());
        remember_farm_folder(store, "/srv/farms/north");
    }
    EXPECT_EQ(farm_folder(store, "/home/ann"), std::filesystem::path("/home/ann/Tillwise1"));
    remember_farm_folder(store, "/srv/farms/north-1");
    EXPECT_EQ(farm_folder(store, "/home/ann"), std::filesystem::path("/srv/farms/north-1"));
    {
        test::ScopedEdition current(current_release());
        EXPECT_EQ(farm_folder(store, "/home/ann"), std::filesystem::path("/srv/farms/north"));
    }

    const std::filesystem::path farm = scratch.file("Tillwise1");
    ASSERT_TRUE(open_farm_folder(farm).empty());
    const auto crop_bytes = read_file(farm / "crop.db");
    const auto station_bytes = read_file(farm / "station.db");
    ASSERT_TRUE(crop_bytes && station_bytes);
    EXPECT_EQ(crop_bytes->size() % kRelease1CropRecordSize, 0u);
    EXPECT_EQ(station_bytes->size() % kRelease1StationRecordSize, 0u);
    EXPECT_TRUE(messages->texts().empty());
    EXPECT_FALSE(load_crops().empty());
    EXPECT_FALSE(load_stations().empty());
    EXPECT_TRUE(messages->texts().empty()) << messages->texts().front();
}

TEST(FarmFolder, FolderThatCannotBeMadeNamesItAndKeepsTheWorkingDirectory)
{
    test::ScopedWorkDir scratch;
    ASSERT_TRUE(write_file_atomic(scratch.file("plain"), std::vector<std::uint8_t>{0}));
    const std::vector<std::string> failed = open_farm_folder(scratch.file("plain") / "farm");
    ASSERT_FALSE(failed.empty());
    EXPECT_EQ(failed.front(), (scratch.file("plain") / "farm").string());
    EXPECT_EQ(work_dir(), scratch.path());
}

} // namespace
} // namespace tw
