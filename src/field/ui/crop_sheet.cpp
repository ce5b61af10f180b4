#include "field/ui/crop_sheet.h"

#include "platform/edition.h"
#include "platform/message_port.h"
#include "platform/ui/dialog_fields.h"
#include "platform/ui/interaction.h"
#include "refdata/ui/unit_fields.h"
#include "refdata/units.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tw {
namespace {

QSpinBox *spin_box(int lo, int hi, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(lo, hi);
    return box;
}

QString coefficient_text(double value)
{
    // The polynomials are stored in double precision, down to terms of 1e-8.
    return QString::number(value, 'g', 10);
}

/// One "KC=" row: the coefficients of R³, R², R and the constant.
QWidget *kc_row(std::array<QLineEdit *, 4> &edits, QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const char *terms[] = {"R\u00b3 +", "R\u00b2 +", "R +", ""};
    for (std::size_t i = 0; i < edits.size(); ++i) {
        edits[i] = number_edit(row);
        // Room for the smallest terms in full ("-9.3e-08").
        edits[i]->setMinimumWidth(
            edits[i]->fontMetrics().horizontalAdvance(QStringLiteral("-0.000000000")));
        layout->addWidget(edits[i]);
        if (*terms[i])
            layout->addWidget(new QLabel(QString::fromUtf8(terms[i])));
    }
    return row;
}

bool take_coefficients(const std::array<QLineEdit *, 4> &edits, KcPolynomial &kc)
{
    std::array<std::pair<QLineEdit *, double *>, 4> fields;
    for (std::size_t i = 0; i < edits.size(); ++i)
        fields[i] = {edits[i], &kc[i]};
    return take_numbers(fields);
}

} // namespace

CCropGeneralPage::CCropGeneralPage(QWidget *parent)
    : QWidget(parent)
    , name_(new QLineEdit(this))
    , hybrid_(new QLineEdit(this))
    , harvests_(spin_box(1, 9, this))
    , yield_(whole_number_edit(this))
    , units_(new QComboBox(this))
    , population_(whole_number_edit(this))
    , planting_depth_(number_edit(this))
    , max_depth_(number_edit(this))
    , min_temperature_(number_edit(this))
    , max_temperature_(number_edit(this))
{
    name_->setMaxLength(static_cast<int>(kCropTextChars));
    hybrid_->setMaxLength(static_cast<int>(kCropTextChars));
    units_->setEditable(true);
    for (const std::string_view unit : yield_unit_choices())
        units_->addItem(QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size())));
    units_->lineEdit()->setMaxLength(static_cast<int>(kYieldUnitChars));

    auto *yield = new QWidget(this);
    auto *yield_layout = new QHBoxLayout(yield);
    yield_layout->setContentsMargins(0, 0, 0, 0);
    yield_layout->addWidget(yield_);
    yield_layout->addWidget(units_);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Crop Name:"), name_);
    form->addRow(QStringLiteral("Hybrid Type:"), hybrid_);
    form->addRow(QStringLiteral("Maximum Harvests/Season:"), harvests_);
    // The earlier release's crops have one harvest a season and crop.db no field for more.
    form->setRowVisible(harvests_, edition().perennial_crops);
    form->addRow(QStringLiteral("Average Yield: "), yield);
    form->addRow(QStringLiteral("Avg. Plant Population:"),
                 with_label(population_, QStringLiteral("1000/Acre")));
    form->addRow(QStringLiteral("Planting Depth:"), with_unit(planting_depth_, Depth));
    form->addRow(QStringLiteral("Maximum Depth:"), with_unit(max_depth_, Depth));
    form->addRow(QStringLiteral("Min Temperature:"), with_unit(min_temperature_, Temperature));
    form->addRow(QStringLiteral("Max Temperature:"), with_unit(max_temperature_, Temperature));
    form->addRow(QStringLiteral("Before Full Cover:  KC="), kc_row(kc_before_, this));
    form->addRow(QStringLiteral("After Full Cover:      KC="), kc_row(kc_after_, this));
}

void CCropGeneralPage::set_values(const CropSheetValues &v)
{
    name_->setText(QString::fromStdString(v.name));
    hybrid_->setText(QString::fromStdString(v.hybrid));
    harvests_->setValue(v.max_harvests);
    yield_->setText(QString::number(v.average_yield));
    units_->setCurrentText(QString::fromStdString(v.yield_units));
    population_->setText(QString::number(v.plant_population));
    show_number(planting_depth_, v.planting_depth);
    show_number(max_depth_, v.max_root_depth);
    show_number(min_temperature_, v.min_temperature);
    show_number(max_temperature_, v.max_temperature);
    for (std::size_t i = 0; i < 4; ++i) {
        kc_before_[i]->setText(coefficient_text(v.kc_before[i]));
        kc_after_[i]->setText(coefficient_text(v.kc_after[i]));
    }
}

