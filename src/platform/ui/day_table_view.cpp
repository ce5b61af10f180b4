#include "platform/ui/day_table_view.h"

#include "platform/ui/table_export.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>

namespace tw {

DayTableView::DayTableView(QWidget *parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // A report list's rows: a line of text with a little room, not the style's roomy default.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    // The table fills its pane: the last column takes what the others leave.
    horizontalHeader()->setStretchLastSection(true);
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit day_activated(index.row());
    });
}

void DayTableView::fit_columns_to_titles(int (*margin)(int column))
{
    if (!model())
        return;
    for (int c = 0; c < model()->columnCount(); ++c) {
        const QString title = model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        // The header draws its titles with margins of the style's own, which can be wider.
        setColumnWidth(c, std::max(fontMetrics().horizontalAdvance(title) + margin(c),
                                   horizontalHeader()->sectionSizeHint(c)));
    }
}

int DayTableView::full_width() const
{
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; model() && c < model()->columnCount(); ++c)
        width += isColumnHidden(c) ? 0 : columnWidth(c);
    return width;
}

QString DayTableView::selected_rows_text() const
{
    return tw::selected_rows_text(
        *this, [this](int c) { return !isColumnHidden(c) && columnWidth(c) > 0; });
}

void DayTableView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        emit day_activated(currentIndex().row());
        return;
    }
    // The view's own copy would take the current cell only; a spreadsheet wants the rows.
    if (event->matches(QKeySequence::Copy)) {
        copy_text(selected_rows_text());
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace tw
