#include "platform/ui/fixed_window_style.h"

#include <QPainter>
#include <QStyleOptionTitleBar>

#include <algorithm>

namespace tw {

void FixedWindowStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                          QPainter *painter, const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionTitleBar *>(option);
    if (control != CC_TitleBar || !bar || !(bar->titleBarFlags & Qt::WindowSystemMenuHint)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // The bar as the style draws it without its close button, then the button's icon greyed in
    // the place the style keeps for it.
    QStyleOptionTitleBar without_close = *bar;
    without_close.subControls &= ~SC_TitleBarCloseButton;
    without_close.activeSubControls &= ~SC_TitleBarCloseButton;
    QProxyStyle::drawComplexControl(control, &without_close, painter, widget);
    const QRect place = subControlRect(CC_TitleBar, bar, SC_TitleBarCloseButton, widget);
    if (!place.isValid())
        return;
    const QIcon icon = standardIcon(SP_TitleBarCloseButton, bar, widget);
    const int side = std::min(place.width(), place.height());
    painter->drawPixmap(place.center() - QPoint(side / 2, side / 2),
                        icon.pixmap(QSize(side, side), QIcon::Disabled));
}

QStyle::SubControl FixedWindowStyle::hitTestComplexControl(ComplexControl control,
                                                           const QStyleOptionComplex *option,
                                                           const QPoint &pos,
                                                           const QWidget *widget) const
{
    const SubControl hit = QProxyStyle::hitTestComplexControl(control, option, pos, widget);
    return control == CC_TitleBar && hit == SC_TitleBarCloseButton ? SC_TitleBarLabel : hit;
}

} // namespace tw
