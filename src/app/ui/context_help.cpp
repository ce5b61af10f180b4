#include "app/ui/context_help.h"

#include "app/ui/help_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace tw {
namespace {

/// A widget's own class or the nearest class it derives from that has a section (a dialog made
/// from a template reports the class it derives from).
std::optional<HelpTopic> own_topic(const QWidget &widget)
{
    for (const QMetaObject *meta = widget.metaObject(); meta; meta = meta->superClass()) {
        if (auto topic = help_topic_of(meta->className()))
            return topic;
    }
    return std::nullopt;
}

} // namespace

HelpTopic help_topic_for(const QWidget &widget)
{
    for (const QWidget *w = &widget; w; w = w->parentWidget()) {
        if (auto topic = own_topic(*w))
            return *topic;
    }
    return {guide_pages().front().file, {}};
}

ContextHelp::ContextHelp()
{
    qApp->installEventFilter(this);
}

ContextHelp::~ContextHelp()
{
    qApp->removeEventFilter(this);
}

bool ContextHelp::eventFilter(QObject *watched, QEvent *event)
{
    // The key reaches the window first and then the widget with the focus: it is answered there,
    // once, and goes no further.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
        return false;
    auto &widget = static_cast<QWidget &>(*watched);
    show_help(widget, help_topic_for(widget));
    return true;
}

} // namespace tw
