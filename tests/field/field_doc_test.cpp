#include "field/field_doc.h"

#include "field/irrigation_systems.h"
#include "field_fixtures.h"
#include "location/location_file.h"
#include "platform/archive.h"
#include "platform/files.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <random>

namespace tw {
namespace {

using test::FieldTest;
using FieldDoc = FieldTest;

struct RawStage
{
    std::string name;
    std::int32_t flag;
};

/// The .fld bytes written field by field in file order, independently of the document's writer.
std::vector<std::uint8_t> raw_field(const std::string &soil_name, const std::string &crop_name,
                                    const std::vector<RawStage> &stages, std::uint32_t day_count,
                                    std::size_t day_bytes)
{
    ArchiveWriter w;
    w.write_string("north");
    w.write_string("second");
    w.write_int32(9);     // system
    w.write_float(77.0f); // efficiency
    w.write_float(4.0f);  // N1
    w.write_float(0.25f); // initial moisture
    w.write_int32(1);     // perennial
    w.write_date(StoredDate::from_day(44682));
    w.write_float(0.1f);  // N3
    w.write_float(55.0f); // N2
    w.write_string(soil_name);
    w.write_string("Loam");
    for (const float v : {0.3425f, 0.1333f, 0.2092f})
        w.write_float(v);
    w.write_string(crop_name);
    w.write_string("MIDSEASON");
    w.write_string("BU/Acre");
    for (const float v : {50.0f, 1200.0f, 10.0f, 30.0f})
        w.write_float(v);
    for (const double a : {-2.7, 4.52, -1.1, 0.332, -9.3e-8, -2.1e-4, 4.71e-3, 1.04})
        w.write_double(a);
    w.write_float(0.9f);
    w.write_int32(36);  // population
    w.write_int32(150); // yield
    for (const std::int32_t v : {50, 50, 100, 90, 90, 90, 80, 50, 30, 60, 40, 30})
        w.write_int32(v);
    w.write_float(-12.7f);
    w.write_int32(1);
    w.write_int32(static_cast<std::int32_t>(stages.size()));
    for (std::size_t k = 0; k < stages.size(); ++k) {
        w.write_string(stages[k].name);
        w.write_int32(stages[k].flag);
        w.write_float(0.5f);
        w.write_float(static_cast<float>(k * 10));
        w.write_float(static_cast<float>(k * 100));
    }
    w.write_count(day_count);
    w.write_bytes(std::vector<std::uint8_t>(day_bytes, 0));
    return w.bytes();
}

std::vector<RawStage> five_stages()
{
    return {{"Planting", 1},
            {"Emergence", 2},
            {"Full Cover", 3},
            {"Stop Irrigating", 4},
            {"Harvest", 5}};
}

TEST_F(FieldDoc, DayArrayRunsFromPlantingToTheLocationsEnd)
{
    const std::string early =
        "Error, Field Data Starts before weather information.  Expect problems!";
    const struct
    {
        int planting_offset;
        int day_offset, day_count;
        bool message;
    } cases[] = {{0, 0, 50, false}, {30, 30, 20, false}, {-5, -5, 55, true}, {53, 50, 0, false}};
    for (const auto &c : cases) {
        messages->clear();
        auto location = test::make_location(50, 50);
        for (int i = 0; i < 50; ++i)
            location->day(i).rain = static_cast<float>(i);
        auto field = test::make_field(*location, test::corn(), c.planting_offset);
        EXPECT_EQ(field->binding.day_offset, c.day_offset) << c.planting_offset;
        EXPECT_EQ(field->day_count(), c.day_count);
        const auto texts = messages->texts();
        EXPECT_EQ(std::count(texts.begin(), texts.end(), early), c.message ? 1 : 0);
        for (int d = 0; d < field->day_count(); ++d) {
            const int i = d + c.day_offset;
            EXPECT_EQ(field->season.days[d].rain, i >= 0 ? static_cast<float>(i) : 0.0f) << d;
        }
    }
}

TEST_F(FieldDoc, ShiftingTheStart)
{
    auto location = test::make_location(50, 50);
    auto field = test::make_field(*location, test::corn(), 10);
    field->season.days[3].rain = 33.0f;
    field->shift_start(3);
    EXPECT_EQ(field->binding.day_offset, 13);
    EXPECT_EQ(field->day_count(), 37);
    EXPECT_EQ(field->season.days[0].rain, 33.0f);
    field->shift_start(-2);
    EXPECT_EQ(field->binding.day_offset, 11);
    EXPECT_EQ(field->day_count(), 39);
    EXPECT_EQ(field->season.days[0].stage, StageNotComputed);
    EXPECT_EQ(field->season.days[2].rain, 33.0f);
}

TEST_F(FieldDoc, TitleNamesTheFieldAndItsLocation)
{
    auto location = test::make_location(50, 50);
    auto field = test::make_field(*location, test::corn());
    const std::pair<std::string, std::string> cases[] = {
        {"north22", "north22 - (Field:north   Location: Greeley)"},
        {"Field3", "Field3"},
        {"", " - (Field:north   Location: Greeley)"},
    };
    for (const auto &[proposed, title] : cases) {
        field->set_title(proposed);
        EXPECT_EQ(field->title(), title);
    }
}

TEST_F(FieldDoc, RoundTripIsByteForByte)
{
    auto location = test::make_location(60, 30);
    auto field = test::make_field(*location, test::corn());
    field->saved.second_text = std::string(300, 'x') + "\xc3\xa9"; // past the one-byte length
    field->saved.select_system(9);
    field->saved.efficiency = 77.0f;
    field->season.days[12].gross_irrigation = 25.0f;
    field->season.days[12].sm_override = 1;
    field->season_run(0); // as every edit ends
    const auto bytes = field->serialize();

    auto reopened = open_field(*location, bytes, "north22.fld");
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->serialize(), bytes);
    EXPECT_EQ(reopened->saved.system_name, "Sprinker:HP Center Pivot");
    EXPECT_EQ(reopened->saved.net_depth_in, 1.2f);
    EXPECT_EQ(reopened->saved.efficiency, 77.0f);
    EXPECT_EQ(reopened->saved.second_text, field->saved.second_text);
    EXPECT_EQ(reopened->title(), "north22.fld - (Field:north   Location: Greeley)");
}

TEST_F(FieldDoc, AStageEndBeyondAnySeasonIsRefusedWhenRead)
{
    auto location = test::make_location(60, 30);
    const auto field = test::make_field(*location, test::corn());
    const auto with_stage_end = [&](float day, float gdd) {
        const GrowthStage kept = field->saved.crop.stages[2];
        field->saved.crop.stages[2].end_day = day;
        field->saved.crop.stages[2].end_gdd = gdd;
        const auto bytes = field->serialize();
        field->saved.crop.stages[2] = kept;
        return open_field(*location, bytes, "crafted.fld") != nullptr;
    };
    // A million days or degree days is the furthest a stage may end, either way.
    EXPECT_TRUE(with_stage_end(1e6f, -1e6f));
    EXPECT_TRUE(with_stage_end(-1e6f, 1e6f));
    const float past = std::nextafter(1e6f, 2e6f);
    for (const auto &[day, gdd] :
         {std::pair{past, 0.0f}, std::pair{0.0f, -past}, std::pair{std::nanf(""), 0.0f},
          std::pair{0.0f, INFINITY}, std::pair{-2147483648.0f, 0.0f}})
        EXPECT_FALSE(with_stage_end(day, gdd)) << day << " " << gdd;
}

TEST_F(FieldDoc, EmptyFieldRoundTrips)
{
    auto location = test::make_location(0, 0);
    CFieldDoc field;
    field.bind_to(*location);
    field.set_defaults();
    field.saved.crop.stage_count = 0;
    const auto bytes = field.serialize();
    auto reopened = open_field(*location, bytes, "empty.fld");
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->day_count(), 0);
    EXPECT_EQ(reopened->serialize(), bytes);
}

