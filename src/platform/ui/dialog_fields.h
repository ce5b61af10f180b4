#pragma once

#include <QString>

#include <span>
#include <utility>

class QBoxLayout;
class QDialog;
class QLineEdit;
class QWidget;

// What the program's dialogs share: number fields, fields with their units, OK and Cancel.
namespace tw {

/// A field for a decimal number, typed and shown with a point whatever the desktop's language;
/// read-only when the user does not type into it.
QLineEdit *number_edit(QWidget *parent, bool typed = true);
/// A field with its unit (or other text) beside it.
QWidget *with_label(QWidget *field, const QString &text);
/// A stored float as a field shows it: six significant digits, no float noise.
QString number_text(float value);
/// Reads every field's number; false, after "Please enter a number." with the field focused,
/// when one holds none.
bool take_numbers(std::span<const std::pair<QLineEdit *, float *>> fields);
/// Puts OK and Cancel at the foot of the dialog's layout; OK goes to the dialog's accept().
void add_ok_cancel(QDialog &dialog, QBoxLayout &layout);

} // namespace tw
