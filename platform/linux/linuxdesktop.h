#pragma once

#include "platform/desktop.h"

#include <QString>

namespace pelmaris::platform {

// Attention through the window manager; taskbar progress through the launcher-entry
// D-Bus signal, which docks and panels that show progress listen for.
class LinuxDesktop final : public Desktop {
public:
    explicit LinuxDesktop(QString desktopFileName) : m_appUri(std::move(desktopFileName)) {}

    void alert(QWidget *window) override;
    void setTaskbarProgress(int percent, bool visible) override;

private:
    QString m_appUri;
};

} // namespace pelmaris::platform