TEST_F(FieldDoc, ReaderFollowsTheFileLayout)
{
    auto location = test::make_location(10, 10);
    const auto bytes = raw_field("Loam", "CORN", five_stages(), 2, 2 * kFieldDaySize);
    CFieldDoc field;
    ASSERT_TRUE(field.deserialize(bytes));
    EXPECT_EQ(field.saved.name, "north");
    EXPECT_EQ(field.saved.second_text, "second");
    EXPECT_EQ(field.saved.system_index, 9);
    EXPECT_EQ(field.saved.efficiency, 77.0f);
    EXPECT_EQ(field.saved.nitrogen.water_nitrate_ppm, 4.0f);
    EXPECT_EQ(field.saved.initial_moisture, 0.25f);
    EXPECT_EQ(field.saved.perennial, 1);
    EXPECT_EQ(field.saved.planting_date.day(), 44682);
    EXPECT_TRUE(field.saved.nitrogen.soil_nitrogen_from_file);
    EXPECT_EQ(field.saved.nitrogen.soil_nitrogen, 55.0f);
    EXPECT_EQ(field.saved.soil.awhc, 0.2092f);
    EXPECT_EQ(field.saved.crop.hybrid, "MIDSEASON");
    EXPECT_EQ(field.saved.crop.kc_after[3], 1.04);
    EXPECT_EQ(field.saved.crop.plant_population, 36);
    EXPECT_EQ(field.saved.crop.average_yield, 150);
    EXPECT_EQ(field.saved.crop.k_levels[2], 30);
    EXPECT_EQ(field.saved.crop.yield_b0, -12.7f);
    ASSERT_EQ(field.saved.crop.stage_count, 5);
    EXPECT_EQ(field.saved.crop.stages[4].end_gdd, 400.0f);
    EXPECT_EQ(field.day_count(), 2);
    EXPECT_EQ(field.serialize(), bytes);
}

