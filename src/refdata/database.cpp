#include "refdata/database.h"

#include "platform/edition.h"
#include "platform/files.h"
#include "platform/message_port.h"
#include "platform/text_encoding.h"
#include "platform/work_dir.h"
#include "refdata/complete_crops.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>
#include <string>
#include <tuple>

namespace tw {
namespace {

// The real files hold a few dozen records; a file beyond this is read as far as this and the rest
// ignored like a trailing partial record, so no content can exhaust the memory.
constexpr std::size_t kMaxDatabaseBytes = std::size_t{64} << 20;

struct KindInfo
{
    std::string_view file;
    std::string_view word; ///< as the messages name the database
    std::size_t name_width;
    std::string_view missing_notice;
    std::string_view create_operation;
    std::optional<DbStream> (*create)();
};

const KindInfo *kind_info(std::int32_t kind)
{
    static const std::array<KindInfo, 3> kinds = {{
        {"soil.db", "Soil", 16,
         "Can't Find Soil Database File!!\nCreating a New Database with Default Soils.",
         "db_CreateSoils()", &db_CreateSoils},
        {"crop.db", "Crop", 20,
         "Can't Find Crop Database File!!\nCreating default crop.db with only Corn Information. "
         "\n You should exit Tillwise now and replace crop.db with the complete crop database "
         "file!",
         "db_CreateCrops()", &db_CreateCrops},
        {"station.db", "Station", 20,
         "Can't Find Station Database File!!\nCreating a New Database with Default Stations.",
         "db_CreateStation()", &db_CreateStation},
    }};
    if (kind < DbSoils || kind > DbStations)
        return nullptr;
    return &kinds[static_cast<std::size_t>(kind - 1)];
}

void missed_switch(std::string_view operation)
{
    messages().inform("ERROR: Missed Switch in [" + std::string(operation) + "]!!");
}

// How a kind's records meet its file: the kind, the record size and the codec. Crops and
// stations are laid out as the running edition lays them out.
template<class Record>
struct Codec;
template<>
struct Codec<SoilRecord>
{
    static constexpr std::int32_t kind = DbSoils;
    static std::size_t size() { return kSoilRecordSize; }
    static SoilImage encode(const SoilRecord &r) { return encode_soil(r); }
    static SoilRecord decode(std::span<const std::uint8_t> b)
    {
        return decode_soil(b.first<kSoilRecordSize>());
    }
};
template<>
struct Codec<CropRecord>
{
    static constexpr std::int32_t kind = DbCrops;
    static std::size_t size() { return db_record_size(kind, edition()); }
    static auto encode(const CropRecord &r) { return encode_crop(r, edition().crop_layout); }
    static CropRecord decode(std::span<const std::uint8_t> b)
    {
        return decode_crop(b, edition().crop_layout);
    }
};
template<>
struct Codec<StationRecord>
{
    static constexpr std::int32_t kind = DbStations;
    static std::size_t size() { return db_record_size(kind, edition()); }
    static auto encode(const StationRecord &r)
    {
        return encode_station(r, edition().station_layout);
    }
    static StationRecord decode(std::span<const std::uint8_t> b)
    {
        return decode_station(b, edition().station_layout);
    }
};

template<class Record>
std::vector<std::uint8_t> encode_all(const std::vector<Record> &records)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(records.size() * Codec<Record>::size());
    for (const Record &r : records) {
        const auto image = Codec<Record>::encode(r);
        bytes.insert(bytes.end(), image.begin(), image.end());
    }
    return bytes;
}

template<class Record>
std::vector<Record> read_records(DbStream &stream, std::int32_t count)
{
    const std::size_t size = Codec<Record>::size();
    const std::size_t wanted = count > 0 ? static_cast<std::size_t>(count) : 0;
    std::vector<Record> records;
    // Never trust the count for the allocation: the stream bounds what can be read.
    records.reserve(std::min(wanted, stream.remaining() / size));
    for (std::size_t i = 0; i < wanted; ++i) {
        const auto bytes = stream.read(size);
        if (!bytes) {
            messages().inform("Error Reading " + std::string(kind_info(Codec<Record>::kind)->word) +
                              " Database in [db_Read()]!!");
            break;
        }
        Record record = Codec<Record>::decode(*bytes);
        record.index = static_cast<std::int32_t>(i);
        records.push_back(std::move(record));
    }
    return records;
}

// A size that fits both layouts (17 earlier stations make 884 bytes, as 13 current ones do) is
// told apart by a field the earlier records fill with other data: a current station's reference
// crop is -1 to 2, a current crop's maximum harvests 1 to 9.
bool holds_current_records(std::int32_t kind, std::span<const std::uint8_t> bytes)
{
    const std::size_t size = db_record_size(kind, current_release());
    for (std::size_t at = 0; at + size <= bytes.size(); at += size) {
        const auto record = bytes.subspan(at, size);
        const auto [value, low, high] =
            kind == DbStations
                ? std::tuple(decode_station(record, StationLayout::Current).reference_type, -1, 2)
                : std::tuple(decode_crop(record, CropLayout::Current).max_harvests, 1, 9);
        if (value < low || value > high)
            return false;
    }
    return true;
}

// Crops and stations changed layout between the releases, and a bare array of records says
// nothing of its layout but its size: a file that is not a whole number of this edition's records
// is another layout or damaged, and reading it as this one's would hand out garbage records.
std::optional<std::string> layout_refusal(std::int32_t kind, const std::filesystem::path &file,
                                          std::span<const std::uint8_t> bytes)
{
    if (kind == DbSoils)
        return std::nullopt;
    const Edition &earlier = release1();
    const bool fits = bytes.size() % db_record_size(kind, edition()) == 0;
    const bool fits_earlier =
        &edition() != &earlier && bytes.size() % db_record_size(kind, earlier) == 0;
    if (fits && (!fits_earlier || holds_current_records(kind, bytes)))
        return std::nullopt;
    std::string word(kind_info(kind)->word);
    word[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(word[0])));
    std::string text = file.string() + " is not a " + word + " database of " +
                       std::string(edition().program_name) + ": its " +
                       std::to_string(bytes.size()) + " bytes are not " +
                       (fits ? "" : "a whole number of ") +
                       std::to_string(db_record_size(kind, edition())) +
                       "-byte records. It is neither read nor replaced.";
    if (fits_earlier) {
        const std::string dir = work_dir().empty() ? "" : " \"" + work_dir().string() + "\"";
        text += "\nIts size fits the " + word + " database of " +
                std::string(earlier.program_name) +
                ": run \"tillwise-cli db migrate --from-release 1" + dir + "\" to convert it.";
    }
    return text;
}

