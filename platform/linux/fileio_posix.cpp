#include "platform/fileio.h"

#include "platform/linux/posixfiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmaris::platform {

ReadResult readRegularFile(const QString &path, qint64 maxBytes)
{
    ReadResult result;
    // The file system service's opener: never opens a FIFO or device, takes long paths.
    struct stat st {};
    const int fd = posix::openRegularFile(path, &st, &result.status, &result.error);
    if (fd < 0)
        return result;
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
            result.error = posix::errorText(errno);
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

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
#ifdef SIGXFSZ
    // Past a file-size limit the system would kill the process, the old file whole but
    // nothing said; ignored, the write fails with EFBIG and is reported like a full disk.
    // Set on every write: whoever changed it meanwhile is overruled.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("Not a regular file"));
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile can lose a failed write (a full disk) and still
    // commit, renaming a short file over the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            const QString text = file.errorString();
            file.cancelWriting();
            return fail(text);
        }
        written += n;
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

bool isPrivateFolder(const QString &path)
{
    struct stat st {};
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

namespace {

mode_t modeOf(QFileDevice::Permissions p)
{
    mode_t mode = 0;
    const auto add = [&](QFileDevice::Permission flag, mode_t bit) {
        if (p.testFlag(flag))
            mode |= bit;
    };
    add(QFileDevice::ReadOwner, S_IRUSR);
    add(QFileDevice::WriteOwner, S_IWUSR);
    add(QFileDevice::ExeOwner, S_IXUSR);
    add(QFileDevice::ReadGroup, S_IRGRP);
    add(QFileDevice::WriteGroup, S_IWGRP);
    add(QFileDevice::ExeGroup, S_IXGRP);
    add(QFileDevice::ReadOther, S_IROTH);
    add(QFileDevice::WriteOther, S_IWOTH);
    add(QFileDevice::ExeOther, S_IXOTH);
    return mode;
}

// Gives the written file `name` in one step, only while nothing has it: a name taken
// since the first look is never replaced. 0, or the errno value.
int claimFreeName(const QByteArray &temp, const QByteArray &name)
{
    if (::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, name.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    // A file system without that rename: a hard link fails the same way on a taken name.
    if (::link(temp.constData(), name.constData()) != 0)
        return errno;
    ::unlink(temp.constData());
    return 0;
}

} // namespace

bool writeWholeFile(const QString &path, const QByteArray &bytes, const WriteOptions &options,
                    QString *error)
{
    const auto fail = [error](int code) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(code));
        return false;
    };
    // As the other overload: a write past a file-size limit fails and is reported.
    std::signal(SIGXFSZ, SIG_IGN);
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return fail(EISDIR);
        if (options.exclusive)
            return fail(EEXIST);
    }
    // A unique name beside the target, created exclusively (never through a link).
    const QFileInfo info(path);
    QByteArray temp = QFile::encodeName(info.path() + QLatin1String("/.") + info.fileName()) +
                      QByteArrayLiteral(".XXXXXX");
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    const auto abandon = [&](int code) {
        ::close(fd);
        ::unlink(temp.constData());
        return fail(code);
    };
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return abandon(n < 0 ? errno : ENOSPC);
        written += n;
    }
    if (::fchmod(fd, modeOf(options.permissions)) != 0)
        return abandon(errno);
    if (options.durable && ::fdatasync(fd) != 0)
        return abandon(errno);
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temp.constData());
        return fail(code);
    }
    const int code = options.exclusive                                   ? claimFreeName(temp, name)
                     : ::rename(temp.constData(), name.constData()) == 0 ? 0
                                                                         : errno;
    if (code != 0) {
        ::unlink(temp.constData());
        return fail(code);
    }
    return true;
}

} // namespace pelmaris::platform
