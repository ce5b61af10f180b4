#pragma once

#include "refdata/station_form.h"
#include "refdata/ui/database_dialog.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;

namespace tw {

/// "Station Attributes": a station of station.db typed in display units, with the pressure and
/// the Jensen-Haise parameters derived as the elevation and temperatures are left. On OK the
/// values are in `values`.
class CStationAttributesDlg : public QDialog
{
    Q_OBJECT

public:
    CStationAttributesDlg(StationValues &values, QWidget *parent = nullptr);
    void accept() override;

    QLineEdit *name_edit() const { return name_; }
    QLineEdit *elevation_edit() const { return elevation_; }
    QLineEdit *latitude_edit() const { return latitude_; }
    QLineEdit *tmin_edit() const { return tmin_; }
    QLineEdit *tmax_edit() const { return tmax_; }
    QLineEdit *pressure_edit() const { return pressure_; }
    QLineEdit *anemometer_edit() const { return anemometer_; }
    QLineEdit *ct_edit() const { return ct_; }
    QLineEdit *tx_edit() const { return tx_; }
    QLineEdit *k_zero_edit() const { return k_zero_; }
    QLineEdit *delta_t_edit() const { return delta_t_; }
    QButtonGroup *reference_crop() const { return reference_; }

private:
    /// Reads every typed field into the working values; false after the message.
    bool take_values();
    void show_values();
    void show_reference_rule();
    void react(void (*reaction)(StationValues &));

    StationValues &values_;
    StationValues typed_;
    QLineEdit *name_;
    QLineEdit *elevation_;
    QLineEdit *latitude_;
    QLineEdit *tmin_;
    QLineEdit *tmax_;
    QLineEdit *pressure_;
    QLineEdit *anemometer_;
    QLineEdit *ct_;
    QLineEdit *tx_;
    QLineEdit *k_zero_;
    QLineEdit *delta_t_;
    QButtonGroup *reference_;
};

/// "Stations Database (Weather Locations)": station.db in a list, edited through
/// "Station Attributes".
class CStationsDatabaseDlg : public RecordListDialog<StationRecord>
{
    Q_OBJECT

public:
    explicit CStationsDatabaseDlg(QWidget *parent = nullptr);

private:
    void refill() override;
    void add_record() override;
    void edit_record(int row) override;
};

} // namespace tw
