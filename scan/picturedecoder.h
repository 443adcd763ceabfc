#pragma once

#include "scan/decodebudget.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageIOHandler>
#include <QSize>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

namespace pelmaris::platform {
class FileSystem;
}

namespace pelmaris::scan {

// A picture file opened for decoding, with the size and time of the opened file.
struct PictureFile {
    std::unique_ptr<QFile> file;
    qint64 bytes = 0;
    qint64 modified = 0; // seconds since the epoch
    // The same time at the file system's precision, and the last change of the file or
    // its metadata, both in nanoseconds since the epoch.
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
};

// The one place that opens a file for decoding, through the platform's file system: only
// regular files are opened, without blocking should the name have turned into a FIFO
// since it was listed, and paths of any length.
std::optional<PictureFile> openPictureFile(platform::FileSystem &fileSystem, const QString &path);

// One picture: its file opened, its header read and judged before any decode. Every
// decode reserves its memory in a budget first, so a header that promises more than
// the budget can ever hold, or a file too short for what its header declares, is
// refused before a byte of the picture is allocated.
class PictureDecoder {
public:
    // The file is opened through `fileSystem`, which outlives the decoder.
    PictureDecoder(platform::FileSystem &fileSystem, QString path,
                   const std::atomic<bool> *cancel = nullptr);
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder &) = delete;
    PictureDecoder &operator=(const PictureDecoder &) = delete;

    // Opens the file and reads the picture's header: false when it is no regular file,
    // no picture a decoder reads, or a text the decoder would take for a picture though
    // its name says otherwise (a C header read as a bitmap).
    bool open();

    qint64 fileBytes() const;
    qint64 modified() const;
    qint64 modifiedNs() const;
    qint64 changedNs() const;
    QByteArray format() const; // the decoder's name: "jpeg", "png", "gif" ...
    // Upright (the EXIF turn applied); invalid when the header does not tell.
    QSize shownSize() const;

    enum class Outcome {
        Decoded,
        Damaged,   // the decoder gave up on the data
        Refused,   // more than the budget can ever hold, or a file too short for its header
        Cancelled, // the cancel flag was set meanwhile
    };

    struct Decoded {
        QImage image; // null unless the outcome is Decoded
        // What still turns `image` upright: turning is left to the caller, who turns the
        // small copy it makes rather than the decoded picture.
        QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone;
        Outcome outcome = Outcome::Damaged;
        // The picture's share of the budget: held until the caller has made the
        // picture small (the smooth scaling's copy is counted in it).
        DecodeBudget::Reservation memory;
    };

    // Decodes the picture. Formats that scale while decoding (JPEG by 1/2, 1/4, 1/8;
    // WebP to any size; PNG but interlaced by whole blocks; vector pictures) stop at the
    // first size that covers `minimum` (upright); the others decode in full.
    Decoded decode(QSize minimum, DecodeBudget &budget);

private:
    struct State;
    std::unique_ptr<State> d;
};

// The EXIF turn applied the way the generic reader applies it: mirror first, then a
// quarter turn clockwise.
QImage turnedUpright(QImage image, QImageIOHandler::Transformations transformation);

// The size a GIF decodes to: its logical screen, which the decoder allocates whole
// however small the frames are (their size is what the reader reports). `head` is the
// start of the file.
QSize gifDecodeSize(const QByteArray &head, QSize reported);

// Pictures in a text format (bitmaps and pixmaps as C source, SVG, plain-text netpbm)
// are taken for what the content says only when the name's extension says so too:
// many a source file reads as a bitmap. `head` is the start of the file.
bool isNamedForItsFormat(const QString &path, const QByteArray &format, const QByteArray &head);

// A PNG header (the first 33 bytes of the file) whose picture cannot fit in `fileBytes`:
// deflate packs at most 1032 bytes into one, so fewer bytes than the rows need divided
// by that are a cut or forged file.
bool isPngTooShort(const QByteArray &head, qint64 fileBytes);

// What a decode by the generic reader (`decoder` names its format) holds at most: the
// decoded picture in its own pixel format, a 32-bit copy for the smooth scaling when
// that format is narrower, and what some readers keep beside it.
qint64 genericDecodeBytes(QSize size, QImage::Format format, const QByteArray &decoder,
                          qint64 fileBytes);

} // namespace pelmaris::scan