// The soil nitrogen's "from the nutrient file" mark is a number in the file: any value but one at
// or below 0 set it (an unreadable one too), and it is written back as 0.1 or 0.
TEST_F(FieldDoc, SoilNitrogenMarkIsKeptAsANumberInTheFileOnly)
{
    // Two strings after their length byte ("north", "second"), five 4-byte values and the date
    // (a 4-byte status and an 8-byte serial).
    constexpr std::size_t kMarkOffset = (1 + 5) + (1 + 6) + 5 * 4 + (4 + 8);
    const auto bytes_with_mark = [](float mark) {
        auto bytes = raw_field("Loam", "CORN", five_stages(), 0, 0);
        std::uint32_t u;
        std::memcpy(&u, &mark, 4);
        for (std::size_t i = 0; i < 4; ++i)
            bytes[kMarkOffset + i] = static_cast<std::uint8_t>(u >> (8 * i));
        return bytes;
    };
    ASSERT_EQ(bytes_with_mark(0.1f), raw_field("Loam", "CORN", five_stages(), 0, 0));
    const struct
    {
        float stored;
        bool from_file;
        float written;
    } cases[] = {
        {0.1f, true, 0.1f}, {0.0f, false, 0.0f}, {-1.0f, false, 0.0f},
        {0.5f, true, 0.1f}, {NAN, true, 0.1f},   {-0.0f, false, 0.0f},
    };
    for (const auto &c : cases) {
        CFieldDoc field;
        ASSERT_TRUE(field.deserialize(bytes_with_mark(c.stored))) << c.stored;
        EXPECT_EQ(field.saved.nitrogen.soil_nitrogen_from_file, c.from_file) << c.stored;
        EXPECT_EQ(field.serialize(), bytes_with_mark(c.written)) << c.stored;
    }
}

TEST_F(FieldDoc, OverlongTextsAndStagesAreCutToWhatACropHolds)
{
    std::vector<RawStage> stages(60, RawStage{std::string(30, 's'), 0});
    const auto bytes = raw_field(std::string(40, 'L'), std::string(25, 'C'), stages, 0, 0);
    CFieldDoc field;
    ASSERT_TRUE(field.deserialize(bytes));
    EXPECT_EQ(field.saved.soil.name, std::string(15, 'L'));
    EXPECT_EQ(field.saved.crop.name, std::string(19, 'C'));
    EXPECT_EQ(field.saved.crop.stage_count, 50);
    EXPECT_EQ(field.saved.crop.stages[49].name, std::string(19, 's'));
    EXPECT_EQ(field.saved.crop.stages[49].end_day, 490.0f);
}

