#include "refdata/ui/soil_dialogs.h"

#include "platform/message_port.h"
#include "platform/ui/dialog_fields.h"
#include "refdata/ui/unit_fields.h"
#include "refdata/units.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tw {

CSoilAttributesDlg::CSoilAttributesDlg(SoilValues &values, QWidget *parent)
    : QDialog(parent)
    , values_(values)
    , name_(new QLineEdit(this))
    , type_(new QLineEdit(this))
    , fc_(number_edit(this))
    , pwp_(number_edit(this))
    , awhc_(number_edit(this))
{
    setWindowTitle(QStringLiteral("Soil Attributes"));
    name_->setMaxLength(static_cast<int>(kSoilTextChars));
    type_->setMaxLength(static_cast<int>(kSoilTextChars));
    auto *group = new QGroupBox(QStringLiteral("Attributes"));
    auto *form = new QFormLayout(group);
    form->addRow(QStringLiteral("Soil Name:"), name_);
    form->addRow(QStringLiteral("Soil Type:"), type_);
    form->addRow(QStringLiteral("Soil Moisture at Field Capacity(SM_FC):"),
                 with_unit(fc_, Soil_Moisture));
    form->addRow(QStringLiteral("Soil Moisture at Wilting Point(SM_PWP):"),
                 with_unit(pwp_, Soil_Moisture));
    form->addRow(QStringLiteral("Available Water Holding Capacity(AWHC):"),
                 with_unit(awhc_, Soil_Moisture));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    add_ok_cancel(*this, *layout);
    awhc_->installEventFilter(this);
    show_values();
}

void CSoilAttributesDlg::show_values()
{
    name_->setText(QString::fromStdString(values_.name));
    type_->setText(QString::fromStdString(values_.type));
    show_number(fc_, values_.field_capacity);
    show_number(pwp_, values_.wilting_point);
    show_number(awhc_, values_.awhc);
}

bool CSoilAttributesDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == awhc_ && event->type() == QEvent::FocusIn) {
        // Only what has been typed so far counts; a field without a number gives no help.
        bool fc_ok = false;
        bool pwp_ok = false;
        SoilValues typed = values_;
        typed.field_capacity = fc_->text().trimmed().toFloat(&fc_ok);
        typed.wilting_point = pwp_->text().trimmed().toFloat(&pwp_ok);
        if (fc_ok && pwp_ok) {
            assist_awhc(typed);
            show_number(awhc_, typed.awhc);
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool CSoilAttributesDlg::take_values()
{
    SoilValues typed = values_;
    typed.name = name_->text().toStdString();
    typed.type = type_->text().toStdString();
    const std::pair<QLineEdit *, float *> numbers[] = {
        {fc_, &typed.field_capacity},
        {pwp_, &typed.wilting_point},
        {awhc_, &typed.awhc},
    };
    if (!take_numbers(numbers))
        return false;
    if (const auto message = check_soil_values(typed)) {
        messages().inform(*message);
        awhc_->setFocus();
        return false;
    }
    values_ = typed;
    return true;
}

void CSoilAttributesDlg::accept()
{
    if (take_values())
        QDialog::accept();
}

CSoilsDatabaseDlg::CSoilsDatabaseDlg(QWidget *parent)
    : RecordListDialog(QStringLiteral("Soils Database"), QStringLiteral("<< &Add "), parent)
{
    refill();
}

void CSoilsDatabaseDlg::refill()
{
    std::vector<QStringList> rows;
    for (const SoilRecord &soil : editor_.records())
        rows.push_back(qt_string_list(soil_list_row(soil)));
    show_rows(qt_string_list(soil_list_headings()), rows, 2);
}

void CSoilsDatabaseDlg::add_record()
{
    type_record<CSoilAttributesDlg>(std::nullopt, soil_values_of, store_soil_values, true);
}

void CSoilsDatabaseDlg::edit_record(int row)
{
    type_record<CSoilAttributesDlg>(row, soil_values_of, store_soil_values, true);
}

} // namespace tw
