#include "refdata/database_editor.h"

#include "platform/message_port.h"
#include "platform/text_format.h"
#include "refdata/database.h"

namespace tw {
namespace {

template<typename Record>
struct Db;
template<>
struct Db<SoilRecord>
{
    static constexpr DbKind kind = DbSoils;
    static std::vector<SoilRecord> load() { return load_soils(); }
};
template<>
struct Db<CropRecord>
{
    static constexpr DbKind kind = DbCrops;
    static std::vector<CropRecord> load() { return load_crops(); }
};
template<>
struct Db<StationRecord>
{
    static constexpr DbKind kind = DbStations;
    static std::vector<StationRecord> load() { return load_stations(); }
};

} // namespace

template<typename Record>
DatabaseEditor<Record>::DatabaseEditor()
    : records_(Db<Record>::load())
{}

template<typename Record>
void DatabaseEditor<Record>::add(Record record)
{
    record.index = static_cast<std::int32_t>(records_.size());
    records_.push_back(std::move(record));
    db_Sort(Db<Record>::kind, records_);
}

template<typename Record>
void DatabaseEditor<Record>::replace(std::size_t i, Record record, bool sort)
{
    if (i >= records_.size())
        return;
    record.index = static_cast<std::int32_t>(i);
    records_[i] = std::move(record);
    if (sort)
        db_Sort(Db<Record>::kind, records_);
}

template<typename Record>
bool DatabaseEditor<Record>::remove(std::size_t i)
{
    if (i >= records_.size() || !messages().ask_yes_no(delete_question(records_[i])))
        return false;
    if (i + 1 != records_.size())
        records_[i] = std::move(records_.back());
    records_.pop_back();
    db_Sort(Db<Record>::kind, records_);
    return true;
}

template<typename Record>
bool DatabaseEditor<Record>::save()
{
    db_Sort(Db<Record>::kind, records_);
    return db_Write(Db<Record>::kind, records_);
}

template class DatabaseEditor<SoilRecord>;
template class DatabaseEditor<CropRecord>;
template class DatabaseEditor<StationRecord>;

std::string delete_question(const SoilRecord &soil)
{
    return strprintf("Are you sure you want to delete %s (%s)", soil.name.c_str(),
                     soil.type.c_str());
}

std::string delete_question(const CropRecord &crop)
{
    return strprintf("Are you sure you want to delete %s (%s)", crop.name.c_str(),
                     crop.hybrid.c_str());
}

std::string delete_question(const StationRecord &station)
{
    return strprintf("Are you sure you want to delete %s from the database", station.name.c_str());
}

} // namespace tw