TEST_F(FieldDoc, CountsBeyondTheBytesLeftAreRefused)
{
    const struct
    {
        std::uint32_t day_count;
        std::size_t day_bytes;
    } cases[] = {{3, 2 * kFieldDaySize}, {70000, kFieldDaySize}, {65535, 0}};
    for (const auto &c : cases) {
        CFieldDoc field;
        EXPECT_FALSE(
            field.deserialize(raw_field("Loam", "CORN", five_stages(), c.day_count, c.day_bytes)))
            << c.day_count;
    }
    auto bytes = raw_field("Loam", "CORN", {}, 0, 0);
    bytes.resize(bytes.size() - 6); // stage count and day count
    for (const std::int32_t count : {-1, 1000000}) {
        auto bad = bytes;
        for (int i = 0; i < 4; ++i)
            bad.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(count) >> (8 * i)));
        bad.insert(bad.end(), {0, 0});
        CFieldDoc field;
        EXPECT_FALSE(field.deserialize(bad)) << count;
    }
}

TEST_F(FieldDoc, EveryCutAndRandomBytesAreRefusedCleanly)
{
    auto location = test::make_location(60, 30);
    const auto bytes = test::make_field(*location, test::corn())->serialize();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        messages->clear();
        const std::span<const std::uint8_t> cut(bytes.data(), n);
        ASSERT_FALSE(open_field(*location, cut, "cut.fld")) << n;
        EXPECT_EQ(messages->texts().back(), kArchiveErrorMessage) << n;
    }
    std::mt19937 random(5);
    for (int i = 0; i < 3000; ++i) {
        auto noise = bytes;
        if (i % 2) {
            noise.resize(random() % 600);
            for (auto &b : noise)
                b = static_cast<std::uint8_t>(random());
        } else {
            for (int k = 0; k < 4; ++k)
                noise[random() % noise.size()] = static_cast<std::uint8_t>(random());
        }
        open_field(*location, noise, "noise.fld");
    }
    EXPECT_TRUE(location->fields().empty());
}

TEST_F(FieldDoc, SystemCapacityFollowsTheDaysAndOlderFilesReadAsUnset)
{
    auto location = test::make_location(10, 10);
    const auto older = raw_field("Loam", "CORN", five_stages(), 10, 10 * kFieldDaySize);
    auto plain = open_field(*location, older, "older.fld");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->saved.days_per_mm, 0.0f);
    EXPECT_EQ(plain->serialize().size(), older.size()); // unset writes nothing after the days

    const auto with_trailer = [&](std::int32_t marker, std::optional<float> value) {
        ArchiveWriter w;
        w.write_bytes(older);
        w.write_int32(marker);
        if (value)
            w.write_float(*value);
        return w.bytes();
    };
    constexpr std::int32_t kMarker = 0x31465754; // "TWF1"
    const auto set = with_trailer(kMarker, 0.125f);
    auto reopened = open_field(*location, set, "set.fld");
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->saved.days_per_mm, 0.125f);
    const auto rewritten = reopened->serialize();
    ASSERT_EQ(rewritten.size(), set.size());
    EXPECT_TRUE(std::equal(set.end() - 8, set.end(), rewritten.end() - 8));

    // A stored rate no system has reads as unset; bytes of another kind are left alone.
    for (const float hostile : {-1.0f, 0.0f, 1e30f, std::nanf("")}) {
        auto field = open_field(*location, with_trailer(kMarker, hostile), "h.fld");
        ASSERT_TRUE(field) << hostile;
        EXPECT_EQ(field->saved.days_per_mm, 0.0f) << hostile;
    }
    auto foreign = open_field(*location, with_trailer(0x12345678, 3.0f), "f.fld");
    ASSERT_TRUE(foreign);
    EXPECT_EQ(foreign->saved.days_per_mm, 0.0f);
    EXPECT_FALSE(open_field(*location, with_trailer(kMarker, {}), "cut.fld"));
}

