#pragma once

#include "platform/filesystem.h"

namespace pelmaris::platform {

// The file system through the wide Win32 calls. A folder handle holds the folder's full
// path in the "\\?\" form where it is long; names are UTF-16 as the system spells them;
// an entry with the hidden attribute is hidden. Holds no state: safe from any number of
// threads.
class WindowsFileSystem final : public FileSystem {
public:
    FolderHandle openFolder(const QString &path) override;
    FolderHandle openSubfolder(FolderHandle parent, QByteArrayView nativeName) override;
    bool readFolder(FolderHandle folder, FolderListing &out, bool foldersOnly) override;
    void closeFolder(FolderHandle folder) override;
    PathInfo pathInfo(const QString &path) override;
    OpenedFile openRegularFile(const QString &path) override;
    std::optional<LocalTime> localTime(qint64 secondsSinceEpoch) const override;
    // The logical drives, named as the shell names them.
    std::vector<FolderRoot> roots() override;
};

} // namespace pelmaris::platform
