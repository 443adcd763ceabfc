#include "gallery/viewerpicture.h"

#include "platform/decoderlimit.h"

#include "platform/fileio.h"

#include <QBuffer>
#include <QImageReader>

#include <cmath>

namespace pelmaris::gallery {

namespace {

qint64 pixelsOf(QSize size)
{
    return qint64(size.width()) * size.height();
}

// The largest size of the same shape that holds at most maxPixels.
QSize reduced(QSize size, qint64 maxPixels)
{
    const double scale = std::sqrt(double(maxPixels) / double(pixelsOf(size)));
    return QSize(std::max(1, int(size.width() * scale)), std::max(1, int(size.height() * scale)));
}

// JPEG decodes at 1/2, 1/4 or 1/8 of its size without ever holding the whole picture;
// asking for exactly such a size spares a second scaling pass.
QSize jpegReduced(QSize size, qint64 maxPixels)
{
    for (const int denominator : {2, 4, 8}) {
        const QSize step((size.width() + denominator - 1) / denominator,
                         (size.height() + denominator - 1) / denominator);
        if (pixelsOf(step) <= maxPixels)
            return step;
    }
    return reduced(size, maxPixels);
}

} // namespace

ViewerPicture loadViewerPicture(const QString &path, qint64 maxPixels)
{
    // Formats other than JPEG are decoded whole before they are reduced; the decoder
    // refuses those beyond the program's one ceiling before allocating.
    platform::limitDecoderAllocation();
    const platform::ReadResult file = platform::readRegularFile(path, ViewerMaxFileBytes);
    if (file.status != platform::ReadStatus::Ok)
        return {};
    QBuffer buffer;
    buffer.setData(file.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return {};

    const QSize stored = reader.size();
    if (stored.isValid() && pixelsOf(stored) > maxPixels)
        reader.setScaledSize(reader.format() == "jpeg" ? jpegReduced(stored, maxPixels)
                                                       : reduced(stored, maxPixels));
    QImage image = reader.read();
    if (image.isNull())
        return {};

    QSize real = image.size();
    if (stored.isValid()) {
        real = stored;
        if (reader.transformation().testFlag(QImageIOHandler::TransformationRotate90))
            real.transpose();
    }
    // A reader that ignores the requested size still stays within the decoder's own
    // allocation ceiling; keep no more than the viewer's share of it.
    if (pixelsOf(image.size()) > maxPixels)
        image = image.scaled(reduced(image.size(), maxPixels), Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    return {image, real};
}

} // namespace pelmaris::gallery
