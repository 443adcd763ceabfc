#include "platform/windows/windowssysteminfo.h"

#include "platform/windows/win32text.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include <windows.h>

namespace pelmaris::platform {

int WindowsSystemInfo::memoryLoad() const
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return 0;
    return int(qBound<DWORD>(0, status.dwMemoryLoad, 100));
}

QRect WindowsSystemInfo::workArea() const
{
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    }
    // The system gives device pixels; the windows are placed in Qt's device-independent
    // ones, scaled by the system's DPI.
    const UINT dpi = GetDpiForSystem();
    const double scale = dpi > 0 ? dpi / 96.0 : 1.0;
    return QRect(qRound(area.left / scale), qRound(area.top / scale),
                 qRound((area.right - area.left) / scale),
                 qRound((area.bottom - area.top) / scale));
}

QString WindowsSystemInfo::executablePath() const
{
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    return win32::fromWide(buffer.data(), n);
}

QString WindowsSystemInfo::tempPath() const
{
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    QString path = n ? win32::fromWide(buffer, n) : QDir::toNativeSeparators(QDir::tempPath());
    while (path.size() > 3 && path.endsWith(u'\\'))
        path.chop(1);
    return path;
}

} // namespace pelmaris::platform
