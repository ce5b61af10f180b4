#include "refdata/ui/station_dialogs.h"

#include "platform/edition.h"
#include "platform/message_port.h"
#include "platform/ui/dialog_fields.h"
#include "refdata/ui/unit_fields.h"
#include "refdata/units.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <climits>

namespace tw {
CStationAttributesDlg::CStationAttributesDlg(StationValues &values, QWidget *parent)
    : QDialog(parent)
    , values_(values)
    , typed_(values)
    , name_(new QLineEdit(this))
    , elevation_(new QLineEdit(this))
    , latitude_(number_edit(this))
    , tmin_(number_edit(this))
    , tmax_(number_edit(this))
    , pressure_(number_edit(this, false))
    , anemometer_(number_edit(this))
    , ct_(number_edit(this, false))
    , tx_(number_edit(this, false))
    , k_zero_(number_edit(this))
    , delta_t_(number_edit(this))
    , reference_(new QButtonGroup(this))
{
    setWindowTitle(QStringLiteral("Station Attributes"));
    name_->setMaxLength(static_cast<int>(kStationNameChars));
    elevation_->setValidator(new QIntValidator(0, INT_MAX, elevation_));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Station Name:"), name_);
    form->addRow(QStringLiteral("Elevation:"), with_unit(elevation_, Height));
    form->addRow(QStringLiteral("Latitude:"), with_label(latitude_, QStringLiteral("Deg. N")));
    form->addRow(QStringLiteral("Warmest Month Mean Minimum Temp:"), with_unit(tmin_, Temperature));
    form->addRow(QStringLiteral("Warmest Month Mean Maximum Temp:"), with_unit(tmax_, Temperature));
    form->addRow(QStringLiteral("Average Station Barometric Pressure:"),
                 with_unit(pressure_, Pressure));
    form->addRow(QStringLiteral("Anemometer Height:"), with_unit(anemometer_, Height));

    auto *jh = new QGroupBox(QStringLiteral("Jensen-Haise"));
    auto *jh_form = new QFormLayout(jh);
    jh_form->addRow(QStringLiteral("Jensen-Haise Ct Parameter:"), with_unit(ct_, Inv_Temperature));
    jh_form->addRow(QStringLiteral("Jensen-Haise Tx Parameter:"), with_unit(tx_, Temperature));

    auto *reference = new QGroupBox(QStringLiteral("Standardized Penman Reference Crop"));
    auto *reference_layout = new QVBoxLayout(reference);
    int id = 0;
    for (const char *text : {"None", "Short (Grass)", "Tall (Alfalfa)"}) {
        auto *button = new QRadioButton(QString::fromLatin1(text));
        reference_->addButton(button, id++);
        reference_layout->addWidget(button);
    }
    auto *penman = new QFormLayout;
    penman->addRow(QStringLiteral("Kzero:"), k_zero_);
    penman->addRow(QStringLiteral("DeltaT:"), delta_t_);
    reference_layout->addLayout(penman);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(jh);
    layout->addWidget(reference);
    add_ok_cancel(*this, *layout);
    // The earlier release's station.db has no room for these; its locations assume them.
    if (edition().station_layout == StationLayout::Release1) {
        form->setRowVisible(anemometer_->parentWidget(), false);
        reference->setVisible(false);
    }

    connect(elevation_, &QLineEdit::editingFinished, this,
            [this] { react(station_elevation_left); });
    for (QLineEdit *edit : {tmin_, tmax_})
        connect(edit, &QLineEdit::editingFinished, this,
                [this] { react(station_temperature_left); });
    connect(reference_, &QButtonGroup::idClicked, this, [this](int type) {
        typed_.reference_type = type;
        show_reference_rule();
    });
    show_values();
}

void CStationAttributesDlg::react(void (*reaction)(StationValues &))
{
    if (!take_values())
        return;
    reaction(typed_);
    show_values();
}

bool CStationAttributesDlg::take_values()
{
    typed_.name = name_->text().toStdString();
    bool ok = false;
    const int elevation = elevation_->text().trimmed().toInt(&ok);
    if (!ok) {
        messages().inform("Please enter a whole number of 0 or more for the Elevation.");
        elevation_->setFocus();
        return false;
    }
    typed_.elevation = elevation;
    const std::pair<QLineEdit *, float *> numbers[] = {
        {latitude_, &typed_.latitude},    {tmin_, &typed_.warm_month_tmin},
        {tmax_, &typed_.warm_month_tmax}, {anemometer_, &typed_.anemometer_height},
        {k_zero_, &typed_.k_zero},        {delta_t_, &typed_.delta_t},
    };
    return take_numbers(numbers);
}

void CStationAttributesDlg::show_values()
{
    name_->setText(QString::fromStdString(typed_.name));
    elevation_->setText(QString::number(typed_.elevation));
    const std::pair<QLineEdit *, float> numbers[] = {
        {latitude_, typed_.latitude},
        {tmin_, typed_.warm_month_tmin},
        {tmax_, typed_.warm_month_tmax},
        {pressure_, typed_.pressure},
        {anemometer_, typed_.anemometer_height},
        {ct_, typed_.jh_ct},
        {tx_, typed_.jh_tx},
        {k_zero_, typed_.k_zero},
        {delta_t_, typed_.delta_t},
    };
    for (const auto &[edit, value] : numbers)
        show_number(edit, value);
    if (QAbstractButton *button = reference_->button(typed_.reference_type))
        button->setChecked(true);
    show_reference_rule();
}

void CStationAttributesDlg::show_reference_rule()
{
    const bool enabled = station_k_zero_enabled(typed_);
    k_zero_->setEnabled(enabled);
    delta_t_->setEnabled(enabled);
}

void CStationAttributesDlg::accept()
{
    if (!take_values())
        return;
    if (const auto message = check_station_values(typed_)) {
        messages().inform(*message);
        return;
    }
    values_ = typed_;
    QDialog::accept();
}

CStationsDatabaseDlg::CStationsDatabaseDlg(QWidget *parent)
    : RecordListDialog(QStringLiteral("Stations Database (Weather Locations)"),
                       QStringLiteral("<< &Add..."), parent)
{
    refill();
}

void CStationsDatabaseDlg::refill()
{
    std::vector<QStringList> rows;
    for (const StationRecord &station : editor_.records())
        rows.push_back({QString::fromStdString(station.name)});
    show_rows({QStringLiteral("Station")}, rows, 1);
}

void CStationsDatabaseDlg::add_record()
{
    type_record<CStationAttributesDlg>(std::nullopt, station_values_of, store_station_values, true);
}

void CStationsDatabaseDlg::edit_record(int row)
{
    // The list keeps its order until "&Save" sorts it.
    type_record<CStationAttributesDlg>(row, station_values_of, store_station_values, false);
}

} // namespace tw
