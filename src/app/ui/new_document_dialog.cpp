#include "app/ui/new_document_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace tw {

NewDocumentDialog::NewDocumentDialog(const QStringList &names, QWidget *parent)
    : QDialog(parent)
    , list_(new QListWidget)
{
    setWindowTitle(QStringLiteral("New"));
    list_->addItems(names);
    list_->setCurrentRow(0);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    // With its buddy the label shows "New" with its shortcut, not a literal "&New".
    auto *label = new QLabel(QStringLiteral("&New"));
    label->setBuddy(list_);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

int NewDocumentDialog::chosen() const
{
    return list_->currentRow();
}

} // namespace tw
