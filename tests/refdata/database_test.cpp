#include "refdata/database.h"

#include "platform/files.h"
#include "platform/record_codec.h"
#include "platform/work_dir.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tw {
namespace {

using Texts = std::vector<std::string>;

const std::string kSoilNotice =
    "Can't Find Soil Database File!!\nCreating a New Database with Default Soils.";
const std::string kStationNotice =
    "Can't Find Station Database File!!\nCreating a New Database with Default Stations.";
const std::string kCropNotice =
    "Can't Find Crop Database File!!\nCreating default crop.db with only Corn Information. \n You "
    "should exit Tillwise now and replace crop.db with the complete crop database file!";

std::vector<std::uint8_t> file_bytes(const std::filesystem::path &path)
{
    return read_file(path).value_or(std::vector<std::uint8_t>{});
}

void write_bytes(const std::filesystem::path &path, const std::vector<std::uint8_t> &bytes)
{
    ASSERT_TRUE(write_file_atomic(path, bytes));
}

template<class Record>
std::vector<std::string> names_of(const std::vector<Record> &records)
{
    std::vector<std::string> names;
    for (const Record &r : records)
        names.push_back(r.name);
    return names;
}

std::vector<SoilRecord> soils_named(const Texts &names)
{
    std::vector<SoilRecord> soils;
    for (const std::string &n : names)
        soils.push_back({static_cast<std::int32_t>(soils.size()), n, "type", 0.3f, 0.1f, 0.2f});
    return soils;
}

TEST(Database, MissingFilesAreCreatedWithTheirDefaultsAfterTheNotice)
{
    struct Case
    {
        std::int32_t kind;
        std::string notice;
        std::uintmax_t file_size;
        std::int32_t records;
    };
    const Case cases[] = {
        {DbSoils, kSoilNotice, 624, 13},
        {DbCrops, kCropNotice, 2008, 1},
        {DbStations, kStationNotice, 1700, 25},
    };
    for (const Case &c : cases) {
        test::ScopedWorkDir dir;
        test::ScopedMessages messages;
        auto stream = db_Open(c.kind);
        ASSERT_TRUE(stream) << c.kind;
        EXPECT_EQ(messages->texts(), Texts{c.notice});
        EXPECT_EQ(size_of_file(work_file(db_file_name(c.kind))), c.file_size);
        EXPECT_EQ(stream->position(), 0u);
        EXPECT_EQ(db_GetSize(c.kind, *stream), c.records);

        messages->clear();
        auto again = db_Open(c.kind);
        ASSERT_TRUE(again);
        EXPECT_EQ(db_GetSize(c.kind, *again), c.records);
        EXPECT_TRUE(messages->texts().empty()) << "an existing file is never re-created";
    }
}

TEST(Database, DefaultSoilsAndStationsHoldTheirTables)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    const auto soils = load_soils();
    ASSERT_EQ(soils.size(), 13u);
    EXPECT_EQ(names_of(soils).front(), "Clay");
    EXPECT_EQ(names_of(soils).back(), "Silty Loam");
    const SoilRecord &loam = soils[3];
    EXPECT_EQ(loam.index, 3);
    EXPECT_EQ(loam.name, "Loam");
    EXPECT_EQ(loam.type, "Loam");
    EXPECT_EQ(loam.sm_fc, 0.3425f);
    EXPECT_EQ(loam.sm_pwp, 0.1333f);
    EXPECT_EQ(loam.awhc, 0.2092f);

    const auto stations = load_stations();
    ASSERT_EQ(stations.size(), 25u);
    // The defaults keep their own order, not the sorted one.
    EXPECT_EQ(stations[8].name, "Fruita");
    EXPECT_EQ(stations[9].name, "Fort Collins");
    const StationRecord &kansas = stations[24];
    EXPECT_EQ(kansas.name, "Kansas");
    EXPECT_EQ(kansas.elevation, 674.0f);
    EXPECT_EQ(kansas.latitude, 37.9f);
    EXPECT_EQ(kansas.pressure, 960.0f);
    EXPECT_EQ(kansas.warm_month_tmin, 15.5f);
    EXPECT_EQ(kansas.warm_month_tmax, 32.2f);
    EXPECT_EQ(kansas.jh_ct, 0.028f);
    EXPECT_EQ(kansas.jh_tx, -10.78f);
    for (const StationRecord &s : stations) {
        EXPECT_EQ(s.anemometer_height, 2.0f) << s.name;
        EXPECT_EQ(s.reference_type, 2) << s.name;
        EXPECT_EQ(s.delta_t, 0.0f) << s.name;
        EXPECT_EQ(s.k_zero, 0.0f) << s.name;
    }
}

