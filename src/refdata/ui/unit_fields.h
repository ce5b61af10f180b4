#pragma once

#include <QString>

#include <cstdint>

class QWidget;

namespace tw {

/// The label of a Dimension's display unit.
QString unit_label(std::int32_t dimension);
/// A field with the label of its display unit beside it.
QWidget *with_unit(QWidget *field, std::int32_t dimension);

} // namespace tw
