#pragma once

#include "location/weather_table.h"

#include <QIcon>

namespace tw {

/// Rain: a filled blue rain drop. No data: a grey open circle struck through. They differ in
/// shape as well as colour, so that they can be told apart on a grey-scale print too. A day
/// without a mark gets an empty picture of the same size.
QIcon row_state_icon(DayMark mark);

} // namespace tw
