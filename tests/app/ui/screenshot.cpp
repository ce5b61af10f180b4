// tillwise-screenshot OUT.png: the demo corn field's window (its chart and next-irrigation panel)
// as a picture, for the documentation. Run under a display: ./run screenshot OUT.png.
#include "app/ui/main_frame.h"
#include "app/ui/tillwise_app.h"
#include "cli/cli.h"
#include "platform/message_port.h"
#include "platform/settings_store.h"
#include "platform/ui/interaction.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include <filesystem>
#include <iostream>
#include <sstream>

namespace {

/// Nothing waits for a person: every dialog (the tip of the day) is dismissed.
class Unattended : public tw::Interaction
{
public:
    int exec(QDialog &) override { return QDialog::Rejected; }
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: tillwise-screenshot OUT.png\n";
        return 2;
    }
    QApplication app(argc, argv);
    // The program works in its farm folder; the picture goes where it was asked for.
    const QString picture = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QTemporaryDir scratch;
    const std::filesystem::path dir = scratch.path().toStdString();
    std::ostringstream out, err;
    if (tw::cli::run({"--workdir", dir.string(), "demo", "--data", TILLWISE_DEMO_DATA}, out, err) !=
        0) {
        std::cerr << err.str();
        return 1;
    }
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
        QMdiArea *area = frame.mdi_area();
        if (QMdiSubWindow *field = area->currentSubWindow())
            field->setGeometry(QRect(QPoint(0, 0), area->viewport()->size()));
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
        if (!frame.grab().save(picture)) {
            std::cerr << "Could not write " << argv[1] << "\n";
            status = 1;
        }
    }
    tw::set_interaction(nullptr);
    tw::set_messages(nullptr);
    return status;
}
