#include "platform/linux/darkstyle.h"

#include <QStyleFactory>
#include <QStyleOptionButton>

namespace pelmaris::platform {

namespace {

// Fusion takes an indicator's edge from the window colour (darkened) and its face from the
// base colour: a light window for the edge and a face lifted off the list's background.
constexpr QRgb IndicatorEdgeSource = 0xa8a8a8;
constexpr QRgb IndicatorFace = 0x3a3a3a;

} // namespace

DarkStyle::DarkStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void DarkStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                              QPainter *painter, const QWidget *widget) const
{
    if (element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton) {
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option)) {
            QStyleOptionButton lifted(*button);
            lifted.palette.setColor(QPalette::Window, QColor(IndicatorEdgeSource));
            lifted.palette.setColor(QPalette::Base, QColor(IndicatorFace));
            QProxyStyle::drawPrimitive(element, &lifted, painter, widget);
            return;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

} // namespace pelmaris::platform
