#include "field/ui/irrigation_legend.h"

#include "field/irrigation_table.h"
#include "field/ui/irrigation_icons.h"
#include "location/ui/row_state_icons.h"
#include "location/weather_table.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tw {

CIrrigationLegendDlg::CIrrigationLegendDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Legend"));
    auto *grid = new QGridLayout;
    int row = 0;
    const auto add_row = [&](const QIcon &icon, std::string_view meaning, const QString &name) {
        auto *picture = new QLabel(this);
        picture->setPixmap(icon.pixmap(16, 16));
        auto *text = new QLabel(
            QString::fromUtf8(meaning.data(), static_cast<qsizetype>(meaning.size())), this);
        text->setObjectName(name);
        grid->addWidget(picture, row, 0);
        grid->addWidget(text, row++, 1);
    };
    for (int icon = 1; icon <= kIrrigationIcons; ++icon)
        add_row(irrigation_icon(icon), irrigation_icon_meaning(icon),
                QStringLiteral("meaning%1").arg(icon));
    // The marks inside the rows, after the row pictures: a measured soil moisture, and a day
    // computed from the location's weather forecast.
    add_row(measured_icon(), measured_mark_meaning(), QStringLiteral("meaningMeasured"));
    add_row(row_state_icon(DayMark::Forecast), forecast_weather_mark_meaning(),
            QStringLiteral("meaningForecastWeather"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

} // namespace tw
