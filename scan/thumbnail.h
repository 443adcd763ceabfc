#pragma once

#include "scan/listitem.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QLocale>
#include <QRect>
#include <QSize>
#include <QString>

#include <atomic>
#include <optional>

namespace pelmaris::platform {
class FileSystem;
}

namespace pelmaris::scan {

class DecodeBudget;
class ThumbnailCache;

// What a worker needs to turn one path into a row: a pure function of this.
struct ThumbnailRequest {
    QString path;
    QSize cell{96, 96};
    QColor background = Qt::white;
    int jpegQuality = 85;
    QLocale locale;
    // Shared by the workers of a build; the cache may be null (no cache), the budget
    // null (the process-wide one), the cancel flag null (never cancelled).
    const ThumbnailCache *cache = nullptr;
    DecodeBudget *budget = nullptr;
    const std::atomic<bool> *cancel = nullptr;
};

struct DecodedRow {
    ListItem item;        // caption, sub-items; checked
    QByteArray thumbnail; // the cell as JPEG; decoded again only when shown
};

// Where a picture of the given (displayed) size is drawn inside a cell, letter-boxed.
// The far edge is the cell edge minus the offset, so an odd margin widens the drawn
// extent by one pixel: 300 x 1000 covers columns 33..62; 1 x 1000 gives an empty rect.
QRect thumbnailRect(QSize picture, QSize cell);

// The list's name of a decoder format ("jpeg", "png", ... or "other").
QString formatName(const QByteArray &decoderFormat);

// "#,0" of a byte count, 64-bit: 5,000,000,000 stays 5,000,000,000.
QString formatByteSize(qint64 bytes, const QLocale &locale = QLocale());

// Opens and decodes one file for the list, or nothing when the path is not a regular
// file, has vanished, is not an image the decoder reads, is damaged, promises more
// than the decode budget can ever hold, or the build was cancelled meanwhile. Special
// files are never opened. The five details come from the file and the picture's
// header; the thumbnail from the cache when it holds a valid one, else from a decode
// (which then refills the cache). `fileSystem` opens the file and tells its local time.
std::optional<DecodedRow> decodeForList(platform::FileSystem &fileSystem,
                                        const ThumbnailRequest &request);

// The cell of a picture whose full upright size is `shown`, drawn from `picture` (the
// picture itself or any smaller copy of it) with the letter-box arithmetic above.
QImage makeCell(QImage picture, QSize shown, QSize cell, QColor background);

// A smooth (area-averaging) scaling that keeps the colours of palette and two-colour
// pictures, whose own pixel formats would dither.
QImage scaledSmoothly(QImage picture, QSize size);

// The cell image of a row, from its stored JPEG.
QImage thumbnailImage(const QByteArray &stored);

// Safe to call from any thread; sets the decoder's process-wide allocation ceiling.
void limitDecoderAllocation();

} // namespace pelmaris::scan
