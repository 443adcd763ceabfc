#include "gallery/pagethumbnails.h"

#include "platform/filesystem.h"
#include "scan/picturedecoder.h"
#include "scan/thumbnail.h"
#include "scan/thumbnailcache.h"

#include <memory>

namespace pelmaris::gallery {

using scan::ThumbnailCache;

int pageThumbnailEdge(const LayoutChoice &choice, QSize workArea, qsizetype pathCount)
{
    const int shown = shownEdge(choice, workArea, pathCount);
    return shown > 0 && shown <= ThumbnailCache::LargeEdge ? ThumbnailCache::LargeEdge
                                                           : ThumbnailCache::XLargeEdge;
}

PageThumbnail pageThumbnail(platform::FileSystem &fileSystem, const ThumbnailCache &cache,
                            const QString &path, int edge, const std::atomic<bool> *cancel,
                            scan::DecodeBudget *budget)
{
    scan::limitDecoderAllocation();
    scan::PictureDecoder picture(fileSystem, path, cancel);
    if (!picture.open())
        return {};
    const QSize shown = picture.shownSize();
    const ThumbnailCache::Original original{path, picture.modified(), picture.fileBytes(), shown};
    if (const ThumbnailCache::SizedFile found = cache.findSized(original, edge);
        !found.path.isEmpty())
        return {found.path, found.size};
    if (!cache.canHoldSized(edge) || cache.isKnownFailure(original))
        return {};

    const QSize target = ThumbnailCache::fittedSize(shown, edge);
    scan::DecodeBudget &pool = budget ? *budget : *scan::DecodeBudget::processWide();
    scan::PictureDecoder::Decoded decoded = picture.decode(target, pool);
    if (decoded.outcome != scan::PictureDecoder::Outcome::Decoded) {
        if (decoded.outcome == scan::PictureDecoder::Outcome::Damaged)
            cache.storeFailure(original);
        return {};
    }
    const bool sideways = decoded.transformation.testFlag(QImageIOHandler::TransformationRotate90);
    const QSize upright =
        target.isValid()
            ? target
            : ThumbnailCache::fittedSize(
                  sideways ? decoded.image.size().transposed() : decoded.image.size(), edge);
    QImage thumbnail = scan::turnedUpright(
        scan::scaledSmoothly(std::move(decoded.image), sideways ? upright.transposed() : upright),
        decoded.transformation);
    decoded.memory = scan::DecodeBudget::Reservation();
    const ThumbnailCache::SizedFile stored = cache.storeSized(original, thumbnail, edge);
    return {stored.path, stored.size};
}

} // namespace pelmaris::gallery
