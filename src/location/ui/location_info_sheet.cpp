#include "location/ui/location_info_sheet.h"

#include "location/location_doc.h"
#include "platform/dates.h"
#include "platform/edition.h"
#include "platform/ui/date_field.h"
#include "platform/ui/dialog_fields.h"
#include "refdata/database.h"
#include "refdata/ui/unit_fields.h"
#include "refdata/units.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tw {
CLocationInfoSheet::CLocationInfoSheet(CLocationDoc &doc, SheetMode mode,
                                       std::vector<std::string> open_names,
                                       std::filesystem::path folder, QWidget *parent)
    : QDialog(parent)
    , doc_(doc)
    , form_(doc, mode)
    , open_names_(std::move(open_names))
    , folder_(std::move(folder))
    , tabs_(new QTabWidget)
{
    setWindowTitle(QStringLiteral("Weather Location Information"));
    station_records_ = load_stations();
    tabs_->addTab(basics_page(), QStringLiteral("Weather Location Basics"));
    tabs_->addTab(station_page(), QStringLiteral("Station Information"));
    tabs_->addTab(source_page(), QStringLiteral("Weather Source"));
    connect(tabs_, &QTabWidget::currentChanged, this, &CLocationInfoSheet::show_reference_rule);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    add_ok_cancel(*this, *layout);
    show_values();
    // A new location starts with its name; an existing one cannot change it.
    if (form_.mode() == SheetMode::New)
        name_->setFocus();
}

QWidget *CLocationInfoSheet::basics_page()
{
    auto *page = new QWidget;
    const bool creating = form_.mode() == SheetMode::New;
    name_ = new QLineEdit(page);
    name_->setMaxLength(static_cast<int>(kTypedNameChars));
    name_->setReadOnly(!creating);
    start_ = new DateField(page);
    start_->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    start_->setCalendarPopup(true);
    start_->setEnabled(creating);
    et_ = new QComboBox(page);
    for (const EtChoice &choice : et_choices())
        et_->addItem(qt_text(choice.text), choice.method);
    season_ = new QSpinBox(page);
    season_->setRange(kMinSeasonDays, kMaxSeasonDays);

    auto *form = new QFormLayout(page);
    form->addRow(QStringLiteral("Location Name:"), name_);
    form->addRow(QStringLiteral("Weather Start Date:"), start_);
    form->addRow(QStringLiteral("ET Equation:"), et_);
    form->addRow(QStringLiteral("Season Length:"), with_label(season_, QStringLiteral("(days)")));

    connect(name_, &QLineEdit::editingFinished, this,
            [this] { react([this] { form_.name_left(open_names_, folder_); }); });
    connect(start_, &QDateEdit::editingFinished, this,
            [this] { react([this] { form_.start_date_left(folder_); }); });
    connect(et_, &QComboBox::currentIndexChanged, this,
            [this](int index) { form_.values.et_method = et_->itemData(index).toInt(); });
    return page;
}

QWidget *CLocationInfoSheet::station_page()
{
    auto *page = new QWidget;
    elevation_ = number_edit(page);
    latitude_ = number_edit(page);
    pressure_ = number_edit(page, false);
    anemometer_ = number_edit(page);
    warm_tmin_ = number_edit(page);
    warm_tmax_ = number_edit(page);
    ct_ = number_edit(page, false);
    tx_ = number_edit(page, false);
    delta_t_ = number_edit(page);
    k_zero_ = number_edit(page);

    auto *station = new QFormLayout;
    station->addRow(QStringLiteral("Elevation:"), with_unit(elevation_, Height));
    station->addRow(QStringLiteral("Latitude:"), with_label(latitude_, QStringLiteral("Deg. N")));
    station->addRow(QStringLiteral("Average Barometric Pressure:"), with_unit(pressure_, Pressure));
    station->addRow(QStringLiteral("Anemometer Height:"), with_unit(anemometer_, Height));
    station->addRow(QStringLiteral("Warmest Month Mean Minimum Temp:"),
                    with_unit(warm_tmin_, Temperature));
    station->addRow(QStringLiteral("Warmest Month Mean Maximum Temp:"),
                    with_unit(warm_tmax_, Temperature));

    auto *jh = new QGroupBox(QStringLiteral("Jensen-Haise"));
    auto *jh_form = new QFormLayout(jh);
    jh_form->addRow(QStringLiteral("Ct Parameter:"), with_unit(ct_, Inv_Temperature));
    jh_form->addRow(QStringLiteral("Tx Parameter:"), with_unit(tx_, Temperature));

    auto *reference = new QGroupBox(QStringLiteral("Station Reference Type"));
    auto *reference_layout = new QVBoxLayout(reference);
    reference_ = new QButtonGroup(reference);
    int id = 0;
    for (const char *text : {"None", "Short (Grass)", "Tall (Alfalfa)"}) {
        auto *button = new QRadioButton(QString::fromLatin1(text));
        reference_->addButton(button, id++);
        reference_layout->addWidget(button);
    }
    auto *penman = new QGroupBox(QStringLiteral("Standardized Penman"));
    auto *penman_form = new QFormLayout(penman);
    penman_form->addRow(QStringLiteral("DeltaT:"), delta_t_);
    penman_form->addRow(QStringLiteral("Kzero:"), k_zero_);

    station_list_ = new QListWidget(page);
    for (const StationRecord &record : station_records_)
        station_list_->addItem(QString::fromStdString(record.name));

    auto *left = new QVBoxLayout;
    left->addLayout(station);
    left->addWidget(jh);
    auto *right = new QVBoxLayout;
    // Without Standardized Penman the reference crop, DeltaT and Kzero mean nothing.
    reference->setVisible(edition().standardized_penman);
    penman->setVisible(edition().standardized_penman);
    right->addWidget(reference);
    right->addWidget(penman);
    right->addWidget(new QLabel(QStringLiteral("Import From Station:")));
    right->addWidget(station_list_);
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(right);

    connect(elevation_, &QLineEdit::editingFinished, this,
            [this] { react([this] { form_.elevation_left(); }); });
    for (QLineEdit *edit : {warm_tmin_, warm_tmax_}) {
        connect(edit, &QLineEdit::editingFinished, this,
                [this] { react([this] { form_.warm_month_temperature_left(); }); });
    }
    connect(reference_, &QButtonGroup::idClicked, this, [this](int type) {
        form_.values.reference_type = type;
        show_reference_rule();
    });
    // One click fills the station's values, and Enter does for a keyboard user.
    for (auto signal : {&QListWidget::itemClicked, &QListWidget::itemActivated}) {
        connect(station_list_, signal, this,
                [this](QListWidgetItem *item) { choose_station(station_list_->row(item)); });
    }
    return page;
}