bool CCropGeneralPage::take_values(CropSheetValues &v) const
{
    const std::pair<QLineEdit *, int *> whole[] = {
        {yield_, &v.average_yield},
        {population_, &v.plant_population},
    };
    const std::pair<QLineEdit *, float *> numbers[] = {
        {planting_depth_, &v.planting_depth},
        {max_depth_, &v.max_root_depth},
        {min_temperature_, &v.min_temperature},
        {max_temperature_, &v.max_temperature},
    };
    if (!take_whole_numbers(whole) || !take_numbers(numbers) ||
        !take_coefficients(kc_before_, v.kc_before) || !take_coefficients(kc_after_, v.kc_after))
        return false;
    v.name = name_->text().toStdString();
    v.hybrid = hybrid_->text().toStdString();
    v.max_harvests = harvests_->value();
    v.yield_units = units_->currentText().toStdString();
    return true;
}

CCropFertilityPage::CCropFertilityPage(QWidget *parent)
    : QWidget(parent)
    , n_requirement_(number_edit(this))
    , b0_(number_edit(this))
{
    auto *efficiency = new QGroupBox(QStringLiteral("Nitrogen Uptake Efficiency"));
    auto *efficiency_form = new QFormLayout(efficiency);
    const char *sources[] = {
        "Fertilizer:",      "Residual Nitrate:",      "Organic Matter:",
        "Legume Fixation:", "Manure Mineralization:", "Irrigation Water Nitrate:"};
    for (std::size_t i = 0; i < efficiency_.size(); ++i) {
        efficiency_[i] = spin_box(0, 100, efficiency);
        efficiency_form->addRow(QString::fromLatin1(sources[i]),
                                with_label(efficiency_[i], QStringLiteral("%")));
    }

    auto *levels = new QGroupBox(QStringLiteral("Soil Test Levels (lb/Acre)"));
    auto *grid = new QGridLayout(levels);
    const char *columns[] = {"Low", "Med", "High"};
    for (int c = 0; c < 3; ++c)
        grid->addWidget(new QLabel(QString::fromLatin1(columns[c])), 0, c + 1);
    grid->addWidget(new QLabel(QStringLiteral("Phosphorus:")), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Potassium:")), 2, 0);
    for (std::size_t c = 0; c < 3; ++c) {
        p_levels_[c] = whole_number_edit(levels);
        k_levels_[c] = whole_number_edit(levels);
        p_levels_[c]->setToolTip(qt_text(soil_test_rate_tip(SoilTestNutrient::Phosphorus, c)));
        k_levels_[c]->setToolTip(qt_text(soil_test_rate_tip(SoilTestNutrient::Potassium, c)));
        grid->addWidget(p_levels_[c], 1, static_cast<int>(c) + 1);
        grid->addWidget(k_levels_[c], 2, static_cast<int>(c) + 1);
    }

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Int. Nitrogen Requirement:"), n_requirement_);
    form->addRow(QStringLiteral("Yield Goal Estimation B0:"), b0_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(efficiency);
    layout->addWidget(levels);
    layout->addLayout(form);
}

void CCropFertilityPage::set_values(const CropSheetValues &v)
{
    show_number(n_requirement_, v.n_requirement);
    show_number(b0_, v.yield_b0);
    for (std::size_t i = 0; i < efficiency_.size(); ++i)
        efficiency_[i]->setValue(v.efficiency[i]);
    for (std::size_t c = 0; c < 3; ++c) {
        p_levels_[c]->setText(QString::number(v.p_levels[c]));
        k_levels_[c]->setText(QString::number(v.k_levels[c]));
    }
}

bool CCropFertilityPage::take_values(CropSheetValues &v) const
{
    const std::pair<QLineEdit *, float *> numbers[] = {
        {n_requirement_, &v.n_requirement},
        {b0_, &v.yield_b0},
    };
    const std::pair<QLineEdit *, int *> levels[] = {
        {p_levels_[0], &v.p_levels[0]}, {p_levels_[1], &v.p_levels[1]},
        {p_levels_[2], &v.p_levels[2]}, {k_levels_[0], &v.k_levels[0]},
        {k_levels_[1], &v.k_levels[1]}, {k_levels_[2], &v.k_levels[2]},
    };
    if (!take_numbers(numbers) || !take_whole_numbers(levels))
        return false;
    for (std::size_t i = 0; i < efficiency_.size(); ++i)
        v.efficiency[i] = efficiency_[i]->value();
    return true;
}

CGrowthStageDetailsDlg::CGrowthStageDetailsDlg(StageEditor &editor, StageEdit edit, QWidget *parent)
    : QDialog(parent)
    , editor_(editor)
    , edit_(std::move(edit))
    , name_(new QLineEdit(this))
    , depletion_(number_edit(this))
    , days_(number_edit(this))
    , gdd_(number_edit(this))
{
    setWindowTitle(QStringLiteral("Growth Stage Details"));
    name_->setMaxLength(static_cast<int>(kStageNameChars));
    const StageDetails &d = edit_.details;
    name_->setText(QString::fromStdString(d.name));
    show_number(depletion_, d.depletion_percent);
    show_number(days_, d.days);
    show_number(gdd_, d.gdd);
    for (QLineEdit *fixed : {name_, days_, gdd_})
        fixed->setEnabled(!edit_.depletion_only);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Growth Stage:"), name_);
    form->addRow(QStringLiteral("Allowable Depletion:"),
                 with_label(depletion_, QStringLiteral("%")));
    form->addRow(QStringLiteral("Calender Days:"), days_);
    form->addRow(QStringLiteral("Growing Degree Days:"), with_unit(gdd_, Temperature));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    add_ok_cancel(*this, *layout);
}

void CGrowthStageDetailsDlg::accept()
{
    StageDetails &d = edit_.details;
    const std::pair<QLineEdit *, float *> numbers[] = {
        {depletion_, &d.depletion_percent},
        {days_, &d.days},
        {gdd_, &d.gdd},
    };
    if (!take_numbers(numbers))
        return;
    d.name = name_->text().toStdString();
    if (editor_.finish(edit_))
        QDialog::accept();
}

CCropGrowthStages::CCropGrowthStages(CropRecord &crop, QWidget *parent)
    : QWidget(parent)
    , editor_(crop)
    , list_(new QTreeWidget(this))
    , insert_(new QPushButton(QStringLiteral("&Insert"), this))
    , delete_(new QPushButton(QStringLiteral("&Delete"), this))
{
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(insert_);
    buttons->addWidget(delete_);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    connect(insert_, &QPushButton::clicked, this, &CCropGrowthStages::insert_stage);
    connect(delete_, &QPushButton::clicked, this, &CCropGrowthStages::delete_stage);
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { edit_stage(list_->indexOfTopLevelItem(item)); });
    refill();
}

std::optional<int> CCropGrowthStages::selected() const
{
    const QList<QTreeWidgetItem *> items = list_->selectedItems();
    if (items.isEmpty())
        return std::nullopt;
    return list_->indexOfTopLevelItem(items.front());
}

void CCropGrowthStages::refill()
{
    const auto titles = stage_list_titles();
    list_->clear();
    list_->setColumnCount(kStageListColumns);
    list_->setHeaderLabels(qt_string_list(titles));
    for (int c = 0; c < kStageListColumns; ++c)
        list_->setColumnWidth(c, list_->fontMetrics().horizontalAdvance(
                                     QString::fromStdString(titles[static_cast<std::size_t>(c)])) +
                                     15);
    for (int k = 0; k < editor_.count(); ++k) {
        // The editor's crop is the sheet's own copy.
        const auto row = stage_list_row(editor_.stage(k));
        list_->addTopLevelItem(new QTreeWidgetItem(qt_string_list(row)));
    }
}

void CCropGrowthStages::insert_stage()
{
    const auto edit = editor_.begin_insert(selected());
    if (!edit)
        return;
    CGrowthStageDetailsDlg dialog(editor_, *edit, this);
    if (interaction().exec(dialog) == QDialog::Accepted)
        refill();
}

void CCropGrowthStages::edit_stage(int k)
{
    const auto edit = editor_.begin_edit(k);
    if (!edit)
        return;
    CGrowthStageDetailsDlg dialog(editor_, *edit, this);
    if (interaction().exec(dialog) == QDialog::Accepted)
        refill();
}

void CCropGrowthStages::delete_stage()
{
    if (editor_.remove(selected()))
        refill();
}

CCropSheet::CCropSheet(const CropRecord &crop, CropSheetFor use, QWidget *parent)
    : QDialog(parent)
    , crop_(crop)
    , tabs_(new QTabWidget(this))
    , general_(new CCropGeneralPage)
    , stages_(new CCropGrowthStages(crop_))
    , fertility_(new CCropFertilityPage)
{
    setWindowTitle(use == CropSheetFor::Field ? QStringLiteral("Customize Field's Crop Details")
                                              : QStringLiteral("Modify Crops Database Details"));
    tabs_->addTab(general_, QStringLiteral("General Data"));
    tabs_->addTab(stages_, QStringLiteral("Growth Stages"));
    tabs_->addTab(fertility_, QStringLiteral("Fertility Information"));
    const CropSheetValues values = crop_sheet_values(crop_);
    general_->set_values(values);
    fertility_->set_values(values);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    add_ok_cancel(*this, *layout);
}

void CCropSheet::accept()
{
    CropSheetValues values = crop_sheet_values(crop_);
    if (!general_->take_values(values) || !fertility_->take_values(values))
        return;
    if (const auto message = check_crop_sheet_values(values)) {
        messages().inform(*message);
        return;
    }
    store_crop_sheet_values(values, crop_);
    QDialog::accept();
}

} // namespace tw
