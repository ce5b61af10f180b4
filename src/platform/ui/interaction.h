#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QPrinter;
class QWidget;

namespace tw {

enum class SaveAnswer { Save, Discard, Cancel };

/// Every place where the program waits for the user (a modal dialog, a file chooser, the
/// ask-to-save box, the printer dialog) goes through this port, so that tests can answer in
/// place of the user instead of blocking.
class Interaction
{
public:
    virtual ~Interaction() = default;
    /// Runs a modal dialog and returns its result (QDialog::Accepted or Rejected).
    virtual int exec(QDialog &dialog);
    /// An existing file to read, or an empty string when the user cancels.
    virtual QString open_file_name(QWidget *parent, const QString &caption, const QString &filters);
    /// Where to write a document, or an empty string.
    virtual QString save_file_name(QWidget *parent, const QString &caption, const QString &proposed,
                                   const QString &filter);
    /// An existing folder, or an empty string.
    virtual QString existing_folder(QWidget *parent, const QString &caption, const QString &start);
    /// "Save changes to ...?" with Yes, No and Cancel.
    virtual SaveAnswer ask_to_save(QWidget *parent, const QString &title);
    /// The printer dialog; false when the user cancels.
    virtual bool choose_printer(QPrinter &printer, QWidget *parent);
};

/// The process-wide port; the Qt one until another is installed.
Interaction &interaction();
/// Installs a port (nullptr restores the Qt one); returns the previous one.
Interaction *set_interaction(Interaction *port);

} // namespace tw
