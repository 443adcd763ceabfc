#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A kB figure of this process's /proc/self/status ("VmRSS", "VmHWM"); -1 when unknown.
// The memory probes run in a child process of their own so that the peak is theirs alone.
inline qint64 processStatusKb(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}