QWidget *CLocationInfoSheet::source_page()
{
    auto *page = new QWidget;
    source_url_ = new QLineEdit(page);
    source_url_->setPlaceholderText(
        QStringLiteral("https://.../daily?station={station}&from={from}&to={to}"));
    source_station_ = new QLineEdit(page);
    source_columns_ = new QLineEdit(page);
    source_columns_->setPlaceholderText(QStringLiteral("a preset's name, or a map: date=Date,..."));
    forecast_url_ = new QLineEdit(page);
    forecast_url_->setPlaceholderText(QStringLiteral("optional, the same placeholders"));
    clear_source_ = new QPushButton(QStringLiteral("Clear Source"), page);

    auto *form = new QFormLayout(page);
    form->addRow(QStringLiteral("Address:"), source_url_);
    form->addRow(QStringLiteral("Station:"), source_station_);
    form->addRow(QStringLiteral("Preset or Map:"), source_columns_);
    form->addRow(QStringLiteral("Forecast Address:"), forecast_url_);
    form->addRow(QString(), clear_source_);
    connect(clear_source_, &QPushButton::clicked, this,
            [this] { react([this] { form_.clear_source(); }); });
    return page;
}

void CLocationInfoSheet::choose_station(int row)
{
    if (row < 0 || row >= static_cast<int>(station_records_.size()))
        return;
    react([&] { form_.choose_station(station_records_[static_cast<std::size_t>(row)]); });
}

template<typename Reaction>
void CLocationInfoSheet::react(Reaction reaction)
{
    if (!take_values())
        return;
    reaction();
    show_values();
}

bool CLocationInfoSheet::take_values()
{
    LocationInfo &v = form_.values;
    form_.set_name(name_->text().toStdString());
    v.start_date = serial_of(start_->date());
    v.et_method = et_->currentData().toInt();
    v.season_length = season_->value();
    const std::pair<QLineEdit *, float *> numbers[] = {
        {elevation_, &v.elevation},
        {latitude_, &v.latitude},
        {anemometer_, &v.anemometer_height},
        {warm_tmin_, &v.warm_month_tmin},
        {warm_tmax_, &v.warm_month_tmax},
        {delta_t_, &v.delta_t},
        {k_zero_, &v.k_zero},
    };
    if (!take_numbers(numbers))
        return false;
    if (reference_->checkedId() >= 0)
        v.reference_type = reference_->checkedId();
    v.source.url = source_url_->text().trimmed().toStdString();
    v.source.station = source_station_->text().trimmed().toStdString();
    form_.set_source_columns(source_columns_->text().toStdString());
    v.source.forecast_url = forecast_url_->text().trimmed().toStdString();
    return true;
}

void CLocationInfoSheet::show_values()
{
    const LocationInfo &v = form_.values;
    name_->setText(QString::fromStdString(v.name));
    start_->setDate(qdate_of(v.start_date));
    et_->setCurrentIndex(et_->findData(v.et_method));
    season_->setValue(v.season_length);
    const std::pair<QLineEdit *, float> numbers[] = {
        {elevation_, v.elevation},
        {latitude_, v.latitude},
        {pressure_, v.pressure},
        {anemometer_, v.anemometer_height},
        {warm_tmin_, v.warm_month_tmin},
        {warm_tmax_, v.warm_month_tmax},
        {ct_, v.jh_ct},
        {tx_, v.jh_tx},
        {delta_t_, v.delta_t},
        {k_zero_, v.k_zero},
    };
    for (const auto &[edit, value] : numbers)
        show_number(edit, value);
    if (QAbstractButton *button = reference_->button(v.reference_type))
        button->setChecked(true);
    source_url_->setText(QString::fromStdString(v.source.url));
    source_station_->setText(QString::fromStdString(v.source.station));
    source_columns_->setText(QString::fromStdString(form_.source_columns()));
    forecast_url_->setText(QString::fromStdString(v.source.forecast_url));
    show_reference_rule();
}

void CLocationInfoSheet::show_reference_rule()
{
    const bool enabled = form_.delta_t_and_k_zero_enabled();
    delta_t_->setEnabled(enabled);
    k_zero_->setEnabled(enabled);
}

void CLocationInfoSheet::accept()
{
    if (!take_values())
        return;
    // A refused OK leaves the sheet open with the values as typed.
    if (form_.accept(doc_))
        QDialog::accept();
    else
        show_values();
}

} // namespace tw