TEST(Database, DefaultCornIsStoredWithIndexOneAndReadAsSlotZero)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    const auto crops = load_crops();
    ASSERT_EQ(crops.size(), 1u);
    EXPECT_EQ(codec::get_i32(file_bytes(work_file("crop.db")), 0), 1);
    const CropRecord &corn = crops[0];
    EXPECT_EQ(corn.index, 0);
    EXPECT_EQ(corn.name, "CORN");
    EXPECT_EQ(corn.hybrid, "MIDSEASON");
    EXPECT_EQ(corn.max_harvests, 1);
    EXPECT_EQ(corn.planting_depth, 50.0f);
    EXPECT_EQ(corn.max_root_depth, 1200.0f);
    EXPECT_EQ(corn.gdd_min_temp, 10.0f);
    EXPECT_EQ(corn.gdd_max_temp, 30.0f);
    EXPECT_EQ(corn.kc_before, (KcPolynomial{-2.7, 4.52, -1.1, 0.332}));
    EXPECT_NEAR(corn.kc_after[0], -9.3e-8, 1e-22);
    EXPECT_NEAR(corn.kc_after[1], -2.1e-4, 1e-18);
    EXPECT_NEAR(corn.kc_after[2], 4.71e-3, 1e-17);
    EXPECT_EQ(corn.kc_after[3], 1.04);
    EXPECT_EQ(corn.yield_units, "BU/Acre");
    EXPECT_EQ(corn.n_requirement, 0.9f);
    EXPECT_EQ(corn.average_yield, 150);
    EXPECT_EQ(corn.plant_population, 36);
    EXPECT_EQ(corn.yield_b0, -12.7f);
    EXPECT_EQ(corn.efficiency, (std::array<std::int32_t, 6>{50, 50, 100, 90, 90, 90}));
    EXPECT_EQ(corn.p_levels, (std::array<std::int32_t, 3>{80, 50, 30}));
    EXPECT_EQ(corn.k_levels, (std::array<std::int32_t, 3>{60, 40, 30}));
    ASSERT_EQ(corn.stage_count, 12);
    EXPECT_EQ(corn.stages[1].name, "VE: Emergence");
    EXPECT_EQ(corn.stages[1].flag, StageEmergence);
    EXPECT_EQ(corn.stages[1].end_gdd, 39.0f);
    EXPECT_EQ(corn.stages[5].flag, StageFullCover);
    EXPECT_EQ(corn.stages[10].flag, StageStopIrrigating);
    EXPECT_EQ(corn.stages[11].name, "Harvest");
    EXPECT_EQ(corn.stages[11].flag, StageHarvest);
    EXPECT_EQ(corn.stages[11].end_day, 122.0f);
    EXPECT_EQ(corn.stages[11].end_gdd, 1426.0f);
    EXPECT_EQ(corn.stages[12].name, "");
    EXPECT_EQ(corn.stages[12].end_gdd, 0.0f);
}

