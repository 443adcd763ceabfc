#include "platform/windows/windowsservices.h"

#include "platform/systemservices.h"

namespace pelmaris::platform {

WindowsServices::WindowsServices(const QString &applicationTitle) : m_dialogs(applicationTitle) {}

Services WindowsServices::services()
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

namespace {
class WindowsSystemServices final : public SystemServices {
public:
    explicit WindowsSystemServices(const QString &applicationTitle) : m_services(applicationTitle)
    {
    }
    Services services() override { return m_services.services(); }

private:
    WindowsServices m_services;
};
} // namespace

// Qt makes the process aware of each monitor's DPI itself; nothing else must come first.
void prepareProcess() {}

std::unique_ptr<SystemServices> makeSystemServices(const QString &applicationTitle)
{
    return std::make_unique<WindowsSystemServices>(applicationTitle);
}

} // namespace pelmaris::platform
