#include "platform/pathtext.h"
#include "platform/windows/comscope.h"
#include "platform/windows/win32text.h"
#include "platform/windows/windowsfilesystem.h"

#include <string>
#include <windows.h>

#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

namespace pelmaris::platform {

namespace {

// The name the shell shows for one of its folders; empty when it has none to give.
QString shellName(REFKNOWNFOLDERID id)
{
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHGetKnownFolderIDList(id, 0, nullptr, &list)) || !list)
        return {};
    SHFILEINFOW info{};
    QString name;
    if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_DISPLAYNAME))
        name = win32::fromWide(info.szDisplayName);
    CoTaskMemFree(list);
    return name;
}

// The desktop's folder as the special folders give it, so that the start folder is
// found at the top of the tree.
QString desktopFolder()
{
    wchar_t *path = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_Desktop, KF_FLAG_DONT_VERIFY, nullptr, &path);
    const QString result = SUCCEEDED(hr) ? win32::fromWide(path) : QString();
    CoTaskMemFree(path);
    return result;
}

std::vector<FolderRoot> drives()
{
    std::vector<FolderRoot> out;
    // "A:\<0>" for each of up to 26 drives, and the closing zero.
    wchar_t letters[26 * 4 + 1] = {};
    const DWORD length = GetLogicalDriveStringsW(DWORD(std::size(letters)), letters);
    if (length == 0 || length >= std::size(letters))
        return out;
    // A drive without its medium must not bring up the system's "insert a disk" box.
    DWORD previousMode = 0;
    const bool modeSet = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
    for (const wchar_t *drive = letters; *drive; drive += wcslen(drive) + 1) {
        FolderRoot root;
        root.path = win32::fromWide(drive);
        SHFILEINFOW info{};
        if (SHGetFileInfoW(drive, 0, &info, sizeof info, SHGFI_DISPLAYNAME) &&
            info.szDisplayName[0])
            root.label = win32::fromWide(info.szDisplayName);
        else
            root.label = root.path.left(2); // "C:"
        out.push_back(std::move(root));
    }
    if (modeSet)
        SetThreadErrorMode(previousMode, nullptr);
    return out;
}

} // namespace

std::vector<FolderRoot> WindowsFileSystem::roots()
{
    win32::ComScope com; // the shell's names need COM on this thread
    std::vector<FolderRoot> all = drives();
    const QString desktop = desktopFolder();
    // Without a desktop folder to stand on, the drives are the top.
    if (desktop.isEmpty())
        return all;
    FolderRoot computer;
    computer.label = shellName(FOLDERID_ComputerFolder);
    if (computer.label.isEmpty())
        computer.label = QStringLiteral("PC");
    computer.children = std::move(all);
    FolderRoot top;
    top.path = pathtext::withDelimiter(desktop);
    top.label = shellName(FOLDERID_Desktop);
    if (top.label.isEmpty())
        top.label = pathtext::fileNameOf(pathtext::withoutDelimiter(desktop));
    top.children.push_back(std::move(computer));
    return {std::move(top)};
}

} // namespace pelmaris::platform
