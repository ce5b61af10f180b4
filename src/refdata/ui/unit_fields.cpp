#include "refdata/ui/unit_fields.h"

#include "platform/ui/dialog_fields.h"
#include "refdata/units.h"

namespace tw {

QString unit_label(std::int32_t dimension)
{
    return QString::fromStdString(sed_SetUnits(dimension));
}

QWidget *with_unit(QWidget *field, std::int32_t dimension)
{
    return with_label(field, unit_label(dimension));
}

} // namespace tw
