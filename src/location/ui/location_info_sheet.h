#pragma once

#include "location/location_info_form.h"
#include "refdata/records.h"

#include <QDialog>

#include <filesystem>
#include <string>
#include <vector>

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace tw {

class CLocationDoc;

/// "Weather Location Information": the two pages over a LocationInfoForm, which holds the
/// values and every rule. The sheet shows the form's values, hands each reaction to the form and
/// stays open while the form refuses OK.
class CLocationInfoSheet : public QDialog
{
    Q_OBJECT

public:
    /// `open_names`: the names of the other open locations; `folder`: where the file checks look.
    CLocationInfoSheet(CLocationDoc &doc, SheetMode mode, std::vector<std::string> open_names,
                       std::filesystem::path folder, QWidget *parent = nullptr);

    const LocationInfoForm &form() const { return form_; }
    void accept() override;

    QTabWidget *pages() const { return tabs_; }
    QLineEdit *name_edit() const { return name_; }
    QDateEdit *start_date_edit() const { return start_; }
    QComboBox *et_equation() const { return et_; }
    QSpinBox *season_length() const { return season_; }
    QLineEdit *elevation_edit() const { return elevation_; }
    QLineEdit *latitude_edit() const { return latitude_; }
    QLineEdit *pressure_edit() const { return pressure_; }
    QLineEdit *anemometer_edit() const { return anemometer_; }
    QLineEdit *warm_tmin_edit() const { return warm_tmin_; }
    QLineEdit *warm_tmax_edit() const { return warm_tmax_; }
    QLineEdit *ct_edit() const { return ct_; }
    QLineEdit *tx_edit() const { return tx_; }
    QLineEdit *delta_t_edit() const { return delta_t_; }
    QLineEdit *k_zero_edit() const { return k_zero_; }
    QButtonGroup *reference_type() const { return reference_; }
    QListWidget *stations() const { return station_list_; }
    QLineEdit *source_url_edit() const { return source_url_; }
    QLineEdit *source_station_edit() const { return source_station_; }
    QLineEdit *source_columns_edit() const { return source_columns_; }
    QLineEdit *forecast_url_edit() const { return forecast_url_; }
    QPushButton *clear_source_button() const { return clear_source_; }

    /// Choosing a station (double-click in "Import From Station:").
    void choose_station(int row);

private:
    QWidget *basics_page();
    QWidget *station_page();
    QWidget *source_page();
    /// Reads every field the user can type into the form; false (after the message, with the
    /// field focused) when one does not hold a number.
    bool take_values();
    void show_values();
    void show_reference_rule();
    template<typename Reaction>
    void react(Reaction reaction);

    CLocationDoc &doc_;
    LocationInfoForm form_;
    std::vector<std::string> open_names_;
    std::filesystem::path folder_;
    std::vector<StationRecord> station_records_;

    QTabWidget *tabs_;
    QLineEdit *name_ = nullptr;
    QDateEdit *start_ = nullptr;
    QComboBox *et_ = nullptr;
    QSpinBox *season_ = nullptr;
    QLineEdit *elevation_ = nullptr;
    QLineEdit *latitude_ = nullptr;
    QLineEdit *pressure_ = nullptr;
    QLineEdit *anemometer_ = nullptr;
    QLineEdit *warm_tmin_ = nullptr;
    QLineEdit *warm_tmax_ = nullptr;
    QLineEdit *ct_ = nullptr;
    QLineEdit *tx_ = nullptr;
    QLineEdit *delta_t_ = nullptr;
    QLineEdit *k_zero_ = nullptr;
    QButtonGroup *reference_ = nullptr;
    QListWidget *station_list_ = nullptr;
    QLineEdit *source_url_ = nullptr;
    QLineEdit *source_station_ = nullptr;
    QLineEdit *source_columns_ = nullptr;
    QLineEdit *forecast_url_ = nullptr;
    QPushButton *clear_source_ = nullptr;
};

} // namespace tw