bool refused(std::int32_t kind, const std::filesystem::path &file,
             std::span<const std::uint8_t> bytes)
{
    const auto refusal = layout_refusal(kind, file, bytes);
    if (refusal)
        messages().inform(*refusal);
    return refusal.has_value();
}

// Either way the file keeps what it held; the message says which step failed, and why.
bool write_database(const KindInfo &info, std::span<const std::uint8_t> bytes,
                    std::string_view operation)
{
    WriteFailure failure = WriteFailure::None;
    std::string error;
    if (write_file_atomic(work_file(info.file), bytes, &error, &failure))
        return true;
    const bool data_failed = failure != WriteFailure::Open;
    messages().inform((data_failed ? "ERROR: Can't Write to " : "ERROR: Can't Open ") +
                      std::string(info.word) + " Database File in [" + std::string(operation) +
                      "]!!\n" + error);
    return false;
}

template<class Record>
bool write_records(std::int32_t kind, const std::vector<Record> &records)
{
    if (kind != Codec<Record>::kind) {
        missed_switch("db_Write()");
        return false;
    }
    const KindInfo &info = *kind_info(kind);
    // An editor that was refused the file holds none of its records; saving would lose them.
    const std::filesystem::path file = work_file(info.file);
    if (const auto old = read_file(file, kMaxDatabaseBytes); old && refused(kind, file, *old))
        return false;
    return write_database(info, encode_all(records), "db_Write()");
}

