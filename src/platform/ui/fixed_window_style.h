#pragma once

#include <QProxyStyle>

namespace tw {

/// The title bar of a window that closes only with its document: its close button is drawn
/// disabled, and a click on it does nothing, so that it does not look like a button that fails.
class FixedWindowStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                     const QPoint &pos,
                                     const QWidget *widget = nullptr) const override;
};

} // namespace tw
