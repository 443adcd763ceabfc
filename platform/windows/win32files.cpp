#include "platform/windows/win32files.h"

#include "platform/windows/win32text.h"

namespace pelmaris::platform::win32 {

namespace {

bool isMissingError(DWORD code)
{
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
           code == ERROR_INVALID_NAME || code == ERROR_BAD_NETPATH;
}

HANDLE failed(DWORD code, ReadStatus *status, QString *error)
{
    *status = isMissingError(code) ? ReadStatus::Missing : ReadStatus::Failed;
    *error = errorText(code);
    return INVALID_HANDLE_VALUE;
}

} // namespace

HANDLE openRegularFile(const QString &path, DWORD flags, ReadStatus *status, QString *error)
{
    const std::wstring name = systemPath(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return failed(GetLastError(), status, error);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        *status = ReadStatus::NotRegular;
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE h = CreateFileW(name.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return failed(GetLastError(), status, error);
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        *status = ReadStatus::NotRegular;
        return INVALID_HANDLE_VALUE;
    }
    return h;
}

} // namespace pelmaris::platform::win32