// The file stores the name cut to its field, so that is what orders the records.
std::string stored_name(std::string_view utf8, std::size_t width)
{
    std::string bytes = utf8_to_cp1252(utf8);
    bytes.resize(std::min({bytes.size(), bytes.find('\0'), width - 1}));
    return bytes;
}

template<class Record>
void quicksort(std::vector<Record> &records, std::vector<std::string> &names, std::ptrdiff_t lo,
               std::ptrdiff_t hi)
{
    const auto record = records.begin();
    const auto name = names.begin();
    // The two parts are disjoint, so sorting the smaller one by recursion and the larger one by
    // looping gives the same order as recursing into both, with a bounded depth.
    for (;;) {
        const std::string pivot = name[(lo + hi) / 2];
        std::ptrdiff_t i = lo;
        std::ptrdiff_t j = hi;
        do {
            while (name[i] < pivot && i < hi)
                ++i;
            while (name[j] > pivot && j > lo)
                --j;
            if (i <= j) {
                std::iter_swap(record + i, record + j);
                std::iter_swap(name + i, name + j);
                ++i;
                --j;
            }
        } while (i <= j);
        const bool left = j > lo;
        const bool right = i < hi;
        if (left && right) {
            if (j - lo < hi - i) {
                quicksort(records, names, lo, j);
                lo = i;
            } else {
                quicksort(records, names, i, hi);
                hi = j;
            }
        } else if (left) {
            hi = j;
        } else if (right) {
            lo = i;
        } else {
            return;
        }
    }
}

template<class Record>
void sort_records(std::int32_t kind, std::vector<Record> &records)
{
    if (kind != Codec<Record>::kind) {
        missed_switch("db_Sort()");
        return;
    }
    if (records.size() < 2)
        return;
    const std::size_t width = kind_info(kind)->name_width;
    std::vector<std::string> names;
    names.reserve(records.size());
    for (const Record &r : records)
        names.push_back(stored_name(r.name, width));
    quicksort(records, names, 0, static_cast<std::ptrdiff_t>(records.size()) - 1);
}

// The defaults are made after the notice, as the notice may lead to a choice among them.
template<class MakeDefaults>
std::optional<DbStream> create(std::int32_t kind, MakeDefaults make_defaults)
{
    const KindInfo &info = *kind_info(kind);
    messages().inform(info.missing_notice);
    std::vector<std::uint8_t> bytes = encode_all(make_defaults());
    if (!write_database(info, bytes, info.create_operation))
        return std::nullopt;
    return DbStream(std::move(bytes));
}

template<class Record>
std::vector<Record> load(std::int32_t kind)
{
    auto stream = db_Open(kind);
    if (!stream)
        return {};
    const std::int32_t count = db_GetSize(kind, *stream);
    DbRecords records = db_Read(kind, *stream, count);
    auto *read = std::get_if<std::vector<Record>>(&records);
    return read ? std::move(*read) : std::vector<Record>{};
}

struct DefaultSoil
{
    std::string_view name;
    float sm_fc, sm_pwp, awhc;
};

constexpr std::array<DefaultSoil, 13> kDefaultSoils = {{
    {"Clay", 0.4117f, 0.2817f, 0.13f},
    {"Clay Loam", 0.3825f, 0.2117f, 0.1708f},
    {"Fine Sandy Loam", 0.2925f, 0.1125f, 0.18f},
    {"Loam", 0.3425f, 0.1333f, 0.2092f},
    {"Loamy Sand", 0.19f, 0.0717f, 0.1183f},
    {"Sand", 0.1392f, 0.0558f, 0.0834f},
    {"Sandy Clay", 0.4f, 0.25f, 0.15f},
    {"Sandy Clay Loam", 0.3783f, 0.1892f, 0.1891f},
    {"Sandy Loam", 0.2383f, 0.09f, 0.1483f},
    {"Silt", 0.39f, 0.16f, 0.23f},
    {"Silty Clay", 0.4017f, 0.2517f, 0.15f},
    {"Silty Clay Loam", 0.4033f, 0.1817f, 0.2216f},
    {"Silty Loam", 0.3808f, 0.1525f, 0.2283f},
}};

