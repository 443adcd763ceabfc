#include "platform/linux/linuxservices.h"

namespace pelmaris::platform {

LinuxServices::LinuxServices(const QString &applicationTitle)
    : m_dialogs(applicationTitle), m_desktop(QStringLiteral("pelmaris"))
{
}

Services LinuxServices::services()
{
    Services s;
    s.folders = &m_folders;
    s.system = &m_system;
    s.dialogs = &m_dialogs;
    s.desktop = &m_desktop;
    s.shell = &m_shell;
    s.styles = &m_styles;
    s.clipboard = &m_clipboard;
    s.shortcuts = &m_shortcuts;
    s.fileSystem = &m_fileSystem;
    return s;
}

} // namespace pelmaris::platform