TEST_F(FieldDoc, LearningFromReadingsIsStoredAfterTheCapacity)
{
    auto location = test::make_location(10, 10);
    const auto older = raw_field("Loam", "CORN", five_stages(), 10, 10 * kFieldDaySize);
    constexpr std::int32_t kMarker = 0x31465754; // "TWF1"
    const auto with_trailer = [&](std::vector<std::uint8_t> tail) {
        std::vector<std::uint8_t> bytes = older;
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };
    const auto values = [&](float capacity, std::optional<std::int32_t> learn) {
        ArchiveWriter w;
        w.write_int32(kMarker);
        w.write_float(capacity);
        if (learn)
            w.write_int32(*learn);
        return w.bytes();
    };
    const struct
    {
        const char *what;
        std::vector<std::uint8_t> tail;
        float days_per_mm;
        bool learn;
    } cases[] = {
        {"older file", {}, 0.0f, false},
        {"capacity only, as before", values(0.125f, {}), 0.125f, false},
        {"capacity and learning", values(0.125f, 1), 0.125f, true},
        {"learning without a capacity", values(0.0f, 1), 0.0f, true},
        {"learning off", values(0.125f, 0), 0.125f, false},
        {"a flag no writer gives", values(0.125f, 7), 0.125f, false},
    };
    for (const auto &c : cases) {
        const auto bytes = with_trailer(c.tail);
        auto field = open_field(*location, bytes, "f.fld");
        ASSERT_TRUE(field) << c.what;
        EXPECT_EQ(field->saved.days_per_mm, c.days_per_mm) << c.what;
        EXPECT_EQ(field->saved.learn_from_readings, c.learn) << c.what;
        // Written back up to the last value set: what an older program wrote keeps its size.
        const auto tail = c.learn                ? values(c.days_per_mm, 1)
                          : c.days_per_mm > 0.0f ? values(c.days_per_mm, {})
                                                 : std::vector<std::uint8_t>{};
        const auto written = field->serialize();
        ASSERT_EQ(written.size(), older.size() + tail.size()) << c.what;
        EXPECT_TRUE(std::equal(tail.begin(), tail.end(), written.end() - std::ssize(tail)))
            << c.what;
    }
    // A flag cut short is a file cut short.
    auto cut = values(0.125f, 1);
    cut.resize(cut.size() - 2);
    EXPECT_FALSE(open_field(*location, with_trailer(cut), "cut.fld"));
}

TEST_F(FieldDoc, RemembersTheLocationItWasSavedWith)
{
    auto location = test::make_location(10, 10);
    const auto older = raw_field("Loam", "CORN", five_stages(), 10, 10 * kFieldDaySize);
    constexpr std::int32_t kMarker = 0x31465754; // "TWF1"
    const StoredDate may_first = StoredDate::from_day(serial_from_civil(2022, 5, 1));
    const auto with_values = [&](std::optional<std::string> file, bool cut = false) {
        ArchiveWriter w;
        w.write_bytes(older);
        w.write_int32(kMarker);
        w.write_float(0.0f);
        w.write_int32(0);
        if (file) {
            w.write_string(*file);
            w.write_date(may_first);
        }
        auto bytes = w.bytes();
        if (cut)
            bytes.resize(bytes.size() - 3);
        return bytes;
    };

    // Older files, and files that stop before it, know no location; a name cut short is refused.
    auto plain = open_field(*location, older, "older.fld");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->saved.remembered_location.known());
    auto learned = open_field(*location, with_values({}), "learn.fld");
    ASSERT_TRUE(learned);
    EXPECT_FALSE(learned->saved.remembered_location.known());
    EXPECT_FALSE(open_field(*location, with_values("gr\xc3\xa9ley.loc", true), "c"));

    const auto stored = with_values("gr\xc3\xa9ley.loc");
    auto field = open_field(*location, stored, "f.fld");
    ASSERT_TRUE(field);
    EXPECT_EQ(field->saved.remembered_location, (LocationIdentity{"gr\xc3\xa9ley.loc", may_first}));
    // The values after the days, as the writer gives them back.
    const auto tail_of = [&](const std::vector<std::uint8_t> &bytes) {
        return std::vector<std::uint8_t>(bytes.begin() + std::ssize(older), bytes.end());
    };
    // Bound to a location without a file, the field keeps what it remembered byte for byte.
    EXPECT_EQ(tail_of(field->serialize()), tail_of(stored));

    // Saved with a location that has a file, it remembers that one (all values before it are
    // written, unset or not).
    location->set_path(work_dir.file("season.loc"));
    auto unknown = open_field(*location, older, "older.fld");
    ASSERT_TRUE(unknown);
    const auto saved = unknown->serialize();
    auto reopened = open_field(*location, saved, "older.fld");
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->saved.remembered_location, (LocationIdentity{"season.loc", may_first}));
    EXPECT_EQ(saved.size(), with_values("season.loc").size());
    EXPECT_EQ(tail_of(saved), tail_of(with_values("season.loc")));
}

