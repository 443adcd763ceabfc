#pragma once

#include "platform/filesystem.h"

namespace pelmaris::platform {

// POSIX file system: folders are file descriptors read with getdents64, sub-folders
// are opened relative to their parent (openat), and paths longer than PATH_MAX are
// opened piece by piece. Names are UTF-8, as Qt takes them on this platform; a name
// starting with "." is hidden. Holds no state: safe from any number of threads.
class LinuxFileSystem final : public FileSystem {
public:
    FolderHandle openFolder(const QString &path) override;
    FolderHandle openSubfolder(FolderHandle parent, QByteArrayView nativeName) override;
    bool readFolder(FolderHandle folder, FolderListing &out, bool foldersOnly) override;
    void closeFolder(FolderHandle folder) override;
    PathInfo pathInfo(const QString &path) override;
    OpenedFile openRegularFile(const QString &path) override;
    std::optional<LocalTime> localTime(qint64 secondsSinceEpoch) const override;
    ReadResult readSmallFile(const QString &path, qint64 maxBytes) override;
    bool writeFile(const QString &path, const QByteArray &bytes, const WriteOptions &options,
                   QString *error) override;
    bool makePrivateFolder(const QString &path, bool parents) override;
    bool isPrivateFolder(const QString &path) override;
    bool canWriteIn(const QString &folder) override;
    QString canonicalPath(const QString &path) override;
};

} // namespace pelmaris::platform