struct DefaultStation
{
    std::string_view name;
    float elevation, latitude, pressure, tmin, tmax, ct, tx;
};

constexpr std::array<DefaultStation, 25> kDefaultStations = {{
    {"Akron", 1421, 40.1f, 863.08f, 14.8f, 31.2f, 0.0243f, -9.1f},
    {"Alamosa", 2299, 37.4f, 770.46f, 8.9f, 27.8f, 0.02736f, -10.3f},
    {"Burlington", 1270, 39.2f, 879.02f, 15.7f, 32.4f, 0.0243f, -9.1f},
    {"Canon City", 1625, 38.5f, 841.56f, 16.5f, 31.9f, 0.02484f, -9.2f},
    {"Center", 2317, 37.8f, 768.56f, 7.4f, 27.1f, 0.02718f, -10.3f},
    {"Cheyenne Wells", 1295, 38.9f, 876.38f, 15.3f, 33.1f, 0.02484f, -9.5f},
    {"Cortez", 1890, 37.4f, 813.61f, 12.7f, 31.6f, 0.02718f, -10.4f},
    {"Durango", 1988, 37.4f, 803.27f, 9.8f, 30.4f, 0.02754f, -10.5f},
    {"Fruita", 1372, 39.1f, 868.25f, 13.6f, 34.2f, 0.0261f, -10.3f},
    {"Fort Collins", 1524, 40.5f, 852.22f, 13.8f, 29.7f, 0.02412f, -8.9f},
    {"Grand Junction", 1400, 39.1f, 865.3f, 17.7f, 34.4f, 0.0256f, -9.8f},
    {"Greeley", 1418, 40.4f, 863.4f, 14.2f, 32.0f, 0.02502f, -9.4f},
    {"Gunnison", 2348, 38.5f, 765.29f, 5.5f, 27.4f, 0.02844f, -10.7f},
    {"Holly", 1034, 38.1f, 903.91f, 17.4f, 34.7f, 0.0243f, -9.3f},
    {"Holyoke", 1142, 40.5f, 892.52f, 15.0f, 32.8f, 0.02412f, -9.1f},
    {"Monte Vista", 2315, 37.6f, 768.77f, 7.4f, 27.1f, 0.02718f, -10.3f},
    {"Montrose", 1770, 38.5f, 826.27f, 13.6f, 31.7f, 0.02646f, -10.1f},
    {"Palisade", 1494, 39.1f, 855.38f, 17.7f, 34.9f, 0.0261f, -10.1f},
    {"Pueblo", 1428, 38.3f, 862.35f, 16.4f, 33.4f, 0.02538f, -9.7f},
    {"Rocky Ford", 1273, 38.0f, 878.7f, 15.4f, 34.4f, 0.02556f, -9.9f},
    {"Springfield", 1394, 37.4f, 865.93f, 15.8f, 32.3f, 0.02466f, -9.3f},
    {"Sterling", 1200, 40.6f, 886.4f, 14.9f, 32.1f, 0.02412f, -9.0f},
    {"Walsh", 1212, 37.4f, 885.13f, 16.9f, 33.1f, 0.02412f, -9.1f},
    {"Wray", 1090, 40.1f, 898.01f, 15.9f, 33.6f, 0.0243f, -9.2f},
    {"Kansas", 674, 37.9f, 960.0f, 15.5f, 32.2f, 0.028f, -10.78f},
}};

struct DefaultStage
{
    std::string_view name;
    StageFlag flag;
    float allowable_depletion, end_day, end_gdd;
};