TEST_F(FieldDoc, AFieldOpenedAgainstAnotherLocationIsSettledFirst)
{
    auto made_with = test::make_location(60, 30);
    made_with->set_path(work_dir.file("full.loc"));
    const auto bytes = test::make_field(*made_with, test::corn())->serialize();
    auto other = test::make_location(50, 30);
    other->set_path(work_dir.file("short.loc"));

    EXPECT_FALSE(is_other_location({}, *other)); // unknown opens as before
    EXPECT_FALSE(is_other_location(identity_of(*made_with), *made_with));
    EXPECT_TRUE(is_other_location(identity_of(*made_with), *other));
    LocationIdentity later_start = identity_of(*made_with);
    later_start.first_date = StoredDate::from_day(later_start.first_date.day() + 1);
    EXPECT_TRUE(is_other_location(later_start, *made_with));

    int asked = 0;
    const auto settle_to = [&](CLocationDoc *answer) -> LocationSettler {
        return [&asked, answer](const CFieldDoc &field, CLocationDoc &open) {
            ++asked;
            EXPECT_EQ(field.saved.remembered_location.file_name, "full.loc");
            EXPECT_EQ(open.path().filename(), "short.loc");
            return answer;
        };
    };
    EXPECT_FALSE(open_field(*other, bytes, "f.fld", settle_to(nullptr)));
    EXPECT_TRUE(other->fields().empty());
    auto moved = open_field(*other, bytes, "f.fld", settle_to(made_with.get()));
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->binding.location, made_with.get());
    EXPECT_TRUE(other->fields().empty());
    EXPECT_EQ(made_with->fields().size(), 1u);
    EXPECT_EQ(asked, 2);
}

TEST_F(FieldDoc, TheUserChoosesWhichLocationAFieldOpensWith)
{
    auto made_with = test::make_location(60, 30);
    made_with->set_path(work_dir.file("full.loc"));
    auto field = test::make_field(*made_with, test::corn());
    field->saved.remembered_location = identity_of(*made_with);
    auto other = test::make_location(50, 30);
    other->name = "Short";
    other->set_path(work_dir.file("sub/short.loc"));
    std::vector<std::filesystem::path> opened;
    const auto open_location = [&](const std::filesystem::path &path) {
        opened.push_back(path);
        return made_with.get();
    };
    const std::string question = "This field was made with the location \"full.loc\" (first day "
                                 "05/01/22), but the open location is \"short.loc\" (first day "
                                 "05/01/22).";

    // Not found beside the open location nor in the farm folder: two choices.
    messages->clear();
    messages->queue_choice(0);
    EXPECT_EQ(ask_which_location(*field, *other, open_location), other.get());
    messages->queue_choice(1);
    EXPECT_EQ(ask_which_location(*field, *other, open_location), nullptr);
    EXPECT_EQ(messages->texts().at(0), question + "\nThe file full.loc was not found."
                                                  "\n[Use the open location]\n[Cancel]");

    // Found in the farm folder: open it, use the open one, or cancel.
    const std::vector<std::uint8_t> one{1};
    ASSERT_TRUE(write_file_atomic(work_dir.file("full.loc"), one));
    messages->clear();
    for (const std::size_t choice : {0u, 1u, 2u})
        messages->queue_choice(choice);
    EXPECT_EQ(ask_which_location(*field, *other, open_location), made_with.get());
    EXPECT_EQ(ask_which_location(*field, *other, open_location), other.get());
    EXPECT_EQ(ask_which_location(*field, *other, open_location), nullptr);
    EXPECT_EQ(opened, std::vector<std::filesystem::path>{work_dir.file("full.loc")});
    EXPECT_EQ(messages->texts().at(0),
              question + "\n[Open full.loc]\n[Use the open location]\n[Cancel]");

    // The same location asks nothing; a stored name never reaches outside the folders.
    messages->clear();
    EXPECT_EQ(ask_which_location(*field, *made_with, open_location), made_with.get());
    EXPECT_TRUE(messages->texts().empty());
    EXPECT_EQ(find_remembered_location({"../full.loc", {}}, *other), work_dir.file("full.loc"));
    EXPECT_FALSE(find_remembered_location({"..", {}}, *other));
}

