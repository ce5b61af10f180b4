#pragma once

#include <QIcon>

namespace tw {

/// The state pictures of the weather table's rows.
enum class RowState { None, Rain, NoData };

/// Rain: a filled blue rain drop. No data: a grey open circle struck through. They differ in
/// shape as well as colour, so that they can be told apart on a grey-scale print too.
QIcon row_state_icon(RowState state);

} // namespace tw
