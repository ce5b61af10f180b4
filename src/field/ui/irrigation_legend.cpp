#include "field/ui/irrigation_legend.h"

#include "field/irrigation_table.h"
#include "field/ui/irrigation_icons.h"

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
    for (int icon = 1; icon <= kIrrigationIcons; ++icon) {
        auto *picture = new QLabel(this);
        picture->setPixmap(irrigation_icon(icon).pixmap(16, 16));
        const std::string_view meaning = irrigation_icon_meaning(icon);
        auto *text = new QLabel(
            QString::fromUtf8(meaning.data(), static_cast<qsizetype>(meaning.size())), this);
        text->setObjectName(QStringLiteral("meaning%1").arg(icon));
        grid->addWidget(picture, icon - 1, 0);
        grid->addWidget(text, icon - 1, 1);
    }
    // The mark beside a measured soil moisture, after the row pictures.
    auto *probe = new QLabel(this);
    probe->setPixmap(measured_icon().pixmap(16, 16));
    const std::string_view measured = measured_mark_meaning();
    auto *measured_text = new QLabel(
        QString::fromUtf8(measured.data(), static_cast<qsizetype>(measured.size())), this);
    measured_text->setObjectName(QStringLiteral("meaningMeasured"));
    grid->addWidget(probe, kIrrigationIcons, 0);
    grid->addWidget(measured_text, kIrrigationIcons, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

} // namespace tw