TEST(Database, NewCropTemplateIsCornWithoutNamesAndWithFiveStages)
{
    CropRecord crop;
    crop.name = "leftover";
    crop.stages[30].name = "leftover";
    crop.stages[30].end_day = 99;
    db_InitCrop(crop, 1);
    EXPECT_EQ(crop.index, 0);
    EXPECT_EQ(crop.name, "");
    EXPECT_EQ(crop.hybrid, "");
    EXPECT_EQ(crop.max_harvests, 1);
    EXPECT_EQ(crop.max_root_depth, 1200.0f);
    EXPECT_EQ(crop.yield_units, "BU/Acre");
    EXPECT_EQ(crop.k_levels[0], 60);
    ASSERT_EQ(crop.stage_count, 5);
    struct Stage
    {
        std::string name;
        std::int32_t flag;
        float depletion, day, gdd;
    };
    const Stage expected[] = {{"Planting", 1, 0.2f, 0, 0},
                              {"Emergence", 2, 0.2f, 10, 100},
                              {"Full Cover", 3, 0.5f, 20, 250},
                              {"Stop Irrigating", 4, 0.5f, 30, 300},
                              {"Harvest", 5, 0.5f, 31, 320}};
    for (std::size_t i = 0; i < 5; ++i) {
        const GrowthStage &s = crop.stages[i];
        EXPECT_EQ(s.name, expected[i].name);
        EXPECT_EQ(s.flag, expected[i].flag) << s.name;
        EXPECT_EQ(s.allowable_depletion, expected[i].depletion) << s.name;
        EXPECT_EQ(s.end_day, expected[i].day) << s.name;
        EXPECT_EQ(s.end_gdd, expected[i].gdd) << s.name;
    }
    for (std::size_t i = 5; i < kMaxStages; ++i) {
        EXPECT_EQ(crop.stages[i].name, "") << i;
        EXPECT_EQ(crop.stages[i].end_day, 0.0f) << i;
    }
    db_InitCrop(crop, 3);
    EXPECT_EQ(crop.max_harvests, 3);
}

TEST(Database, AnEmptyFileIsZeroRecordsAndIsNotRecreated)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    write_bytes(dir.file("soil.db"), {});
    EXPECT_TRUE(load_soils().empty());
    EXPECT_TRUE(messages->texts().empty());
    EXPECT_EQ(size_of_file(dir.file("soil.db")), 0u);
}

TEST(Database, WholeRecordsAreReadAndATrailingPartialOneIgnored)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    ASSERT_TRUE(db_Write(DbSoils, soils_named({"Adobe", "Loam", "Silt"})));
    auto bytes = file_bytes(dir.file("soil.db"));
    bytes.resize(100);
    write_bytes(dir.file("soil.db"), bytes);

    auto stream = db_Open(DbSoils);
    ASSERT_TRUE(stream);
    ASSERT_EQ(db_GetSize(DbSoils, *stream), 2);
    const auto soils = std::get<std::vector<SoilRecord>>(db_Read(DbSoils, *stream, 2));
    EXPECT_EQ(names_of(soils), (Texts{"Adobe", "Loam"}));
    EXPECT_EQ(stream->remaining(), 4u);
    EXPECT_TRUE(messages->texts().empty());
    EXPECT_EQ(size_of_file(dir.file("soil.db")), 100u) << "reading never writes";
}

TEST(Database, ReadingRenumbersTheIndexesInFileOrder)
{
    test::ScopedWorkDir dir;
    auto soils = soils_named({"b", "a", "c"});
    soils[0].index = 7;
    soils[1].index = -3;
    soils[2].index = 99;
    ASSERT_TRUE(db_Write(DbSoils, soils));
    EXPECT_EQ(codec::get_i32(file_bytes(dir.file("soil.db")), kSoilRecordSize), -3)
        << "a write keeps the indexes it is given";
    const auto read = load_soils();
    ASSERT_EQ(read.size(), 3u);
    for (std::int32_t i = 0; i < 3; ++i)
        EXPECT_EQ(read[static_cast<std::size_t>(i)].index, i);
    EXPECT_EQ(names_of(read), (Texts{"b", "a", "c"}));
}

TEST(Database, AReadPastTheRecordsStopsWithTheReadError)
{
    struct Case
    {
        std::int32_t kind;
        std::int32_t count;
        std::size_t records;
        Texts messages;
    };
    const Case cases[] = {
        {DbSoils, 5, 3, {"Error Reading Soil Database in [db_Read()]!!"}},
        {DbCrops, 2, 1, {"Error Reading Crop Database in [db_Read()]!!"}},
        {DbStations, 1 << 30, 25, {"Error Reading Station Database in [db_Read()]!!"}},
        {DbSoils, -4, 0, {}},
        {DbSoils, 0, 0, {}},
    };
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    ASSERT_TRUE(db_Write(DbSoils, soils_named({"a", "b", "c"})));
    load_crops();
    load_stations();
    for (const Case &c : cases) {
        messages->clear();
        auto stream = db_Open(c.kind);
        ASSERT_TRUE(stream);
        const DbRecords records = db_Read(c.kind, *stream, c.count);
        ASSERT_EQ(records.index(), static_cast<std::size_t>(c.kind));
        const std::size_t read = std::visit(
            [](const auto &r) -> std::size_t {
                if constexpr (std::is_same_v<std::decay_t<decltype(r)>, std::monostate>)
                    return 0;
                else
                    return r.size();
            },
            records);
        EXPECT_EQ(read, c.records) << c.kind << " " << c.count;
        EXPECT_EQ(messages->texts(), c.messages) << c.kind << " " << c.count;
    }
}

