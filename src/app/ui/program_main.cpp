#include "app/ui/program_main.h"

#include "app/farm_folder.h"
#include "app/ui/main_frame.h"
#include "app/ui/tillwise_app.h"
#include "platform/edition.h"
#include "platform/message_port.h"
#include "platform/ui/qt_message_port.h"
#include "platform/ui/qt_settings_store.h"
#include "refdata/database.h"

#include <QApplication>
#include <QDir>

namespace tw {

int run_program(int argc, char **argv, const Edition &edition)
{
    // Before anything reads a database or builds a window, both of which differ by edition.
    set_edition(edition);
    QApplication app(argc, argv);
    QtMessagePort port;
    set_messages(&port);
    QtSettingsStore store;
    // In the windows a missing crop.db is met with the offer of the complete one, whose crops
    // need the current layout (perennials, more than 20 stages).
    set_offer_complete_crops(&edition == &current_release());
    int status = 0;
    {
        CTillwiseApp tillwise(store);
        // Started from a desktop menu the working directory is the home folder; the program works
        // in its farm folder instead, each release in its own.
        tillwise.use_farm_folder(farm_folder(store, QDir::homePath().toStdString()));
        QStringList arguments = QApplication::arguments();
        arguments.removeFirst();
        if (tillwise.init_instance(arguments) && tillwise.main_frame()->isVisible())
            status = QApplication::exec();
    }
    set_messages(nullptr);
    return status;
}

} // namespace tw
