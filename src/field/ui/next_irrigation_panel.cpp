#include "field/ui/next_irrigation_panel.h"

#include "field/field_doc.h"
#include "field/field_tips.h"
#include "field/forecast_rain.h"
#include "field/season_glance.h"
#include "platform/ui/explained.h"

#include <QGridLayout>
#include <QLabel>

namespace tw {
namespace {

QLabel *large_label(QWidget *parent, double scale, bool bold)
{
    auto *label = new QLabel(parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(bold);
    label->setFont(font);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

CNextIrrigationPanel::CNextIrrigationPanel(CFieldDoc &doc, QWidget *parent)
    : QFrame(parent)
    , doc_(doc)
    , when_(large_label(this, 2.2, true))
    , amount_(large_label(this, 2.2, true))
    , moisture_(large_label(this, 1.3, false))
    , advice_(large_label(this, 1.3, true))
    , rain_delay_(large_label(this, 1.3, false))
    , start_by_caption_(new QLabel(QStringLiteral("Start by:"), this))
    , start_by_(large_label(this, 2.2, true))
{
    setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(this);
    auto *when_caption = new QLabel(QStringLiteral("Next irrigation:"), this);
    auto *amount_caption = new QLabel(QStringLiteral("Gross amount:"), this);
    grid->addWidget(when_caption, 0, 0);
    grid->addWidget(when_, 1, 0);
    grid->addWidget(amount_caption, 0, 1);
    grid->addWidget(amount_, 1, 1);
    grid->addWidget(moisture_, 0, 2);
    grid->addWidget(advice_, 1, 2);
    grid->addWidget(start_by_caption_, 0, 3);
    grid->addWidget(start_by_, 1, 3);
    grid->addWidget(rain_delay_, 3, 0, 1, 4);
    grid->setColumnStretch(2, 1);
    grid->setHorizontalSpacing(30);
    const std::pair<QLabel *, PanelFigure> figures[] = {
        {when_caption, PanelFigure::When},         {when_, PanelFigure::When},
        {amount_caption, PanelFigure::Amount},     {amount_, PanelFigure::Amount},
        {moisture_, PanelFigure::Moisture},        {advice_, PanelFigure::Advice},
        {start_by_caption_, PanelFigure::StartBy}, {start_by_, PanelFigure::StartBy},
        {rain_delay_, PanelFigure::RainDelay}};
    for (const auto &[label, figure] : figures)
        explain(*label, [figure = figure] { return panel_figure_tip(figure); });
    refresh();
    doc_.add_view(this);
}

CNextIrrigationPanel::~CNextIrrigationPanel()
{
    doc_.remove_view(this);
}

void CNextIrrigationPanel::on_update(ViewHint)
{
    refresh();
}

void CNextIrrigationPanel::refresh()
{
    const NextIrrigationText next = next_irrigation_text(doc_);
    when_->setText(QString::fromStdString(next.when));
    amount_->setText(next.amount.empty() ? QStringLiteral("-")
                                         : QString::fromStdString(next.amount));
    moisture_->setText(QString::fromStdString(next.moisture));
    advice_->setText(QString::fromStdString(next.advice));
    start_by_->setText(QString::fromStdString(next.start_by.value_or("")));
    start_by_caption_->setVisible(next.start_by.has_value());
    start_by_->setVisible(next.start_by.has_value());
    // Below the critical level the answer is urgent: it shows in red.
    const QString colour = next.stressed ? QStringLiteral("color: #b00000;") : QString();
    for (QLabel *label : {when_, advice_})
        label->setStyleSheet(colour);
    const auto delay = forecast_rain_delay(doc_);
    rain_delay_->setText(delay ? QString::fromStdString(tw::rain_delay_text(*delay)) : QString());
    rain_delay_->setVisible(delay.has_value());
}

QString CNextIrrigationPanel::when_text() const
{
    return when_->text();
}

QString CNextIrrigationPanel::amount_text() const
{
    return amount_->text();
}

QString CNextIrrigationPanel::moisture_text() const
{
    return moisture_->text();
}

QString CNextIrrigationPanel::start_by_text() const
{
    return start_by_->text();
}

QString CNextIrrigationPanel::advice_text() const
{
    return advice_->text();
}

QString CNextIrrigationPanel::rain_delay_text() const
{
    return rain_delay_->text();
}

} // namespace tw
