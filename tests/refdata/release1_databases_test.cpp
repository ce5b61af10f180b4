#include "platform/files.h"
#include "platform/record_codec.h"
#include "refdata/database.h"
#include "refdata/release_migration.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <functional>

namespace tw {
namespace {

using namespace codec;

CropRecord crop_with_every_flag()
{
    CropRecord c;
    db_InitCrop(c, 3);
    c.name = "ALFALFA";
    c.hybrid = "DORMANT";
    c.planting_depth = 12.5f;
    c.max_root_depth = 1500.0f;
    c.gdd_min_temp = 5.0f;
    c.gdd_max_temp = 28.0f;
    c.kc_after[3] = 0.95;
    c.yield_units = "Tons/Acre";
    c.k_levels = {70, 45, 20};
    c.stage_count = 6;
    c.stages[5] = {"Regrowth", StageOrdinary, 0.55f, 40, 400};
    return c;
}

StationRecord station_named(const std::string &name)
{
    StationRecord s;
    s.name = name;
    s.elevation = 1500;
    s.latitude = 40.5f;
    s.pressure = 850.25f;
    s.warm_month_tmin = 13.5f;
    s.warm_month_tmax = 31.0f;
    s.jh_ct = 0.025f;
    s.jh_tx = -9.5f;
    s.anemometer_height = 3.0f;
    s.reference_type = 1;
    s.delta_t = 0.5f;
    s.k_zero = 0.25f;
    return s;
}

TEST(Release1Records, CropIsLaidOutAtTheEarlierOffsetsWithItsOwnFlags)
{
    const CropRecord c = crop_with_every_flag();
    const auto b = encode_crop(c, CropLayout::Release1);
    ASSERT_EQ(b.size(), 928u);
    EXPECT_EQ(get_text(b, 4, 20), "ALFALFA");
    EXPECT_EQ(get_text(b, 24, 20), "DORMANT");
    EXPECT_EQ(get_f32(b, 44), 12.5f);
    EXPECT_EQ(get_f32(b, 48), 1500.0f);
    EXPECT_EQ(get_f32(b, 52), 5.0f);
    EXPECT_EQ(get_f32(b, 56), 28.0f);
    EXPECT_EQ(get_i32(b, 60), 0) << "alignment padding";
    EXPECT_EQ(get_f64(b, 64), c.kc_before[0]);
    EXPECT_EQ(get_f64(b, 120), 0.95);
    EXPECT_EQ(get_text(b, 128, 12), "Tons/Acre");
    EXPECT_EQ(get_i32(b, 200), 20);
    EXPECT_EQ(get_i32(b, 204), 6);
    // Planting, Emergence, Full Cover, Stop Irrigating, Harvest, then an ordinary stage.
    const std::int32_t old_flags[] = {4, 1, 2, 3, 5, 0};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(get_text(b, 208 + 36 * i, 20), c.stages[i].name);
        EXPECT_EQ(get_i32(b, 208 + 36 * i + 20), old_flags[i]) << i;
        EXPECT_EQ(get_f32(b, 208 + 36 * i + 32), c.stages[i].end_gdd);
    }

