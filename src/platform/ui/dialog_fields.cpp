#include "platform/ui/dialog_fields.h"

#include "platform/message_port.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QLabel>
#include <QLineEdit>

namespace tw {

QLineEdit *number_edit(QWidget *parent, bool typed)
{
    auto *edit = new QLineEdit(parent);
    auto *validator = new QDoubleValidator(edit);
    validator->setLocale(QLocale::c());
    edit->setValidator(validator);
    edit->setReadOnly(!typed);
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

QString number_text(float value)
{
    return QString::number(static_cast<double>(value), 'g', 6);
}

bool take_numbers(std::span<const std::pair<QLineEdit *, float *>> fields)
{
    for (const auto &[edit, value] : fields) {
        bool ok = false;
        const float typed = edit->text().trimmed().toFloat(&ok);
        if (!ok) {
            messages().inform("Please enter a number.");
            edit->setFocus();
            edit->selectAll();
            return false;
        }
        *value = typed;
    }
    return true;
}

void add_ok_cancel(QDialog &dialog, QBoxLayout &layout)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog] { dialog.accept(); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
}

} // namespace tw
