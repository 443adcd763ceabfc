// The walk reads folders through the platform's file-system service rather than
// QDirIterator: Qt's iterator silently drops names that are not valid in the locale's
// encoding, costs a stat per entry, stops at the path length limit, and cannot be
// stopped inside a large folder.
#include "scan/folderwalk.h"

#include "platform/filesystem.h"
#include "platform/pathtext.h"

#include <algorithm>
#include <cstring>
#include <deque>

namespace pelmaris::scan {

namespace {

using platform::EntryKind;
using platform::FolderEntry;
using platform::FolderHandle;
using platform::kNoFolder;

// One folder on the way down. Frames are kept once made and reused at their depth, so
// their buffers stop growing after the first few folders.
struct Frame {
    FolderHandle handle = kNoFolder; // open while sub-folders remain to be opened
    QByteArray nativeName;           // to open the folder again from its parent
    platform::FolderListing listing;
    size_t next = 0;           // the next entry to visit
    size_t pendingFolders = 0; // sub-folders not yet opened
    qsizetype prefixLength = 0;
    bool countOnly = false; // below a name with no faithful text form
};

class Walker {
public:
    Walker(platform::FileSystem &fs, const WalkOptions &options, WalkControl &control,
           WalkResult &result)
        : m_fs(fs), m_options(options), m_control(control), m_result(result)
    {
    }

    void run(const QString &folder);

private:
    bool enter(FolderHandle handle, QByteArrayView nativeName, QStringView name, bool countOnly);
    void visit(Frame &top, const FolderEntry &entry);
    void openSubfolder(Frame &top, const FolderEntry &entry);
    FolderHandle handleOf(int depth);
    void keep(Frame &frame, FolderHandle handle);
    void release(Frame &frame);
    void trimOpenHandles(int except);
    bool wanted(const FolderEntry &entry) const { return m_options.includeHidden || !entry.hidden; }

