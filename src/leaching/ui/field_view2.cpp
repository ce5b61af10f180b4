#include "leaching/ui/field_view2.h"

#include "field/field_doc.h"
#include "leaching/nitrogen_table.h"
#include "leaching/ui/nitrogen_table_model.h"

#include <QHeaderView>

namespace tw {
namespace {

// The date column also holds the row's picture (16 pixels and its spacing).
constexpr int kPictureRoom = 22;

int column_margin(int column)
{
    return kNitrogenColumnMargin + (column == 0 ? kPictureRoom : 0);
}

} // namespace

CFieldView2::CFieldView2(CFieldDoc &doc, QWidget *parent)
    : DayTableView(parent)
    , doc_(doc)
    , model_(new NitrogenTableModel(doc, this))
{
    setModel(model_);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fit_columns_to_titles(column_margin);
    doc_.add_view(this);
}

CFieldView2::~CFieldView2()
{
    doc_.remove_view(this);
}

void CFieldView2::on_update(ViewHint hint)
{
    if (hint.kind == ViewHint::Kind::Day) {
        model_->refresh_from(hint.day);
        return;
    }
    model_->refresh_all();
    fit_columns_to_titles(column_margin);
}

} // namespace tw
