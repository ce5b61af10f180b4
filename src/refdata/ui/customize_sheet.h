#pragma once

#include "refdata/preferences_form.h"

#include <QDialog>
#include <QWidget>

#include <cstdint>
#include <vector>

class QButtonGroup;
class QComboBox;
class QTabWidget;

namespace tw {

/// The "Units" page: one list per Dimension, whose position is the unit code, and the soil
/// moisture display.
class CCustomizeUnitsDlg : public QWidget
{
    Q_OBJECT

public:
    explicit CCustomizeUnitsDlg(QWidget *parent = nullptr);
    void set_form(const PreferencesForm &form);
    void take_into(PreferencesForm &form) const;
    /// The list of a Dimension (Depth to Latent_Heat).
    QComboBox *list_of(std::int32_t dimension) const;
    QButtonGroup *display_group() const { return display_; }

private:
    std::vector<QComboBox *> lists_; // by Dimension - 1
    QButtonGroup *display_;
};

/// The "Calculations" page: three pairs of radio buttons.
class CCustomizeCalcDlg : public QWidget
{
    Q_OBJECT

public:
    explicit CCustomizeCalcDlg(QWidget *parent = nullptr);
    void set_form(const PreferencesForm &form);
    void take_into(PreferencesForm &form) const;
    QButtonGroup *crop_growth() const { return crop_growth_; }
    QButtonGroup *root_depth() const { return root_depth_; }
    QButtonGroup *solar_radiation() const { return solar_radiation_; }

private:
    QButtonGroup *crop_growth_;
    QButtonGroup *root_depth_;
    QButtonGroup *solar_radiation_;
};

/// The "Customize Tillwise" sheet over a copy of the preferences; the caller takes the result
/// on OK.
class CCustomizeSheet : public QDialog
{
    Q_OBJECT

public:
    explicit CCustomizeSheet(const PreferencesForm &form, QWidget *parent = nullptr);
    /// What the pages hold now, over the form the sheet was opened with.
    PreferencesForm form() const;

    QTabWidget *pages() const { return tabs_; }
    CCustomizeUnitsDlg *units_page() const { return units_; }
    CCustomizeCalcDlg *calculations_page() const { return calc_; }

private:
    PreferencesForm original_;
    QTabWidget *tabs_;
    CCustomizeUnitsDlg *units_;
    CCustomizeCalcDlg *calc_;
};

} // namespace tw
