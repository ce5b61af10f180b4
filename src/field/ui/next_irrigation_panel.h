#pragma once

#include "platform/document.h"

#include <QFrame>

class QLabel;

namespace tw {

class CFieldDoc;

/// The answer of the last run in large type: when to irrigate next ("Now" or a date), how much
/// (gross, in the depth unit), the soil moisture against the critical level and the day's advice,
/// and with a system capacity the day the system has to start by.
class CNextIrrigationPanel
    : public QFrame
    , public DocumentView
{
    Q_OBJECT

public:
    explicit CNextIrrigationPanel(CFieldDoc &doc, QWidget *parent = nullptr);
    ~CNextIrrigationPanel() override;

    void on_update(ViewHint hint) override;
    void refresh();

    QString when_text() const;
    QString amount_text() const;
    QString moisture_text() const;
    QString advice_text() const;
    /// When the forecast's rain puts the next irrigation off, the line that says so; else empty.
    QString rain_delay_text() const;
    /// Empty, and the figure hidden, while the field has no system capacity.
    QString start_by_text() const;

private:
    CFieldDoc &doc_;
    QLabel *when_;
    QLabel *amount_;
    QLabel *moisture_;
    QLabel *advice_;
    QLabel *rain_delay_;
    QLabel *start_by_caption_;
    QLabel *start_by_;
};

} // namespace tw
