#include "app/ui/main_frame.h"
#include "app/ui/tillwise_app.h"
#include "platform/message_port.h"
#include "platform/ui/qt_message_port.h"
#include "platform/ui/qt_settings_store.h"
#include "refdata/database.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tw::QtMessagePort port;
    tw::set_messages(&port);
    tw::QtSettingsStore store;
    // In the windows a missing crop.db is met with the offer of the complete one.
    tw::set_offer_complete_crops(true);
    int status = 0;
    {
        tw::CTillwiseApp tillwise(store);
        QStringList arguments = QApplication::arguments();
        arguments.removeFirst();
        if (tillwise.init_instance(arguments) && tillwise.main_frame()->isVisible())
            status = QApplication::exec();
    }
    tw::set_messages(nullptr);
    return status;
}
