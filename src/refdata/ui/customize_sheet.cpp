#include "refdata/ui/customize_sheet.h"

#include "platform/edition.h"
#include "platform/ui/dialog_fields.h"
#include "refdata/units.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tw {
namespace {

// The form's member that holds each Dimension's unit code, Depth to Latent_Heat.
constexpr std::int32_t PreferencesForm::*kUnitMembers[] = {
    &PreferencesForm::depth_unit,         &PreferencesForm::height_unit,
    &PreferencesForm::soil_moisture_unit, &PreferencesForm::radiation_unit,
    &PreferencesForm::pressure_unit,      &PreferencesForm::temperature_unit,
    &PreferencesForm::wind_unit,          &PreferencesForm::latent_heat_unit,
};

QComboBox *unit_list(std::int32_t dimension)
{
    auto *list = new QComboBox;
    for (const std::string_view text : unit_list_texts(dimension))
        list->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return list;
}

// A group box of two radio buttons whose ids are their positions.
QButtonGroup *radio_pair(QGroupBox *box, const QString &first, const QString &second,
                         QBoxLayout *layout)
{
    auto *group = new QButtonGroup(box);
    int id = 0;
    for (const QString &text : {first, second}) {
        auto *button = new QRadioButton(text);
        group->addButton(button, id++);
        layout->addWidget(button);
    }
    return group;
}

void check(QButtonGroup *group, std::int32_t stored)
{
    // An exclusive group cannot be emptied by unchecking, so clear it while nothing shows.
    group->setExclusive(false);
    for (QAbstractButton *button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
    const int id = selection_for(stored, static_cast<int>(group->buttons().size()));
    if (id >= 0)
        group->button(id)->setChecked(true);
}

QGroupBox *radio_box(const QString &title, const QString &first, const QString &second,
                     QButtonGroup *&group)
{
    auto *box = new QGroupBox(title);
    auto *layout = new QVBoxLayout(box);
    group = radio_pair(box, first, second, layout);
    return box;
}

} // namespace

CCustomizeUnitsDlg::CCustomizeUnitsDlg(QWidget *parent)
    : QWidget(parent)
{
    for (std::int32_t d = Depth; d <= Latent_Heat; ++d)
        lists_.push_back(unit_list(d));
    auto *form = new QFormLayout;
    const std::pair<const char *, std::int32_t> rows[] = {
        {"Depth ", Depth},
        {"Height", Height},
        {"Radiation", Radiation},
        {"Pressure", Pressure},
        {"Temperature", Temperature},
        {"Wind Speed", Wind_Speed},
        {"Latent Heat", Latent_Heat},
    };
    for (const auto &[caption, dimension] : rows)
        form->addRow(QString::fromLatin1(caption), list_of(dimension));

    auto *moisture = new QGroupBox(QStringLiteral("Soil Moisture"));
    auto *moisture_form = new QFormLayout(moisture);
    moisture_form->addRow(QStringLiteral("Units:"), list_of(Soil_Moisture));
    auto *display_row = new QHBoxLayout;
    display_ = radio_pair(moisture, QStringLiteral("Available Depth"), QStringLiteral("Deficit"),
                          display_row);
    moisture_form->addRow(QStringLiteral("Display:"), display_row);

    auto *presets = new QHBoxLayout;
    for (const auto &[text, preset] : {std::pair{"US customary", UnitPreset::UsCustomary},
                                       std::pair{"Metric", UnitPreset::Metric}}) {
        auto *button = new QPushButton(QString::fromLatin1(text));
        connect(button, &QPushButton::clicked, this, [this, preset = preset] {
            PreferencesForm chosen;
            take_into(chosen);
            apply_unit_preset(chosen, preset);
            set_form(chosen);
        });
        presets->addWidget(button);
    }
    presets->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(presets);
    layout->addLayout(form);
    layout->addWidget(moisture);
    layout->addStretch();
}

QComboBox *CCustomizeUnitsDlg::list_of(std::int32_t dimension) const
{
    return lists_.at(static_cast<std::size_t>(dimension - Depth));
}

void CCustomizeUnitsDlg::set_form(const PreferencesForm &form)
{
    for (std::int32_t d = Depth; d <= Latent_Heat; ++d) {
        QComboBox *list = list_of(d);
        list->setCurrentIndex(selection_for(form.*kUnitMembers[d - Depth], list->count()));
    }
    check(display_, form.moisture_display);
}

void CCustomizeUnitsDlg::take_into(PreferencesForm &form) const
{
    for (std::int32_t d = Depth; d <= Latent_Heat; ++d) {
        std::int32_t &code = form.*kUnitMembers[d - Depth];
        code = code_for(list_of(d)->currentIndex(), code);
    }
    form.moisture_display = code_for(display_->checkedId(), form.moisture_display);
}

CCustomizeCalcDlg::CCustomizeCalcDlg(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(radio_box(QStringLiteral("Crop Growth"), QStringLiteral("Season Days"),
                                QStringLiteral("Growing Degree Days"), crop_growth_));
    layout->addWidget(radio_box(QStringLiteral("Root Depth"), QStringLiteral("Linear Equation"),
                                QStringLiteral("Non-Linear Equation"), root_depth_));
    layout->addWidget(radio_box(QStringLiteral("Solar Radiation"), QStringLiteral("Data Available"),
                                QStringLiteral("Cloud Cover Based"), solar_radiation_));
    layout->addStretch();
}

void CCustomizeCalcDlg::set_form(const PreferencesForm &form)
{
    check(crop_growth_, form.crop_growth_basis);
    check(root_depth_, form.root_depth_model);
    check(solar_radiation_, form.cloud_cover_input);
}

void CCustomizeCalcDlg::take_into(PreferencesForm &form) const
{
    form.crop_growth_basis = code_for(crop_growth_->checkedId(), form.crop_growth_basis);
    form.root_depth_model = code_for(root_depth_->checkedId(), form.root_depth_model);
    form.cloud_cover_input = code_for(solar_radiation_->checkedId(), form.cloud_cover_input);
}

CCustomizeSheet::CCustomizeSheet(const PreferencesForm &form, QWidget *parent)
    : QDialog(parent)
    , original_(form)
    , tabs_(new QTabWidget)
    , units_(new CCustomizeUnitsDlg)
    , calc_(new CCustomizeCalcDlg)
{
    setWindowTitle(qt_text("Customize " + std::string(edition().program_name)));
    tabs_->addTab(units_, QStringLiteral("Units"));
    tabs_->addTab(calc_, QStringLiteral("Calculations"));
    units_->set_form(form);
    calc_->set_form(form);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    add_ok_cancel(*this, *layout);
}

PreferencesForm CCustomizeSheet::form() const
{
    PreferencesForm form = original_;
    units_->take_into(form);
    calc_->take_into(form);
    return form;
}

} // namespace tw
