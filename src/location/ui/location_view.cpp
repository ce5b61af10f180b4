#include "location/ui/location_view.h"

#include "location/location_doc.h"
#include "location/ui/weather_table_model.h"
#include "location/weather_table.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace tw {

CLocationView::CLocationView(CLocationDoc &doc, QWidget *parent)
    : QTableView(parent)
    , doc_(doc)
    , model_(new WeatherTableModel(doc, this))
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // A report list's rows: a line of text with a little room, not the style's roomy default.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    apply_columns();
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit day_activated(index.row());
    });
    doc_.add_view(this);
}

CLocationView::~CLocationView()
{
    doc_.remove_view(this);
}

int CLocationView::column_width(int column) const
{
    const QString header = model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    return weather_column_width(doc_.et_method, column, fontMetrics().horizontalAdvance(header));
}

void CLocationView::apply_columns()
{
    for (int c = 0; c < kWeatherColumns; ++c) {
        setColumnHidden(c, !model_->column_visible(c));
        if (model_->column_visible(c))
            setColumnWidth(c, column_width(c));
    }
}

void CLocationView::on_update(int hint)
{
    if (hint == -3)
        return;
    if (hint == -1) {
        model_->refresh_all();
        apply_columns();
        return;
    }
    model_->refresh_row(hint);
}

void CLocationView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        emit day_activated(currentIndex().row());
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace tw