TEST(Database, AnyContentOfAnySizeOpensWithoutHarm)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    std::mt19937 random(20240501);
    // Crops and stations of a size that is not a whole number of records are refused (and said
    // so); soils keep ignoring a trailing partial record.
    std::size_t refusals = 0;
    for (std::size_t size : {1u, 47u, 48u, 2007u, 2009u, 4016u, 6817u, 6800u}) {
        std::vector<std::uint8_t> bytes(size);
        for (auto &b : bytes)
            b = static_cast<std::uint8_t>(random());
        for (const char *name : {"soil.db", "crop.db", "station.db"})
            write_bytes(dir.file(name), bytes);
        EXPECT_EQ(load_soils().size(), size / kSoilRecordSize);
        const auto crops = load_crops();
        EXPECT_EQ(crops.size(), size % kCropRecordSize ? 0 : size / kCropRecordSize);
        for (const CropRecord &c : crops) {
            EXPECT_GE(c.stage_count, 0);
            EXPECT_LE(c.stage_count, static_cast<std::int32_t>(kMaxStages));
        }
        EXPECT_EQ(load_stations().size(),
                  size % kStationRecordSize ? 0 : size / kStationRecordSize);
        refusals += (size % kCropRecordSize != 0) + (size % kStationRecordSize != 0);
        EXPECT_EQ(read_file(dir.file("crop.db")), bytes);
        EXPECT_EQ(read_file(dir.file("station.db")), bytes);
    }
    EXPECT_EQ(messages->texts().size(), refusals);
}

TEST(Database, StoredStageCountsAreBroughtIntoRange)
{
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {12, 12}, {0, 0}, {50, 50}, {51, 50}, {1000000, 50}, {-1, 0}, {INT32_MIN, 0}};
    for (const auto &[stored, used] : cases) {
        CropRecord crop;
        crop.stage_count = stored;
        EXPECT_EQ(decode_crop(encode_crop(crop)).stage_count, used) << stored;
    }
}

TEST(Database, SortOrdersNamesByTheirStoredBytes)
{
    struct Case
    {
        Texts names;
        Texts sorted;
    };
    const Case cases[] = {
        {{"Sandy Loam", "Clay", "sand", "Sand"}, {"Clay", "Sand", "Sandy Loam", "sand"}},
        {{"Loam", "Adobe", "adobe", "Clay"}, {"Adobe", "Clay", "Loam", "adobe"}},
        {{}, {}},
        {{"only"}, {"only"}},
        {{"b", "a"}, {"a", "b"}},
        {{"x", "x", "x"}, {"x", "x", "x"}},
        // The Windows-1252 bytes order them, not UTF-8: the euro sign is 0x80, é is 0xE9, ~ 0x7E.
        {{"\u00E9t\u00E9", "\u20ACuro", "~"}, {"~", "\u20ACuro", "\u00E9t\u00E9"}},
        // The names as stored, cut to 15 characters, are compared: these two are equal, and the
        // quicksort swaps equal records.
        {{"Silty Clay LoamA", "Silty Clay LoamZ"}, {"Silty Clay LoamZ", "Silty Clay LoamA"}},
    };
    for (const Case &c : cases) {
        auto soils = soils_named(c.names);
        db_Sort(DbSoils, soils);
        EXPECT_EQ(names_of(soils), c.sorted);
    }
}

TEST(Database, SortMovesWholeRecordsAndKeepsTheirIndexes)
{
    auto soils = soils_named({"Sandy Loam", "Clay", "sand", "Sand"});
    soils[1].sm_fc = 0.41f;
    db_Sort(DbSoils, soils);
    EXPECT_EQ(soils[0].name, "Clay");
    EXPECT_EQ(soils[0].index, 1);
    EXPECT_EQ(soils[0].sm_fc, 0.41f);

    std::vector<StationRecord> stations(3);
    stations[0].name = "Wray";
    stations[1].name = "Akron";
    stations[2].name = "Holly";
    db_Sort(DbStations, stations);
    EXPECT_EQ(names_of(stations), (Texts{"Akron", "Holly", "Wray"}));

    std::vector<CropRecord> crops(2);
    crops[0].name = "WHEAT";
    crops[1].name = "CORN";
    db_Sort(DbCrops, crops);
    EXPECT_EQ(names_of(crops), (Texts{"CORN", "WHEAT"}));
}