constexpr std::array<DefaultStage, 12> kCornStages = {{
    {"Planting", StagePlanting, 0.5f, 0, 0},
    {"VE: Emergence", StageEmergence, 0.5f, 10, 39},
    {"V1-6: Early Leaf", StageOrdinary, 0.5f, 25, 91},
    {"V7-18: Later Leaf", StageOrdinary, 0.5f, 45, 381},
    {"Vt: Tasseling", StageOrdinary, 0.5f, 65, 683},
    {"R1: Silking", StageFullCover, 0.5f, 80, 760},
    {"R2: Blister", StageOrdinary, 0.5f, 90, 846},
    {"R3: Milk", StageOrdinary, 0.5f, 95, 964},
    {"R4: Dough", StageOrdinary, 0.5f, 100, 1034},
    {"R5: Dent", StageOrdinary, 0.5f, 105, 1152},
    {"R6: Maturity", StageStopIrrigating, 0.5f, 120, 1371},
    {"Harvest", StageHarvest, 0.5f, 122, 1426},
}};

constexpr std::array<DefaultStage, 5> kNewCropStages = {{
    {"Planting", StagePlanting, 0.2f, 0, 0},
    {"Emergence", StageEmergence, 0.2f, 10, 100},
    {"Full Cover", StageFullCover, 0.5f, 20, 250},
    {"Stop Irrigating", StageStopIrrigating, 0.5f, 30, 300},
    {"Harvest", StageHarvest, 0.5f, 31, 320},
}};

std::vector<SoilRecord> default_soils()
{
    std::vector<SoilRecord> soils;
    for (const DefaultSoil &d : kDefaultSoils) {
        const auto index = static_cast<std::int32_t>(soils.size());
        soils.push_back(
            {index, std::string(d.name), std::string(d.name), d.sm_fc, d.sm_pwp, d.awhc});
    }
    return soils;
}

std::vector<StationRecord> default_stations()
{
    std::vector<StationRecord> stations;
    for (const DefaultStation &d : kDefaultStations) {
        StationRecord s;
        s.index = static_cast<std::int32_t>(stations.size());
        s.name = d.name;
        s.elevation = d.elevation;
        s.latitude = d.latitude;
        s.pressure = d.pressure;
        s.warm_month_tmin = d.tmin;
        s.warm_month_tmax = d.tmax;
        s.jh_ct = d.ct;
        s.jh_tx = d.tx;
        s.anemometer_height = 2.0f;
        s.reference_type = 2; // Tall (Alfalfa)
        stations.push_back(std::move(s));
    }
    return stations;
}

template<std::size_t N>
void set_stages(CropRecord &crop, const std::array<DefaultStage, N> &stages)
{
    static_assert(N <= kMaxStages);
    crop.stages = {};
    crop.stage_count = static_cast<std::int32_t>(N);
    for (std::size_t i = 0; i < N; ++i) {
        const DefaultStage &d = stages[i];
        crop.stages[i] = {std::string(d.name), d.flag, d.allowable_depletion, d.end_day, d.end_gdd};
    }
}

bool offer_complete_crops = false;

} // namespace

CropRecord default_corn_record()
{
    CropRecord c;
    c.index = 1;
    c.name = "CORN";
    c.hybrid = "MIDSEASON";
    c.max_harvests = 1;
    c.planting_depth = 50.0f;
    c.max_root_depth = 1200.0f;
    c.gdd_min_temp = 10.0f;
    c.gdd_max_temp = 30.0f;
    c.kc_before = {-2.7, 4.52, -1.1, 0.332};
    // The small coefficients are products, as crop.db files in use were written; the decimal
    // literals could differ from them in the last bit.
    c.kc_after = {-9.3 * 1e-8, -2.1 * 1e-4, 4.71 * 1e-3, 1.04};
    c.yield_units = "BU/Acre";
    c.n_requirement = 0.9f;
    c.average_yield = 150;
    c.plant_population = 36;
    c.yield_b0 = -12.7f;
    c.efficiency = {50, 50, 100, 90, 90, 90};
    c.p_levels = {80, 50, 30};
    c.k_levels = {60, 40, 30};
    set_stages(c, kCornStages);
    return c;
}

std::optional<std::span<const std::uint8_t>> DbStream::read(std::size_t n)
{
    if (n > remaining())
        return std::nullopt;
    const std::span<const std::uint8_t> bytes(bytes_.data() + position_, n);
    position_ += n;
    return bytes;
}

