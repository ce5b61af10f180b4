#pragma once

#include "platform/edition.h"
#include "refdata/records.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

// soil.db, crop.db and station.db: bare arrays of fixed records in the working directory, read
// whole when a user needs them and rewritten whole only when a user saves. A missing file is
// re-created with the built-in defaults after a notice, so there is always usable data.
namespace tw {

enum DbKind : std::int32_t {
    DbSoils = 1,
    DbCrops = 2,
    DbStations = 3,
};

/// An open database file. The file is read whole and closed at once when the stream is made, so
/// the stream is the file's bytes and a read position; nothing holds the file open.
class DbStream
{
public:
    explicit DbStream(std::vector<std::uint8_t> bytes)
        : bytes_(std::move(bytes))
    {}

    std::size_t size() const { return bytes_.size(); }
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }
    void rewind() { position_ = 0; }
    /// The next n bytes, the position moved past them; nothing, and no move, when fewer remain.
    std::optional<std::span<const std::uint8_t>> read(std::size_t n);

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

/// The records of one database; the alternative's position is the kind (0: no records, the
/// result of an unknown kind).
using DbRecords = std::variant<std::monostate, std::vector<SoilRecord>, std::vector<CropRecord>,
                               std::vector<StationRecord>>;

/// The size of a kind's record as the edition lays it out; 0 for an unknown kind.
std::size_t db_record_size(std::int32_t kind, const Edition &edition);

/// The file name of a kind ("soil.db", "crop.db", "station.db"), empty for any other kind.
std::string_view db_file_name(std::int32_t kind);

/// Reads the kind's file whole; a file that cannot be read is treated as missing and re-created
/// by the kind's create operation, whose result is returned. A crop.db or station.db that is not
/// a whole number of the running edition's records is refused with a message, and kept.
std::optional<DbStream> db_Open(std::int32_t kind);
/// The number of whole records from the stream's position to its end; the stream is left
/// rewound. An unknown kind counts 0.
std::int32_t db_GetSize(std::int32_t kind, DbStream &stream);
/// Up to count records from the stream's position, each with its index set to its slot. Fewer
/// come back, after the read error, when the stream holds fewer whole records.
DbRecords db_Read(std::int32_t kind, DbStream &stream, std::int32_t count);

/// Replaces the kind's file with the records (their texts cut to their fields); false, after the
/// message, when the file could not be written (it then keeps its previous contents), when it is
/// a file db_Open refuses, or the kind is not the records' kind.
bool db_Write(std::int32_t kind, const std::vector<SoilRecord> &records);
bool db_Write(std::int32_t kind, const std::vector<CropRecord> &records);
bool db_Write(std::int32_t kind, const std::vector<StationRecord> &records);

/// Sorts by name, compared as the Windows-1252 bytes the file stores (upper case before lower
/// case). The index fields are left as they are.
void db_Sort(std::int32_t kind, std::vector<SoilRecord> &records);
void db_Sort(std::int32_t kind, std::vector<CropRecord> &records);
void db_Sort(std::int32_t kind, std::vector<StationRecord> &records);

/// Write the kind's file with its defaults after the notice that it was missing; the stream is
/// positioned at the start, or nothing after the error message when the file cannot be written.
std::optional<DbStream> db_CreateSoils();
std::optional<DbStream> db_CreateStation();
std::optional<DbStream> db_CreateCrops();

/// The question after the missing-crop.db notice where the complete crop database is offered.
constexpr std::string_view kCompleteCropsOffer =
    "Tillwise comes with a complete crop database. Create crop.db with all of its crops instead "
    "of Corn only?";
/// Whether db_CreateCrops, after its notice, asks to write the complete crop database instead of
/// Corn alone (the windows ask; the command line writes Corn unless told otherwise).
void set_offer_complete_crops(bool offer);

/// The CORN record of a new crop.db.
CropRecord default_corn_record();

/// The template of a new crop: the defaults of Corn without its names and with five stages.
void db_InitCrop(CropRecord &record, std::int32_t max_harvests);

// Whole-database reads for the users that only need the records: each opens the file of its kind
// in the working directory (re-creating it with the defaults, after the notice, when it is
// missing), reads every whole record, and closes it. A file that can neither be read nor
// re-created yields no records.
std::vector<SoilRecord> load_soils();
std::vector<CropRecord> load_crops();
std::vector<StationRecord> load_stations();

} // namespace tw
