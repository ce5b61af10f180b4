#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;

namespace tw {

class FieldDetailsForm;

/// "Field Details" of a new or an existing field over a FieldDetailsForm, which holds the values
/// and every rule; the dialog stays open while the form refuses OK.
class CFieldDetailsDlg : public QDialog
{
    Q_OBJECT

public:
    CFieldDetailsDlg(FieldDetailsForm &form, QWidget *parent = nullptr);
    void accept() override;

    QLineEdit *name_edit() const { return name_; }
    QComboBox *crop_list() const { return crop_; }
    QComboBox *soil_list() const { return soil_; }
    QComboBox *system_list() const { return system_; }
    QLineEdit *efficiency_edit() const { return efficiency_; }
    QCheckBox *perennial_box() const { return perennial_; }
    QLabel *date_label() const { return date_label_; }
    QDateEdit *date_edit() const { return date_; }
    QLineEdit *moisture_edit() const { return moisture_; }
    QLineEdit *nitrogen_edit() const { return nitrogen_; }
    QLineEdit *capacity_edit() const { return capacity_; }
    QCheckBox *learn_box() const { return learn_; }

private:
    /// Reads the typed fields into the form; false after the message.
    bool take_values();
    void show_values();
    void show_efficiency_state();
    void show_perennial_rule();

    FieldDetailsForm &form_;
    QLineEdit *name_;
    QComboBox *crop_;
    QComboBox *soil_;
    QComboBox *system_;
    QLineEdit *efficiency_;
    QCheckBox *perennial_;
    QLabel *date_label_;
    QDateEdit *date_;
    QLineEdit *moisture_;
    QLineEdit *nitrogen_;
    QLineEdit *capacity_; ///< empty: no capacity
    QCheckBox *learn_;
};

} // namespace tw
