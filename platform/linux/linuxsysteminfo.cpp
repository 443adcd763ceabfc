#include "platform/linux/linuxsysteminfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>

namespace pelmaris::platform {

int LinuxSystemInfo::memoryLoadFromMeminfo(const QByteArray &meminfo)
{
    qint64 total = -1;
    qint64 available = -1;
    for (const QByteArray &line : meminfo.split('\n')) {
        const auto field = [&](const char *name) -> qint64 {
            if (!line.startsWith(name))
                return -1;
            const QList<QByteArray> parts = line.mid(qstrlen(name)).simplified().split(' ');
            bool ok = false;
            const qint64 v = parts.value(0).toLongLong(&ok);
            return ok ? v : -1;
        };
        if (const qint64 v = field("MemTotal:"); v >= 0)
            total = v;
        if (const qint64 v = field("MemAvailable:"); v >= 0)
            available = v;
    }
    if (total <= 0 || available < 0 || available > total)
        return 0;
    return static_cast<int>((total - available) * 100 / total);
}

int LinuxSystemInfo::memoryLoad() const
{
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return memoryLoadFromMeminfo(file.read(64 * 1024));
}

QRect LinuxSystemInfo::workArea() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QString LinuxSystemInfo::executablePath() const
{
    return QCoreApplication::applicationFilePath();
}

QString LinuxSystemInfo::tempPath() const
{
    return QDir::tempPath();
}

} // namespace pelmaris::platform
