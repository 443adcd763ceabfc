#pragma once

#include "platform/fileio.h"

#include <QString>

#include <windows.h>

namespace pelmaris::platform::win32 {

// Opens a regular file for reading, shared for writing and deleting as other programs
// expect. A folder, device or pipe ("CON", "\\.\pipe\…") is refused as NotRegular, an
// absent one as Missing. On failure returns INVALID_HANDLE_VALUE with *status and *error
// set; the caller closes a valid handle.
HANDLE openRegularFile(const QString &path, DWORD flags, ReadStatus *status, QString *error);

} // namespace pelmaris::platform::win32
