#pragma once

#include <QProxyStyle>

namespace pelmaris::platform {

// Fusion with the dark scheme's check boxes and radio buttons made visible: Fusion draws
// their edges a shade darker than the window, which on a dark window is as dark as a list
// view's background, so an unchecked box vanished in the list and showed as a black
// square on the panels.
class DarkStyle final : public QProxyStyle {
    Q_OBJECT

public:
    DarkStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
};

} // namespace pelmaris::platform
