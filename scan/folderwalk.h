#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace pelmaris::scan {

struct WalkOptions {
    // Names beginning with "." are hidden on this platform. The folder scan collects
    // them as it collects every other file; the switch is for callers that must not.
    bool includeHidden = true;
};

// Shared between the walking thread and whoever watches it.
struct WalkControl {
    std::atomic<qint64> found{0};    // files collected so far, readable at any time
    std::atomic<bool> cancel{false}; // ends the walk before the next entry
    // Called on the walking thread after each file collected, when set.
    std::function<void(qint64 found)> onFile;
};

struct WalkResult {
    QStringList files; // full paths, in the order the file system gave them
    bool cancelled = false;
    bool failed = false;       // the folder itself could not be read
    qint64 unnamedEntries = 0; // names that have no faithful text form, left out
};

// Every file below `folder`, depth first, each sub-folder walked at its place among
// its siblings. Hidden entries are included unless the options say otherwise;
// symbolic links to folders are listed neither as files nor walked (no loop can
// form); folders that cannot be read are passed over. Anything that is not a folder
// counts as a file, special files included: the image decoding checks the type
// before it opens anything.
//
// A name whose bytes do not survive the trip to text and back (not valid in the
// locale's encoding) could neither be opened again through its text form nor be told
// apart from its look-alikes, so it is left out and counted in `unnamedEntries`.
WalkResult enumerateFiles(const QString &folder, const WalkOptions &options, WalkControl &control);

} // namespace pelmaris::scan
