#include "platform/ui/interaction.h"

#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace tw {
namespace {

Interaction &qt_interaction()
{
    static Interaction port;
    return port;
}

Interaction *&current()
{
    static Interaction *port = &qt_interaction();
    return port;
}

} // namespace

int Interaction::exec(QDialog &dialog)
{
    return dialog.exec();
}

QString Interaction::open_file_name(QWidget *parent, const QString &caption, const QString &filters)
{
    return QFileDialog::getOpenFileName(parent, caption, QString(), filters);
}

QString Interaction::save_file_name(QWidget *parent, const QString &caption,
                                    const QString &proposed, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
}

QString Interaction::existing_folder(QWidget *parent, const QString &caption, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

SaveAnswer Interaction::ask_to_save(QWidget *parent, const QString &title)
{
    const auto answer = QMessageBox::question(
        parent, QGuiApplication::applicationDisplayName(),
        QStringLiteral("Save changes to %1?").arg(title),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    switch (answer) {
    case QMessageBox::Yes: return SaveAnswer::Save;
    case QMessageBox::No: return SaveAnswer::Discard;
    default: return SaveAnswer::Cancel;
    }
}

bool Interaction::choose_printer(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    return exec(dialog) == QDialog::Accepted;
}

Interaction &interaction()
{
    return *current();
}

Interaction *set_interaction(Interaction *port)
{
    Interaction *previous = current();
    current() = port ? port : &qt_interaction();
    return previous;
}

} // namespace tw
