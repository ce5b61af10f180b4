// tillwise-screenshot OUT.png: the demo corn field's window (its table, chart with the soil
// readings, and next-irrigation panel with the start-by day) as a picture. tillwise-screenshot
// --guide DIR: the pictures of the user's guide into DIR. Run under a display: ./run screenshot
// [OUT.png].
#include "app/ui/context_help.h"
#include "app/ui/help_window.h"
#include "app/ui/main_frame.h"
#include "app/ui/tillwise_app.h"
#include "cli/cli.h"
#include "field/ui/field_frame.h"
#include "field/ui/field_view.h"
#include "location/ui/location_frame.h"
#include "platform/message_port.h"
#include "platform/settings_store.h"
#include "platform/ui/interaction.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

void settle()
{
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

bool save(const QPixmap &picture, const QString &file)
{
    if (picture.save(file))
        return true;
    std::cerr << "Could not write " << file.toStdString() << "\n";
    return false;
}

/// Nothing waits for a person: every dialog (the tip of the day) is dismissed, after its picture
/// was taken when one was asked for.
class Unattended : public tw::Interaction
{
public:
    int exec(QDialog &dialog) override
    {
        if (!picture_.isEmpty()) {
            dialog.show();
            settle();
            saved_ = save(dialog.grab(), picture_);
            picture_.clear();
        }
        return QDialog::Rejected;
    }
    /// The next dialog shown is saved as this picture.
    void take_next(const QString &file) { picture_ = file, saved_ = false; }
    bool saved() const { return saved_; }

private:
    QString picture_;
    bool saved_ = false;
};

/// A document's window fills the main window's area and comes to the front.
template<typename Frame>
Frame *bring_forward(tw::CMainFrame &frame)
{
    QMdiArea *area = frame.mdi_area();
    for (QMdiSubWindow *window : area->subWindowList()) {
        if (auto *shown = qobject_cast<Frame *>(window->widget())) {
            area->setActiveSubWindow(window);
            window->setGeometry(QRect(QPoint(0, 0), area->viewport()->size()));
            settle();
            return shown;
        }
    }
    return nullptr;
}

bool take_pictures(tw::CMainFrame &frame, Unattended &user, const QString &guide_dir)
{
    const QDir dir(guide_dir);
    bool ok = bring_forward<tw::CLocationFrame>(frame) &&
              save(frame.grab(), dir.filePath(QStringLiteral("location-window.png")));
    auto *field = bring_forward<tw::CFieldFrame>(frame);
    ok = field && save(frame.grab(), dir.filePath(QStringLiteral("field-window.png"))) && ok;
    if (field) {
        // A day of the demo's first irrigations, early July.
        user.take_next(dir.filePath(QStringLiteral("daily-entry.png")));
        field->edit_day(55);
        ok = user.saved() && ok;
        // As F1 in the field window opens it: the guide at the field window's page.
        tw::show_help(*field, tw::help_topic_for(*field->view()));
        tw::CHelpWindow &help = tw::CHelpWindow::of(frame);
        help.resize(1100, 760);
        settle();
        ok = save(help.grab(), dir.filePath(QStringLiteral("help-window.png"))) && ok;
    }
    return ok;
}

/// The demo season as a careful grower keeps it: a few soil readings entered (the chart draws
/// them) and the system's capacity set (the panel then says when to start).
bool run_demo(const std::filesystem::path &dir)
{
    const std::string readings = (dir / "probe.csv").string();
    std::ofstream(readings) << "date,value\n2022-06-15,25\n2022-06-29,40\n2022-07-10,30\n";
    const std::string loc = (dir / "Greeley2022.loc").string();
    const std::string fld = (dir / "lirf-corn.fld").string();
    const std::vector<std::vector<std::string>> steps = {
        {"demo", "--data", TILLWISE_DEMO_DATA},
        {"field", "readings", fld, "--location", loc, "--import", readings, "--kind", "deficit",
         "--unit", "mm"},
        {"field", "edit", fld, "--location", loc, "--days-per-unit", "3"}};
    for (std::vector<std::string> step : steps) {
        step.insert(step.begin(), {"--workdir", dir.string()});
        std::ostringstream out, err;
        if (tw::cli::run(step, out, err) != 0) {
            std::cerr << err.str();
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const bool guide = argc == 3 && std::string(argv[1]) == "--guide";
    if (argc != 2 && !guide) {
        std::cerr << "usage: tillwise-screenshot OUT.png | tillwise-screenshot --guide DIR\n";
        return 2;
    }
    QApplication app(argc, argv);
    // The program works in its farm folder; the pictures go where they were asked for.
    const QString target = QFileInfo(QString::fromLocal8Bit(argv[argc - 1])).absoluteFilePath();
    QTemporaryDir scratch;
    const std::filesystem::path dir = scratch.path().toStdString();
    if (!run_demo(dir))
        return 1;
    tw::RecordingMessagePort port;
    tw::set_messages(&port);
    Unattended unattended;
    tw::set_interaction(&unattended);
    tw::MemorySettingsStore store;
    int status = 0;
    {
        tw::CTillwiseApp tillwise(store);
        tillwise.use_farm_folder(dir);
        tillwise.init_instance({});
        tillwise.documents().open_document(dir / "Greeley2022.loc");
        tillwise.documents().open_document(dir / "lirf-corn.fld");
        tw::CMainFrame &frame = *tillwise.main_frame();
        frame.showNormal();
        frame.resize(1500, 1000);
        settle();
        if (guide)
            status = take_pictures(frame, unattended, target) ? 0 : 1;
        else
            status = bring_forward<tw::CFieldFrame>(frame) && save(frame.grab(), target) ? 0 : 1;
    }
    tw::set_interaction(nullptr);
    tw::set_messages(nullptr);
    return status;
}
