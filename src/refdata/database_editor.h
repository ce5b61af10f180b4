#pragma once

#include "refdata/records.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tw {

/// The records of one database while its dialog is open. They are read whole when the editor is
/// made (the file re-created with its defaults when missing); nothing reaches the file before
/// save().
template<typename Record>
class DatabaseEditor
{
public:
    DatabaseEditor();

    const std::vector<Record> &records() const { return records_; }
    std::size_t size() const { return records_.size(); }

    /// Appends the record (its index the old count) and sorts by name.
    void add(Record record);
    /// Replaces record i, its index set to i; sorted again when `sort`.
    void replace(std::size_t i, Record record, bool sort);
    /// After the question: the last record takes the place of record i, then the list is sorted.
    /// False when the user says No or there is no record i.
    bool remove(std::size_t i);
    /// Sorts and writes the file whole; false after the write error.
    bool save();

private:
    std::vector<Record> records_;
};

extern template class DatabaseEditor<SoilRecord>;
extern template class DatabaseEditor<CropRecord>;
extern template class DatabaseEditor<StationRecord>;

/// The question asked before a record is deleted.
std::string delete_question(const SoilRecord &soil);
std::string delete_question(const CropRecord &crop);
std::string delete_question(const StationRecord &station);

} // namespace tw
