#include "platform/linux/linuxfilesystem.h"

#include "platform/linux/posixfiles.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmaris::platform {

namespace {

using posix::atPath;

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
    struct stat st;
    const int fd = posix::openRegularFile(path, &st, &result.status, &result.error);
    if (fd < 0)
        return result;
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
    result.modifiedNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    result.changedNs = qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
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

ReadResult LinuxFileSystem::readSmallFile(const QString &path, qint64 maxBytes)
{
    return posix::readSmallFile(path, maxBytes);
}

bool LinuxFileSystem::writeFile(const QString &path, const QByteArray &bytes,
                                const WriteOptions &options, QString *error)
{
    return writeWholeFile(path, bytes, options, error);
}

bool LinuxFileSystem::makePrivateFolder(const QString &path, bool parents)
{
    if (path.isEmpty())
        return false;
    // mkdir never follows a link in the last name: whatever has the name stays.
    const QByteArray name = QFile::encodeName(path);
    const auto make = [&name] {
        return atPath(name,
                      [](int dir, const char *last) { return ::mkdirat(dir, last, S_IRWXU); }) == 0;
    };
    if (make())
        return true;
    const qsizetype cut = path.lastIndexOf(u'/');
    if (!parents || errno != ENOENT || cut <= 0 || !QDir().mkpath(path.left(cut)))
        return false;
    return make();
}

bool LinuxFileSystem::isPrivateFolder(const QString &path)
{
    return platform::isPrivateFolder(path);
}

bool LinuxFileSystem::canWriteIn(const QString &folder)
{
    return atPath(QFile::encodeName(folder), [](int dir, const char *name) {
               return ::faccessat(dir, name, W_OK | X_OK, 0);
           }) == 0;
}

QString LinuxFileSystem::canonicalPath(const QString &path)
{
    if (path.isEmpty())
        return {};
    char *resolved = ::realpath(QFile::encodeName(path).constData(), nullptr);
    if (!resolved)
        return {};
    const QString result = QFile::decodeName(resolved);
    std::free(resolved);
    return result;
}

std::unique_ptr<FileSystem> makeSystemFileSystem()
{
    return std::make_unique<LinuxFileSystem>();
}

} // namespace pelmaris::platform
