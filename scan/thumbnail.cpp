#include "scan/thumbnail.h"

#include "platform/decoderlimit.h"
#include "platform/filesystem.h"

#include "scan/decodebudget.h"
#include "scan/listtexts.h"
#include "scan/picturedecoder.h"
#include "scan/thumbnailcache.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <cmath>
#include <mutex>

namespace pelmaris::scan {

QRect thumbnailRect(QSize picture, QSize cell)
{
    if (picture.width() <= 0 || picture.height() <= 0)
        return QRect();
    const double r = double(picture.height()) / double(picture.width());
    if (r > 1) {
        const int w = int(std::trunc(cell.height() / r + 0.5));
        const int x = (cell.width() - w) / 2;
        return QRect(QPoint(x, 0), QPoint(cell.width() - x - 1, cell.height() - 1));
    }
    const int h = int(std::trunc(cell.height() * r + 0.5));
    const int y = (cell.height() - h) / 2;
    return QRect(QPoint(0, y), QPoint(cell.width() - 1, cell.height() - y - 1));
}

QString formatName(const QByteArray &decoderFormat)
{
    const QByteArray f = decoderFormat.toLower();
    if (f == "bmp" || f == "png" || f == "gif" || f == "tiff")
        return QString::fromLatin1(f);
    if (f == "jpeg" || f == "jpg")
        return QStringLiteral("jpeg");
    if (f == "tif")
        return QStringLiteral("tiff");
    if (f == "jxr" || f == "wdp" || f == "hdp")
        return QStringLiteral("wmphoto");
    return QStringLiteral("other");
}

QString formatByteSize(qint64 bytes, const QLocale &locale)
{
    return formatCount(bytes, locale);
}

void limitDecoderAllocation()
{
    // The generic reader's own ceiling is the budget: what passes the budget's check
    // must not be refused by the reader, and nothing larger can pass it.
    static_assert(DecodeBudget::kDefaultBytes == platform::DecoderAllocationBytes);
    platform::limitDecoderAllocation();
}

QImage scaledSmoothly(QImage picture, QSize size)
{
    if (picture.isNull() || size.isEmpty() || picture.size() == size)
        return picture;
    // The readers of palette and two-colour pictures keep those formats, and scaling in
    // them dithers to the palette; scale in 32 bits. A 32-bit picture converts in place.
    if (picture.depth() < 32)
        picture = picture.convertToFormat(
            picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    else if (picture.format() == QImage::Format_ARGB32)
        picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage makeCell(QImage picture, QSize shown, QSize cell, QColor background)
{
    QImage out(cell, QImage::Format_RGB32);
    out.fill(background);
    const QRect target = thumbnailRect(shown, cell);
    if (target.isEmpty() || picture.isNull())
        return out;
    QPainter painter(&out);
    if (target.width() < picture.width() && target.height() < picture.height()) {
        painter.drawImage(target.topLeft(), scaledSmoothly(std::move(picture), target.size()));
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, picture);
    }
    return out;
}

namespace {

QByteArray encodeCell(const QImage &cell, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.write(cell);
    return bytes;
}

} // namespace

std::optional<DecodedRow> decodeForList(platform::FileSystem &fileSystem,
                                        const ThumbnailRequest &request)
{
    limitDecoderAllocation();
    PictureDecoder picture(fileSystem, request.path, request.cancel);
    if (!picture.open())
        return std::nullopt;
    QSize shown = picture.shownSize();
    ThumbnailCache::Original original{request.path, picture.modified(),   picture.fileBytes(),
                                      shown,        picture.modifiedNs(), picture.changedNs()};
    const ThumbnailCache *cache =
        request.cache && ThumbnailCache::isWorthCaching(shown, picture.format()) ? request.cache
                                                                                 : nullptr;

    QImage source;                    // the picture, or a smaller copy of it, upright
    DecodeBudget::Reservation memory; // held while a decoded picture is alive
    if (cache) {
        source = cache->find(original);
        if (source.isNull() && cache->isKnownFailure(original))
            return std::nullopt;
    }
    if (source.isNull()) {
        // Decode no larger than what is made of it: the cache's thumbnail, or the cell.
        const QSize minimum =
            !shown.isValid() ? QSize()
            : cache          ? ThumbnailCache::normalSize(shown)
                             : thumbnailRect(shown, request.cell).size().expandedTo(QSize(1, 1));
        DecodeBudget &budget = request.budget ? *request.budget : *DecodeBudget::processWide();
        PictureDecoder::Decoded decoded = picture.decode(minimum, budget);
        if (decoded.outcome != PictureDecoder::Outcome::Decoded) {
            if (cache && decoded.outcome == PictureDecoder::Outcome::Damaged)
                cache->storeFailure(original);
            return std::nullopt;
        }
        const QImageIOHandler::Transformations turn = decoded.transformation;
        const bool sideways = turn.testFlag(QImageIOHandler::TransformationRotate90);
        if (!shown.isValid())
            shown = sideways ? decoded.image.size().transposed() : decoded.image.size();
        memory = std::move(decoded.memory);
        // Shrink first, then turn the small copy upright.
        const auto stored = [sideways](QSize upright) {
            return sideways ? upright.transposed() : upright;
        };
        if (cache) {
            source = turnedUpright(
                scaledSmoothly(std::move(decoded.image), stored(ThumbnailCache::normalSize(shown))),
                turn);
            memory = DecodeBudget::Reservation(); // only the small copy is left
            cache->store(original, source);
        } else {
            const QSize target = stored(thumbnailRect(shown, request.cell).size());
            if (target.width() < decoded.image.width() && target.height() < decoded.image.height())
                decoded.image = scaledSmoothly(std::move(decoded.image), target);
            source = turnedUpright(std::move(decoded.image), turn);
        }
    }

    DecodedRow row;
    row.thumbnail = encodeCell(makeCell(std::move(source), shown, request.cell, request.background),
                               request.jpegQuality);
    memory = DecodeBudget::Reservation();
    row.item.caption = request.path;
    row.item.checked = true;
    row.item.subItems[ListItem::Format] = formatName(picture.format());
    row.item.subItems[ListItem::ByteSize] = formatByteSize(picture.fileBytes(), request.locale);
    row.item.subItems[ListItem::Width] = formatCount(shown.width(), request.locale);
    row.item.subItems[ListItem::Height] = formatCount(shown.height(), request.locale);
    row.item.subItems[ListItem::Modified] =
        formatFileTime(fileSystem.localTime(picture.modified()));
    return row;
}

QImage thumbnailImage(const QByteArray &stored)
{
    QImage image;
    image.loadFromData(stored, "jpeg");
    return image;
}

} // namespace pelmaris::scan
