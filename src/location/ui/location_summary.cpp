#include "location/ui/location_summary.h"

#include "field/field_summary.h"
#include "field/field_tips.h"
#include "location/location_doc.h"
#include "platform/ui/dialog_fields.h"

#include <QApplication>
#include <QHeaderView>

namespace tw {

CLocationSummary::CLocationSummary(CLocationDoc &doc, QWidget *parent)
    : QTreeWidget(parent)
    , doc_(doc)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    rebuild();
    doc_.add_view(this);
}

CLocationSummary::~CLocationSummary()
{
    doc_.remove_view(this);
}

void CLocationSummary::on_update(ViewHint)
{
    rebuild();
}

void CLocationSummary::rebuild()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    clear();
    const auto headers = field_summary_headers();
    QStringList titles;
    for (const std::string &text : headers)
        titles << QString::fromStdString(text);
    setColumnCount(static_cast<int>(titles.size()));
    setHeaderLabels(titles);
    for (int c = 0; c < titles.size(); ++c) {
        const QString tip = qt_text(summary_column_tip(c));
        headerItem()->setToolTip(c, tip);
        headerItem()->setWhatsThis(c, tip);
    }
    for (int c = 0; c < titles.size(); ++c)
        setColumnWidth(c, fontMetrics().horizontalAdvance(titles[c]) + 40);
    for (const auto &row : location_summary_rows(doc_)) {
        QStringList cells;
        for (const std::string &cell : row)
            cells << QString::fromStdString(cell);
        addTopLevelItem(new QTreeWidgetItem(cells));
    }
    QApplication::restoreOverrideCursor();
}

} // namespace tw
