#pragma once

#include "field/crop_sheet_form.h"
#include "field/stage_editor.h"
#include "refdata/records.h"

#include <QDialog>
#include <QWidget>

#include <array>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;

namespace tw {

/// "General Data": names, harvests, yield, population, depths, temperatures and the two crop
/// coefficient polynomials.
class CCropGeneralPage : public QWidget
{
    Q_OBJECT

public:
    explicit CCropGeneralPage(QWidget *parent = nullptr);
    void set_values(const CropSheetValues &values);
    /// False after the message when a field holds no number.
    bool take_values(CropSheetValues &values) const;

    QLineEdit *name_edit() const { return name_; }
    QLineEdit *hybrid_edit() const { return hybrid_; }
    QSpinBox *harvests_box() const { return harvests_; }
    QLineEdit *planting_depth_edit() const { return planting_depth_; }

private:
    QLineEdit *name_;
    QLineEdit *hybrid_;
    QSpinBox *harvests_;
    QLineEdit *yield_;
    QComboBox *units_;
    QLineEdit *population_;
    QLineEdit *planting_depth_;
    QLineEdit *max_depth_;
    QLineEdit *min_temperature_;
    QLineEdit *max_temperature_;
    std::array<QLineEdit *, 4> kc_before_;
    std::array<QLineEdit *, 4> kc_after_;
};

/// "Fertility Information": nitrogen requirement, uptake efficiencies, soil test levels, B0.
class CCropFertilityPage : public QWidget
{
    Q_OBJECT

public:
    explicit CCropFertilityPage(QWidget *parent = nullptr);
    void set_values(const CropSheetValues &values);
    bool take_values(CropSheetValues &values) const;

    /// The phosphorus and potassium rates at Low, Medium and High.
    const std::array<QLineEdit *, 3> &p_level_edits() const { return p_levels_; }
    const std::array<QLineEdit *, 3> &k_level_edits() const { return k_levels_; }

private:
    QLineEdit *n_requirement_;
    std::array<QSpinBox *, 6> efficiency_;
    std::array<QLineEdit *, 3> p_levels_;
    std::array<QLineEdit *, 3> k_levels_;
    QLineEdit *b0_;
};

/// "Growth Stage Details": one stage's name, depletion, days and degree days, checked against
/// the stages around it on OK.
class CGrowthStageDetailsDlg : public QDialog
{
    Q_OBJECT

public:
    CGrowthStageDetailsDlg(StageEditor &editor, StageEdit edit, QWidget *parent = nullptr);
    void accept() override;

    QLineEdit *name_edit() const { return name_; }
    QLineEdit *depletion_edit() const { return depletion_; }
    QLineEdit *days_edit() const { return days_; }
    QLineEdit *gdd_edit() const { return gdd_; }

private:
    StageEditor &editor_;
    StageEdit edit_;
    QLineEdit *name_;
    QLineEdit *depletion_;
    QLineEdit *days_;
    QLineEdit *gdd_;
};

/// "Growth Stages": the crop's stage list with Insert, Delete and double-click to edit.
class CCropGrowthStages : public QWidget
{
    Q_OBJECT

public:
    explicit CCropGrowthStages(CropRecord &crop, QWidget *parent = nullptr);

    QTreeWidget *list() const { return list_; }
    QPushButton *insert_button() const { return insert_; }
    QPushButton *delete_button() const { return delete_; }

    void insert_stage();
    void edit_stage(int k);
    void delete_stage();
    void refill();

private:
    std::optional<int> selected() const;

    StageEditor editor_;
    QTreeWidget *list_;
    QPushButton *insert_;
    QPushButton *delete_;
};

enum class CropSheetFor { Field, Database };

/// The crop property sheet over a copy of a crop ("Customize Field's Crop Details" for a field's
/// crop, "Modify Crops Database Details" for a crop.db record). The caller takes crop() on OK.
class CCropSheet : public QDialog
{
    Q_OBJECT

public:
    CCropSheet(const CropRecord &crop, CropSheetFor use, QWidget *parent = nullptr);
    void accept() override;

    const CropRecord &crop() const { return crop_; }
    QTabWidget *pages() const { return tabs_; }
    CCropGeneralPage *general_page() const { return general_; }
    CCropGrowthStages *stages_page() const { return stages_; }
    CCropFertilityPage *fertility_page() const { return fertility_; }

private:
    CropRecord crop_;
    QTabWidget *tabs_;
    CCropGeneralPage *general_;
    CCropGrowthStages *stages_;
    CCropFertilityPage *fertility_;
};

} // namespace tw
