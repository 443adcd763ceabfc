#include "platform/linux/linuxfilesystem.h"

#include <QFile>
#include <QStringDecoder>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmaris::platform {

namespace {

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

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool isDotOrDotDot(const char *n)
{
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

// The kind of one entry, or false for an entry that vanished while we looked.
bool kindOf(int dirFd, const char *name, unsigned char type, EntryKind &kind)
{
    struct stat st;
    if (type == DT_UNKNOWN) {
        // Some file systems do not report types; one look settles it.
        if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
    }
    if (type == DT_DIR) {
        kind = EntryKind::Folder;
    } else if (type == DT_LNK) {
        // A dangling link is still an entry; whoever opens it finds nothing there.
        const bool toFolder = ::fstatat(dirFd, name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        kind = toFolder ? EntryKind::LinkToFolder : EntryKind::File;
    } else {
        kind = EntryKind::File;
    }
    return true;
}

// Appends the text form of a name; false when the bytes are not valid UTF-8 (the text
// then holds replacement characters and would name a different entry).
bool appendText(QString &text, const char *name, qsizetype length, bool ascii)
{
    const qsizetype start = text.size();
    text.resize(start + length);
    QChar *out = text.data() + start;
    if (ascii) {
        for (qsizetype i = 0; i < length; ++i)
            out[i] = QLatin1Char(name[i]);
        return true;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QChar *end = decoder.appendToBuffer(out, QByteArrayView(name, length));
    text.resize(end - text.constData());
    return !decoder.hasError();
}

} // namespace

FolderHandle LinuxFileSystem::openFolder(const QString &path)
{
    if (path.isEmpty())
        return kNoFolder;
    const int fd = atPath(QFile::encodeName(path), [](int dir, const char *name) {
        return ::openat(dir, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    });
    return fd < 0 ? kNoFolder : FolderHandle(fd);
}

FolderHandle LinuxFileSystem::openSubfolder(FolderHandle parent, QByteArrayView nativeName)
{
    char name[NAME_MAX + 1];
    if (parent < 0 || nativeName.isEmpty() || nativeName.size() > NAME_MAX)
        return kNoFolder;
    std::memcpy(name, nativeName.data(), size_t(nativeName.size()));
    name[nativeName.size()] = 0;
    // O_NOFOLLOW: should the folder have been swapped for a link since it was listed,
    // the link is not followed out of the tree.
    const int fd = ::openat(int(parent), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    return fd < 0 ? kNoFolder : FolderHandle(fd);
}

bool LinuxFileSystem::readFolder(FolderHandle folder, FolderListing &out, bool foldersOnly)
{
    const int fd = int(folder);
    // Read straight from the kernel into one buffer: no allocation per folder or entry.
    alignas(struct dirent64) char buffer[32768];
    for (;;) {
        const ssize_t n = ::getdents64(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        for (ssize_t pos = 0; pos < n;) {
            const auto *d = reinterpret_cast<const struct dirent64 *>(buffer + pos);
            pos += d->d_reclen;
            const char *name = d->d_name;
            if (isDotOrDotDot(name))
                continue;
            const unsigned char type = d->d_type;
            if (foldersOnly && type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN)
                continue;
            EntryKind kind;
            if (!kindOf(fd, name, type, kind))
                continue;
            if (foldersOnly && kind == EntryKind::File)
                continue;
            qsizetype length = 0;
            bool ascii = true;
            for (; name[length]; ++length)
                ascii = ascii && static_cast<unsigned char>(name[length]) < 0x80;
            FolderEntry entry;
            entry.kind = kind;
            entry.hidden = name[0] == '.';
            entry.nativePos = out.native.size();
            entry.nativeLength = int(length);
            out.native.append(name, length + 1); // with its NUL, for the system's calls
            entry.textPos = out.text.size();
            entry.faithful = appendText(out.text, name, length, ascii);
            entry.textLength = int(out.text.size() - entry.textPos);
            out.entries.push_back(entry);
        }
    }
}

void LinuxFileSystem::closeFolder(FolderHandle folder)
{
    if (folder >= 0)
        ::close(int(folder));
}

PathInfo LinuxFileSystem::pathInfo(const QString &path)
{
    PathInfo info;
    struct stat st;
    const int r = atPath(QFile::encodeName(path),
                         [&st](int dir, const char *name) { return ::fstatat(dir, name, &st, 0); });
    info.isFolder = r == 0 && S_ISDIR(st.st_mode);
    info.isFile = r == 0 && S_ISREG(st.st_mode);
    QStringView name(path);
    while (name.size() > 1 && name.endsWith(u'/'))
        name.chop(1);
    name = name.mid(name.lastIndexOf(u'/') + 1);
    info.hidden = name.startsWith(u'.') && name != u"." && name != u"..";
    return info;
}

OpenedFile LinuxFileSystem::openRegularFile(const QString &path)
{
    OpenedFile result;
    bool special = false;
    struct stat st;
    // Look before opening: a FIFO or device is never opened at all. O_NONBLOCK covers
    // the moment between the look and the open, should the name change meanwhile.
    const int fd = atPath(QFile::encodeName(path), [&](int dir, const char *name) {
        if (::fstatat(dir, name, &st, 0) != 0)
            return -1;
        if (!S_ISREG(st.st_mode)) {
            special = true;
            return -1;
        }
        return ::openat(dir, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    });
    if (fd < 0) {
        if (special) {
            result.status = ReadStatus::NotRegular;
        } else {
            const int error = errno;
            result.status =
                error == ENOENT || error == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
            result.error = errorText(error);
        }
        return result;
    }
    if (::fstat(fd, &st) != 0) {
        result.error = errorText(errno);
        ::close(fd);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        result.status = ReadStatus::NotRegular;
        return result;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        result.error = file->errorString();
        return result;
    }
    result.status = ReadStatus::Ok;
    result.file = std::move(file);
    result.size = qint64(st.st_size);
    result.modified = qint64(st.st_mtim.tv_sec);
    return result;
}

std::optional<LocalTime> LinuxFileSystem::localTime(qint64 secondsSinceEpoch) const
{
    // localtime_r reads the zone once per process; Qt's local time re-reads it per call
    // when TZ is unset, which a list of 100,000 files feels.
    const time_t t = time_t(secondsSinceEpoch);
    struct tm parts {};
    if (!localtime_r(&t, &parts))
        return std::nullopt;
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::unique_ptr<FileSystem> makeSystemFileSystem()
{
    return std::make_unique<LinuxFileSystem>();
}

} // namespace pelmaris::platform
