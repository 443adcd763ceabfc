#pragma once

#include <QString>

#include <string>

namespace pelmaris::platform::win32 {

// Text as the wide Win32 calls take it.
std::wstring wide(const QString &text);
QString fromWide(const wchar_t *text, qsizetype length = -1);

// A path as the wide file calls take it: backslashes, absolute, and in the "\\?\" form
// when it is too long for the classic limit (so that nothing is bounded by MAX_PATH).
std::wstring systemPath(const QString &path);

// The system's text for a Win32 error or HRESULT.
QString errorText(unsigned long code);

// Seconds since the epoch of a FILETIME's 100-nanosecond ticks since 1601.
qint64 secondsSinceEpoch(quint64 fileTimeTicks);

} // namespace pelmaris::platform::win32
