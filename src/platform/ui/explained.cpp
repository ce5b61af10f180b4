#include "platform/ui/explained.h"

#include "platform/ui/dialog_fields.h"

#include <QEvent>
#include <QWidget>

namespace tw {
namespace {

/// Writes a widget's explanation anew just before the widget shows it.
class Explanation : public QObject
{
public:
    Explanation(QWidget &widget, std::function<std::string()> text)
        : QObject(&widget)
        , widget_(widget)
        , text_(std::move(text))
    {
        write();
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::ToolTip:
        case QEvent::QueryWhatsThis:
        case QEvent::WhatsThis: write(); break;
        default: break;
        }
        return false;
    }

private:
    void write()
    {
        const QString text = qt_text(text_());
        widget_.setToolTip(text);
        widget_.setWhatsThis(text);
    }

    QWidget &widget_;
    std::function<std::string()> text_;
};

} // namespace

void explain(QWidget &widget, std::function<std::string()> text)
{
    new Explanation(widget, std::move(text));
}

bool is_explanation_role(int role)
{
    return role == Qt::ToolTipRole || role == Qt::WhatsThisRole;
}

} // namespace tw
