#pragma once

namespace pelmaris::platform {

class SpecialFolders;
class SystemInfo;
class Dialogs;
class Desktop;
class Shell;
class Styles;
class Clipboard;
class Shortcuts;
class FileSystem;

// The platform services, built once in main() (or from fakes in tests) and handed down.
// The pointers are never null and outlive every user.
struct Services {
    SpecialFolders *folders = nullptr;
    SystemInfo *system = nullptr;
    Dialogs *dialogs = nullptr;
    Desktop *desktop = nullptr;
    Shell *shell = nullptr;
    Styles *styles = nullptr;
    Clipboard *clipboard = nullptr;
    Shortcuts *shortcuts = nullptr;
    FileSystem *fileSystem = nullptr;
};

} // namespace pelmaris::platform
