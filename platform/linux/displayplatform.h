#pragma once

#include <QByteArray>

namespace pelmaris::platform {

// The display connection Qt should use, from the session's environment: "xcb" in a
// Wayland session that also offers X11 (XWayland), because a Wayland program cannot
// place its own windows and the picture viewer centres, moves and zooms its window
// about its centre. Empty to leave the choice to Qt: when the user chose already
// (QT_QPA_PLATFORM), or when there is only one kind of display.
QByteArray preferredDisplayPlatform(const QByteArray &qpaPlatform, const QByteArray &waylandDisplay,
                                    const QByteArray &sessionType, const QByteArray &x11Display);

// Applies that choice to this process; call before the application object is made.
void choosePreferredDisplayPlatform();

} // namespace pelmaris::platform
