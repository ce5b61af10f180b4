#include "platform/ui/qt_message_port.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace tw {
namespace {

QString text_of(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon icon_of(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    default: return QMessageBox::Information;
    }
}

} // namespace

QString QtMessagePort::caption_of(std::string_view caption)
{
    return caption.empty() ? QApplication::applicationDisplayName() : text_of(caption);
}

void QtMessagePort::inform(std::string_view text, std::string_view caption, MessageIcon icon)
{
    QMessageBox box(icon_of(icon), caption_of(caption), text_of(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool QtMessagePort::ask_yes_no(std::string_view text, std::string_view caption)
{
    QMessageBox box(QMessageBox::Question, caption_of(caption), text_of(text),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    return box.exec() == QMessageBox::Yes;
}

std::size_t QtMessagePort::choose(std::string_view text, const std::vector<std::string> &choices,
                                  std::string_view caption)
{
    QMessageBox box(QMessageBox::Question, caption_of(caption), text_of(text),
                    QMessageBox::NoButton, QApplication::activeWindow());
    std::vector<QAbstractButton *> buttons;
    for (const std::string &choice : choices)
        buttons.push_back(box.addButton(text_of(choice), QMessageBox::AcceptRole));
    // Escape and the title bar's close leave things as they are: the last choice.
    if (!buttons.empty())
        box.setEscapeButton(buttons.back());
    box.exec();
    const auto it = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    if (it == buttons.end())
        return buttons.empty() ? 0 : buttons.size() - 1;
    return static_cast<std::size_t>(it - buttons.begin());
}

void QtMessagePort::beep()
{
    QApplication::beep();
}

} // namespace tw
