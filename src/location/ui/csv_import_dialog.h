#pragma once

#include "location/csv_import_form.h"
#include "location/csv_presets.h"

#include <QDialog>

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableWidget;

namespace tw {

/// "Import CSV Weather": the first lines of the file, for each quantity a column picker (or "(not
/// in the file)") and a unit picker started from what the header says, the named maps, and the
/// first lines as they would be stored, in the user's units, with the values the import would
/// leave unset marked. The rules are the import form's; OK stays refused while the choices cannot
/// place a line on a day.
class CCsvImportDlg : public QDialog
{
    Q_OBJECT

public:
    /// `save_preset` keeps a named map (false after its message).
    using SavePreset = std::function<bool(const std::string &name, const CsvWeatherMap &map)>;

    CCsvImportDlg(CsvImportForm &form, std::vector<CsvPreset> presets, SavePreset save_preset,
                  QWidget *parent = nullptr);
    void accept() override;

    QTableWidget *preview() const { return preview_; }
    QTableWidget *stored_preview() const { return stored_; }
    QComboBox *column_box(CsvQuantity q) const { return columns_[static_cast<std::size_t>(q)]; }
    /// Nothing for the date quantities, which have no unit.
    QComboBox *unit_box(CsvQuantity q) const { return units_[static_cast<std::size_t>(q)]; }
    QComboBox *preset_box() const { return preset_box_; }
    QLineEdit *preset_name() const { return preset_name_; }
    QCheckBox *replace_box() const { return replace_; }
    /// Saves the choices under the typed name.
    void save_preset();

private:
    void fill_preview();
    void show_choices();
    void fill_stored_preview();
    void choose_preset(int index);

    CsvImportForm &form_;
    std::vector<CsvPreset> presets_;
    SavePreset save_preset_;
    QTableWidget *preview_;
    QTableWidget *stored_;
    QComboBox *preset_box_;
    QLineEdit *preset_name_;
    QCheckBox *replace_;
    std::array<QComboBox *, kCsvQuantities> columns_{};
    std::array<QComboBox *, kCsvQuantities> units_{};
};

} // namespace tw
