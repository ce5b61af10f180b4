#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tw {

class DailyEntryForm;

/// "Nitrogen Application": the nitrogen applied on the day, a whole number of lbs/Acre.
class CNitrogenApplicationDlg : public QDialog
{
    Q_OBJECT

public:
    CNitrogenApplicationDlg(int lbs, QWidget *parent = nullptr);
    void accept() override;
    int lbs() const { return lbs_; }
    QLineEdit *amount_edit() const { return amount_; }

private:
    int lbs_;
    QLineEdit *amount_;
};

/// "Daily Irrigation Data" of one field day over its DailyEntryForm, titled with the day's date.
/// OK stores the entries and reruns the field.
class CDailyIrrigationDlg : public QDialog
{
    Q_OBJECT

public:
    CDailyIrrigationDlg(DailyEntryForm &form, QWidget *parent = nullptr);
    void accept() override;

    QLineEdit *rain_edit() const { return rain_; }
    QLineEdit *irrigation_edit() const { return irrigation_; }
    QComboBox *stage_list() const { return stage_; }
    QLabel *status_text() const { return status_; }
    QLineEdit *needed_edit() const { return needed_; }
    QCheckBox *override_box() const { return override_; }
    QLineEdit *moisture_edit() const { return moisture_; }
    QPushButton *nitrogen_button() const { return nitrogen_; }

    /// "Nitrogen Applied >>".
    void edit_nitrogen();

private:
    DailyEntryForm &form_;
    QLineEdit *rain_;
    QLineEdit *irrigation_;
    QComboBox *stage_;
    QLabel *status_;
    QLineEdit *needed_;
    QCheckBox *override_;
    QLineEdit *moisture_;
    QPushButton *nitrogen_;
};

} // namespace tw
