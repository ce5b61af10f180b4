#include "platform/ui/dialog_fields.h"

#include "platform/dates.h"
#include "platform/message_port.h"
#include "platform/text_format.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFontMetrics>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

#include <algorithm>

namespace tw {
namespace {

// What show_number put in a field: its exact value, and the rounded text that stands for it.
constexpr const char *kExactValue = "twExactValue";
constexpr const char *kShownText = "twShownText";

/// Every field's value read as `parse` reads it; false after the message, with the first field
/// that holds none focused. A field still showing what show_number wrote gives the exact value,
/// so that looking at a dialog and pressing OK changes nothing.
template<typename T, typename Parse>
bool take_typed(std::span<const std::pair<QLineEdit *, T *>> fields, const char *message,
                Parse parse)
{
    for (const auto &[edit, value] : fields) {
        const QVariant exact = edit->property(kExactValue);
        if (exact.isValid() && edit->text() == edit->property(kShownText).toString()) {
            *value = static_cast<T>(exact.toDouble());
            continue;
        }
        bool ok = false;
        const T typed = parse(edit->text().trimmed(), &ok);
        if (!ok) {
            messages().inform(message);
            edit->setFocus();
            edit->selectAll();
            return false;
        }
        *value = typed;
    }
    return true;
}

} // namespace

QString qt_text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLineEdit *number_edit(QWidget *parent, bool typed)
{
    auto *edit = new QLineEdit(parent);
    auto *validator = new QDoubleValidator(edit);
    validator->setLocale(QLocale::c());
    edit->setValidator(validator);
    edit->setReadOnly(!typed);
    return edit;
}

QLineEdit *whole_number_edit(QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setValidator(new QIntValidator(edit));
    return edit;
}

QWidget *with_label(QWidget *field, const QString &text)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    layout->addWidget(new QLabel(text));
    return row;
}

void show_number(QLineEdit *edit, double value)
{
    const QString text = qt_text(readable_number(value));
    edit->setText(text);
    edit->setProperty(kExactValue, value);
    edit->setProperty(kShownText, text);
}

bool take_numbers(std::span<const std::pair<QLineEdit *, float *>> fields)
{
    return take_typed(fields, "Please enter a number.",
                      [](const QString &text, bool *ok) { return text.toFloat(ok); });
}

bool take_numbers(std::span<const std::pair<QLineEdit *, double *>> fields)
{
    return take_typed(fields, "Please enter a number.",
                      [](const QString &text, bool *ok) { return text.toDouble(ok); });
}

bool take_whole_numbers(std::span<const std::pair<QLineEdit *, int *>> fields)
{
    return take_typed(fields, "Please enter a whole number.",
                      [](const QString &text, bool *ok) { return text.toInt(ok); });
}

QDate qdate_of(int serial)
{
    const CivilDate c = civil_from_serial(serial);
    return QDate(c.year, c.month, c.day);
}

int serial_of(const QDate &date)
{
    return serial_from_civil(date.year(), date.month(), date.day());
}

QStringList qt_string_list(std::span<const std::string> texts)
{
    QStringList out;
    for (const std::string &text : texts)
        out << QString::fromStdString(text);
    return out;
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

void add_ok_cancel(QDialog &dialog, QBoxLayout &layout)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog] { dialog.accept(); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
}

void keep_caption_whole(QWidget &window)
{
    // The title bar's face is the window manager's: measure in a bold face with some slack.
    constexpr int kTitleBarButtons = 150;
    QFont font = window.font();
    font.setBold(true);
    const int caption = QFontMetrics(font).horizontalAdvance(window.windowTitle()) * 11 / 10;
    window.setMinimumWidth(std::max(window.minimumWidth(), caption + kTitleBarButtons));
}

} // namespace tw