    platform::FileSystem &m_fs;
    const WalkOptions &m_options;
    WalkControl &m_control;
    WalkResult &m_result;
    QString m_rootText;
    QString m_path; // the current folder's path with a delimiter; deeper text beyond it
    std::deque<Frame> m_frames;
    int m_depth = -1;
    int m_open = 0;
};

void Walker::run(const QString &folder)
{
    m_rootText = pathtext::withoutDelimiter(folder);
    const FolderHandle root = m_rootText.isEmpty() ? kNoFolder : m_fs.openFolder(m_rootText);
    m_path = pathtext::withDelimiter(m_rootText);
    if (root == kNoFolder || !enter(root, {}, {}, false)) {
        m_result.failed = true;
        return;
    }
    while (m_depth >= 0) {
        Frame &top = m_frames[size_t(m_depth)];
        if (top.next == top.listing.entries.size()) {
            release(top);
            --m_depth;
            continue;
        }
        if (m_control.cancel.load(std::memory_order_relaxed)) {
            m_result.cancelled = true;
            break;
        }
        visit(top, top.listing.entries[top.next++]);
    }
    for (int d = 0; d <= m_depth; ++d)
        release(m_frames[size_t(d)]);
}

// Reads a folder just opened and makes it the deepest frame; false (handle closed)
// when it cannot be read.
bool Walker::enter(FolderHandle handle, QByteArrayView nativeName, QStringView name, bool countOnly)
{
    const int depth = m_depth + 1;
    if (size_t(depth) == m_frames.size())
        m_frames.emplace_back();
    Frame &frame = m_frames[size_t(depth)];
    frame.listing.clear();
    if (!m_fs.readFolder(handle, frame.listing)) {
        m_fs.closeFolder(handle);
        return false;
    }
    frame.nativeName.resize(0);
    frame.nativeName.append(nativeName.data(), nativeName.size());
    frame.next = 0;
    frame.countOnly = countOnly;
    frame.pendingFolders = size_t(std::count_if(
        frame.listing.entries.begin(), frame.listing.entries.end(),
        [this](const FolderEntry &e) { return e.kind == EntryKind::Folder && wanted(e); }));
    if (depth > 0 && !countOnly) {
        m_path.resize(m_frames[size_t(depth - 1)].prefixLength);
        m_path.append(name);
        m_path.append(pathtext::delimiter());
    }
    frame.prefixLength = m_path.size();
    frame.handle = kNoFolder;
    if (frame.pendingFolders > 0)
        keep(frame, handle);
    else
        m_fs.closeFolder(handle);
    m_depth = depth;
    return true;
}

void Walker::visit(Frame &top, const FolderEntry &entry)
{
    if (!wanted(entry) || entry.kind == EntryKind::LinkToFolder)
        return;
    if (entry.kind == EntryKind::Folder) {
        openSubfolder(top, entry);
        return;
    }
    if (top.countOnly) {
        ++m_result.leftOut.filesInBadNameFolders;
        return;
    }
    if (!entry.faithful) {
        ++m_result.leftOut.badNameFiles;
        return;
    }
    // The one allocation per file: its path, made to size.
    const QStringView name = top.listing.name(entry);
    QString path(top.prefixLength + name.size(), Qt::Uninitialized);
    QChar *out = path.data();
    std::memcpy(out, m_path.constData(), size_t(top.prefixLength) * sizeof(QChar));
    std::memcpy(out + top.prefixLength, name.data(), size_t(name.size()) * sizeof(QChar));
    m_result.files.append(std::move(path));
    const qint64 found = m_control.found.fetch_add(1, std::memory_order_relaxed) + 1;
    if (m_control.onFile)
        m_control.onFile(found);
}

void Walker::openSubfolder(Frame &top, const FolderEntry &entry)
{
    const bool countOnly = top.countOnly || !entry.faithful;
    if (!top.countOnly && !entry.faithful)
        ++m_result.leftOut.badNameFolders;
    const int depth = m_depth;
    const FolderHandle parent = handleOf(depth);
    const FolderHandle child =
        parent == kNoFolder ? kNoFolder : m_fs.openSubfolder(parent, top.listing.nativeName(entry));
    // The parent's handle is needed no longer once its last sub-folder is open.
    if (--top.pendingFolders == 0)
        release(top);
    if (child == kNoFolder ||
        !enter(child, top.listing.nativeName(entry), top.listing.name(entry), countOnly)) {
        ++m_result.leftOut.unreadableFolders;
    }
}

// The open handle of the frame at `depth`, opened again from its nearest open ancestor
// (or from the root's path) when the budget closed it.
FolderHandle Walker::handleOf(int depth)
{
    if (m_frames[size_t(depth)].handle != kNoFolder)
        return m_frames[size_t(depth)].handle;
    int from = depth - 1;
    while (from >= 0 && m_frames[size_t(from)].handle == kNoFolder)
        --from;
    FolderHandle current = kNoFolder;
    bool temporary = false;
    if (from < 0) {
        current = m_fs.openFolder(m_rootText);
        temporary = true;
        from = 0;
        if (current != kNoFolder && m_frames[0].pendingFolders > 0) {
            keep(m_frames[0], current);
            temporary = false;
        }
    } else {
        current = m_frames[size_t(from)].handle;
    }
    for (int d = from + 1; d <= depth && current != kNoFolder; ++d) {
        Frame &frame = m_frames[size_t(d)];
        const FolderHandle next = m_fs.openSubfolder(current, frame.nativeName);
        if (temporary)
            m_fs.closeFolder(current);
        current = next;
        temporary = true;
        if (current != kNoFolder && frame.pendingFolders > 0) {
            keep(frame, current);
            temporary = false;
        }
    }
    if (temporary && current != kNoFolder) {
        m_fs.closeFolder(current); // the frame has nothing left to open
        current = kNoFolder;
    }
    trimOpenHandles(depth);
    return m_frames[size_t(depth)].handle;
}

void Walker::keep(Frame &frame, FolderHandle handle)
{
    frame.handle = handle;
    ++m_open;
    trimOpenHandles(m_depth + 1);
}

void Walker::release(Frame &frame)
{
    if (frame.handle == kNoFolder)
        return;
    m_fs.closeFolder(frame.handle);
    frame.handle = kNoFolder;
    --m_open;
}

// Keeps the open handles within the budget by closing the shallowest ones: the deepest
// are the ones needed soonest.
void Walker::trimOpenHandles(int except)
{
    const int budget = std::max(1, m_options.maxOpenFolders);
    for (int d = 0; m_open > budget && d < int(m_frames.size()); ++d) {
        if (d != except && m_frames[size_t(d)].handle != kNoFolder)
            release(m_frames[size_t(d)]);
    }
}

} // namespace

WalkResult enumerateFiles(platform::FileSystem &fileSystem, const QString &folder,
                          const WalkOptions &options, WalkControl &control)
{
    WalkResult result;
    Walker(fileSystem, options, control, result).run(folder);
    return result;
}

} // namespace pelmaris::scan
