#include "field/ui/measured_water_dialogs.h"

#include "field/forecast_skill.h"
#include "platform/ui/dialog_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tw {
namespace {

ReadingKind kind_of(int entry)
{
    return entry == 1 ? ReadingKind::Content : ReadingKind::Deficit;
}

} // namespace

CSoilReadingsDlg::CSoilReadingsDlg(QWidget *parent)
    : QDialog(parent)
    , kind_(new QComboBox(this))
    , unit_(new QComboBox(this))
    , taken_(new QComboBox(this))
    , learn_(new QCheckBox(QStringLiteral("Learn from readings"), this))
{
    setWindowTitle(QStringLiteral("Import Soil Readings"));
    kind_->addItems(
        {QStringLiteral("Deficit below field capacity"), QStringLiteral("Soil water content")});
    taken_->addItems({QStringLiteral("In the evening, after the day's rain and irrigation"),
                      QStringLiteral("In the morning, before the day's rain and irrigation")});
    // Readings are what the drift is learned from: a grower importing them is offered it.
    learn_->setChecked(true);
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Readings are:"), kind_);
    fields->addRow(QStringLiteral("Unit:"), unit_);
    fields->addRow(QStringLiteral("Taken:"), taken_);
    fields->addRow(learn_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("A file with the header date,value and one "
                                                "YYYY-MM-DD date and value a line.")));
    layout->addLayout(fields);
    add_ok_cancel(*this, *layout);
    connect(kind_, &QComboBox::currentIndexChanged, this, &CSoilReadingsDlg::show_units);
    show_units();
}

void CSoilReadingsDlg::show_units()
{
    unit_->clear();
    const ReadingKind kind = kind_of(kind_->currentIndex());
    for (const ReadingUnit &u : reading_units(kind))
        unit_->addItem(qt_text(u.name));
    unit_->setCurrentIndex(static_cast<int>(proposed_reading_unit(kind)));
}

const ReadingUnit &CSoilReadingsDlg::unit() const
{
    const auto units = reading_units(kind_of(kind_->currentIndex()));
    const auto entry = static_cast<std::size_t>(std::max(unit_->currentIndex(), 0));
    return units[std::min(entry, units.size() - 1)];
}

ReadingsEntry CSoilReadingsDlg::entry() const
{
    return {taken_->currentIndex() == 1 ? ReadingTime::Morning : ReadingTime::Evening,
            learn_->isChecked()};
}

CForecastSkillDlg::CForecastSkillDlg(const ForecastSkill &skill, QWidget *parent)
    : QDialog(parent)
    , table_(new QTableWidget(this))
    , summary_(new QLabel(qt_text(skill_summary_text(skill)), this))
    , words_(new QLabel(qt_text(skill_in_words(skill)), this))
{
    setWindowTitle(QStringLiteral("Forecast Skill"));
    const auto titles = skill_table_titles();
    const auto rows = skill_table_rows(skill);
    table_->setColumnCount(static_cast<int>(titles.size()));
    table_->setHorizontalHeaderLabels(qt_string_list(titles));
    table_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            auto *item = new QTableWidgetItem(qt_text(rows[r][c]));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    table_->verticalHeader()->hide();
    table_->resizeColumnsToContents();
    if (const std::string corrected = corrected_summary_text(skill); !corrected.empty())
        summary_->setText(summary_->text() + QStringLiteral("\n") + qt_text(corrected));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    words_->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(summary_);
    layout->addWidget(words_);
    layout->addWidget(buttons);
    resize(640, 420);
}

} // namespace tw
