#pragma once

#include "location/csv_import_form.h"

#include <QDialog>

#include <array>

class QComboBox;
class QTableWidget;

namespace tw {

/// "Import CSV Weather": the first lines of the file, and for each quantity a column picker (or
/// "(not in the file)") and a unit picker. The rules are the import form's; OK stays refused while
/// the choices cannot place a line on a day.
class CCsvImportDlg : public QDialog
{
    Q_OBJECT

public:
    CCsvImportDlg(CsvImportForm &form, QWidget *parent = nullptr);
    void accept() override;

    QTableWidget *preview() const { return preview_; }
    QComboBox *column_box(CsvQuantity q) const { return columns_[static_cast<std::size_t>(q)]; }
    /// Nothing for the date quantities, which have no unit.
    QComboBox *unit_box(CsvQuantity q) const { return units_[static_cast<std::size_t>(q)]; }

private:
    void fill_preview();

    CsvImportForm &form_;
    QTableWidget *preview_;
    std::array<QComboBox *, kCsvQuantities> columns_{};
    std::array<QComboBox *, kCsvQuantities> units_{};
};

} // namespace tw
