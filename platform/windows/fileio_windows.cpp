#include "platform/fileio.h"

#include "platform/windows/win32files.h"
#include "platform/windows/win32text.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <windows.h>

namespace pelmaris::platform {

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    ~Handle()
    {
        if (valid())
            CloseHandle(m_h);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    bool valid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_h; }

private:
    HANDLE m_h;
};

} // namespace

// Under the user's profile, other accounts are kept out by the profile's own access
// list; what is left to refuse is a junction or link standing in for the folder.
bool isPrivateFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    const DWORD attributes = GetFileAttributesW(win32::systemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

ReadResult readRegularFile(const QString &path, qint64 maxBytes)
{
    ReadResult result;
    const Handle file(
        win32::openRegularFile(path, FILE_ATTRIBUTE_NORMAL, &result.status, &result.error));
    if (!file.valid())
        return result;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        result.error = win32::errorText(GetLastError());
        return result;
    }
    if (size.QuadPart > maxBytes) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    // Read to the end (the file may have grown meanwhile), never past the limit.
    QByteArray bytes;
    bytes.resize(qsizetype(size.QuadPart) + 1);
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > maxBytes)
                break;
            bytes.resize(qsizetype(qMin<qint64>(maxBytes + 1, total * 2 + 4096)));
        }
        DWORD n = 0;
        const DWORD want = DWORD(qMin<qint64>(bytes.size() - total, 1 << 30));
        if (!ReadFile(file.get(), bytes.data() + total, want, &n, nullptr)) {
            result.error = win32::errorText(GetLastError());
            return result;
        }
        if (n == 0)
            break;
        total += n;
    }
    if (total > maxBytes) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    bytes.resize(qsizetype(total));
    result.bytes = std::move(bytes);
    result.status = ReadStatus::Ok;
    return result;
}

bool writeWholeFile(const QString &path, const QByteArray &bytes, const WriteOptions &options,
                    QString *error)
{
    const auto fail = [error](DWORD code) {
        if (error)
            *error = win32::errorText(code);
        return false;
    };
    const std::wstring name = win32::systemPath(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return fail(ERROR_DIRECTORY);
    if (attributes != INVALID_FILE_ATTRIBUTES && options.exclusive)
        return fail(ERROR_FILE_EXISTS);
    // A unique name beside the target, created exclusively.
    const QFileInfo info(path);
    std::wstring temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
        temp = win32::systemPath(info.absolutePath() + QLatin1String("/.") + info.fileName() +
                                 QStringLiteral(".%1").arg(QRandomGenerator::global()->generate(),
                                                           8, 16, QLatin1Char('0')));
        h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (h == INVALID_HANDLE_VALUE)
        return fail(GetLastError());
    const auto abandon = [&](DWORD code) {
        CloseHandle(h);
        DeleteFileW(temp.c_str());
        return fail(code);
    };
    qsizetype written = 0;
    while (written < bytes.size()) {
        DWORD n = 0;
        const DWORD want = DWORD(qMin<qsizetype>(bytes.size() - written, 1 << 30));
        if (!WriteFile(h, bytes.constData() + written, want, &n, nullptr))
            return abandon(GetLastError());
        if (n == 0)
            return abandon(ERROR_DISK_FULL);
        written += n;
    }
    if (options.durable && !FlushFileBuffers(h))
        return abandon(GetLastError());
    if (!CloseHandle(h)) {
        const DWORD code = GetLastError();
        DeleteFileW(temp.c_str());
        return fail(code);
    }
    // Windows has one permission of its own: read-only.
    if (!options.permissions.testFlag(QFileDevice::WriteOwner))
        SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_READONLY);
    // Without the replace flag the move fails on a taken name, a link included.
    const DWORD replace = options.exclusive ? 0 : MOVEFILE_REPLACE_EXISTING;
    if (!MoveFileExW(temp.c_str(), name.c_str(), replace | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(temp.c_str());
        return fail(code);
    }
    return true;
}

// One writer for every file: the Win32 one takes long paths, which a QSaveFile does not.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    return writeWholeFile(path, bytes, WriteOptions(), error);
}

} // namespace pelmaris::platform
