#include "platform/windows/windowsfilesystem.h"

#include "platform/windows/win32text.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

namespace pelmaris::platform {

// The read looks at what it opens (a device or pipe is never read), whatever the folder.
ReadResult WindowsFileSystem::readSmallFile(const QString &path, qint64 maxBytes)
{
    return readRegularFile(path, maxBytes);
}

bool WindowsFileSystem::writeFile(const QString &path, const QByteArray &bytes,
                                  const WriteOptions &options, QString *error)
{
    return writeWholeFile(path, bytes, options, error);
}

// A new folder takes the access list of the folder above it: under the user's profile,
// the user's own, closed to other accounts.
bool WindowsFileSystem::makePrivateFolder(const QString &path, bool parents)
{
    if (path.isEmpty())
        return false;
    if (parents) {
        const QString above = QFileInfo(path).path();
        if (!above.isEmpty())
            QDir().mkpath(above);
    }
    return CreateDirectoryW(win32::systemPath(path).c_str(), nullptr) != 0;
}

bool WindowsFileSystem::isPrivateFolder(const QString &path)
{
    return platform::isPrivateFolder(path);
}

// The read-only attribute does not bind folders here; the access list decides, and a
// write it refuses fails and is reported like any other.
bool WindowsFileSystem::canWriteIn(const QString &folder)
{
    const DWORD attributes = GetFileAttributesW(win32::systemPath(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

QString WindowsFileSystem::canonicalPath(const QString &path)
{
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

} // namespace pelmaris::platform
