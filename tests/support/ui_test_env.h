#pragma once

#include "app/commands.h"
#include "app/ui/main_frame.h"
#include "app/ui/new_document_dialog.h"
#include "app/ui/tillwise_app.h"
#include "location/ui/location_info_sheet.h"
#include "platform/ui/interaction.h"
#include "platform/ui/qt_settings_store.h"
#include "support/test_env.h"

#include <QDate>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSize>
#include <QString>
#include <QStringList>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tw::test {

/// Answers in place of the user: each modal dialog is handed to the next queued handler (which
/// fills it in and returns the result); file choosers and the ask-to-save box take queued answers.
/// With nothing queued a dialog is cancelled, so a test never blocks. Every dialog's title is
/// recorded.
class ScriptedInteraction : public Interaction
{
public:
    using DialogHandler = std::function<int(QDialog &)>;

    ScriptedInteraction()
        : previous_(set_interaction(this))
    {}
    ~ScriptedInteraction() override { set_interaction(previous_); }
    ScriptedInteraction(const ScriptedInteraction &) = delete;
    ScriptedInteraction &operator=(const ScriptedInteraction &) = delete;

    void on_dialog(DialogHandler handler) { dialogs_.push_back(std::move(handler)); }
    void answer_open(const QString &name) { open_.push_back(name); }
    void answer_save(const QString &name) { save_.push_back(name); }
    void answer_ask_to_save(SaveAnswer answer) { asks_.push_back(answer); }
    void answer_printer(bool ok) { printers_.push_back(ok); }
    void answer_folder(const QString &name) { folders_.push_back(name); }

    const QStringList &dialog_titles() const { return titles_; }
    const QStringList &file_captions() const { return captions_; }
    const QStringList &file_filters() const { return filters_; }
    const QStringList &asked_to_save() const { return asked_; }
    std::size_t pending_dialogs() const { return dialogs_.size(); }

    int exec(QDialog &dialog) override
    {
        titles_ << dialog.windowTitle();
        if (dialogs_.empty())
            return QDialog::Rejected;
        DialogHandler handler = std::move(dialogs_.front());
        dialogs_.pop_front();
        return handler(dialog);
    }
    QString open_file_name(QWidget *, const QString &caption, const QString &filters) override
    {
        captions_ << caption;
        filters_ << filters;
        return take(open_, QString());
    }
    QString save_file_name(QWidget *, const QString &caption, const QString &proposed,
                           const QString &filter) override
    {
        captions_ << caption;
        filters_ << filter;
        proposed_ << proposed;
        return take(save_, QString());
    }
    QString existing_folder(QWidget *, const QString &caption, const QString &) override
    {
        captions_ << caption;
        return take(folders_, QString());
    }
    SaveAnswer ask_to_save(QWidget *, const QString &title) override
    {
        asked_ << title;
        return take(asks_, SaveAnswer::Cancel);
    }
    bool choose_printer(QPrinter &, QWidget *) override { return take(printers_, false); }

    const QStringList &proposed_names() const { return proposed_; }

private:
    template<typename T>
    static T take(std::deque<T> &queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }

    Interaction *previous_;
    std::deque<DialogHandler> dialogs_;
    std::deque<QString> open_;
    std::deque<QString> save_;
    std::deque<SaveAnswer> asks_;
    std::deque<bool> printers_;
    std::deque<QString> folders_;
    QStringList titles_;
    QStringList captions_;
    QStringList filters_;
    QStringList asked_;
    QStringList proposed_;
};

/// Accepts a dialog after `fill` has set its fields.
template<typename Dialog, typename Fill>
ScriptedInteraction::DialogHandler accept_with(Fill fill)
{
    return [fill](QDialog &dialog) {
        auto *typed = qobject_cast<Dialog *>(&dialog);
        if (!typed)
            return int(QDialog::Rejected);
        fill(*typed);
        dialog.accept();
        return dialog.result();
    };
}

/// The program started in a fresh working directory (no custom.con, no tips.txt) with its
/// settings in a scratch file, messages recorded and the user scripted.
struct ProgramUnderTest
{
    ScopedWorkDir dir;
    ScopedMessages messages;
    ScopedSettings settings;
    ScriptedInteraction user;
    QtSettingsStore store{QString::fromStdString((dir.path() / "settings.ini").string())};
    CTillwiseApp app{store};

    bool start(const QStringList &arguments = {}) { return app.init_instance(arguments); }
    CMainFrame &frame() { return *app.main_frame(); }
};

/// The pages of a PDF file (its page objects, not the page tree); -1 when it cannot be read.
inline int pdf_page_count(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    return int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") +
               bytes.count("/Type /Page>") + bytes.count("/Type /Page/"));
}

/// The demo season of weather, Greeley 2022.
inline QString demo_weather_file()
{
    return QString::fromStdString(
        (std::filesystem::path(TILLWISE_SOURCE_DIR) / "data" / "demo" / "greeley-2022.txt")
            .string());
}

/// File > New, choosing the type at `row` of the list ("Location", "Field").
inline ScriptedInteraction::DialogHandler choose_new_type(int row)
{
    return [row](QDialog &dialog) {
        static_cast<NewDocumentDialog &>(dialog).list()->setCurrentRow(row);
        return int(QDialog::Accepted);
    };
}

/// The program with a location "Greeley" made through File > New and its sheet (first refused
/// without the station's latitude, then accepted with it), and a weather file imported through
/// the "JVU (new)" command.
struct LocationSeason : ProgramUnderTest
{
    std::vector<std::string> titles;
    int refused = -1;
    QSize frame_size; ///< the main window's, when given

    void create_and_import(QDate first_day, const QString &file)
    {
        user.on_dialog([](QDialog &) { return int(QDialog::Rejected); }); // the tip window
        start();
        if (frame_size.isValid())
            frame().resize(frame_size);
        user.on_dialog(choose_new_type(0));
        user.on_dialog([this, first_day](QDialog &dialog) {
            auto &sheet = static_cast<CLocationInfoSheet &>(dialog);
            sheet.name_edit()->setText(QStringLiteral("Greeley"));
            sheet.start_date_edit()->setDate(first_day);
            sheet.elevation_edit()->setText(QStringLiteral("4675"));
            sheet.accept();
            refused = sheet.result();
            titles.push_back(sheet.windowTitle().toStdString());
            sheet.latitude_edit()->setText(QStringLiteral("40.5"));
            sheet.accept();
            return sheet.result();
        });
        frame().dispatch(ID_FILE_NEW);
        user.answer_open(file);
        frame().dispatch(ID_IMPORT_JVU_NEW);
    }
};

} // namespace tw::test
