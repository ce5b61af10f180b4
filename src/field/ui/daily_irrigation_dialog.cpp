#include "field/ui/daily_irrigation_dialog.h"

#include "field/daily_entry_form.h"
#include "platform/message_port.h"
#include "platform/ui/dialog_fields.h"
#include "platform/ui/interaction.h"
#include "refdata/ui/unit_fields.h"
#include "refdata/units.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace tw {

CNitrogenApplicationDlg::CNitrogenApplicationDlg(int lbs, QWidget *parent)
    : QDialog(parent)
    , lbs_(lbs)
    , amount_(whole_number_edit(this))
{
    setWindowTitle(QStringLiteral("Nitrogen Application"));
    amount_->setText(QString::number(lbs));
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Effective Nitrogen Applied"),
                   with_label(amount_, QStringLiteral("lbs/Acre")));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    add_ok_cancel(*this, *layout);
}

void CNitrogenApplicationDlg::accept()
{
    const std::pair<QLineEdit *, int *> amount[] = {{amount_, &lbs_}};
    if (take_whole_numbers(amount))
        QDialog::accept();
}

CDailyIrrigationDlg::CDailyIrrigationDlg(DailyEntryForm &form, QWidget *parent)
    : QDialog(parent)
    , form_(form)
    , rain_(number_edit(this))
    , irrigation_(number_edit(this))
    , stage_(new QComboBox(this))
    , status_(new QLabel(this))
    , needed_(number_edit(this, false))
    , override_(new QCheckBox(QStringLiteral("SM Overide "), this))
    , moisture_(number_edit(this))
    , nitrogen_(new QPushButton(QStringLiteral("Nitrogen Applied >>"), this))
{
    setWindowTitle(QString::fromStdString(form.title()));
    stage_->addItems(qt_string_list(form.stage_choices()));
    stage_->setCurrentText(QString::fromStdString(form.stage));
    status_->setText(
        QString::fromUtf8(form.status().data(), static_cast<qsizetype>(form.status().size())));
    status_->setWordWrap(true);
    show_number(rain_, form.rain);
    show_number(irrigation_, form.irrigation);
    show_number(needed_, form.irrigation_needed());
    show_number(moisture_, form.soil_moisture);
    override_->setChecked(form.sm_override);
    moisture_->setEnabled(form.soil_moisture_editable());
    nitrogen_->setAutoDefault(false);

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Measured Precipitation:"), with_unit(rain_, Depth));
    fields->addRow(QStringLiteral("Irrigation:"), with_unit(irrigation_, Depth));
    fields->addRow(QStringLiteral("Growth Stage:"), stage_);
    fields->addRow(status_);
    fields->addRow(QStringLiteral("Irrigation needed to reach field capacity:"),
                   with_unit(needed_, Depth));
    fields->addRow(QStringLiteral("Current soil moisture:"), with_unit(moisture_, Soil_Moisture));
    fields->addRow(override_);
    fields->addRow(nitrogen_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    add_ok_cancel(*this, *layout);

    connect(override_, &QCheckBox::toggled, this, [this](bool on) {
        form_.sm_override = on;
        moisture_->setEnabled(form_.soil_moisture_editable());
    });
    connect(nitrogen_, &QPushButton::clicked, this, &CDailyIrrigationDlg::edit_nitrogen);
}

void CDailyIrrigationDlg::edit_nitrogen()
{
    CNitrogenApplicationDlg dialog(static_cast<int>(std::trunc(form_.n_applied)), this);
    if (interaction().exec(dialog) == QDialog::Accepted)
        form_.set_nitrogen_applied(dialog.lbs());
}

void CDailyIrrigationDlg::accept()
{
    const std::pair<QLineEdit *, float *> numbers[] = {
        {rain_, &form_.rain},
        {irrigation_, &form_.irrigation},
        {moisture_, &form_.soil_moisture},
    };
    if (!take_numbers(numbers))
        return;
    form_.sm_override = override_->isChecked();
    form_.stage = stage_->currentText().toStdString();
    if (const auto refused = form_.soil_moisture_message()) {
        messages().inform(*refused);
        return;
    }
    {
        const WaitCursor wait;
        form_.accept();
    }
    QDialog::accept();
}

} // namespace tw
