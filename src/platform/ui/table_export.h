#pragma once

#include <QString>

#include <functional>

class QAbstractItemView;
class QWidget;

namespace tw {

struct TextTable;

/// The selected rows of a view, top to bottom, in the columns `shown` accepts: one line each,
/// the cells separated by tabs, as a spreadsheet takes a paste.
QString selected_rows_text(const QAbstractItemView &view, const std::function<bool(int)> &shown);
/// Edit > Copy: the text on the clipboard (nothing when there is none).
void copy_text(const QString &text);

/// File > Export...: asks where, then writes the table as CSV; false when cancelled or after the
/// message that the file could not be written.
bool export_table(const TextTable &table, const QString &proposed_name, QWidget *parent);

} // namespace tw