    CropRecord back = decode_crop(b, CropLayout::Release1);
    EXPECT_EQ(back.max_harvests, 1) << "the earlier release had one harvest a season";
    back.max_harvests = c.max_harvests;
    EXPECT_EQ(encode_crop(back), encode_crop(c));
}

TEST(Release1Records, StagesBeyondTheEarlierCapacityAreNeitherWrittenNorRead)
{
    CropRecord c = crop_with_every_flag();
    c.stage_count = 30;
    for (std::size_t i = 0; i < 30; ++i)
        c.stages[i].name = "S" + std::to_string(i);
    const auto b = encode_crop(c, CropLayout::Release1);
    EXPECT_EQ(get_i32(b, 204), 20);
    EXPECT_EQ(decode_crop(b, CropLayout::Release1).stage_count, 20);

    auto damaged = b;
    put_i32(damaged, 204, 50);
    const CropRecord read = decode_crop(damaged, CropLayout::Release1);
    EXPECT_EQ(read.stage_count, 20);
    EXPECT_EQ(read.stages[19].name, "S19");
    EXPECT_TRUE(read.stages[20].name.empty());
}

TEST(Release1Records, FlagsMapBothWaysAndUnknownOnesStay)
{
    const std::pair<std::int32_t, std::int32_t> old_to_new[] = {{0, StageOrdinary},
                                                                {1, StageEmergence},
                                                                {2, StageFullCover},
                                                                {3, StageStopIrrigating},
                                                                {4, StagePlanting},
                                                                {5, StageHarvest},
                                                                {6, 6},
                                                                {-1, -1}};
    for (const auto &[old_flag, new_flag] : old_to_new) {
        EXPECT_EQ(stage_flag_from_release1(old_flag), new_flag) << old_flag;
        EXPECT_EQ(stage_flag_to_release1(new_flag), old_flag) << new_flag;
    }
}

TEST(Release1Records, StationIsTheFirst52BytesAndReadsWithTheAssumedWindAndReference)
{
    const StationRecord s = station_named("Greeley");
    const auto b = encode_station(s, StationLayout::Release1);
    ASSERT_EQ(b.size(), 52u);
    const auto full = encode_station(s);
    EXPECT_TRUE(std::equal(b.begin(), b.end(), full.begin()));

    const StationRecord back = decode_station(b, StationLayout::Release1);
    EXPECT_EQ(back.name, "Greeley");
    EXPECT_EQ(back.jh_tx, -9.5f);
    EXPECT_EQ(back.anemometer_height, 2.0f);
    EXPECT_EQ(back.reference_type, 2);
    EXPECT_EQ(back.delta_t, 0.0f);
    EXPECT_EQ(back.k_zero, 0.0f);
}

struct Release1Files : ::testing::Test
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;

    // Writes the databases as the earlier release saved them.
    void write_release1(const std::vector<CropRecord> &crops,
                        const std::vector<StationRecord> &stations)
    {
        test::ScopedEdition earlier(release1());
        ASSERT_TRUE(db_Write(DbCrops, crops));
        ASSERT_TRUE(db_Write(DbStations, stations));
    }
    std::vector<std::uint8_t> bytes(const char *name)
    {
        return read_file(dir.file(name)).value_or(std::vector<std::uint8_t>{});
    }
};

TEST_F(Release1Files, TheCurrentReleaseRefusesThemAndSuggestsTheMigration)
{
    write_release1({crop_with_every_flag(), crop_with_every_flag()},
                   {station_named("A"), station_named("B"), station_named("C")});
    const auto old_crops = bytes("crop.db");
    ASSERT_EQ(old_crops.size(), 2 * 928u);

    EXPECT_TRUE(load_crops().empty());
    EXPECT_TRUE(load_stations().empty());
    ASSERT_EQ(messages->texts().size(), 2u);
    for (const std::string &text : messages->texts()) {
        EXPECT_NE(text.find(dir.path().string()), std::string::npos) << text;
        EXPECT_NE(text.find("tillwise-cli db migrate --from-release 1"), std::string::npos);
    }
    EXPECT_NE(messages->texts()[0].find("crop.db is not a crop database of Tillwise: its 1856 "
                                        "bytes are not a whole number of 2008-byte records."),
              std::string::npos);

    // Nor does a save from an editor that was refused the records replace them.
    EXPECT_FALSE(db_Write(DbCrops, std::vector<CropRecord>{crop_with_every_flag()}));
    EXPECT_EQ(bytes("crop.db"), old_crops);

    // A size that fits neither layout is refused without the suggestion.
    messages->clear();
    std::vector<std::uint8_t> odd(1000, 7);
    ASSERT_TRUE(write_file_atomic(dir.file("crop.db"), odd));
    EXPECT_FALSE(db_Open(DbCrops));
    ASSERT_EQ(messages->texts().size(), 1u);
    EXPECT_EQ(messages->texts()[0].find("migrate"), std::string::npos);
    EXPECT_EQ(bytes("crop.db"), odd);
}

