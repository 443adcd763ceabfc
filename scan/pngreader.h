#pragma once

#include <QImage>
#include <QSize>

#include <atomic>
#include <memory>

class QIODevice;

namespace pelmaris::scan {

// PNG through the codec library itself rather than the generic image reader: each row
// is reduced as it is read, averaging blocks of k x k pixels into the small picture, so
// a wallpaper is never held at full size, and a cancel ends the decode between rows.
// Every colour type and depth reads as 8-bit RGB32 or ARGB32_Premultiplied, without
// gamma correction, as the generic reader shows them. Interlaced pictures, whose rows
// come in seven passes over the whole picture, are left to the generic reader.
class PngReader {
public:
    // Reads from `device` (from its current position); `cancel` may be null.
    explicit PngReader(QIODevice *device, const std::atomic<bool> *cancel = nullptr);
    ~PngReader();
    PngReader(const PngReader &) = delete;
    PngReader &operator=(const PngReader &) = delete;

    // Whether a file starting with `head` (its first 33 bytes) is a PNG this reader
    // reduces while reading: a PNG signature and header, not interlaced.
    static bool reads(const QByteArray &head);

    // Reads the chunks up to the pixel data; false when this is no PNG the library
    // reads. The rest needs a header.
    bool readHeader();

    QSize size() const;
    bool hasAlpha() const;

    // The block's side when at least `minimum` is wanted: the largest whole number that
    // leaves the reduced picture at least that large; 1 for an invalid minimum.
    int reduction(QSize minimum) const;
    // The picture's size divided by reduction(minimum), rounded up.
    QSize scaledSize(QSize minimum) const;
    // What a decode holds at most: the reduced picture, the sums of one band of rows,
    // the library's rows at full width, the inflater and the read buffer.
    qint64 memoryNeed(QSize minimum) const;

    // Decodes at scaledSize(minimum). Null on damage (a file cut short included, as the
    // generic reader takes it) and on cancel.
    QImage read(QSize minimum);

private:
    struct State;
    std::unique_ptr<State> d;
};

} // namespace pelmaris::scan
