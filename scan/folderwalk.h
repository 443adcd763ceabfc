#pragma once

#include "scan/leftout.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace pelmaris::platform {
class FileSystem;
}

namespace pelmaris::scan {

struct WalkOptions {
    // Hidden entries by the platform's rule. The folder scan collects them as it
    // collects every other file; the switch is for callers that must not.
    bool includeHidden = true;
    // Folder handles held at once. A deeper tree closes the shallowest ones and opens
    // them again from an open ancestor when it returns to them.
    int maxOpenFolders = 64;
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
    bool failed = false; // the folder itself could not be read
    LeftOut leftOut;     // what could not be listed, and why
};

// Every file below `folder`, depth first, each sub-folder walked at its place among
// its siblings. Sub-folders are opened relative to their parent, so no path length
// limit applies. Hidden entries are included unless the options say otherwise; links
// to folders are listed neither as files nor walked (no loop can form); anything else
// that is not a folder counts as a file, special files included (the image decoding
// checks the type before it opens anything).
//
// Left out and counted in `leftOut`: folders that cannot be read, and entries whose
// names have no faithful text form (not valid in the locale's encoding), together with
// every file below such a folder.
WalkResult enumerateFiles(platform::FileSystem &fileSystem, const QString &folder,
                          const WalkOptions &options, WalkControl &control);

} // namespace pelmaris::scan
