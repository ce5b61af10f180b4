#include "location/ui/csv_import_dialog.h"

#include "platform/message_port.h"
#include "platform/ui/dialog_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tw {
namespace {

constexpr int kPreviewHeight = 160;
// The marks of values the import would leave unset: out of range, or no number at all.
const QColor kOutOfRangeColour(255, 200, 200);
const QColor kNoNumberColour(230, 230, 230);

void fill_table(QTableWidget &table, const std::vector<std::string> &headers, int rows)
{
    table.clear();
    table.setColumnCount(static_cast<int>(headers.size()));
    table.setRowCount(rows);
    QStringList labels;
    for (const std::string &h : headers)
        labels << qt_text(h);
    table.setHorizontalHeaderLabels(labels);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setMinimumHeight(kPreviewHeight);
    table.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

QTableWidgetItem *stored_item(const CsvPreviewCell &cell)
{
    auto *item = new QTableWidgetItem(qt_text(cell.text));
    if (cell.state == CsvCell::OutOfRange) {
        item->setBackground(kOutOfRangeColour);
        item->setToolTip(QStringLiteral("Out of range: this value will be left unset."));
    } else if (cell.state == CsvCell::NoNumber) {
        item->setBackground(kNoNumberColour);
        item->setToolTip(QStringLiteral("No number: this value will be left unset."));
    }
    return item;
}

} // namespace

CCsvImportDlg::CCsvImportDlg(CsvImportForm &form, std::vector<CsvPreset> presets,
                             SavePreset save_preset, QWidget *parent)
    : QDialog(parent)
    , form_(form)
    , presets_(std::move(presets))
    , save_preset_(std::move(save_preset))
    , preview_(new QTableWidget(this))
    , stored_(new QTableWidget(this))
    , preset_box_(new QComboBox(this))
    , preset_name_(new QLineEdit(this))
    , replace_(new QCheckBox(QStringLiteral("Replace days that already have data"), this))
{
    setWindowTitle(QStringLiteral("Import CSV Weather"));
    fill_preview();
    auto *grid = new QGridLayout;
    int row = 0;
    for (const CsvQuantityInfo &info : csv_quantities()) {
        const CsvQuantity q = info.quantity;
        auto *column = new QComboBox(this);
        column->addItem(QStringLiteral("(not in the file)"));
        for (const std::string &name : form_.preview().header)
            column->addItem(qt_text(name));
        connect(column, &QComboBox::currentIndexChanged, this, [this, q](int i) {
            form_.choose_column(q, i > 0 ? std::optional<std::size_t>(i - 1) : std::nullopt);
            fill_stored_preview();
        });
        columns_[static_cast<std::size_t>(q)] = column;
        grid->addWidget(new QLabel(qt_text(info.caption) + ':', this), row, 0);
        grid->addWidget(column, row, 1);
        if (!info.units.empty()) {
            auto *unit = new QComboBox(this);
            for (const std::string_view u : info.units)
                unit->addItem(qt_text(u));
            connect(unit, &QComboBox::currentIndexChanged, this, [this, q](int i) {
                form_.choose_unit(q, static_cast<std::size_t>(i));
                fill_stored_preview();
            });
            units_[static_cast<std::size_t>(q)] = unit;
            grid->addWidget(unit, row, 2);
        }
        ++row;
    }
    preset_box_->addItem(QStringLiteral("(none)"));
    for (const CsvPreset &p : presets_)
        preset_box_->addItem(qt_text(p.name));
    connect(preset_box_, &QComboBox::activated, this, &CCsvImportDlg::choose_preset);
    auto *save = new QPushButton(QStringLiteral("Save Preset"), this);
    connect(save, &QPushButton::clicked, this, &CCsvImportDlg::save_preset);
    auto *presets_row = new QHBoxLayout;
    presets_row->addWidget(new QLabel(QStringLiteral("Preset:"), this));
    presets_row->addWidget(preset_box_, 1);
    presets_row->addWidget(preset_name_, 1);
    presets_row->addWidget(save);
    preset_name_->setPlaceholderText(QStringLiteral("name for these choices"));
    replace_->setChecked(form_.replace());
    connect(replace_, &QCheckBox::toggled, this, [this](bool on) { form_.set_replace(on); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(preview_);
    layout->addLayout(presets_row);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("What will be stored:"), this));
    layout->addWidget(stored_);
    layout->addWidget(replace_);
    add_ok_cancel(*this, *layout);
    show_choices();
}

void CCsvImportDlg::fill_preview()
{
    const CsvPreview &p = form_.preview();
    fill_table(*preview_, p.header, static_cast<int>(p.rows.size()));
    for (std::size_t r = 0; r < p.rows.size(); ++r) {
        for (std::size_t c = 0; c < p.rows[r].size() && c < p.header.size(); ++c)
            preview_->setItem(static_cast<int>(r), static_cast<int>(c),
                              new QTableWidgetItem(qt_text(p.rows[r][c])));
    }
}

void CCsvImportDlg::show_choices()
{
    for (const CsvQuantityInfo &info : csv_quantities()) {
        const auto at = static_cast<std::size_t>(info.quantity);
        const QSignalBlocker column_blocker(columns_[at]);
        const auto chosen = form_.column(info.quantity);
        columns_[at]->setCurrentIndex(chosen ? static_cast<int>(*chosen) + 1 : 0);
        if (units_[at]) {
            const QSignalBlocker unit_blocker(units_[at]);
            units_[at]->setCurrentIndex(static_cast<int>(form_.unit(info.quantity)));
        }
    }
    fill_stored_preview();
}

void CCsvImportDlg::fill_stored_preview()
{
    const CsvStoredPreview shown = form_.stored_preview();
    fill_table(*stored_, shown.headers, static_cast<int>(shown.rows.size()));
    for (std::size_t r = 0; r < shown.rows.size(); ++r) {
        for (std::size_t c = 0; c < shown.rows[r].size(); ++c)
            stored_->setItem(static_cast<int>(r), static_cast<int>(c),
                             stored_item(shown.rows[r][c]));
    }
}

void CCsvImportDlg::choose_preset(int index)
{
    if (index < 1 || static_cast<std::size_t>(index) > presets_.size())
        return;
    const CsvPreset &preset = presets_[static_cast<std::size_t>(index - 1)];
    form_.choose_map(preset.map);
    preset_name_->setText(qt_text(preset.name));
    show_choices();
}

void CCsvImportDlg::save_preset()
{
    const std::string name = preset_name_->text().trimmed().toStdString();
    if (const auto problem = csv_preset_name_problem(name)) {
        messages().inform(*problem);
        return;
    }
    if (!save_preset_ || !save_preset_(name, form_.map()))
        return;
    const CsvPreset saved{name, form_.map()};
    const auto same = std::find_if(presets_.begin(), presets_.end(),
                                   [&](const CsvPreset &p) { return p.name == name; });
    if (same != presets_.end()) {
        *same = saved;
    } else {
        presets_.push_back(saved);
        preset_box_->addItem(qt_text(name));
    }
}

void CCsvImportDlg::accept()
{
    if (const auto problem = form_.problem()) {
        messages().inform(*problem);
        return;
    }
    QDialog::accept();
}

} // namespace tw
