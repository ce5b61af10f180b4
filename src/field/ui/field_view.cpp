#include "field/ui/field_view.h"

#include "field/field_doc.h"
#include "field/irrigation_table.h"
#include "field/ui/irrigation_table_model.h"

#include <QHeaderView>

namespace tw {

CFieldView::CFieldView(CFieldDoc &doc, QWidget *parent)
    : DayTableView(parent)
    , doc_(doc)
    , model_(new IrrigationTableModel(doc, this))
{
    setModel(model_);
    fit_columns_to_titles(irrigation_column_margin);
    doc_.add_view(this);
}

CFieldView::~CFieldView()
{
    doc_.remove_view(this);
}

QStringList CFieldView::print_header_lines() const
{
    return {QString::fromStdString(doc_.title()),
            QStringLiteral("Crop: %1 (%2)   Soil: %3 (%4)   System: %5")
                .arg(QString::fromStdString(doc_.crop.name),
                     QString::fromStdString(doc_.crop.hybrid),
                     QString::fromStdString(doc_.soil.name), QString::fromStdString(doc_.soil.type),
                     QString::fromUtf8(doc_.system_name.data(),
                                       static_cast<qsizetype>(doc_.system_name.size())))};
}

void CFieldView::on_update(int hint)
{
    switch (hint) {
    case -1:
        model_->retitle();
        fit_columns_to_titles(irrigation_column_margin);
        model_->refresh_from(0);
        return;
    case -2:
        model_->retitle();
        fit_columns_to_titles(irrigation_column_margin);
        model_->fill_all();
        return;
    default:
        if (hint >= 0)
            model_->refresh_from(hint);
        return;
    }
}

} // namespace tw