TEST(Database, SortOfManyRecordsAgreesWithAByteOrder)
{
    std::mt19937 random(7);
    Texts names;
    for (int i = 0; i < 20000; ++i) {
        std::string name;
        for (std::size_t n = 1 + random() % 6; n > 0; --n)
            name += static_cast<char>('A' + random() % 4 + (random() % 2) * 32);
        names.push_back(name);
    }
    // Already sorted input, a classic worst case for a careless quicksort, must be fine too.
    for (int pass = 0; pass < 2; ++pass) {
        auto soils = soils_named(names);
        db_Sort(DbSoils, soils);
        Texts expected = names;
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(names_of(soils), expected);
        names = expected;
    }
}

TEST(Database, UnknownKindsReportTheirSwitchAndYieldNothing)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    DbStream stream({1, 2, 3});
    for (std::int32_t kind : {0, 4, -1}) {
        messages->clear();
        EXPECT_FALSE(db_Open(kind));
        EXPECT_EQ(db_GetSize(kind, stream), 0);
        EXPECT_TRUE(std::holds_alternative<std::monostate>(db_Read(kind, stream, 3)));
        EXPECT_EQ(db_file_name(kind), "");
        EXPECT_EQ(messages->texts(), (Texts{"ERROR: Missed Switch in [db_Open()]!!",
                                            "ERROR: Missed Switch in [db_GetSize()]!!",
                                            "ERROR: Missed Switch in [db_Read()]!!"}));
    }
    // A kind that is not the records' kind is refused as well: nothing sorted, nothing written.
    messages->clear();
    auto soils = soils_named({"b", "a"});
    db_Sort(DbCrops, soils);
    EXPECT_EQ(names_of(soils), (Texts{"b", "a"}));
    EXPECT_FALSE(db_Write(DbStations, soils));
    EXPECT_FALSE(db_Write(0, std::vector<CropRecord>{}));
    EXPECT_EQ(messages->texts(), (Texts{"ERROR: Missed Switch in [db_Sort()]!!",
                                        "ERROR: Missed Switch in [db_Write()]!!",
                                        "ERROR: Missed Switch in [db_Write()]!!"}));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(Database, WriteReplacesTheFileWithTextsCutToTheirFields)
{
    test::ScopedWorkDir dir;
    auto soils = soils_named({"A Soil Name Longer Than Fifteen"});
    soils[0].type = "Texture class too long";
    ASSERT_TRUE(db_Write(DbSoils, soils));
    std::vector<StationRecord> stations(1);
    stations[0].name = "A Station Name Longer Than Nineteen";
    ASSERT_TRUE(db_Write(DbStations, stations));
    std::vector<CropRecord> crops(1);
    crops[0].name = "A Crop Name Longer Than Nineteen";
    crops[0].hybrid = "A Hybrid Type Longer Than Nineteen";
    crops[0].yield_units = "Bushels/Acre";
    crops[0].stages[0].name = "A stage name longer than nineteen";
    ASSERT_TRUE(db_Write(DbCrops, crops));

    EXPECT_EQ(size_of_file(dir.file("soil.db")), kSoilRecordSize);
    const auto soil = load_soils().at(0);
    EXPECT_EQ(soil.name, "A Soil Name Lon");
    EXPECT_EQ(soil.type, "Texture class t");
    EXPECT_EQ(load_stations().at(0).name, "A Station Name Long");
    const auto crop = load_crops().at(0);
    EXPECT_EQ(crop.name, "A Crop Name Longer ");
    EXPECT_EQ(crop.hybrid, "A Hybrid Type Longe");
    EXPECT_EQ(crop.yield_units, "Bushels/Acr");
    EXPECT_EQ(crop.stages[0].name, "A stage name longer");

    ASSERT_TRUE(db_Write(DbSoils, std::vector<SoilRecord>{}));
    EXPECT_EQ(size_of_file(dir.file("soil.db")), 0u);
}

