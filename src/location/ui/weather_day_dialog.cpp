#include "location/ui/weather_day_dialog.h"

#include "location/location_doc.h"
#include "platform/dates.h"
#include "platform/message_port.h"
#include "platform/ui/dialog_fields.h"
#include "refdata/ui/unit_fields.h"
#include "refdata/units.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tw {
namespace {

QLineEdit *percent_edit(QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setValidator(new QIntValidator(0, 100, edit));
    return edit;
}

} // namespace

CWeatherDayDlg::CWeatherDayDlg(CLocationDoc &doc, int day, QWidget *parent)
    : QDialog(parent)
    , doc_(doc)
    , day_(day)
    , entry_(day_entry_of(doc, day))
    , t_min_(number_edit(this))
    , t_max_(number_edit(this))
    , rh_min_(percent_edit(this))
    , rh_max_(percent_edit(this))
    , radiation_(number_edit(this))
    , cloud_(new QComboBox(this))
    , radiation_label_(new QLabel(this))
    , wind_(number_edit(this))
    , rain_(number_edit(this))
    , use_alternate_(new QCheckBox(QStringLiteral("Use Alternate ET"), this))
    , alternate_(number_edit(this))
{
    setWindowTitle(QString::fromStdString(format_date(doc.date_of(day), "%#x")));
    cloud_->addItems({"Clear, no clouds", "Light scattered clouds", "Light overcast",
                      "Broken heavy clouds", "Heavy cloud cover"});

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Minimum Temperature:"), with_unit(t_min_, Temperature));
    form->addRow(QStringLiteral("Maximum Temperature:"), with_unit(t_max_, Temperature));
    QWidget *rh_min_row = with_label(rh_min_, QStringLiteral("%"));
    QWidget *rh_max_row = with_label(rh_max_, QStringLiteral("%"));
    form->addRow(QStringLiteral("Min Rel. Humidity:"), rh_min_row);
    form->addRow(QStringLiteral("Max Rel. Humidity:"), rh_max_row);
    if (entry_.use_cloud_cover) {
        radiation_label_->setText(QStringLiteral("Average Daily Cloud Cover:"));
        form->addRow(radiation_label_, cloud_);
        radiation_->hide();
    } else {
        radiation_label_->setText(QStringLiteral("Short Wave Solar Radiation:"));
        form->addRow(radiation_label_, with_unit(radiation_, Radiation));
        cloud_->hide();
    }
    QWidget *wind_row = with_unit(wind_, Wind_Speed);
    form->addRow(QStringLiteral("Wind Run:"), wind_row);
    form->addRow(QStringLiteral("Precipitation:"), with_unit(rain_, Depth));
    auto *note = new QLabel(QStringLiteral("(Rain Data will not affect existing fields but will "
                                           "be imported into new fields when they are created)"));
    note->setWordWrap(true);
    form->addRow(note);
    form->addRow(use_alternate_, with_unit(alternate_, Depth));

    // Jensen-Haise and Hargreaves read neither humidity nor wind.
    if (!humidity_and_wind_shown(doc.et_method)) {
        for (QWidget *row : {rh_min_row, rh_max_row, wind_row}) {
            form->labelForField(row)->hide();
            row->hide();
        }
    }

    show_number(t_min_, entry_.t_min);
    show_number(t_max_, entry_.t_max);
    rh_min_->setText(QString::number(entry_.rh_min));
    rh_max_->setText(QString::number(entry_.rh_max));
    show_number(radiation_, entry_.solar_radiation);
    cloud_->setCurrentIndex(entry_.cloud_cover >= 0 && entry_.cloud_cover < 5 ? entry_.cloud_cover
                                                                              : 0);
    show_number(wind_, entry_.wind_run);
    show_number(rain_, entry_.rain);
    show_number(alternate_, entry_.alternate_etr);
    use_alternate_->setChecked(entry_.use_alternate_etr);
    use_alternate_->setEnabled(!alternate_etr_forced(doc.et_method));
    set_alternate(entry_.use_alternate_etr);
    connect(use_alternate_, &QCheckBox::toggled, this, [this](bool on) {
        entry_.set_use_alternate_etr(on);
        if (!on)
            show_number(alternate_, entry_.alternate_etr);
        set_alternate(on);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    add_ok_cancel(*this, *layout);
}

void CWeatherDayDlg::set_alternate(bool on)
{
    // A typed ETr replaces the weather it would be computed from, and the other way round.
    alternate_->setEnabled(on);
    for (QWidget *field : {static_cast<QWidget *>(t_min_), static_cast<QWidget *>(t_max_),
                           static_cast<QWidget *>(rh_min_), static_cast<QWidget *>(rh_max_),
                           static_cast<QWidget *>(radiation_), static_cast<QWidget *>(cloud_),
                           static_cast<QWidget *>(wind_)})
        field->setEnabled(!on);
}

bool CWeatherDayDlg::take_entry()
{
    const std::pair<QLineEdit *, float *> numbers[] = {
        {t_min_, &entry_.t_min},   {t_max_, &entry_.t_max}, {radiation_, &entry_.solar_radiation},
        {wind_, &entry_.wind_run}, {rain_, &entry_.rain},   {alternate_, &entry_.alternate_etr},
    };
    if (!take_numbers(numbers))
        return false;
    const std::pair<QLineEdit *, int *> percents[] = {{rh_min_, &entry_.rh_min},
                                                      {rh_max_, &entry_.rh_max}};
    for (const auto &[edit, value] : percents) {
        bool ok = false;
        const int typed = edit->text().trimmed().toInt(&ok);
        if (!ok) {
            messages().inform("Please enter an integer between 0 and 100.");
            edit->setFocus();
            return false;
        }
        *value = typed;
    }
    entry_.cloud_cover = cloud_->currentIndex();
    entry_.use_alternate_etr = use_alternate_->isChecked();
    return true;
}

void CWeatherDayDlg::accept()
{
    if (take_entry() && apply_day_entry(doc_, day_, entry_))
        QDialog::accept();
}

} // namespace tw
