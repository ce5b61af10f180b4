#pragma once

#include "location/day_entry.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace tw {

class CLocationDoc;

/// "Weather Data": one day of a location typed or corrected in display units. The rules are the
/// day entry's; the dialog shows its fields, keeps "Use Alternate ET" and the fields it enables in
/// step, and stays open while the entry is refused.
class CWeatherDayDlg : public QDialog
{
    Q_OBJECT

public:
    CWeatherDayDlg(CLocationDoc &doc, int day, QWidget *parent = nullptr);
    void accept() override;

    QLineEdit *t_min() const { return t_min_; }
    QLineEdit *t_max() const { return t_max_; }
    QLineEdit *rh_min() const { return rh_min_; }
    QLineEdit *rh_max() const { return rh_max_; }
    QLineEdit *solar_radiation() const { return radiation_; }
    QComboBox *cloud_cover() const { return cloud_; }
    QLabel *radiation_label() const { return radiation_label_; }
    QLineEdit *wind_run() const { return wind_; }
    QLineEdit *rain() const { return rain_; }
    QCheckBox *use_alternate() const { return use_alternate_; }
    QLineEdit *alternate_etr() const { return alternate_; }

private:
    void set_alternate(bool on);
    /// The entry from the fields; false (after the message) when a field holds no number.
    bool take_entry();

    CLocationDoc &doc_;
    int day_;
    DayEntry entry_;
    QLineEdit *t_min_;
    QLineEdit *t_max_;
    QLineEdit *rh_min_;
    QLineEdit *rh_max_;
    QLineEdit *radiation_;
    QComboBox *cloud_;
    QLabel *radiation_label_;
    QLineEdit *wind_;
    QLineEdit *rain_;
    QCheckBox *use_alternate_;
    QLineEdit *alternate_;
};

} // namespace tw