TEST(Database, AFolderThatCannotTakeTheFileReportsOpenFailures)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    const auto reason = [&](const char *name) {
        return "\ncannot create a temporary file for " +
               (dir.file("missing folder") / name).string() + ": No such file or directory";
    };
    set_work_dir(dir.file("missing folder"));
    EXPECT_FALSE(db_Write(DbSoils, soils_named({"a"})));
    EXPECT_FALSE(db_Write(DbCrops, std::vector<CropRecord>(1)));
    EXPECT_FALSE(db_Write(DbStations, std::vector<StationRecord>(1)));
    EXPECT_EQ(messages->texts(),
              (Texts{"ERROR: Can't Open Soil Database File in [db_Write()]!!" + reason("soil.db"),
                     "ERROR: Can't Open Crop Database File in [db_Write()]!!" + reason("crop.db"),
                     "ERROR: Can't Open Station Database File in [db_Write()]!!" +
                         reason("station.db")}));

    messages->clear();
    EXPECT_FALSE(db_Open(DbSoils));
    EXPECT_FALSE(db_Open(DbCrops));
    EXPECT_TRUE(load_stations().empty());
    EXPECT_EQ(
        messages->texts(),
        (Texts{kSoilNotice,
               "ERROR: Can't Open Soil Database File in [db_CreateSoils()]!!" + reason("soil.db"),
               kCropNotice,
               "ERROR: Can't Open Crop Database File in [db_CreateCrops()]!!" + reason("crop.db"),
               kStationNotice,
               "ERROR: Can't Open Station Database File in [db_CreateStation()]!!" +
                   reason("station.db")}));
}

TEST(Database, AWriteThatFailsPartWayKeepsTheOldFile)
{
    test::ScopedWorkDir dir;
    ASSERT_TRUE(db_Write(DbStations, std::vector<StationRecord>(2)));
    const auto before = file_bytes(dir.file("station.db"));

    // A file-size limit below the new contents fails the write as a full disk would; the limit
    // must not reach this test process, so the save runs in a child.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        RecordingMessagePort port;
        set_messages(&port);
        const bool written = db_Write(DbStations, std::vector<StationRecord>(100));
        const bool told =
            port.texts().size() == 1 &&
            port.texts()[0].starts_with(
                "ERROR: Can't Write to Station Database File in [db_Write()]!!\ncannot write ") &&
            port.texts()[0].ends_with("File too large");
        ::_exit(!written && told ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failure was not reported as it should be";
    EXPECT_EQ(file_bytes(dir.file("station.db")), before);
}

TEST(Database, ACropFileThatCannotBeOpenedIsTreatedAsMissing)
{
    test::ScopedWorkDir dir;
    test::ScopedMessages messages;
    // A link to nowhere exists but cannot be opened: the defaults take its place.
    std::filesystem::create_symlink(dir.file("nowhere"), dir.file("crop.db"));
    EXPECT_EQ(load_crops().size(), 1u);
    EXPECT_EQ(messages->texts(), Texts{kCropNotice});
    EXPECT_EQ(size_of_file(dir.file("crop.db")), kCropRecordSize);

    // A folder of that name cannot be replaced either: the creation fails and it stays.
    std::filesystem::remove(dir.file("crop.db"));
    std::filesystem::create_directory(dir.file("crop.db"));
    messages->clear();
    EXPECT_FALSE(db_Open(DbCrops));
    EXPECT_EQ(messages->texts(),
              (Texts{kCropNotice, "ERROR: Can't Open Crop Database File in [db_CreateCrops()]!!\n"
                                  "cannot write " +
                                      dir.file("crop.db").string() + ": not a regular file"}));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("crop.db")));
}

TEST(Database, SizeCountsFromThePositionAndRewinds)
{
    DbStream stream(std::vector<std::uint8_t>(3 * kStationRecordSize + 10));
    ASSERT_TRUE(stream.read(kStationRecordSize));
    EXPECT_EQ(db_GetSize(DbStations, stream), 2);
    EXPECT_EQ(stream.position(), 0u);
    EXPECT_EQ(db_GetSize(DbStations, stream), 3);
    EXPECT_FALSE(stream.read(stream.size() + 1));
    EXPECT_EQ(stream.position(), 0u);
}

} // namespace
} // namespace tw
