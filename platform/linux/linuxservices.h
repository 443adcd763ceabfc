#pragma once

#include "platform/linux/linuxclipboard.h"
#include "platform/linux/linuxdesktop.h"
#include "platform/linux/linuxdialogs.h"
#include "platform/linux/linuxfilesystem.h"
#include "platform/linux/linuxshell.h"
#include "platform/linux/linuxshortcuts.h"
#include "platform/linux/linuxspecialfolders.h"
#include "platform/linux/linuxstyles.h"
#include "platform/linux/linuxsysteminfo.h"
#include "platform/services.h"

namespace pelmaris::platform {

// Owns the Linux implementation of every service; built once in main().
class LinuxServices {
public:
    explicit LinuxServices(const QString &applicationTitle);

    Services services();

private:
    LinuxSpecialFolders m_folders;
    LinuxSystemInfo m_system;
    LinuxDialogs m_dialogs;
    LinuxDesktop m_desktop;
    LinuxShell m_shell;
    LinuxStyles m_styles;
    LinuxClipboard m_clipboard;
    LinuxShortcuts m_shortcuts;
    LinuxFileSystem m_fileSystem;
};

} // namespace pelmaris::platform
