#include "location/ui/location_view.h"

#include "location/location_doc.h"
#include "location/ui/weather_table_model.h"
#include "location/weather_table.h"

#include <QHeaderView>

namespace tw {

CLocationView::CLocationView(CLocationDoc &doc, QWidget *parent)
    : DayTableView(parent)
    , doc_(doc)
    , model_(new WeatherTableModel(doc, this))
{
    setModel(model_);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    apply_columns();
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

void CLocationView::on_update(ViewHint hint)
{
    if (hint.kind == ViewHint::Kind::LocationFields)
        return;
    if (hint.kind == ViewHint::Kind::Day) {
        model_->refresh_row(hint.day);
        return;
    }
    model_->refresh_all();
    apply_columns();
}

} // namespace tw
