#include "gallery/viewerpicture.h"

#include "gallery/viewergeometry.h"
#include "platform/filesystem.h"
#include "scan/picturedecoder.h"
#include "scan/thumbnail.h"

namespace pelmaris::gallery {

namespace {

// The bound of a reduced copy when no screen is known.
constexpr QSize kNoScreen(4096, 4096);

qint64 pixelsOf(QSize size)
{
    return qint64(size.width()) * size.height();
}

bool isSideways(QImageIOHandler::Transformations turn)
{
    return turn.testFlag(QImageIOHandler::TransformationRotate90);
}

// The codec's own reduced sizes of an upright picture: 1/1, 1/2, 1/4, 1/8, rounded up.
QSize jpegStep(QSize upright, int denominator)
{
    return QSize((upright.width() + denominator - 1) / denominator,
                 (upright.height() + denominator - 1) / denominator);
}

// The window paints 32-bit pictures as they are; any other format it would convert on
// every paint. The decode's reservation counts this copy for the narrower formats.
QImage drawable(QImage image)
{
    if (image.format() == QImage::Format_RGB32 ||
        image.format() == QImage::Format_ARGB32_Premultiplied)
        return image;
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                            : QImage::Format_RGB32);
    return image;
}

// An upright copy no larger than the screen, or nothing when the picture is no larger.
QImage previewOf(const QImage &stored, QImageIOHandler::Transformations turn, QSize screen)
{
    const bool sideways = isSideways(turn);
    const QSize upright = sideways ? stored.size().transposed() : stored.size();
    if (screen.isEmpty() ||
        (upright.width() <= screen.width() && upright.height() <= screen.height()))
        return QImage();
    const QSize small = upright.scaled(screen, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    // Shrink first, then turn the small copy.
    return scan::turnedUpright(scan::scaledSmoothly(stored, sideways ? small.transposed() : small),
                               turn);
}

} // namespace

QSize ViewerPicture::uprightSize() const
{
    return isSideways(turn) ? image.size().transposed() : image.size();
}

bool ViewerPicture::reduced() const
{
    return !image.isNull() && pixelsOf(uprightSize()) < pixelsOf(realSize);
}

ViewerPicture loadViewerPicture(platform::FileSystem &fileSystem, const ViewerRequest &request)
{
    ViewerPicture out;
    const auto cancelled = [&request] {
        return request.cancel && request.cancel->load(std::memory_order_relaxed);
    };
    if (cancelled()) {
        out.cancelled = true;
        return out;
    }
    scan::limitDecoderAllocation();
    scan::DecodeBudget &budget =
        request.budget ? *request.budget : *scan::DecodeBudget::processWide();

    scan::PictureDecoder picture(fileSystem, request.path, request.cancel);
    if (!picture.open()) {
        out.cancelled = cancelled();
        return out;
    }
    const QSize shown = picture.shownSize();
    const bool jpeg = picture.format() == "jpeg";

    // Whole when the viewer keeps it whole. A JPEG that is larger, or that the budget
    // cannot hold whole, comes at the largest of the codec's reduced scales that passes;
    // the other formats decode whole or not at all.
    scan::PictureDecoder::Decoded decoded;
    for (const int denominator : {1, 2, 4, 8}) {
        QSize minimum; // invalid: whole
        if (jpeg && shown.isValid()) {
            minimum = jpegStep(shown, denominator);
            if (pixelsOf(minimum) > request.maxPixels && denominator < 8)
                continue;
        }
        decoded = picture.decode(minimum, budget);
        if (!jpeg || decoded.outcome != scan::PictureDecoder::Outcome::Refused)
            break;
    }
    if (decoded.outcome == scan::PictureDecoder::Outcome::Cancelled || cancelled()) {
        out.cancelled = true;
        return out;
    }
    if (decoded.outcome != scan::PictureDecoder::Outcome::Decoded)
        return out;

    QImage image = drawable(std::move(decoded.image));
    QImageIOHandler::Transformations turn = decoded.transformation;
    const QSize stored = image.size();
    out.realSize = shown.isValid() ? shown : (isSideways(turn) ? stored.transposed() : stored);
    QImage preview;
    if (pixelsOf(stored) > request.maxPixels) {
        // Only formats that cannot decode reduced come here. A reduced copy of the
        // viewer's size beside the whole picture would pass the budget: keep one of the
        // screen's size alone.
        image = previewOf(image, turn, request.screen.isEmpty() ? kNoScreen : request.screen);
        turn = QImageIOHandler::TransformationNone;
        if (image.isNull())
            return out;
    } else {
        preview = previewOf(image, turn, request.screen);
    }
    if (cancelled()) {
        out.cancelled = true;
        return out;
    }
    out.edge = EdgeBackgroundColor(image, request.screen, isSideways(turn));
    decoded.memory.shrinkTo(image.sizeInBytes() + preview.sizeInBytes());
    out.memory = std::make_shared<scan::DecodeBudget::Reservation>(std::move(decoded.memory));
    out.image = std::move(image);
    out.turn = turn;
    out.preview = std::move(preview);
    return out;
}

} // namespace pelmaris::gallery
