#include "app/ui/about_dialog.h"

#include "app/commands.h"
#include "app/ui/toolbar_icons.h"
#include "platform/ui/dialog_fields.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tw {

CAboutDlg::CAboutDlg(QWidget *parent)
    : QDialog(parent)
{
    const QString program = qt_text(app_title());
    setWindowTitle(QStringLiteral("About ") + program);
    auto *icon = new QLabel;
    icon->setPixmap(toolbar_icon(ID_APP_ABOUT).pixmap(48, 48));
    auto *text = new QLabel(QStringLiteral("<b>%2 Version %1</b><br>"
                                           "A Flexible Crop Management Tool<br>"
                                           "Managing Irrigation, Fertilization and Leaching<br><br>"
                                           "Written and maintained by the Tillwise team.")
                                .arg(QStringLiteral(TILLWISE_VERSION), program));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

} // namespace tw
