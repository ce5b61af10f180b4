#include "platform/ui/date_field.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace tw {

DateField::DateField(QWidget *parent)
    : QDateEdit(parent)
{}

void DateField::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    const bool digit = !typed.isEmpty() && typed.front().isDigit();
    // The separator the user types after a complete section: the field is there already.
    if (moved_on_ && !typed.isEmpty() && typed.front().isPunct()) {
        moved_on_ = false;
        event->accept();
        return;
    }
    QLineEdit *text = lineEdit();
    if (digit && text->hasSelectedText() &&
        text->selectedText().size() > sectionText(currentSection()).size())
        setSelectedSection(sectionAt(0));
    const int section = currentSectionIndex();
    QDateEdit::keyPressEvent(event);
    moved_on_ = digit && currentSectionIndex() != section;
}

} // namespace tw
