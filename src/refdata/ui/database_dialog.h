#pragma once

#include "platform/ui/interaction.h"
#include "refdata/database_editor.h"

#include <QDialog>
#include <QStringList>

#include <optional>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace tw {

/// What the soils, stations and crops dialogs share: the whole database in a list, a record
/// added, edited (double-click) or deleted through the dialog's own editor, the file written only
/// by "&Save", and "&Cancel" closing without writing.
class DatabaseDialog : public QDialog
{
    Q_OBJECT

public:
    QTreeWidget *list() const { return list_; }
    QPushButton *add_button() const { return add_; }
    QPushButton *delete_button() const { return delete_; }
    QPushButton *save_button() const { return save_; }
    QPushButton *cancel_button() const { return cancel_; }
    /// The selected row, -1 for none.
    int selected_row() const;

    void add();
    void edit(int row);
    void remove();
    void save();

protected:
    DatabaseDialog(const QString &caption, const QString &add_text, QWidget *parent);
    /// Lists the rows under the headings; each column is as wide as its heading plus 15 pixels,
    /// the first `widened` as wide as their widest entry when that is wider.
    void show_rows(const QStringList &headings, const std::vector<QStringList> &rows, int widened);

    virtual void add_record() = 0;
    virtual void edit_record(int row) = 0;
    virtual void delete_record(int row) = 0;
    virtual void save_records() = 0;

private:
    void show_whole_columns();

    QTreeWidget *list_;
    QPushButton *add_;
    QPushButton *delete_;
    QPushButton *save_;
    QPushButton *cancel_;
};

/// A database dialog over the records of one kind, which it holds in its editor.
template<typename Record>
class RecordListDialog : public DatabaseDialog
{
public:
    const DatabaseEditor<Record> &records() const { return editor_; }

protected:
    using DatabaseDialog::DatabaseDialog;
    /// Lists the records again.
    virtual void refill() = 0;
    void delete_record(int row) override
    {
        if (editor_.remove(static_cast<std::size_t>(row)))
            refill();
    }
    void save_records() override { editor_.save(); }

    /// A record typed in its attributes dialog, which edits the record's values in display
    /// units: a new record added (no row), or the record of a row replaced (and the list sorted
    /// again when `sort_edited`). The list shows the result.
    template<typename AttributesDialog, typename Values>
    void type_record(std::optional<int> row, Values (*values_of)(const Record &),
                     void (*store)(const Values &, Record &), bool sort_edited);

    DatabaseEditor<Record> editor_;
};

template<typename Record>
template<typename AttributesDialog, typename Values>
void RecordListDialog<Record>::type_record(std::optional<int> row,
                                           Values (*values_of)(const Record &),
                                           void (*store)(const Values &, Record &),
                                           bool sort_edited)
{
    const auto i = static_cast<std::size_t>(row.value_or(0));
    Record record = row ? editor_.records()[i] : Record{};
    Values values = row ? values_of(record) : Values{};
    AttributesDialog dialog(values, this);
    if (interaction().exec(dialog) != QDialog::Accepted)
        return;
    store(values, record);
    if (row)
        editor_.replace(i, std::move(record), sort_edited);
    else
        editor_.add(std::move(record));
    refill();
}

} // namespace tw
