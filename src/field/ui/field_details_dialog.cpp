#include "field/ui/field_details_dialog.h"

#include "field/field_details_form.h"
#include "field/irrigation_systems.h"
#include "field/system_capacity.h"
#include "platform/ui/date_field.h"
#include "platform/ui/dialog_fields.h"
#include "refdata/ui/unit_fields.h"
#include "refdata/units.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tw {

CFieldDetailsDlg::CFieldDetailsDlg(FieldDetailsForm &form, QWidget *parent)
    : QDialog(parent)
    , form_(form)
    , name_(new QLineEdit(this))
    , crop_(new QComboBox(this))
    , soil_(new QComboBox(this))
    , system_(new QComboBox(this))
    , efficiency_(number_edit(this, false))
    , perennial_(new QCheckBox(QStringLiteral("Perennial Planting Season "), this))
    , date_label_(new QLabel(this))
    , date_(new DateField(this))
    , moisture_(number_edit(this))
    , nitrogen_(number_edit(this))
    , capacity_(number_edit(this))
    , learn_(new QCheckBox(QStringLiteral("Learn from readings"), this))
{
    setWindowTitle(QStringLiteral("Field Details"));
    name_->setMaxLength(static_cast<int>(kMaxFieldNameChars));
    crop_->addItems(qt_string_list(form.crop_entries()));
    soil_->addItems(qt_string_list(form.soil_entries()));
    crop_->setCurrentIndex(-1);
    soil_->setCurrentIndex(-1);
    for (const IrrigationSystem &system : irrigation_systems())
        system_->addItem(
            QString::fromUtf8(system.name.data(), static_cast<qsizetype>(system.name.size())));
    // A name may be typed, which lets the efficiency be typed; the field keeps the last system
    // chosen from the list.
    system_->setEditable(true);
    system_->setInsertPolicy(QComboBox::NoInsert);
    date_->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    date_->setCalendarPopup(true);
    date_->setEnabled(form.is_new());
    nitrogen_->setEnabled(!form.is_new());

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Field Name:"), name_);
    if (form.is_new()) {
        fields->addRow(QStringLiteral("Crop:"), crop_);
        fields->addRow(QStringLiteral("Soil Type:"), soil_);
    } else {
        crop_->hide();
        soil_->hide();
    }
    fields->addRow(QStringLiteral("System:"), system_);
    fields->addRow(QStringLiteral("Efficiency:"), with_label(efficiency_, QStringLiteral("%")));
    fields->addRow(perennial_);
    fields->addRow(date_label_, date_);
    fields->addRow(QStringLiteral("Initail Soil Moisture:"), with_unit(moisture_, Soil_Moisture));
    fields->addRow(QStringLiteral("Nitrogen Available"),
                   with_label(nitrogen_, QStringLiteral("lbs/Acre")));
    // Days per depth unit, as pivot growers count it; left empty when the system is not slow.
    fields->addRow(QStringLiteral("System Capacity:"),
                   with_label(capacity_, qt_text(days_per_unit_label())));
    learn_->setToolTip(QStringLiteral("After the last soil-moisture reading, the balance takes "
                                      "the steady drift it showed between the readings."));
    fields->addRow(learn_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    add_ok_cancel(*this, *layout);

    connect(crop_, &QComboBox::activated, this, [this](int entry) {
        form_.choose_crop(static_cast<std::size_t>(entry));
        show_perennial_rule();
    });
    connect(soil_, &QComboBox::activated, this, [this](int entry) {
        form_.choose_soil(static_cast<std::size_t>(entry));
        moisture_->setText(QString::asprintf("%1.2f", form_.values.initial_moisture));
    });
    connect(system_, &QComboBox::activated, this, [this](int index) {
        form_.choose_system(index);
        show_number(efficiency_, form_.values.efficiency);
    });
    connect(system_->lineEdit(), &QLineEdit::textEdited, this, [this] {
        form_.type_system_text();
        show_efficiency_state();
    });
    connect(perennial_, &QCheckBox::toggled, this, [this](bool on) {
        form_.values.perennial = on;
        show_perennial_rule();
    });
    show_values();
}

void CFieldDetailsDlg::show_values()
{
    const FieldDetailsValues &v = form_.values;
    name_->setText(QString::fromStdString(v.name));
    system_->setCurrentIndex(v.system);
    show_number(efficiency_, v.efficiency);
    date_->setDate(qdate_of(v.planting_date));
    show_number(moisture_, v.initial_moisture);
    show_number(nitrogen_, v.n_available);
    if (v.days_per_unit)
        show_number(capacity_, *v.days_per_unit);
    else
        capacity_->clear();
    learn_->setChecked(v.learn_from_readings);
    show_efficiency_state();
    show_perennial_rule();
}

void CFieldDetailsDlg::show_efficiency_state()
{
    // A box that takes no typing looks like one: greyed, not merely read-only.
    const bool editable = form_.efficiency_editable();
    efficiency_->setReadOnly(!editable);
    efficiency_->setEnabled(editable);
}

void CFieldDetailsDlg::show_perennial_rule()
{
    const QSignalBlocker quiet(perennial_);
    perennial_->setVisible(form_.perennial_visible());
    perennial_->setEnabled(form_.perennial_enabled());
    perennial_->setChecked(form_.values.perennial);
    date_label_->setText(QString::fromUtf8(form_.date_label().data(),
                                           static_cast<qsizetype>(form_.date_label().size())));
}

bool CFieldDetailsDlg::take_values()
{
    FieldDetailsValues &v = form_.values;
    v.name = name_->text().toStdString();
    v.planting_date = serial_of(date_->date());
    v.learn_from_readings = learn_->isChecked();
    const std::pair<QLineEdit *, float *> numbers[] = {
        {efficiency_, &v.efficiency},
        {moisture_, &v.initial_moisture},
        {nitrogen_, &v.n_available},
    };
    if (!take_numbers(numbers))
        return false;
    v.days_per_unit.reset();
    if (capacity_->text().trimmed().isEmpty())
        return true;
    float capacity = 0.0f;
    const std::pair<QLineEdit *, float *> typed[] = {{capacity_, &capacity}};
    if (!take_numbers(typed))
        return false;
    v.days_per_unit = capacity;
    return true;
}

void CFieldDetailsDlg::accept()
{
    if (!take_values())
        return;
    const WaitCursor wait; // an existing field reruns its season
    if (form_.accept())
        QDialog::accept();
}

} // namespace tw
