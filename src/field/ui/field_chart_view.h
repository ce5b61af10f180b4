#pragma once

#include "platform/document.h"

#include <QChartView>

class QPainter;
class QRect;

namespace tw {

class CFieldDoc;

/// The water balance of a field's season as a chart: the deficit and the critical deficit as
/// lines under the TAW ceiling, rain and irrigation as bars, the forecast days shaded and the
/// last actual day marked, in the display unit of depth. Redrawn after every run.
class CFieldChartView
    : public QChartView
    , public DocumentView
{
    Q_OBJECT

public:
    explicit CFieldChartView(CFieldDoc &doc, QWidget *parent = nullptr);
    ~CFieldChartView() override;

    void on_update(ViewHint hint) override;
    void redraw();
    /// Paints the chart into the rectangle of a printed page.
    void paint_page(QPainter &painter, const QRect &target);

private:
    void explain_series();

    CFieldDoc &doc_;
};

} // namespace tw
