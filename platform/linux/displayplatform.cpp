#include "platform/linux/displayplatform.h"

#include <QtGlobal>

namespace pelmaris::platform {

QByteArray preferredDisplayPlatform(const QByteArray &qpaPlatform, const QByteArray &waylandDisplay,
                                    const QByteArray &sessionType, const QByteArray &x11Display)
{
    if (!qpaPlatform.isEmpty() || x11Display.isEmpty())
        return {};
    if (waylandDisplay.isEmpty() && sessionType != "wayland")
        return {};
    return QByteArrayLiteral("xcb");
}

void choosePreferredDisplayPlatform()
{
    const QByteArray choice =
        preferredDisplayPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"),
                                 qgetenv("XDG_SESSION_TYPE"), qgetenv("DISPLAY"));
    if (!choice.isEmpty())
        qputenv("QT_QPA_PLATFORM", choice);
}

} // namespace pelmaris::platform
