#pragma once

// The gallery page shown from thumbnails: each picture's thumbnail in the desktop's
// shared cache, found valid or made now, so that a browser holds small copies instead
// of every original:
//
//   const int edge = gallery::pageThumbnailEdge(layout, workArea, paths.size());
//   scan::ThumbnailCache cache(scan::ThumbnailCache::defaultFolder());
//   for (path : paths) in.thumbnails << gallery::pageThumbnail(fileSystem, cache, path, edge);
//
// A picture without a thumbnail (not readable, damaged, or the cache unusable) is shown
// from its original, as on the page without thumbnails.

#include "gallery/pagelayout.h"

#include <QSize>
#include <QString>

#include <atomic>

namespace pelmaris::platform {
class FileSystem;
}

namespace pelmaris::scan {
class DecodeBudget;
class ThumbnailCache;
} // namespace pelmaris::scan

namespace pelmaris::gallery {

struct PageThumbnail {
    QString file; // empty: the page shows the original
    QSize size;   // the thumbnail's pixels
};

// The cache folder whose thumbnails are big enough for the layout: "large" while the
// pictures are shown at most 256 pixels a side, else "x-large" (as for RealSize, where
// the page shows each thumbnail at its own size).
int pageThumbnailEdge(const LayoutChoice &choice, QSize workArea, qsizetype pathCount);

// One picture's thumbnail for the page. Only regular files are opened; a picture that
// does not decode is remembered as a failure, as the list does. The file is opened
// through `fileSystem`; a null budget is the process-wide one.
PageThumbnail pageThumbnail(platform::FileSystem &fileSystem, const scan::ThumbnailCache &cache,
                            const QString &path, int edge,
                            const std::atomic<bool> *cancel = nullptr,
                            scan::DecodeBudget *budget = nullptr);

} // namespace pelmaris::gallery
