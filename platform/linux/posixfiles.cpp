#include "platform/linux/posixfiles.h"

#include <QFile>

#include <cstring>

namespace pelmaris::platform::posix {

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

int openRegularFile(const QString &path, struct stat *st, ReadStatus *status, QString *error)
{
    bool special = false;
    // O_NONBLOCK covers the moment between the look and the open, should the name
    // change meanwhile.
    const int fd = atPath(QFile::encodeName(path), [&](int dir, const char *name) {
        if (::fstatat(dir, name, st, 0) != 0)
            return -1;
        if (!S_ISREG(st->st_mode)) {
            special = true;
            return -1;
        }
        return ::openat(dir, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    });
    if (fd < 0) {
        if (special) {
            *status = ReadStatus::NotRegular;
        } else {
            const int code = errno;
            *status = code == ENOENT || code == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
            *error = errorText(code);
        }
        return -1;
    }
    if (::fstat(fd, st) != 0) {
        *status = ReadStatus::Failed;
        *error = errorText(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st->st_mode)) {
        ::close(fd);
        *status = ReadStatus::NotRegular;
        return -1;
    }
    return fd;
}

} // namespace pelmaris::platform::posix
