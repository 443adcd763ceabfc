#pragma once

#include "platform/fileio.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <memory>
#include <optional>
#include <vector>

class QFile;

namespace pelmaris::platform {

// An open folder of the file system. Handles are cheap and are closed by their user;
// the walk keeps only a bounded number of them open however deep it goes.
using FolderHandle = qintptr;
inline constexpr FolderHandle kNoFolder = -1;

enum class EntryKind : quint8 {
    File,         // anything but a folder: regular, special, a link to a file, a dangling link
    Folder,       // a real folder, never a link
    LinkToFolder, // a link whose target is a folder
};

// One entry of a listing; its names live in the listing's shared buffers.
struct FolderEntry {
    qsizetype textPos = 0;
    qsizetype nativePos = 0;
    int textLength = 0;
    int nativeLength = 0;
    EntryKind kind = EntryKind::File;
    bool hidden = false;
    // False when the name has no text form that names the entry again (bytes not valid
    // in the locale's encoding): such an entry can be counted but not shown.
    bool faithful = true;
};

// The entries of one folder in the order the file system gives them. The names are
// stored back to back, so a listing costs no allocation per entry and can be reused.
struct FolderListing {
    QString text;      // text forms of the names, back to back
    QByteArray native; // the names as the system spells them, back to back
    std::vector<FolderEntry> entries;

    void clear()
    {
        text.resize(0);
        native.resize(0);
        entries.clear();
    }
    QStringView name(const FolderEntry &e) const
    {
        return QStringView(text).sliced(e.textPos, e.textLength);
    }
    QByteArrayView nativeName(const FolderEntry &e) const
    {
        return QByteArrayView(native).sliced(e.nativePos, e.nativeLength);
    }
};

struct PathInfo {
    bool isFolder = false; // links followed
    bool isFile = false;   // a regular file, links followed
    bool hidden = false;   // the last name is hidden by the platform's rule
};

// A regular file open for reading, with its size and time from the same look at it.
struct OpenedFile {
    ReadStatus status = ReadStatus::Failed; // Ok, Missing, NotRegular or Failed
    std::unique_ptr<QFile> file;            // open for reading when status is Ok
    qint64 size = 0;
    qint64 modified = 0; // seconds since the epoch
    QString error;       // the system's text, for Failed
    // The same modification time as precisely as the file system keeps it, and the last
    // change of the file or of what is recorded about it (which no program can set
    // back): nanoseconds since the epoch.
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
};

// A folder the folder tree starts from, or a folder of the shell that has no path (the
// computer on Windows) and only holds such folders.
struct FolderRoot {
    QString path;  // the system's own form, with its trailing delimiter: "/", "C:\\";
                   // empty for a folder of the shell, which is never listed
    QString label; // the name a user sees for it ("/", "ローカル ディスク (C:)", "PC")
    // Shown inside it in this order, before its own sub-folders: the desktop holds the
    // computer, which holds the drives.
    std::vector<FolderRoot> children = {};
};

// The parts of a time in the local zone, for "yyyy/mm/dd HH:NN:SS".
struct LocalTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The file system, as the folder walk, the folder tree and the image decoding use it.
// Paths of any length work: nothing here is bounded by the system's path limit. Every
// method may be called from any thread at the same time.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens a folder by its full path, following links. kNoFolder when that fails.
    virtual FolderHandle openFolder(const QString &path) = 0;
    // Opens the sub-folder of `parent` that a listing of it named `nativeName`, never
    // through a link. kNoFolder when that fails.
    virtual FolderHandle openSubfolder(FolderHandle parent, QByteArrayView nativeName) = 0;
    // Appends the folder's entries but itself and its parent to `out`; with
    // `foldersOnly`, only folders and links to folders, and files cost nothing. False
    // when reading failed part way (what was read stays).
    virtual bool readFolder(FolderHandle folder, FolderListing &out, bool foldersOnly = false) = 0;
    virtual void closeFolder(FolderHandle folder) = 0;

    // What `path` names, links followed.
    virtual PathInfo pathInfo(const QString &path) = 0;

    // Opens `path` for reading only if it is a regular file (links followed). Anything
    // else (a FIFO, a device, a folder) is never opened, so nothing can block or have
    // side effects; size and time come from the opened file itself.
    virtual OpenedFile openRegularFile(const QString &path) = 0;

    // The local-time parts of a file time; nothing when the system cannot say.
    virtual std::optional<LocalTime> localTime(qint64 secondsSinceEpoch) const = 0;

    // The tree's top level, in the system's order: the one root "/" unless the system
    // starts elsewhere (the desktop on Windows, the drives inside it). Called on the
    // window's thread.
    virtual std::vector<FolderRoot> roots() { return {{QStringLiteral("/"), QStringLiteral("/")}}; }

    // Small files in folders of the user's own, as a cache keeps them.

    // Reads the whole of a regular file (links followed) of at most maxBytes bytes, in as
    // few calls as the system allows: the name is opened without a look first unless it
    // is a link, so it suits folders the user alone can change. Anything but a regular
    // file is never read; a device is never opened through a link.
    virtual ReadResult readSmallFile(const QString &path, qint64 maxBytes) = 0;
    // Writes `bytes` as the whole new content of `path`, as platform::writeWholeFile does:
    // on failure nothing but the old file is left under the name.
    virtual bool writeFile(const QString &path, const QByteArray &bytes,
                           const WriteOptions &options, QString *error = nullptr) = 0;
    // Makes the folder `path`, open to the user alone, when nothing has the name (a link,
    // dangling or not, is never made through). With `parents`, missing folders above it
    // are made first as the system makes folders by default. True when it was made.
    virtual bool makePrivateFolder(const QString &path, bool parents = false) = 0;
    // A folder itself, never a link to one, that no one but the user can change (the
    // platform's rule: see platform::isPrivateFolder).
    virtual bool isPrivateFolder(const QString &path) = 0;
    // Whether the user may add files to the folder.
    virtual bool canWriteIn(const QString &folder) = 0;
    // The path with links, "." and ".." resolved; empty when it names nothing.
    virtual QString canonicalPath(const QString &path) = 0;
};

// The file system of the platform the program was built for.
std::unique_ptr<FileSystem> makeSystemFileSystem();

} // namespace pelmaris::platform
