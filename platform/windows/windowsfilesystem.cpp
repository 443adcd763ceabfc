#include "platform/windows/windowsfilesystem.h"

#include "platform/windows/win32files.h"
#include "platform/windows/win32text.h"

#include <QFile>

#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

namespace pelmaris::platform {

namespace {

std::wstring *pathOf(FolderHandle folder)
{
    return reinterpret_cast<std::wstring *>(folder);
}

FolderHandle handleFor(std::wstring path)
{
    return reinterpret_cast<FolderHandle>(new std::wstring(std::move(path)));
}

// Symbolic links and junctions lead elsewhere; other reparse points (cloud files,
// deduplicated files) are the item itself.
bool isLink(DWORD attributes, DWORD reparseTag)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (reparseTag == IO_REPARSE_TAG_SYMLINK || reparseTag == IO_REPARSE_TAG_MOUNT_POINT);
}

} // namespace

FolderHandle WindowsFileSystem::openFolder(const QString &path)
{
    if (path.isEmpty())
        return kNoFolder;
    std::wstring name = win32::systemPath(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return kNoFolder;
    while (name.size() > 1 && name.back() == L'\\')
        name.pop_back();
    return handleFor(std::move(name));
}

FolderHandle WindowsFileSystem::openSubfolder(FolderHandle parent, QByteArrayView nativeName)
{
    if (parent == kNoFolder || nativeName.isEmpty() || nativeName.size() % 2 != 0)
        return kNoFolder;
    std::wstring name = *pathOf(parent);
    name += L'\\';
    name.append(reinterpret_cast<const wchar_t *>(nativeName.data()),
                size_t(nativeName.size() / 2));
    // A path grown past the limit needs the long form from here on.
    if (name.size() >= 248 && name.rfind(L"\\\\?\\", 0) != 0)
        name = win32::systemPath(QString::fromStdWString(name));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data))
        return kNoFolder;
    // Never through a link: a walk must not leave the tree or run in a circle.
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return kNoFolder;
        WIN32_FIND_DATAW find{};
        const HANDLE h = FindFirstFileW(name.c_str(), &find);
        if (h == INVALID_HANDLE_VALUE)
            return kNoFolder;
        FindClose(h);
        if (isLink(find.dwFileAttributes, find.dwReserved0))
            return kNoFolder;
    }
    return handleFor(std::move(name));
}

bool WindowsFileSystem::readFolder(FolderHandle folder, FolderListing &out, bool foldersOnly)
{
    if (folder == kNoFolder)
        return false;
    const std::wstring pattern = *pathOf(folder) + L"\\*";
    WIN32_FIND_DATAW data{};
    const HANDLE find =
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                         foldersOnly ? FindExSearchLimitToDirectories : FindExSearchNameMatch,
                         nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        // A drive's root lists no "." entry: nothing found there is an empty folder.
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const wchar_t *name = data.cFileName;
        if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0)))
            continue;
        EntryKind kind = EntryKind::File;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            kind = isLink(data.dwFileAttributes, data.dwReserved0) ? EntryKind::LinkToFolder
                                                                   : EntryKind::Folder;
        if (foldersOnly && kind == EntryKind::File)
            continue;
        const qsizetype length = qsizetype(wcslen(name));
        FolderEntry entry;
        entry.kind = kind;
        entry.hidden = data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN;
        entry.textPos = out.text.size();
        entry.textLength = int(length);
        out.text.append(QStringView(reinterpret_cast<const char16_t *>(name), length));
        entry.nativePos = out.native.size();
        entry.nativeLength = int(length * 2);
        out.native.append(reinterpret_cast<const char *>(name), length * 2);
        out.entries.push_back(entry);
    } while (FindNextFileW(find, &data));
    const DWORD code = GetLastError();
    FindClose(find);
    return code == ERROR_NO_MORE_FILES;
}

void WindowsFileSystem::closeFolder(FolderHandle folder)
{
    if (folder != kNoFolder)
        delete pathOf(folder);
}

PathInfo WindowsFileSystem::pathInfo(const QString &path)
{
    PathInfo info;
    if (path.isEmpty())
        return info;
    const DWORD attributes = GetFileAttributesW(win32::systemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return info;
    info.isFolder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    // Devices have no attributes of their own here; anything not a folder is a file.
    info.isFile = !info.isFolder && !(attributes & FILE_ATTRIBUTE_DEVICE);
    info.hidden = attributes & FILE_ATTRIBUTE_HIDDEN;
    return info;
}

OpenedFile WindowsFileSystem::openRegularFile(const QString &path)
{
    OpenedFile result;
    const HANDLE h =
        win32::openRegularFile(path, FILE_FLAG_SEQUENTIAL_SCAN, &result.status, &result.error);
    if (h == INVALID_HANDLE_VALUE)
        return result;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info)) {
        result.error = win32::errorText(GetLastError());
        CloseHandle(h);
        return result;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        result.error = win32::errorText(ERROR_TOO_MANY_OPEN_FILES);
        return result;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        _close(fd);
        result.error = file->errorString();
        return result;
    }
    result.status = ReadStatus::Ok;
    result.file = std::move(file);
    result.size = qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    result.modified = win32::secondsSinceEpoch(
        (quint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime);
    return result;
}

std::optional<LocalTime> WindowsFileSystem::localTime(qint64 secondsSinceEpoch) const
{
    // The zone's rules for that date, not today's offset.
    const quint64 ticks = quint64(secondsSinceEpoch) * 10000000ULL + 116444736000000000ULL;
    FILETIME utcTime{DWORD(ticks & 0xffffffffu), DWORD(ticks >> 32)};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    if (!FileTimeToSystemTime(&utcTime, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return std::nullopt;
    return LocalTime{local.wYear, local.wMonth,  local.wDay,
                     local.wHour, local.wMinute, local.wSecond};
}

std::unique_ptr<FileSystem> makeSystemFileSystem()
{
    return std::make_unique<WindowsFileSystem>();
}

} // namespace pelmaris::platform
