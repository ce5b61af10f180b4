#pragma once

#include "app/help_topics.h"

#include <QObject>

class QWidget;

namespace tw {

/// The section of the guide for a widget: that of the nearest window or dialog around it that has
/// one, the guide's contents otherwise.
HelpTopic help_topic_for(const QWidget &widget);

/// F1 anywhere in the program, dialogs included, opens the guide at the section of the window or
/// dialog it was pressed in.
class ContextHelp : public QObject
{
    Q_OBJECT

public:
    ContextHelp();
    ~ContextHelp() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace tw
