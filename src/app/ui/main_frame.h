#pragma once

#include <QMainWindow>

namespace tw {

/// The program's main window: the multiple-document area that holds every location and field
/// window.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    explicit CMainFrame(QWidget *parent = nullptr);
};

} // namespace tw
