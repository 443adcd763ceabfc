#include "scan/picturedecoder.h"

#include "platform/filesystem.h"
#include "scan/decodebudget.h"
#include "scan/jpegreader.h"
#include "scan/pngcheck.h"
#include "scan/pngreader.h"
#include "scan/vectordocument.h"
#include "scan/webpreader.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixelFormat>
#include <QtEndian>

namespace pelmaris::scan {

namespace {

// Rows, tables and the small pictures made afterwards, beside the big buffers.
constexpr qint64 kDecodeOverhead = 4 * 1024 * 1024;
// Below this a decode is cheap whatever the file holds; above it a JPEG must be long
// enough for the picture its header declares. An arithmetic-coded one must be so at
// any size: a few hundred bytes of it can declare a giant picture that is walked
// block by block, however small the decode's output.
constexpr qint64 kLargeDecode = 64 * 1024 * 1024;
// deflate's best case: 258 bytes from a code of under two bits, 1032 to 1.
constexpr qint64 kDeflateMaxRatio = 1032;

// The generic reader's device, which ends the read at once when the build is
// cancelled: a large picture stops mid-decode instead of keeping the cancel waiting.
class CancellableDevice final : public QIODevice {
public:
    CancellableDevice(QIODevice *inner, const std::atomic<bool> *cancel)
        : m_inner(inner), m_cancel(cancel)
    {
    }
    bool isSequential() const override { return m_inner->isSequential(); }
    qint64 size() const override { return m_inner->size(); }
    bool seek(qint64 pos) override { return QIODevice::seek(pos) && m_inner->seek(pos); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_cancel && m_cancel->load(std::memory_order_relaxed))
            return -1;
        return m_inner->read(data, maxSize);
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QIODevice *m_inner;
    const std::atomic<bool> *m_cancel;
};

bool turnsSideways(QImageIOHandler::Transformations t)
{
    return t.testFlag(QImageIOHandler::TransformationRotate90);
}

QSize transposedIf(QSize size, bool turn)
{
    return turn ? size.transposed() : size;
}

bool isVectorFormat(const QByteArray &format)
{
    return format == "svg" || format == "svgz";
}

QString suffixOf(const QString &path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1).toLower();
}

} // namespace

QSize gifDecodeSize(const QByteArray &head, QSize reported)
{
    if (head.size() < 10 || !(head.startsWith("GIF87a") || head.startsWith("GIF89a")))
        return reported;
    const auto *screen = reinterpret_cast<const uchar *>(head.constData()) + 6;
    const int width = std::max<int>(qFromLittleEndian<quint16>(screen),
                                    reported.isValid() ? reported.width() : 0);
    const int height = std::max<int>(qFromLittleEndian<quint16>(screen + 2),
                                     reported.isValid() ? reported.height() : 0);
    return width > 0 && height > 0 ? QSize(width, height) : reported;
}

bool isNamedForItsFormat(const QString &path, const QByteArray &format, const QByteArray &head)
{
    const QString suffix = suffixOf(path);
    if (format == "xbm" || format == "xpm")
        return suffix == QLatin1String(format);
    if (isVectorFormat(format))
        return suffix == u"svg" || suffix == u"svgz";
    // P1 to P3 are the plain-text netpbm forms; P4 to P6 are binary.
    const bool plainNetpbm = head.size() >= 2 && head[0] == 'P' && head[1] >= '1' && head[1] <= '3';
    if ((format == "pbm" || format == "pgm" || format == "ppm") && plainNetpbm)
        return suffix == u"pbm" || suffix == u"pgm" || suffix == u"ppm" || suffix == u"pnm";
    return true;
}

