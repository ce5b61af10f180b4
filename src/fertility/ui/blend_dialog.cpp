#include "fertility/ui/blend_dialog.h"

#include "fertility/choices.h"
#include "fertility/schedule.h"
#include "platform/message_port.h"
#include "platform/text_format.h"
#include "platform/ui/dialog_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tw {
namespace {

/// The library stores a name of up to 31 characters.
constexpr int kBlendNameChars = 31;

} // namespace

CNewBlendDlg::CNewBlendDlg(ApplicationPage &page, QWidget *parent)
    : QDialog(parent)
    , page_(page)
    , name_(new QLineEdit(this))
    , volatility_(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("New Fertilizer Blend"));
    name_->setMaxLength(kBlendNameChars);
    const BlendForm defaults;

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Blend Name:"), name_);
    const char *percent_captions[] = {"%N", "%P205", "%K20"};
    for (std::size_t i = 0; i < percents_.size(); ++i) {
        percents_[i] = number_edit(this);
        percents_[i]->setText(QStringLiteral("0"));
        form->addRow(QString::fromUtf8(percent_captions[i]), percents_[i]);
    }

    auto *maxima = new QGroupBox(QStringLiteral("Maximum Allowable Application"), this);
    auto *maxima_form = new QFormLayout(maxima);
    const char *phase_captions[] = {"Preplant", "Starter", "Post Emergence", "Fertigation"};
    for (std::size_t i = 0; i < maxima_.size(); ++i) {
        maxima_[i] = number_edit(maxima);
        show_number(maxima_[i], defaults.max_application[i]);
        maxima_form->addRow(QString::fromUtf8(phase_captions[i]),
                            with_label(maxima_[i], QStringLiteral("lb/acre")));
    }

    auto *states = new QHBoxLayout;
    for (std::size_t i = 0; i < states_.size(); ++i) {
        states_[i] = new QCheckBox(qt_text(choice::kMaterialStates[i]), this);
        states->addWidget(states_[i]);
    }
    for (const std::string_view v : choice::kVolatility)
        volatility_->addItem(qt_text(v));
    volatility_->setCurrentIndex(defaults.volatility);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(maxima);
    layout->addLayout(states);
    auto *volatility_form = new QFormLayout;
    volatility_form->addRow(QStringLiteral("Volatility Class"), volatility_);
    layout->addLayout(volatility_form);
    add_ok_cancel(*this, *layout);
}

void CNewBlendDlg::accept()
{
    BlendForm form;
    form.name = name_->text().trimmed().toStdString();
    struct Figure
    {
        QLineEdit *edit;
        float *value;
        float most;
    };
    const Figure figures[] = {
        {percents_[0], &form.n_percent, kMaxBlendPercent},
        {percents_[1], &form.p_percent, kMaxBlendPercent},
        {percents_[2], &form.k_percent, kMaxBlendPercent},
        {maxima_[0], &form.max_application[0], kMaxBlendApplication},
        {maxima_[1], &form.max_application[1], kMaxBlendApplication},
        {maxima_[2], &form.max_application[2], kMaxBlendApplication},
        {maxima_[3], &form.max_application[3], kMaxBlendApplication},
    };
    for (const Figure &f : figures) {
        const std::pair<QLineEdit *, float *> number[] = {{f.edit, f.value}};
        if (!take_numbers(number))
            return;
        // A share above the whole or below nothing would plan amounts no field can be given.
        if (*f.value < 0.0f || *f.value > f.most) {
            messages().inform(strprintf("Please enter a number between 0 and %g.", f.most));
            f.edit->setFocus();
            f.edit->selectAll();
            return;
        }
    }
    form.solid = states_[0]->isChecked();
    form.liquid = states_[1]->isChecked();
    form.gas = states_[2]->isChecked();
    form.volatility = volatility_->currentIndex();
    if (page_.use_new_blend(form))
        QDialog::accept();
}

} // namespace tw
