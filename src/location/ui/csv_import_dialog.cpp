#include "location/ui/csv_import_dialog.h"

#include "platform/message_port.h"
#include "platform/ui/dialog_fields.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tw {
namespace {

constexpr int kPreviewHeight = 160;

QString text_of(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CCsvImportDlg::CCsvImportDlg(CsvImportForm &form, QWidget *parent)
    : QDialog(parent)
    , form_(form)
    , preview_(new QTableWidget(this))
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
            column->addItem(text_of(name));
        const auto chosen = form_.column(q);
        column->setCurrentIndex(chosen ? static_cast<int>(*chosen) + 1 : 0);
        connect(column, &QComboBox::currentIndexChanged, this, [this, q](int i) {
            form_.choose_column(q, i > 0 ? std::optional<std::size_t>(i - 1) : std::nullopt);
        });
        columns_[static_cast<std::size_t>(q)] = column;
        grid->addWidget(new QLabel(text_of(info.caption) + ':', this), row, 0);
        grid->addWidget(column, row, 1);
        if (!info.units.empty()) {
            auto *unit = new QComboBox(this);
            for (const std::string_view u : info.units)
                unit->addItem(text_of(u));
            unit->setCurrentIndex(static_cast<int>(form_.unit(q)));
            connect(unit, &QComboBox::currentIndexChanged, this,
                    [this, q](int i) { form_.choose_unit(q, static_cast<std::size_t>(i)); });
            units_[static_cast<std::size_t>(q)] = unit;
            grid->addWidget(unit, row, 2);
        }
        ++row;
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(preview_);
    layout->addLayout(grid);
    add_ok_cancel(*this, *layout);
}

void CCsvImportDlg::fill_preview()
{
    const CsvPreview &p = form_.preview();
    preview_->setColumnCount(static_cast<int>(p.header.size()));
    preview_->setRowCount(static_cast<int>(p.rows.size()));
    QStringList headers;
    for (const std::string &h : p.header)
        headers << text_of(h);
    preview_->setHorizontalHeaderLabels(headers);
    for (std::size_t r = 0; r < p.rows.size(); ++r) {
        for (std::size_t c = 0; c < p.rows[r].size() && c < p.header.size(); ++c)
            preview_->setItem(static_cast<int>(r), static_cast<int>(c),
                              new QTableWidgetItem(text_of(p.rows[r][c])));
    }
    preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview_->setMinimumHeight(kPreviewHeight);
    preview_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
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
