#pragma once

#include "platform/linux/linuxdialogs.h"
#include "platform/linux/linuxstyles.h"
#include "platform/services.h"
#include "platform/windows/windowsclipboard.h"
#include "platform/windows/windowsdesktop.h"
#include "platform/windows/windowsfilesystem.h"
#include "platform/windows/windowsshell.h"
#include "platform/windows/windowsshortcuts.h"
#include "platform/windows/windowsspecialfolders.h"
#include "platform/windows/windowssysteminfo.h"

namespace pelmaris::platform {

// Owns the Windows implementation of every service. The message boxes, file dialogs and
// the two looks are Qt's own on both systems (the native look is the Vista style here),
// so they share the Linux backend's Qt-only classes.
class WindowsServices {
public:
    explicit WindowsServices(const QString &applicationTitle);

    Services services();

private:
    WindowsSpecialFolders m_folders;
    WindowsSystemInfo m_system;
    LinuxDialogs m_dialogs;
    WindowsDesktop m_desktop;
    WindowsShell m_shell;
    LinuxStyles m_styles;
    WindowsClipboard m_clipboard;
    WindowsShortcuts m_shortcuts;
    WindowsFileSystem m_fileSystem;
};

} // namespace pelmaris::platform
