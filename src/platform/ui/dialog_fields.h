#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <span>
#include <string>
#include <string_view>
#include <utility>

class QBoxLayout;
class QDialog;
class QLineEdit;
class QWidget;

// What the program's dialogs share: number fields, fields with their units, OK and Cancel.
namespace tw {

/// A text of core (UTF-8) as a widget shows it.
QString qt_text(std::string_view text);
/// A field for a decimal number, typed and shown with a point whatever the desktop's language;
/// read-only when the user does not type into it.
QLineEdit *number_edit(QWidget *parent, bool typed = true);
/// A field for a whole number.
QLineEdit *whole_number_edit(QWidget *parent);
/// A field with its unit (or other text) beside it.
QWidget *with_label(QWidget *field, const QString &text);
/// Shows a value in a field as a person reads it (readable_number); the take functions below
/// give the exact value back while the field still shows that text.
void show_number(QLineEdit *edit, double value);
/// Reads every field's number; false, after "Please enter a number." with the field focused,
/// when one holds none.
bool take_numbers(std::span<const std::pair<QLineEdit *, float *>> fields);
/// The same for numbers kept in double precision.
bool take_numbers(std::span<const std::pair<QLineEdit *, double *>> fields);
/// Reads every field's whole number; false, after "Please enter a whole number." with the field
/// focused, when one holds none.
bool take_whole_numbers(std::span<const std::pair<QLineEdit *, int *>> fields);
/// A day number of core as a date field shows it, and back.
QDate qdate_of(int serial);
int serial_of(const QDate &date);
/// Texts of core as a list of Qt strings.
QStringList qt_string_list(std::span<const std::string> texts);
/// The wait cursor while the object lives (a season run, an import).
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

/// Keeps a window at least as wide as its whole caption beside the title bar's icon and buttons.
void keep_caption_whole(QWidget &window);

/// Puts OK and Cancel at the foot of the dialog's layout; OK goes to the dialog's accept().
void add_ok_cancel(QDialog &dialog, QBoxLayout &layout);

} // namespace tw
