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
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

} // namespace tw
