#pragma once

#include <QImage>
#include <QSize>

#include <atomic>
#include <memory>

class QIODevice;

namespace pelmaris::scan {

// WebP through the codec library itself rather than the generic image reader, as JPEG
// is: the picture is scaled while it is decoded, straight into the small picture, so a
// lossy wallpaper never exists at full size, and the file is fed to the decoder piece
// by piece, so a cancel ends the decode between pieces. Where the library is not part
// of the build, readHeader() refuses every file and the generic reader decodes WebP.
class WebpReader {
public:
    // Whether this build decodes WebP itself.
    static bool isAvailable();

    // Reads from `device` (from its current position); `cancel` may be null.
    explicit WebpReader(QIODevice *device, const std::atomic<bool> *cancel = nullptr);
    ~WebpReader();
    WebpReader(const WebpReader &) = delete;
    WebpReader &operator=(const WebpReader &) = delete;

    // Reads the container's header: false when this is no still WebP picture the
    // library reads (animations are left to the generic reader, which shows their
    // first frame). The rest needs a header.
    bool readHeader();

    QSize size() const;
    bool hasAlpha() const;

    // The decoded size when at least `minimum` is wanted: the smallest size of the
    // picture's shape that covers it, never more than the picture. An invalid or empty
    // minimum means the whole picture.
    QSize scaledSize(QSize minimum) const;
    // What a decode at scaledSize(minimum) holds at most: the file's bytes, which the
    // decoder keeps, the decoded picture, and the library's own buffers (a lossless
    // picture is decoded whole before it is scaled; a lossy one a band of rows at a time,
    // but its alpha whole).
    qint64 memoryNeed(QSize minimum, qint64 fileBytes) const;

    // Decodes at scaledSize(minimum): RGB32, or ARGB32_Premultiplied when the picture has
    // alpha. Null on damage, on a file cut short, and on cancel.
    QImage read(QSize minimum);

private:
    struct State;
    std::unique_ptr<State> d;
};

} // namespace pelmaris::scan
