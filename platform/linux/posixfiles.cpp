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

namespace {

ReadResult readOpened(int fd, const struct stat &st, qint64 maxBytes)
{
    ReadResult result;
    if (!S_ISREG(st.st_mode)) {
        result.status = ReadStatus::NotRegular;
        return result;
    }
    if (st.st_size > maxBytes) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype total = 0;
    while (total < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + total, size_t(bytes.size() - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.error = errorText(errno);
            return result;
        }
        if (n == 0)
            break; // cut short since the fstat: what is there is read
        total += n;
    }
    bytes.resize(total);
    result.bytes = std::move(bytes);
    result.status = ReadStatus::Ok;
    return result;
}

} // namespace

ReadResult readSmallFile(const QString &path, qint64 maxBytes)
{
    ReadResult result;
    struct stat st {};
    int fd = atPath(QFile::encodeName(path), [](int dir, const char *name) {
        return ::openat(dir, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
    });
    if (fd < 0 && errno == ELOOP) {
        // A link may lead to a device: look at its target before opening it.
        fd = openRegularFile(path, &st, &result.status, &result.error);
        if (fd < 0)
            return result;
    } else if (fd < 0) {
        const int code = errno;
        result.status =
            code == ENOENT || code == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
        result.error = errorText(code);
        return result;
    } else if (::fstat(fd, &st) != 0) {
        result.error = errorText(errno);
        ::close(fd);
        return result;
    }
    result = readOpened(fd, st, maxBytes);
    ::close(fd);
    return result;
}

} // namespace pelmaris::platform::posix