TEST_F(Release1Files, ASizeThatFitsBothLayoutsIsToldApartByTheRecords)
{
    // 17 earlier stations and 13 current ones are both 884 bytes.
    std::vector<StationRecord> stations;
    for (int i = 0; i < 17; ++i)
        stations.push_back(station_named("Station " + std::to_string(i)));
    write_release1({crop_with_every_flag()}, stations);
    ASSERT_EQ(bytes("station.db").size(), 884u);
    EXPECT_TRUE(load_stations().empty());
    ASSERT_EQ(messages->texts().size(), 1u);
    EXPECT_NE(messages->texts()[0].find("are not 68-byte records"), std::string::npos);
    EXPECT_NE(messages->texts()[0].find("db migrate --from-release 1"), std::string::npos);
    {
        test::ScopedEdition earlier(release1());
        EXPECT_EQ(load_stations().size(), 17u);
    }

    messages->clear();
    ASSERT_TRUE(write_file_atomic(dir.file("station.db"), {}));
    ASSERT_TRUE(db_Write(DbStations, std::vector<StationRecord>(13, station_named("Current"))));
    ASSERT_EQ(bytes("station.db").size(), 884u);
    EXPECT_EQ(load_stations().size(), 13u);
    EXPECT_TRUE(messages->texts().empty());
}

TEST_F(Release1Files, MigrationKeepsEveryRecordFieldForFieldAndTheOldFiles)
{
    const std::vector<CropRecord> crops = {crop_with_every_flag()};
    const std::vector<StationRecord> stations = {station_named("Akron"), station_named("Wray")};
    write_release1(crops, stations);
    std::vector<CropRecord> before_crops;
    std::vector<StationRecord> before_stations;
    {
        test::ScopedEdition earlier(release1());
        before_crops = load_crops();
        before_stations = load_stations();
    }
    const auto old_crops = bytes("crop.db");
    const auto old_stations = bytes("station.db");

    const MigrationResult result = migrate_release1_databases(dir.path());
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.migrated.size(), 2u);
    EXPECT_EQ(result.migrated[1].records, 2u);
    EXPECT_EQ(result.migrated[1].new_bytes, 2 * 68u);
    EXPECT_EQ(bytes("crop.db.release1"), old_crops);
    EXPECT_EQ(bytes("station.db.release1"), old_stations);

    const auto after_crops = load_crops();
    const auto after_stations = load_stations();
    EXPECT_TRUE(messages->texts().empty());
    ASSERT_EQ(after_crops.size(), 1u);
    EXPECT_EQ(encode_crop(after_crops[0]), encode_crop(before_crops[0]));
    EXPECT_EQ(after_crops[0].stages[0].flag, StagePlanting);
    EXPECT_EQ(after_crops[0].max_harvests, 1);
    ASSERT_EQ(after_stations.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(encode_station(after_stations[i]), encode_station(before_stations[i]));
    EXPECT_EQ(after_stations[0].anemometer_height, 2.0f);
    EXPECT_EQ(after_stations[0].reference_type, 2);

    // Run again, the files are the current layout and nothing is touched.
    const auto new_crops = bytes("crop.db");
    EXPECT_FALSE(migrate_release1_databases(dir.path()).ok);
    EXPECT_EQ(bytes("crop.db"), new_crops);
    EXPECT_EQ(bytes("crop.db.release1"), old_crops);
}

TEST_F(Release1Files, MigrationChangesNothingWhenEitherFileCannotBeMigrated)
{
    write_release1({crop_with_every_flag()}, {station_named("Akron")});
    const auto crops = bytes("crop.db");
    struct Case
    {
        const char *what;
        std::function<void()> spoil;
        const char *error_part;
    };
    const Case cases[] = {
        {"station of a partial record",
         [&] { ASSERT_TRUE(write_file_atomic(dir.file("station.db"), std::vector<uint8_t>(60))); },
         "not a whole number of 52-byte records"},
        {"backup name taken",
         [&] {
             ASSERT_TRUE(write_file_atomic(dir.file("station.db"), std::vector<uint8_t>(52)));
             ASSERT_TRUE(write_file_atomic(dir.file("station.db.release1"), {}));
         },
         "station.db.release1 is there already"},
    };
    for (const Case &c : cases) {
        c.spoil();
        const auto stations = bytes("station.db");
        const MigrationResult result = migrate_release1_databases(dir.path());
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_NE(result.error.find(c.error_part), std::string::npos) << result.error;
        EXPECT_TRUE(result.migrated.empty());
        EXPECT_EQ(bytes("crop.db"), crops) << c.what;
        EXPECT_EQ(bytes("station.db"), stations) << c.what;
        EXPECT_FALSE(file_exists(dir.file("crop.db.release1"))) << c.what;
    }
}

} // namespace
} // namespace tw
