#include "fertility/ui/schedule_dialog.h"

#include "fertility/schedule.h"
#include "fertility/ui/wizard_page_dialog.h"
#include "platform/ui/dialog_fields.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tw {
namespace {

/// Room beside the widest text of a column.
constexpr int kColumnRoom = 15;

} // namespace

CScheduleDlg::CScheduleDlg(const ScheduleTable &table, QWidget *parent)
    : QDialog(parent)
    , list_(new QTreeWidget(this))
    , reschedule_(new QPushButton(QStringLiteral("< &Reschedule"), this))
    , finish_(new QPushButton(QStringLiteral("&Finish >"), this))
{
    setWindowTitle(QStringLiteral("Fertilizer Application Schedule"));
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->header()->setStretchLastSection(false);
    list_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QStringList titles;
    for (const char *title : ScheduleTable::kColumns)
        titles << QString::fromUtf8(title);
    list_->setHeaderLabels(titles);
    for (const auto &row : table.rows) {
        QStringList cells;
        for (const std::string &cell : row)
            cells << qt_text(cell);
        list_->addTopLevelItem(new QTreeWidgetItem(cells));
    }
    const QFontMetrics metrics = list_->fontMetrics();
    int all_columns = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < titles.size(); ++c) {
        int widest = metrics.horizontalAdvance(titles[c]);
        for (int r = 0; r < list_->topLevelItemCount(); ++r)
            widest = std::max(widest, metrics.horizontalAdvance(list_->topLevelItem(r)->text(c)));
        list_->setColumnWidth(c, widest + kColumnRoom);
        all_columns += widest + kColumnRoom;
    }
    list_->setMinimumWidth(all_columns);

    auto *totals = new QHBoxLayout;
    totals->addWidget(new QLabel(QStringLiteral("Totals (lb/acre)"), this));
    const long long sums[] = {table.total_nitrogen, table.total_phosphorus, table.total_potassium};
    for (std::size_t i = 0; i < totals_.size(); ++i) {
        // Under the list's last three columns, in their order.
        totals->addWidget(
            new QLabel(titles[static_cast<int>(titles.size() - totals_.size() + i)], this));
        totals_[i] = number_edit(this, false);
        totals_[i]->setText(QString::number(sums[i]));
        totals->addWidget(totals_[i]);
    }

    auto *buttons = new QHBoxLayout;
    add_page_buttons(*this, *buttons, reschedule_, Reschedule, finish_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(totals);
    for (const std::string &line : table.shortfalls) {
        auto *label = new QLabel(qt_text(line), this);
        label->setWordWrap(true);
        shortfalls_.push_back(label);
        layout->addWidget(label);
    }
    layout->addLayout(buttons);
}

} // namespace tw
