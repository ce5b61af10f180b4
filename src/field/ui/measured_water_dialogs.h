#pragma once

#include "field/soil_readings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;

namespace tw {

struct ForecastSkill;

/// What the readings of a file measure and the unit they are written in, asked before they are
/// entered.
class CSoilReadingsDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CSoilReadingsDlg(QWidget *parent = nullptr);

    QComboBox *kind_list() const { return kind_; }
    QComboBox *unit_list() const { return unit_; }
    QComboBox *taken_list() const { return taken_; }
    QCheckBox *learn_box() const { return learn_; }
    /// The unit chosen (of the chosen kind).
    const ReadingUnit &unit() const;
    /// When the readings were taken, and whether the field is to learn from them.
    ReadingsEntry entry() const;

private:
    void show_units();

    QComboBox *kind_;
    QComboBox *unit_;
    QComboBox *taken_;
    QCheckBox *learn_;
};

/// Each override against the deficit the balance predicted for its day, and the errors' summary.
class CForecastSkillDlg : public QDialog
{
    Q_OBJECT

public:
    CForecastSkillDlg(const ForecastSkill &skill, QWidget *parent = nullptr);

    QTableWidget *table() const { return table_; }
    QLabel *summary() const { return summary_; }
    QLabel *words() const { return words_; }

private:
    QTableWidget *table_;
    QLabel *summary_;
    QLabel *words_;
};

} // namespace tw
