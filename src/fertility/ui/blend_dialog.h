#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tw {

class ApplicationPage;

/// "New Fertilizer Blend": a material made up on the spot for one application page. OK makes it
/// the page's material (the page refuses a blend without its nutrient or a phase, and offers to
/// keep it in the library).
class CNewBlendDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CNewBlendDlg(ApplicationPage &page, QWidget *parent = nullptr);
    void accept() override;

    QLineEdit *name_edit() const { return name_; }
    /// %N, %P2O5, %K2O.
    QLineEdit *percent_edit(int nutrient) const { return percents_[nutrient]; }
    /// Preplant, Starter, Post Emergence, Fertigation.
    QLineEdit *maximum_edit(int phase) const { return maxima_[phase]; }
    /// Solid, Liquid, Gas.
    QCheckBox *state_box(int state) const { return states_[state]; }
    QComboBox *volatility_list() const { return volatility_; }

private:
    ApplicationPage &page_;
    QLineEdit *name_;
    std::array<QLineEdit *, 3> percents_{};
    std::array<QLineEdit *, 4> maxima_{};
    std::array<QCheckBox *, 3> states_{};
    QComboBox *volatility_;
};

} // namespace tw
