#include "fertility/ui/method_calcs_dialog.h"

#include "fertility/nitrogen_methods.h"
#include "platform/ui/interaction.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tw {

CMethodCalcsDlg::CMethodCalcsDlg(const std::string &text, QWidget *parent)
    : QWidget(parent)
    , text_(new QPlainTextEdit(QString::fromStdString(text), this))
{
    setWindowTitle(QStringLiteral("Calculation Method"));
    text_->setReadOnly(true);
    // The breakdown lines are laid out in columns of blanks.
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text_);
}

void show_calculation_methods(QWidget *parent, const FertilityInputs &inputs,
                              const std::array<std::string, 3> &texts)
{
    QDialog sheet(parent);
    sheet.setWindowTitle(QStringLiteral("Calculation Methods"));
    auto *tabs = new QTabWidget(&sheet);
    const auto titles = method_titles(inputs);
    for (std::size_t i = 0; i < texts.size(); ++i)
        tabs->addTab(new CMethodCalcsDlg(texts[i], tabs), QString::fromUtf8(titles[i]));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &sheet);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &sheet, &QDialog::accept);
    auto *layout = new QVBoxLayout(&sheet);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    sheet.resize(560, 360);
    interaction().exec(sheet);
}

} // namespace tw
