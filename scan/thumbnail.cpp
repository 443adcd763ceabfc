#include "scan/thumbnail.h"

#include "scan/listtexts.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <mutex>

namespace pelmaris::scan {

namespace {

// A decoded picture may take this much memory at most; the decoder refuses larger
// ones before it allocates (Qt's own default, made explicit).
constexpr int kAllocationLimitMiB = 256;
constexpr qint64 kMaxFullPixels = qint64(kAllocationLimitMiB) * 1024 * 1024 / 4;
// JPEG is scaled while decoding, by up to 1/8 per side.
constexpr qint64 kMaxJpegPixels = kMaxFullPixels * 64;

} // namespace

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
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(kAllocationLimitMiB); });
}

std::optional<DecodedRow> decodeForList(const ThumbnailRequest &request)
{
    limitDecoderAllocation();
    const QByteArray nativePath = QFile::encodeName(request.path);
    // One stat gives the type, size and time; only regular files are opened, and
    // without blocking, should the file have turned into a FIFO since.
    struct stat st;
    if (stat(nativePath.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    const int fd = open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(fd);
        return std::nullopt;
    }

    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return std::nullopt;
    const QByteArray format = reader.format();
    const bool scalesWhileDecoding = format == "jpeg";

    const QSize stored = reader.size();
    QSize shown = stored;
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    if (turned)
        shown.transpose();
    QRect target;
    if (stored.isValid()) {
        const qint64 pixels = qint64(stored.width()) * stored.height();
        if (pixels > (scalesWhileDecoding ? kMaxJpegPixels : kMaxFullPixels))
            return std::nullopt;
        target = thumbnailRect(shown, request.cell);
        // Ask for the drawn size (at least a pixel, so the file is still decoded and
        // proven readable); JPEG then decodes at 1/2, 1/4 or 1/8 scale.
        QSize want(std::max(1, target.width()), std::max(1, target.height()));
        if (turned)
            want.transpose();
        if (scalesWhileDecoding && want.width() < stored.width() && want.height() < stored.height())
            reader.setScaledSize(want);
    }
    QImage picture = reader.read();
    if (picture.isNull())
        return std::nullopt;
    if (!stored.isValid()) {
        shown = picture.size();
        target = thumbnailRect(shown, request.cell);
    }
    // The other readers only scale after a full decode, in the picture's own pixel format,
    // which dithers a two-colour picture to black and white; scale those in 32 bits.
    if (!scalesWhileDecoding && target.width() > 0 && target.height() > 0 &&
        target.width() < picture.width() && target.height() < picture.height()) {
        const QImage::Format deep =
            picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        picture = picture.convertToFormat(deep).scaled(target.size(), Qt::IgnoreAspectRatio,
                                                       Qt::SmoothTransformation);
    }

    QImage cell(request.cell, QImage::Format_RGB32);
    cell.fill(request.background);
    if (target.width() > 0 && target.height() > 0) {
        QPainter painter(&cell);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, picture);
    }

    DecodedRow row;
    {
        QBuffer buffer(&row.thumbnail);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(request.jpegQuality);
        writer.write(cell);
    }
    row.item.caption = request.path;
    row.item.checked = true;
    row.item.subItems[ListItem::Format] = formatName(format);
    row.item.subItems[ListItem::ByteSize] = formatByteSize(qint64(st.st_size), request.locale);
    row.item.subItems[ListItem::Width] = formatCount(shown.width(), request.locale);
    row.item.subItems[ListItem::Height] = formatCount(shown.height(), request.locale);
    row.item.subItems[ListItem::Modified] = formatFileTime(qint64(st.st_mtim.tv_sec));
    return row;
}

QImage thumbnailImage(const QByteArray &stored)
{
    QImage image;
    image.loadFromData(stored, "jpeg");
    return image;
}

} // namespace pelmaris::scan
