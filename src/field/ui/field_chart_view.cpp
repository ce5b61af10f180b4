#include "field/ui/field_chart_view.h"

#include "field/field_doc.h"
#include "field/field_tips.h"
#include "field/season_glance.h"
#include "platform/axis_scale.h"
#include "platform/dates.h"
#include "platform/ui/dialog_fields.h"

#include <QAreaSeries>
#include <QChart>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>

namespace tw {
namespace {

constexpr qint64 kDayMs = 24LL * 60 * 60 * 1000;
/// The property of a series that holds what it shows, as its tool tip.
constexpr char kSeriesTip[] = "toolTip";

/// Noon of the day, so that a day's bar sits on its date.
qreal x_of(int serial)
{
    const auto ymd = civil_from_serial(serial);
    const QDateTime noon(QDate(ymd.year, ymd.month, ymd.day), QTime(12, 0), Qt::UTC);
    return qreal(noon.toMSecsSinceEpoch());
}

QLineSeries *line(const QString &name, const QColor &color, Qt::PenStyle style = Qt::SolidLine)
{
    auto *series = new QLineSeries;
    series->setName(name);
    QPen pen(color);
    pen.setWidthF(2.0);
    pen.setStyle(style);
    series->setPen(pen);
    return series;
}

/// Bars of one day's width as the outline of an area over the base line.
QAreaSeries *bars(const QString &name, const QColor &color, const SeasonChart &chart,
                  float ChartDay::*value)
{
    auto *outline = new QLineSeries;
    const qreal half = 0.35 * kDayMs;
    for (const ChartDay &day : chart.days) {
        const float height = day.*value;
        if (height <= 0.0f)
            continue;
        const qreal x = x_of(day.date);
        outline->append({{x - half, 0}, {x - half, height}, {x + half, height}, {x + half, 0}});
    }
    auto *area = new QAreaSeries(outline);
    area->setName(name);
    area->setColor(color);
    area->setBorderColor(color.darker());
    return area;
}

/// A band over the forecast days, as high as the chart.
QAreaSeries *forecast_band(const SeasonChart &chart, qreal top)
{
    auto *upper = new QLineSeries;
    const auto first = std::find_if(chart.days.begin(), chart.days.end(),
                                    [](const ChartDay &d) { return d.forecast; });
    if (first != chart.days.end()) {
        const qreal from = x_of(first->date) - kDayMs / 2;
        const qreal to = x_of(chart.days.back().date) + kDayMs / 2;
        upper->append({{from, top}, {to, top}});
    }
    auto *band = new QAreaSeries(upper);
    band->setName(chart.learned_drift ? QStringLiteral("Forecast, corrected by %1 %2/day")
                                            .arg(double(*chart.learned_drift), 0, 'f', 2)
                                            .arg(QString::fromStdString(chart.depth_unit))
                                      : QStringLiteral("Forecast"));
    band->setColor(QColor(128, 128, 128, 60));
    band->setBorderColor(Qt::transparent);
    return band;
}

/// Hatching over the forecast days the location's weather forecast gave their weather.
QAreaSeries *forecast_weather_band(const SeasonChart &chart, qreal top)
{
    auto *outline = new QLineSeries;
    const qreal half = 0.5 * kDayMs;
    for (const ChartDay &day : chart.days) {
        if (!day.forecast_weather)
            continue;
        const qreal x = x_of(day.date);
        outline->append({{x - half, 0}, {x - half, top}, {x + half, top}, {x + half, 0}});
    }
    auto *band = new QAreaSeries(outline);
    band->setName(QStringLiteral("Forecast weather"));
    band->setBrush(QBrush(QColor(70, 130, 220, 110), Qt::BDiagPattern));
    band->setBorderColor(Qt::transparent);
    return band;
}

void show_tip_of(const QAbstractSeries *series, bool shown)
{
    if (shown)
        QToolTip::showText(QCursor::pos(), series->property(kSeriesTip).toString());
    else
        QToolTip::hideText();
}

} // namespace

CFieldChartView::CFieldChartView(CFieldDoc &doc, QWidget *parent)
    : QChartView(new QChart, parent)
    , doc_(doc)
{
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(220);
    chart()->legend()->setAlignment(Qt::AlignRight);
    redraw();
    doc_.add_view(this);
}

CFieldChartView::~CFieldChartView()
{
    doc_.remove_view(this);
}

void CFieldChartView::on_update(ViewHint)
{
    redraw();
}

void CFieldChartView::redraw()
{
    QChart *c = chart();
    c->removeAllSeries();
    for (QAbstractAxis *axis : c->axes())
        c->removeAxis(axis);
    const SeasonChart season = season_chart(doc_);
    const QString unit = QString::fromStdString(season.depth_unit);
    c->setTitle(QStringLiteral("Water balance of %1 (%2)")
                    .arg(QString::fromStdString(doc_.saved.name), unit));

    QLineSeries *deficit = line(QStringLiteral("Deficit"), QColor(200, 60, 20));
    QLineSeries *critical =
        line(QStringLiteral("Critical deficit"), QColor(230, 160, 0), Qt::DashLine);
    QLineSeries *taw = line(QStringLiteral("TAW"), QColor(40, 40, 40), Qt::DotLine);
    float top = 0.0f;
    for (const ChartDay &day : season.days) {
        const qreal x = x_of(day.date);
        deficit->append(x, day.deficit);
        critical->append(x, day.critical);
        taw->append(x, day.taw);
        top = std::max({top, day.taw, day.deficit, day.rain, day.irrigation});
    }
    // Labels in round numbers of the user's unit, with a little room above the largest value.
    const AxisScale scale = round_axis(top);
    top = static_cast<float>(scale.top);

    auto *measured = new QScatterSeries;
    measured->setName(QStringLiteral("Measured"));
    measured->setColor(QColor(120, 40, 160));
    measured->setMarkerSize(9);
    for (const ChartDay &day : season.days) {
        if (day.measured)
            measured->append(x_of(day.date), day.deficit);
    }

    QLineSeries *today = line(QStringLiteral("Last actual day"), QColor(30, 90, 200));
    for (const ChartDay &day : season.days) {
        if (day.day == season.last_actual_day)
            today->append({{x_of(day.date), 0}, {x_of(day.date), top}});
    }
    auto *dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("MM/dd"));
    dates->setTickCount(8);
    auto *depths = new QValueAxis;
    depths->setRange(0, scale.top);
    depths->setTickCount(scale.ticks);
    depths->setLabelFormat(QStringLiteral("%.%1f").arg(scale.decimals));
    depths->setTitleText(QStringLiteral("Depth (%1)").arg(unit));
    c->addAxis(dates, Qt::AlignBottom);
    c->addAxis(depths, Qt::AlignLeft);
    if (!season.days.empty())
        dates->setRange(QDateTime::fromMSecsSinceEpoch(
                            qint64(x_of(season.days.front().date)) - kDayMs, Qt::UTC),
                        QDateTime::fromMSecsSinceEpoch(
                            qint64(x_of(season.days.back().date)) + kDayMs, Qt::UTC));
    QList<QAbstractSeries *> series = {
        forecast_band(season, top),
        bars(QStringLiteral("Rain"), QColor(70, 130, 220), season, &ChartDay::rain),
        bars(QStringLiteral("Irrigation"), QColor(60, 170, 80), season, &ChartDay::irrigation),
        taw,
        critical,
        deficit,
        measured,
        today};
    // Only a location with a weather forecast has such days; the others keep their legend.
    if (std::any_of(season.days.begin(), season.days.end(),
                    [](const ChartDay &d) { return d.forecast_weather; }))
        series.insert(1, forecast_weather_band(season, top));
    for (QAbstractSeries *s : series) {
        c->addSeries(s);
        s->attachAxis(dates);
        s->attachAxis(depths);
    }
    explain_series();
}

