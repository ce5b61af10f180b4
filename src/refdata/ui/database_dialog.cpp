#include "refdata/ui/database_dialog.h"

#include "platform/ui/dialog_fields.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tw {

DatabaseDialog::DatabaseDialog(const QString &caption, const QString &add_text, QWidget *parent)
    : QDialog(parent)
    , list_(new QTreeWidget(this))
    , add_(new QPushButton(add_text, this))
    , delete_(new QPushButton(QStringLiteral("&Delete >>"), this))
    , save_(new QPushButton(QStringLiteral("&Save"), this))
    , cancel_(new QPushButton(QStringLiteral("&Cancel"), this))
{
    setWindowTitle(caption);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(false);
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {add_, delete_, save_, cancel_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(add_, &QPushButton::clicked, this, &DatabaseDialog::add);
    connect(delete_, &QPushButton::clicked, this, &DatabaseDialog::remove);
    connect(save_, &QPushButton::clicked, this, &DatabaseDialog::save);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { edit(list_->indexOfTopLevelItem(item)); });
    keep_caption_whole(*this);
}

int DatabaseDialog::selected_row() const
{
    const QList<QTreeWidgetItem *> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void DatabaseDialog::add()
{
    add_record();
}

void DatabaseDialog::edit(int row)
{
    if (row >= 0 && row < list_->topLevelItemCount())
        edit_record(row);
}

void DatabaseDialog::remove()
{
    const int row = selected_row();
    if (row >= 0)
        delete_record(row);
}

void DatabaseDialog::save()
{
    // A write error has been reported; the dialog closes all the same.
    save_records();
    accept();
}

void DatabaseDialog::show_rows(const QStringList &headings, const std::vector<QStringList> &rows,
                               int widened)
{
    list_->clear();
    list_->setColumnCount(static_cast<int>(headings.size()));
    list_->setHeaderLabels(headings);
    const QFontMetrics &font = list_->fontMetrics();
    for (int c = 0; c < headings.size(); ++c) {
        int width = font.horizontalAdvance(headings[c]);
        if (c < widened) {
            for (const QStringList &row : rows)
                width = std::max(width, font.horizontalAdvance(row.value(c)));
        }
        list_->setColumnWidth(c, width + 15);
    }
    for (const QStringList &row : rows)
        list_->addTopLevelItem(new QTreeWidgetItem(row));
    show_whole_columns();
}

void DatabaseDialog::show_whole_columns()
{
    // Every column without scrolling sideways, and a dozen rows.
    constexpr int kRowsShown = 12;
    int width = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < list_->columnCount(); ++c)
        width += list_->columnWidth(c);
    const int row =
        list_->topLevelItemCount() > 0 ? list_->sizeHintForRow(0) : list_->fontMetrics().height();
    list_->setMinimumSize(width, list_->header()->sizeHint().height() + kRowsShown * row +
                                     2 * list_->frameWidth());
}

} // namespace tw
