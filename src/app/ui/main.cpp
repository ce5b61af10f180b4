#include "app/farm_folder.h"
#include "app/ui/main_frame.h"
#include "app/ui/tillwise_app.h"
#include "platform/message_port.h"
#include "platform/ui/qt_message_port.h"
#include "platform/ui/qt_settings_store.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tw::QtMessagePort port;
    tw::set_messages(&port);
    tw::QtSettingsStore store;
    int status = 0;
    {
        tw::CTillwiseApp tillwise(store);
        tillwise.use_farm_folder(tw::farm_folder(store, QDir::homePath().toStdString()));
        QStringList arguments = QApplication::arguments();
        arguments.removeFirst();
        if (tillwise.init_instance(arguments) && tillwise.main_frame()->isVisible())
            status = QApplication::exec();
    }
    tw::set_messages(nullptr);
    return status;
}
