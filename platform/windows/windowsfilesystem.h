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
    // The shell's desktop (its folder), holding the computer, which holds the logical
    // drives; each named as the shell names it (windowsfolderroots.cpp).
    std::vector<FolderRoot> roots() override;

    // Small files and private folders (windowsprivatefiles.cpp).
    ReadResult readSmallFile(const QString &path, qint64 maxBytes) override;
    bool writeFile(const QString &path, const QByteArray &bytes, const WriteOptions &options,
                   QString *error) override;
    bool makePrivateFolder(const QString &path, bool parents) override;
    bool isPrivateFolder(const QString &path) override;
    bool canWriteIn(const QString &folder) override;
    QString canonicalPath(const QString &path) override;
};

} // namespace pelmaris::platform
