#include "refdata/ui/tip_dialog.h"

#include "platform/ui/interaction.h"
#include "refdata/tip_of_day.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tw {

CTipDlg::CTipDlg(TipOfDay &tip, QWidget *parent)
    : QDialog(parent)
    , tip_(tip)
    , text_(new QLabel)
    , startup_(new QCheckBox(QStringLiteral("&Show on StartUp")))
    , close_(new QPushButton(QStringLiteral("&Close")))
    , next_(new QPushButton(QStringLiteral("&Next Tip")))
{
    // A blank title left the title bar reading "— Tillwise" alone.
    setWindowTitle(QStringLiteral("Tip of the Day"));
    auto *group = new QGroupBox(QStringLiteral("Welcome to Tillwise "));
    auto *group_layout = new QVBoxLayout(group);
    text_->setWordWrap(true);
    text_->setMinimumSize(360, 120);
    text_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    text_->setText(QString::fromStdString(tip_.text()));
    group_layout->addWidget(text_);

    startup_->setChecked(tip_.show_on_startup());
    close_->setDefault(true);
    next_->setEnabled(tip_.can_show_next());
    next_->setVisible(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(startup_);
    buttons->addStretch();
    buttons->addWidget(next_);
    buttons->addWidget(close_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    connect(next_, &QPushButton::clicked, this, &CTipDlg::show_next);
}

void CTipDlg::show_next()
{
    tip_.next_tip();
    text_->setText(QString::fromStdString(tip_.text()));
}

void CTipDlg::done(int result)
{
    // However the window is closed, the box's state is what the user left.
    tip_.close(startup_->isChecked());
    QDialog::done(result);
}

void run_tip_of_day(TipOfDay &tip, QWidget *parent, bool always)
{
    tip.prepare();
    if (always || tip.show_on_startup()) {
        CTipDlg dialog(tip, parent);
        interaction().exec(dialog);
    }
    tip.finish();
}

} // namespace tw
