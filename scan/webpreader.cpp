#include "scan/webpreader.h"

#include <QByteArray>
#include <QIODevice>

#include <webp/decode.h>

#include <algorithm>

namespace pelmaris::scan {

namespace {

// The file is fed to the decoder in pieces of this size; a cancel is seen between them.
constexpr qint64 kChunk = 64 * 1024;
// Tables, the scaler's rows and the decoder's state, beside the buffers counted exactly.
constexpr qint64 kLibraryOverhead = 4 * 1024 * 1024;
// A lossy picture is decoded a band of macroblock rows at a time: its rows of the three
// planes, the loop filter's cache and the scaler's work rows, per column, generously.
constexpr qint64 kLossyBytesPerColumn = 256;

qint64 ceilDiv(qint64 value, qint64 divisor)
{
    return (value + divisor - 1) / divisor;
}

bool isWebpContainer(const QByteArray &head)
{
    return head.size() >= 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WEBP";
}

} // namespace

struct WebpReader::State {
    QIODevice *device = nullptr;
    const std::atomic<bool> *cancel = nullptr;
    QByteArray head; // the bytes read for the header, fed to the decoder first
    WebPBitstreamFeatures features{};
    bool headerRead = false;

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

bool WebpReader::isAvailable()
{
    return true;
}

WebpReader::WebpReader(QIODevice *device, const std::atomic<bool> *cancel)
    : d(std::make_unique<State>())
{
    d->device = device;
    d->cancel = cancel;
}

WebpReader::~WebpReader() = default;

bool WebpReader::readHeader()
{
    if (d->headerRead)
        return true;
    d->head = d->device->read(kChunk);
    if (!isWebpContainer(d->head))
        return false;
    // Chunks before the picture's own (a colour profile) may be long: read on until
    // the features are known or the file ends.
    VP8StatusCode status;
    while ((status = WebPGetFeatures(reinterpret_cast<const uint8_t *>(d->head.constData()),
                                     size_t(d->head.size()), &d->features)) ==
           VP8_STATUS_NOT_ENOUGH_DATA) {
        const QByteArray more = d->device->read(std::max<qint64>(kChunk, d->head.size()));
        if (more.isEmpty() || d->cancelled())
            return false;
        d->head += more;
    }
    if (status != VP8_STATUS_OK || d->features.has_animation || d->features.width <= 0 ||
        d->features.height <= 0)
        return false;
    d->headerRead = true;
    return true;
}

QSize WebpReader::size() const
{
    return d->headerRead ? QSize(d->features.width, d->features.height) : QSize();
}

bool WebpReader::hasAlpha() const
{
    return d->headerRead && d->features.has_alpha;
}

QSize WebpReader::scaledSize(QSize minimum) const
{
    const QSize full = size();
    if (minimum.isEmpty() || !full.isValid())
        return full;
    const qint64 w = full.width();
    const qint64 h = full.height();
    QSize out;
    // The side that binds is met exactly; the other follows the shape, rounded up.
    if (qint64(minimum.width()) * h >= qint64(minimum.height()) * w)
        out = QSize(minimum.width(), int(ceilDiv(h * minimum.width(), w)));
    else
        out = QSize(int(ceilDiv(w * minimum.height(), h)), minimum.height());
    if (out.width() >= full.width() || out.height() >= full.height())
        return full;
    return out.expandedTo(QSize(1, 1));
}

qint64 WebpReader::memoryNeed(QSize minimum, qint64 fileBytes) const
{
    const QSize out = scaledSize(minimum);
    const qint64 pixels = qint64(d->features.width) * d->features.height;
    // The decoder keeps the file in a buffer it grows as pieces arrive, which for a moment
    // holds it twice.
    qint64 bytes =
        kLibraryOverhead + 2 * fileBytes + kChunk + qint64(out.width()) * out.height() * 4;
    if (d->features.format != 1) {
        // Lossless (or not told): the whole picture in 32 bits, then scaled.
        bytes += pixels * 4;
    } else {
        bytes += qint64(d->features.width) * kLossyBytesPerColumn;
        if (d->features.has_alpha)
            bytes += pixels; // the alpha plane is decoded whole
    }
    return bytes;
}

QImage WebpReader::read(QSize minimum)
{
    if (!d->headerRead)
        return QImage();
    const QSize out = scaledSize(minimum);
    const bool alpha = d->features.has_alpha;
    QImage image(out, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull())
        return QImage();

    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        return QImage();
    config.options.use_threads = 0; // one decode per worker thread already
    if (out != size()) {
        config.options.use_scaling = 1;
        config.options.scaled_width = out.width();
        config.options.scaled_height = out.height();
    }
    // Straight into the picture's rows, in its own byte order; without alpha the
    // decoder writes it opaque, which RGB32 wants.
    if (Q_BYTE_ORDER == Q_LITTLE_ENDIAN)
        config.output.colorspace = alpha ? MODE_bgrA : MODE_BGRA;
    else
        config.output.colorspace = alpha ? MODE_Argb : MODE_ARGB;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = image.bits();
    config.output.u.RGBA.stride = int(image.bytesPerLine());
    config.output.u.RGBA.size = size_t(image.sizeInBytes());

    WebPIDecoder *decoder = WebPIDecode(nullptr, 0, &config);
    if (!decoder)
        return QImage();
    QByteArray piece = std::move(d->head);
    VP8StatusCode status = VP8_STATUS_SUSPENDED;
    while (status == VP8_STATUS_SUSPENDED && !piece.isEmpty() && !d->cancelled()) {
        status = WebPIAppend(decoder, reinterpret_cast<const uint8_t *>(piece.constData()),
                             size_t(piece.size()));
        if (status == VP8_STATUS_SUSPENDED)
            piece = d->device->read(kChunk);
    }
    WebPIDelete(decoder);
    WebPFreeDecBuffer(&config.output);
    // A file cut short leaves the decoder waiting for more: the generic reader, which
    // decodes only whole files, took that for damage, and so does this.
    if (status != VP8_STATUS_OK || d->cancelled())
        return QImage();
    return image;
}

} // namespace pelmaris::scan