TEST_F(FieldDoc, FieldLongerThanItsLocationIsRefused)
{
    auto long_location = test::make_location(100, 30);
    const auto bytes = test::make_field(*long_location, test::corn())->serialize();
    auto short_location = test::make_location(50, 30);
    messages->clear();
    EXPECT_FALSE(open_field(*short_location, bytes, "long.fld"));
    EXPECT_EQ(messages->texts(),
              std::vector<std::string>{"The field holds 100 days, more than the 50 days of the "
                                       "location \"Greeley\": open the field's own location "
                                       "first."});
    auto field = open_field(*long_location, bytes, "long.fld");
    ASSERT_TRUE(field);
    EXPECT_EQ(field->binding.day_offset, 0);
}

TEST_F(FieldDoc, UnsafeStoredNameIsRefused)
{
    auto location = test::make_location(50, 30);
    auto field = test::make_field(*location, test::corn());
    for (const char *name : {"../north", "a/b", "tab\there"}) {
        field->saved.name = name;
        messages->clear();
        EXPECT_FALSE(open_field(*location, field->serialize(), "x.fld")) << name;
        ASSERT_EQ(messages->texts().size(), 1u);
        EXPECT_NE(messages->texts()[0].find("cannot name a file"), std::string::npos);
    }
}

TEST_F(FieldDoc, NewFieldFollowsTheCreationOrder)
{
    auto location = test::make_location(50, 30);
    std::vector<std::string> log;
    test::HintLog view;
    view.log = &log;
    view.who = "location";
    location->add_view(&view);
    EXPECT_FALSE(new_field(*location, [](CFieldDoc &) { return false; }));
    EXPECT_TRUE(location->fields().empty());
    EXPECT_TRUE(log.empty());

    bool consulted = false;
    auto field = new_field(
        *location,
        [](CFieldDoc &f) {
            f.saved.crop = test::corn();
            f.saved.soil = test::loam();
            return true;
        },
        [&](CFieldDoc &f) { consulted = f.season.days.empty() && f.saved.crop.name == "CORN"; });
    ASSERT_TRUE(field);
    EXPECT_TRUE(consulted);
    EXPECT_EQ(field->day_count(), 50);
    EXPECT_EQ(field->season.last_actual_day, 29);
    EXPECT_TRUE(field->is_modified());
    EXPECT_EQ(log, std::vector<std::string>{"location fields"});
    location->remove_view(&view);
}

TEST_F(FieldDoc, SaveReplacesTheFileAndOpenReadsIt)
{
    auto location = test::make_location(50, 30);
    auto field = test::make_field(*location, test::corn());
    const auto path = work_dir.file("north22.fld");
    ASSERT_TRUE(save_field_file(*field, path).saved);
    EXPECT_FALSE(field->is_modified());
    EXPECT_EQ(read_file(path), field->serialize());
    auto reopened = open_field(*location, path);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->path(), path);
    EXPECT_EQ(reopened->serialize(), field->serialize());

    // A failed save leaves the field as it was and says why, without a message box of its own:
    // the window and the command line show the same words their own way.
    messages->clear();
    field->set_modified();
    const auto missing = work_dir.file("missing/dir/x.fld");
    const SaveOutcome failed = save_field_file(*field, missing);
    EXPECT_FALSE(failed.saved);
    EXPECT_FALSE(failed.stale);
    EXPECT_EQ(failed.message.rfind("Unable to save the field file " + missing.string() + ": ", 0),
              0u)
        << failed.message;
    EXPECT_TRUE(field->is_modified());
    EXPECT_EQ(field->path(), path);
    EXPECT_TRUE(messages->texts().empty());
    EXPECT_FALSE(open_field(*location, work_dir.file("none.fld")));
    EXPECT_EQ(messages->texts().size(), 1u);
}

TEST_F(FieldDoc, SystemRowsNameAndDepth)
{
    CFieldDoc field;
    field.saved.select_system(9);
    EXPECT_EQ(field.saved.system_name, "Sprinker:HP Center Pivot");
    EXPECT_EQ(field.saved.efficiency, 70.0f);
    EXPECT_EQ(field.saved.net_depth_in, 1.2f);
    field.saved.set_system_index(42); // from a damaged file
    EXPECT_EQ(field.saved.system_name, "");
    EXPECT_EQ(irrigation_systems().size(), 16u);
    EXPECT_EQ(irrigation_system_index("surface drip"), 14);
}

} // namespace
} // namespace tw