std::size_t db_record_size(std::int32_t kind, const Edition &edition)
{
    switch (kind) {
    case DbSoils: return kSoilRecordSize;
    case DbCrops: return crop_record_size(edition.crop_layout);
    case DbStations: return station_record_size(edition.station_layout);
    }
    return 0;
}

std::string_view db_file_name(std::int32_t kind)
{
    const KindInfo *info = kind_info(kind);
    return info ? info->file : std::string_view{};
}

std::optional<DbStream> db_Open(std::int32_t kind)
{
    const KindInfo *info = kind_info(kind);
    if (!info) {
        missed_switch("db_Open()");
        return std::nullopt;
    }
    // Reading is all a user needs: the file is read whole here and written only by db_Write, so
    // a write-protected file is used as it is rather than taken for a missing one.
    const std::filesystem::path file = work_file(info->file);
    if (auto bytes = read_file(file, kMaxDatabaseBytes)) {
        // Refused, the file is kept as it is: re-creating it would lose what it holds.
        if (refused(kind, file, *bytes))
            return std::nullopt;
        return DbStream(std::move(*bytes));
    }
    return info->create();
}

std::int32_t db_GetSize(std::int32_t kind, DbStream &stream)
{
    const KindInfo *info = kind_info(kind);
    if (!info) {
        missed_switch("db_GetSize()");
        return 0;
    }
    const std::size_t count =
        std::min<std::size_t>(stream.remaining() / db_record_size(kind, edition()),
                              std::numeric_limits<std::int32_t>::max());
    stream.rewind();
    return static_cast<std::int32_t>(count);
}

DbRecords db_Read(std::int32_t kind, DbStream &stream, std::int32_t count)
{
    switch (kind) {
    case DbSoils:
        return DbRecords(std::in_place_index<DbSoils>, read_records<SoilRecord>(stream, count));
    case DbCrops:
        return DbRecords(std::in_place_index<DbCrops>, read_records<CropRecord>(stream, count));
    case DbStations:
        return DbRecords(std::in_place_index<DbStations>,
                         read_records<StationRecord>(stream, count));
    }
    missed_switch("db_Read()");
    return {};
}

bool db_Write(std::int32_t kind, const std::vector<SoilRecord> &records)
{
    return write_records(kind, records);
}

bool db_Write(std::int32_t kind, const std::vector<CropRecord> &records)
{
    return write_records(kind, records);
}

bool db_Write(std::int32_t kind, const std::vector<StationRecord> &records)
{
    return write_records(kind, records);
}

void db_Sort(std::int32_t kind, std::vector<SoilRecord> &records)
{
    sort_records(kind, records);
}

void db_Sort(std::int32_t kind, std::vector<CropRecord> &records)
{
    sort_records(kind, records);
}

void db_Sort(std::int32_t kind, std::vector<StationRecord> &records)
{
    sort_records(kind, records);
}

std::optional<DbStream> db_CreateSoils()
{
    return create(DbSoils, &default_soils);
}

std::optional<DbStream> db_CreateStation()
{
    return create(DbStations, &default_stations);
}

std::optional<DbStream> db_CreateCrops()
{
    return create(DbCrops, [] {
        if (offer_complete_crops && messages().ask_yes_no(kCompleteCropsOffer))
            return complete_crops();
        return std::vector<CropRecord>{default_corn_record()};
    });
}

void set_offer_complete_crops(bool offer)
{
    offer_complete_crops = offer;
}

void db_InitCrop(CropRecord &record, std::int32_t max_harvests)
{
    record = default_corn_record();
    record.index = 0;
    record.name.clear();
    record.hybrid.clear();
    record.max_harvests = max_harvests;
    set_stages(record, kNewCropStages);
}

std::vector<SoilRecord> load_soils()
{
    return load<SoilRecord>(DbSoils);
}

std::vector<CropRecord> load_crops()
{
    return load<CropRecord>(DbCrops);
}

std::vector<StationRecord> load_stations()
{
    return load<StationRecord>(DbStations);
}

} // namespace tw