void CFieldChartView::explain_series()
{
    // A series tells what it shows when the pointer rests on it or on its legend entry; What's
    // This over the chart tells them all.
    QString all;
    for (QAbstractSeries *s : chart()->series()) {
        const QString tip = qt_text(chart_series_tip(s->name().toStdString()));
        s->setProperty(kSeriesTip, tip);
        all += QStringLiteral("<p><b>%1</b>: %2</p>")
                   .arg(s->name().toHtmlEscaped(), tip.toHtmlEscaped());
        for (QLegendMarker *marker : chart()->legend()->markers(s))
            connect(marker, &QLegendMarker::hovered, this,
                    [s](bool shown) { show_tip_of(s, shown); });
        if (auto *points = qobject_cast<QXYSeries *>(s))
            connect(points, &QXYSeries::hovered, this,
                    [s](const QPointF &, bool shown) { show_tip_of(s, shown); });
        else if (auto *area = qobject_cast<QAreaSeries *>(s))
            connect(area, &QAreaSeries::hovered, this,
                    [s](const QPointF &, bool shown) { show_tip_of(s, shown); });
    }
    setWhatsThis(all);
}

void CFieldChartView::paint_page(QPainter &painter, const QRect &target)
{
    // The chart is laid out at a size a page of paper holds, then drawn at the printer's scale;
    // the window's own chart keeps its size.
    QChart *c = chart();
    const QSizeF shown = c->size();
    const QRectF page_area(0, 0, 1000, 700);
    c->resize(page_area.size());
    if (QGraphicsLayout *layout = c->layout())
        layout->activate();
    scene()->render(&painter, QRectF(target), c->mapRectToScene(page_area));
    c->resize(shown);
}

} // namespace tw
