#include "app/ui/main_frame.h"

#include <QMdiArea>

namespace tw {

CMainFrame::CMainFrame(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Tillwise"));
    setCentralWidget(new QMdiArea(this));
}

} // namespace tw
