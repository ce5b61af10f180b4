#pragma once

#include <QDialog>

namespace tw {

/// Help > About: the program's name, purpose and version.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget *parent = nullptr);
};

} // namespace tw
