#include "platform/windows/win32text.h"

#include <QDir>

#include <windows.h>

namespace pelmaris::platform::win32 {

std::wstring wide(const QString &text)
{
    return text.toStdWString();
}

QString fromWide(const wchar_t *text, qsizetype length)
{
    if (!text)
        return {};
    if (length < 0)
        length = qsizetype(wcslen(text));
    return QString::fromWCharArray(text, length);
}

std::wstring systemPath(const QString &path)
{
    if (path.startsWith(QLatin1String("\\\\?\\")) || path.startsWith(QLatin1String("\\\\.\\")))
        return wide(path);
    QString p = QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
    // 248 is the limit for folders (a 12-character 8.3 name must still fit below them).
    if (p.size() >= 248) {
        if (p.startsWith(QLatin1String("\\\\")))
            p = QStringLiteral("\\\\?\\UNC\\") + p.mid(2);
        else
            p = QStringLiteral("\\\\?\\") + p;
    }
    return wide(p);
}

QString errorText(unsigned long code)
{
    wchar_t *buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    QString text = n ? fromWide(buffer, n).trimmed() : QString();
    if (buffer)
        LocalFree(buffer);
    if (text.isEmpty())
        text = QStringLiteral("Error 0x%1").arg(quint32(code), 8, 16, QLatin1Char('0'));
    return text;
}

qint64 secondsSinceEpoch(quint64 fileTimeTicks)
{
    constexpr quint64 EpochTicks = 116444736000000000ULL;
    return (qint64(fileTimeTicks) - qint64(EpochTicks)) / 10000000;
}

} // namespace pelmaris::platform::win32
