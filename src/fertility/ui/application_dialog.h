#pragma once

#include "fertility/schedule.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QRadioButton;

namespace tw {

/// "Fertilizer Application": the material, its phase, the application method and the rain
/// expected for one application of the schedule. The rules are the application page's; the
/// dialog lists what the page allows and stays open while OK is refused.
class CFertilizerApplicationDlg : public QDialog
{
    Q_OBJECT

public:
    CFertilizerApplicationDlg(ApplicationPage &page, QWidget *parent = nullptr);
    void accept() override;

    QComboBox *material_list() const { return materials_; }
    /// Solid, Liquid, Gas.
    QRadioButton *state_button(int state) const;
    /// Rebuilt from the methods the page allows each time it opens.
    QComboBox *method_list() const { return methods_; }
    QComboBox *rain_list() const { return rain_; }

private:
    void choose_material(int row);
    /// "(New Blend)": the blend dialog; false when it was cancelled.
    bool choose_new_blend();
    bool open_method_list();
    /// The material or its phase changed: the methods listed were for the old one.
    void forget_methods();
    /// The states the material allows, and the method the page keeps, shown again.
    void sync();

    ApplicationPage &page_;
    QComboBox *materials_;
    QButtonGroup *states_;
    QComboBox *methods_;
    QComboBox *rain_;
    int material_row_ = -1;
    bool has_blend_row_ = false;
};

/// The application pages of a schedule as modal dialogs over `parent`.
class QtApplicationChooser : public ApplicationChooser
{
public:
    explicit QtApplicationChooser(QWidget *parent)
        : parent_(parent)
    {}
    bool choose(ApplicationPage &page) override;

private:
    QWidget *parent_;
};

} // namespace tw
