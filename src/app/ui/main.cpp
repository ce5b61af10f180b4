#include "app/ui/main_frame.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tw::CMainFrame frame;
    frame.showMaximized();
    return app.exec();
}
