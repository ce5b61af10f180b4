#pragma once

#include <QDialog>

namespace tw {

/// View > Legend: each picture of the irrigation table beside what it says of the day.
class CIrrigationLegendDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CIrrigationLegendDlg(QWidget *parent = nullptr);
};

} // namespace tw
