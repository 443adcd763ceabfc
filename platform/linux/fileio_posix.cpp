#include "platform/fileio.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmaris::platform {

ReadResult readRegularFile(const QString &path, qint64 maxBytes)
{
    ReadResult result;
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: opening a FIFO must not wait for a writer; the type is checked next.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.status =
            errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        result.status = ReadStatus::NotRegular;
        return result;
    }
    if (st.st_size > maxBytes) {
        ::close(fd);
        result.status = ReadStatus::TooLarge;
        return result;
    }
    // Read to the end (the file may have grown since fstat), but never past the limit.
    QByteArray bytes;
    bytes.resize(qsizetype(st.st_size) + 1);
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > maxBytes)
                break;
            bytes.resize(qsizetype(qMin<qint64>(maxBytes + 1, total * 2 + 4096)));
        }
        const ssize_t n = ::read(fd, bytes.data() + total, size_t(bytes.size() - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.error = QString::fromLocal8Bit(std::strerror(errno));
            ::close(fd);
            return result;
        }
        if (n == 0)
            break;
        total += n;
    }
    ::close(fd);
    if (total > maxBytes) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    bytes.resize(qsizetype(total));
    result.bytes = std::move(bytes);
    result.status = ReadStatus::Ok;
    return result;
}

} // namespace pelmaris::platform
