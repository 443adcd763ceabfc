#pragma once

#include <QByteArray>
#include <QImage>
#include <QImageIOHandler>
#include <QSize>

#include <atomic>
#include <memory>

class QIODevice;

namespace pelmaris::scan {

// JPEG through the codec library itself rather than the generic image reader: its
// header tells what a decode will cost before any large buffer exists, the library's
// own buffers (a progressive picture keeps every coefficient of the full-size picture)
// are held to a limit, the picture is scaled by 1/2, 1/4 or 1/8 while decoding, and a
// cancel ends even a long decode at once.
class JpegReader {
public:
    // Reads from `device` (from its current position); `cancel` may be null.
    explicit JpegReader(QIODevice *device, const std::atomic<bool> *cancel = nullptr);
    ~JpegReader();
    JpegReader(const JpegReader &) = delete;
    JpegReader &operator=(const JpegReader &) = delete;

    // Reads the markers up to the first scan; false when this is no JPEG the library
    // reads. The rest needs a header.
    bool readHeader();

    QSize size() const; // as stored, before the EXIF turn
    QImageIOHandler::Transformations transformation() const;
    bool isProgressive() const;
    bool isArithmetic() const;

    // The decoded size when at least `minimum` is wanted (stored orientation): the
    // smallest of 1/8, 1/4, 1/2 and 1/1 that covers it. An invalid minimum means 1/1.
    QSize scaledSize(QSize minimum) const;
    // What the library may allocate for such a decode: whole-picture coefficient
    // buffers when the picture comes in several scans, working rows, tables.
    qint64 libraryBytes() const;
    // The library's buffers and the decoded picture together.
    qint64 memoryNeed(QSize minimum) const;
    // Huffman-coded data takes at least one bit per 8 x 8 block; a file shorter than
    // that cannot hold the picture its header declares (a cut or forged file). An
    // arithmetic-coded picture must bring a bit per 16 blocks.
    bool isTooShortFor(qint64 fileBytes) const;

    // Decodes at scaledSize(minimum), stored orientation, as RGB32. Null on damage the
    // library cannot get past, on cancel, when its buffers would pass `libraryLimit`
    // bytes, or when its scans would walk the whole picture more than 16 times over (or
    // number more than 500). A file cut short decodes as far as it goes.
    QImage read(QSize minimum, qint64 libraryLimit);
    // The last read failed for want of memory (the limit or the system's), not damage.
    bool ranOutOfMemory() const;

private:
    struct State;
    std::unique_ptr<State> d;
};

// The EXIF orientation (1..8) of an APP1 segment's payload ("Exif\0\0" and a TIFF
// structure), 0 when there is none or the data is damaged.
int exifOrientation(const QByteArray &app1);

// The transformation that shows a picture stored with the EXIF orientation upright.
QImageIOHandler::Transformations transformationOf(int exifOrientation);

} // namespace pelmaris::scan
