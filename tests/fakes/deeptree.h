#pragma once

// A chain of folders deeper than any path may name, made and removed with *at calls
// (nothing that takes a whole path can reach its bottom).

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fixtures {

// root/name/name/... `depth` levels, with a file `file` in the levels `fileEvery`
// apart and at the bottom. Returns the full path of the bottom folder, or nothing.
inline QString makeDeepChain(const QString &root, int depth, const QByteArray &name,
                             const QByteArray &file, int fileEvery)
{
    int fd = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QString path = root;
    for (int level = 1; fd >= 0 && level <= depth; ++level) {
        if (::mkdirat(fd, name.constData(), 0700) != 0) {
            ::close(fd);
            return QString();
        }
        const int next = ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
        path += u'/' + QString::fromUtf8(name);
        if (fd >= 0 && (level == depth || level % fileEvery == 0)) {
            const int f = ::openat(fd, file.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
            if (f < 0 || ::write(f, "x", 1) != 1) {
                ::close(fd);
                return QString();
            }
            ::close(f);
        }
    }
    if (fd < 0)
        return QString();
    ::close(fd);
    return path;
}

// Removes what makeDeepChain made, from the bottom up.
inline void removeDeepChain(const QString &root, int depth, const QByteArray &name,
                            const QByteArray &file)
{
    int fd = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int level = 0;
    while (fd >= 0 && level < depth) {
        const int next = ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (next < 0)
            break;
        ::close(fd);
        fd = next;
        ++level;
    }
    while (fd >= 0 && level > 0) {
        ::unlinkat(fd, file.constData(), 0);
        const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = parent;
        if (fd >= 0)
            ::unlinkat(fd, name.constData(), AT_REMOVEDIR);
        --level;
    }
    if (fd >= 0)
        ::close(fd);
}

} // namespace fixtures