QImage turnedUpright(QImage image, QImageIOHandler::Transformations t)
{
    if (t == QImageIOHandler::TransformationNone)
        return image;
    if (t == QImageIOHandler::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    image = std::move(image).mirrored(t.testFlag(QImageIOHandler::TransformationMirror),
                                      t.testFlag(QImageIOHandler::TransformationFlip));
    if (turnsSideways(t))
        image = image.transformed(QTransform().rotate(90));
    return image;
}

std::optional<PictureFile> openPictureFile(platform::FileSystem &fileSystem, const QString &path)
{
    platform::OpenedFile opened = fileSystem.openRegularFile(path);
    if (opened.status != platform::ReadStatus::Ok || !opened.file)
        return std::nullopt;
    PictureFile picture;
    picture.file = std::move(opened.file);
    picture.bytes = opened.size;
    picture.modified = opened.modified;
    picture.modifiedNs = opened.modifiedNs;
    picture.changedNs = opened.changedNs;
    return picture;
}

bool isPngTooShort(const QByteArray &head, qint64 fileBytes)
{
    // Not ours to judge when it is no PNG header: the decoder refuses it.
    const qint64 rawBytes = pngRowBytes(head);
    return rawBytes >= 0 && rawBytes / kDeflateMaxRatio > fileBytes;
}

qint64 genericDecodeBytes(QSize size, QImage::Format format, const QByteArray &decoder,
                          qint64 fileBytes)
{
    const qint64 pixels = qint64(size.width()) * size.height();
    // Unknown formats count as 64 bits a pixel, the widest the reader produces.
    const int bits =
        format == QImage::Format_Invalid ? 64 : int(QImage::toPixelFormat(format).bitsPerPixel());
    qint64 bytes = pixels * bits / 8 + kDecodeOverhead;
    if (bits < 32)
        bytes += pixels * 4; // the 32-bit copy the smooth scaling works on
    if (decoder == "gif")
        bytes += pixels * 4; // the frame the next one is drawn over
    if (decoder == "tiff")
        bytes += fileBytes; // whole compressed strips
    return bytes;
}

struct PictureDecoder::State {
    QString path;
    const std::atomic<bool> *cancel = nullptr;
    platform::FileSystem *fileSystem = nullptr;
    PictureFile file;
    std::unique_ptr<JpegReader> jpeg;
    std::unique_ptr<WebpReader> webp;
    std::unique_ptr<PngReader> png;
    std::unique_ptr<CancellableDevice> device;
    std::optional<VectorDocument> document; // an SVG's text, read and checked
    QBuffer documentBuffer;
    std::unique_ptr<QImageReader> reader; // after what it reads from: destroyed first
    QByteArray head;                      // the first bytes, for the format's own judgement
    QByteArray format;
    QSize stored;
    QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone;

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

PictureDecoder::PictureDecoder(platform::FileSystem &fileSystem, QString path,
                               const std::atomic<bool> *cancel)
    : d(std::make_unique<State>())
{
    d->path = std::move(path);
    d->cancel = cancel;
    d->fileSystem = &fileSystem;
}

PictureDecoder::~PictureDecoder() = default;

bool PictureDecoder::open()
{
    std::optional<PictureFile> opened = openPictureFile(*d->fileSystem, d->path);
    if (!opened)
        return false;
    d->file = std::move(*opened);
    QFile &file = *d->file.file;
    d->head = file.peek(33);
    // The same test the generic reader makes: the start-of-image marker.
    if (d->head.startsWith("\xff\xd8")) {
        d->jpeg = std::make_unique<JpegReader>(&file, d->cancel);
        if (!d->jpeg->readHeader())
            return false;
        d->format = "jpeg";
        d->stored = d->jpeg->size();
        d->transformation = d->jpeg->transformation();
        return true;
    }
    if (d->head.startsWith("RIFF") && WebpReader::isAvailable()) {
        d->webp = std::make_unique<WebpReader>(&file, d->cancel);
        if (d->webp->readHeader()) {
            d->format = "webp";
            d->stored = d->webp->size();
            return true;
        }
        // An animation, or no WebP at all: the generic reader judges it from the start.
        d->webp.reset();
        if (!file.seek(0))
            return false;
    }
    if (PngReader::reads(d->head)) {
        d->png = std::make_unique<PngReader>(&file, d->cancel);
        if (d->png->readHeader()) {
            d->format = "png";
            d->stored = d->png->size();
            return true;
        }
        d->png.reset();
        if (!file.seek(0))
            return false;
    }
    d->device = std::make_unique<CancellableDevice>(&file, d->cancel);
    d->device->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    d->reader = std::make_unique<QImageReader>(d->device.get());
    d->reader->setAutoTransform(true);
    if (!d->reader->canRead())
        return false;
    d->format = d->reader->format();
    if (!isNamedForItsFormat(d->path, d->format, d->head))
        return false;
    if (isVectorFormat(d->format)) {
        // The renderer gets only the checked text, never the file itself.
        if (!file.seek(0))
            return false;
        d->document = readVectorDocument(file, d->format == "svgz");
        if (!d->document)
            return false;
        d->documentBuffer.setData(d->document->text);
        d->documentBuffer.open(QIODevice::ReadOnly);
        d->reader = std::make_unique<QImageReader>(&d->documentBuffer, "svg");
        d->stored = d->reader->size();
        // Without a size there is nothing to bound the rendering by.
        return d->stored.isValid() && !d->stored.isEmpty();
    }
    d->stored = d->reader->size();
    if (d->format == "gif")
        d->stored = gifDecodeSize(d->head, d->stored);
    d->transformation = d->reader->transformation();
    return true;
}

qint64 PictureDecoder::fileBytes() const
{
    return d->file.bytes;
}

qint64 PictureDecoder::modified() const
{
    return d->file.modified;
}

qint64 PictureDecoder::modifiedNs() const
{
    return d->file.modifiedNs;
}

qint64 PictureDecoder::changedNs() const
{
    return d->file.changedNs;
}

QByteArray PictureDecoder::format() const
{
    return d->format;
}

QSize PictureDecoder::shownSize() const
{
    if (!d->stored.isValid() || d->stored.isEmpty())
        return QSize();
    return transposedIf(d->stored, turnsSideways(d->transformation));
}

PictureDecoder::Decoded PictureDecoder::decode(QSize minimum, DecodeBudget &budget)
{
    Decoded result;
    const auto refused = [&](DecodeBudget::Refusal why) {
        result.outcome =
            why == DecodeBudget::Refusal::Cancelled ? Outcome::Cancelled : Outcome::Refused;
        return std::move(result);
    };
    const auto decoded = [&](QImage image) {
        if (image.isNull()) {
            result.outcome = d->cancelled() ? Outcome::Cancelled : Outcome::Damaged;
            result.memory = DecodeBudget::Reservation();
        } else {
            result.outcome = Outcome::Decoded;
            result.image = std::move(image);
        }
        return std::move(result);
    };
    const QSize minimumStored = transposedIf(minimum, turnsSideways(d->transformation));
    DecodeBudget::Refusal why = DecodeBudget::Refusal::None;

    if (d->jpeg) {
        const qint64 need = d->jpeg->memoryNeed(minimumStored);
        const bool judged = need > kLargeDecode || d->jpeg->isArithmetic();
        if (need > budget.total() || (judged && d->jpeg->isTooShortFor(d->file.bytes)))
            return refused(DecodeBudget::Refusal::NeverFits);
        result.memory = budget.reserve(need, d->cancel, &why);
        if (!result.memory)
            return refused(why);
        result.transformation = d->transformation;
        QImage image = d->jpeg->read(minimumStored, d->jpeg->libraryBytes());
        // Short of memory is no verdict on the file: no failure note for it.
        if (image.isNull() && d->jpeg->ranOutOfMemory() && !d->cancelled())
            return refused(DecodeBudget::Refusal::NeverFits);
        return decoded(std::move(image));
    }

    if (d->webp) {
        // Refused where the generic reader's whole picture could never fit, as before,
        // though the scaled decode itself holds far less.
        const qint64 need = d->webp->memoryNeed(minimumStored, d->file.bytes);
        if (need > budget.total() || genericDecodeBytes(d->stored, QImage::Format_ARGB32, d->format,
                                                        d->file.bytes) > budget.total())
            return refused(DecodeBudget::Refusal::NeverFits);
        result.memory = budget.reserve(need, d->cancel, &why);
        if (!result.memory)
            return refused(why);
        return decoded(d->webp->read(minimumStored));
    }

    if (isPngTooShort(d->head, d->file.bytes))
        return refused(DecodeBudget::Refusal::NeverFits);
    if (d->png) {
        // As with WebP, what the whole picture could never fit stays refused: a giant
        // but honest-looking file would keep a worker reading rows for minutes.
        const qint64 need = d->png->memoryNeed(minimumStored);
        if (need > budget.total() || genericDecodeBytes(d->stored, QImage::Format_ARGB32, d->format,
                                                        d->file.bytes) > budget.total())
            return refused(DecodeBudget::Refusal::NeverFits);
        result.memory = budget.reserve(need, d->cancel, &why);
        if (!result.memory)
            return refused(why);
        return decoded(d->png->read(minimumStored));
    }
    QSize decodeSize = d->stored;
    qint64 need = 0;
    if (d->document) {
        // Rendered no larger than wanted: at the size that covers the minimum, and for a
        // shape so extreme that this is far larger, at about the minimum itself.
        if (!minimumStored.isEmpty())
            decodeSize = d->stored.scaled(minimumStored, Qt::KeepAspectRatioByExpanding)
                             .boundedTo(minimumStored * 2);
        d->reader->setScaledSize(decodeSize);
        need = d->document->parsedBytes();
    }
    // A header without a size may still hold a picture up to the reader's allocation
    // limit, which is the whole budget: such a picture is decoded alone.
    need = decodeSize.isValid() ? need + genericDecodeBytes(decodeSize, d->reader->imageFormat(),
                                                            d->format, d->file.bytes)
                                : budget.total();
    if (need > budget.total())
        return refused(DecodeBudget::Refusal::NeverFits);
    result.memory = budget.reserve(need, d->cancel, &why);
    if (!result.memory)
        return refused(why);
    return decoded(d->reader->read());
}

} // namespace pelmaris::scan
