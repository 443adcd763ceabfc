// The walk reads directories through POSIX calls rather than QDirIterator: Qt's
// iterator silently drops names that are not valid in the locale's encoding, costs a
// stat per entry, and cannot be stopped inside a large folder.
#include "scan/folderwalk.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace pelmaris::scan {

namespace {

enum class Kind : unsigned char { File, Folder };

struct Entry {
    QByteArray name;
    Kind kind;
};

struct Frame {
    QByteArray dirBytes;
    QString dirText;
    std::vector<Entry> entries;
    size_t next = 0;
};

bool isAscii(const char *s)
{
    for (; *s; ++s) {
        if (static_cast<unsigned char>(*s) >= 0x80)
            return false;
    }
    return true;
}

// The kind of an entry, or false for one to pass over (a link to a folder, or an
// entry that vanished while we looked).
bool classify(int dirFd, const struct dirent *d, Kind &kind)
{
    unsigned char type = d->d_type;
    if (type == DT_UNKNOWN) {
        struct stat st;
        if (fstatat(dirFd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        if (S_ISDIR(st.st_mode))
            type = DT_DIR;
        else if (S_ISLNK(st.st_mode))
            type = DT_LNK;
        else
            type = DT_REG;
    }
    if (type == DT_DIR) {
        kind = Kind::Folder;
        return true;
    }
    if (type == DT_LNK) {
        struct stat st;
        // A dangling link is still an entry of the folder; the decoder skips it.
        if (fstatat(dirFd, d->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode))
            return false;
    }
    kind = Kind::File;
    return true;
}

bool readFolder(const QByteArray &path, bool followLink, bool includeHidden,
                std::vector<Entry> &out)
{
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    const int fd = open(path.constData(), flags);
    if (fd < 0)
        return false;
    DIR *dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return false;
    }
    while (const struct dirent *d = readdir(dir)) {
        const char *n = d->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        if (!includeHidden && n[0] == '.')
            continue;
        Kind kind;
        if (classify(fd, d, kind))
            out.push_back(Entry{QByteArray(n), kind});
    }
    closedir(dir);
    return true;
}

QString textOfName(const QByteArray &name, bool &faithful)
{
    QString text = QFile::decodeName(name);
    faithful = isAscii(name.constData()) || QFile::encodeName(text) == name;
    return text;
}

} // namespace

WalkResult enumerateFiles(const QString &folder, const WalkOptions &options, WalkControl &control)
{
    WalkResult result;
    QString rootText = folder;
    while (rootText.size() > 1 && rootText.endsWith(QLatin1Char('/')))
        rootText.chop(1);
    if (rootText.isEmpty()) {
        result.failed = true;
        return result;
    }

    std::vector<Frame> stack;
    stack.push_back(Frame{QFile::encodeName(rootText), rootText, {}, 0});
    if (!readFolder(stack.back().dirBytes, true, options.includeHidden, stack.back().entries)) {
        result.failed = true;
        return result;
    }

    while (!stack.empty()) {
        Frame &top = stack.back();
        if (top.next == top.entries.size()) {
            stack.pop_back();
            continue;
        }
        if (control.cancel.load(std::memory_order_relaxed)) {
            result.cancelled = true;
            break;
        }
        const Entry &entry = top.entries[top.next++];
        bool faithful = true;
        const QString name = textOfName(entry.name, faithful);
        if (!faithful) {
            ++result.unnamedEntries;
            continue;
        }
        const bool atRoot = top.dirText.endsWith(QLatin1Char('/'));
        QString text = atRoot ? top.dirText + name : top.dirText + QLatin1Char('/') + name;
        if (entry.kind == Kind::File) {
            result.files.append(std::move(text));
            const qint64 found = control.found.fetch_add(1, std::memory_order_relaxed) + 1;
            if (control.onFile)
                control.onFile(found);
            continue;
        }
        QByteArray bytes = top.dirBytes;
        if (!atRoot)
            bytes += '/';
        bytes += entry.name;
        Frame child{std::move(bytes), std::move(text), {}, 0};
        // An unreadable sub-folder contributes nothing; `top` may move once we push.
        if (readFolder(child.dirBytes, false, options.includeHidden, child.entries))
            stack.push_back(std::move(child));
    }
    return result;
}

} // namespace pelmaris::scan
