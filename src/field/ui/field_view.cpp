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
                .arg(QString::fromStdString(doc_.saved.crop.name),
                     QString::fromStdString(doc_.saved.crop.hybrid),
                     QString::fromStdString(doc_.saved.soil.name),
                     QString::fromStdString(doc_.saved.soil.type),
                     QString::fromUtf8(doc_.saved.system_name.data(),
                                       static_cast<qsizetype>(doc_.saved.system_name.size())))};
}

void CFieldView::on_update(ViewHint hint)
{
    switch (hint.kind) {
    case ViewHint::Kind::Everything:
        model_->retitle();
        fit_columns_to_titles(irrigation_column_margin);
        model_->refresh_from(0);
        return;
    case ViewHint::Kind::PlantingDate:
        model_->retitle();
        fit_columns_to_titles(irrigation_column_margin);
        model_->fill_all();
        return;
    case ViewHint::Kind::Day: model_->refresh_from(hint.day); return;
    case ViewHint::Kind::LocationFields: return;
    }
}

} // namespace tw
