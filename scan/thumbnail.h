#pragma once

#include "scan/listitem.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QLocale>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace pelmaris::scan {

// What a worker needs to turn one path into a row: a pure function of this.
struct ThumbnailRequest {
    QString path;
    QSize cell{96, 96};
    QColor background = Qt::white;
    int jpegQuality = 85;
    QLocale locale;
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
// file, has vanished, is not an image the decoder reads, is damaged, or is larger
// than the decoder may allocate. Special files are never opened.
std::optional<DecodedRow> decodeForList(const ThumbnailRequest &request);

// The cell image of a row, from its stored JPEG.
QImage thumbnailImage(const QByteArray &stored);

// Safe to call from any thread; sets the decoder's process-wide allocation ceiling.
void limitDecoderAllocation();

} // namespace pelmaris::scan
