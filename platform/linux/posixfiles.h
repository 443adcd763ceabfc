#pragma once

#include "platform/fileio.h"

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmaris::platform::posix {

// Calls use(dirFd, name) with `name` shorter than PATH_MAX: the leading part of a
// longer path is opened piece by piece first (O_PATH: crossing a folder needs only the
// right to search it, as it does for a plain open). -1 with errno when that fails.
template <typename Use> int atPath(const QByteArray &path, Use &&use)
{
    if (path.size() < PATH_MAX)
        return use(AT_FDCWD, path.constData());
    int dir = AT_FDCWD;
    qsizetype pos = 0;
    while (path.size() - pos >= PATH_MAX) {
        const qsizetype cut = path.lastIndexOf('/', pos + PATH_MAX - 1);
        if (cut <= pos) {
            // A single name longer than the limit names nothing.
            if (dir != AT_FDCWD)
                ::close(dir);
            errno = ENAMETOOLONG;
            return -1;
        }
        const QByteArray piece = path.mid(pos, cut - pos);
        const int next = ::openat(dir, piece.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        const int saved = errno;
        if (dir != AT_FDCWD)
            ::close(dir);
        if (next < 0) {
            errno = saved;
            return -1;
        }
        dir = next;
        pos = cut + 1;
        while (pos < path.size() && path.at(pos) == '/')
            ++pos;
    }
    const QByteArray rest = pos < path.size() ? path.mid(pos) : QByteArrayLiteral(".");
    const int result = use(dir, rest.constData());
    const int saved = errno;
    ::close(dir);
    errno = saved;
    return result;
}

// The system's text for an errno value.
QString errorText(int error);

// Opens a regular file for reading, links followed, paths of any length. It looks
// before it opens: a FIFO or device is never opened at all, so nothing can block or
// have side effects. Returns the descriptor, with *st from the opened file; on failure
// -1 with *status set (Missing, NotRegular or Failed) and, but for NotRegular, *error.
// *status is left alone on success; the caller closes the descriptor.
int openRegularFile(const QString &path, struct stat *st, ReadStatus *status, QString *error);

// Reads a whole regular file of at most maxBytes bytes with one open, one fstat and one
// read: no look before the open but through a link (O_NOFOLLOW, then openRegularFile's
// look for a link only). A FIFO opens without blocking (O_NONBLOCK) and is refused
// unread, as is anything but a regular file. The size read is the size the file had when
// opened, which a file replaced whole by a rename always keeps.
ReadResult readSmallFile(const QString &path, qint64 maxBytes);

} // namespace pelmaris::platform::posix
