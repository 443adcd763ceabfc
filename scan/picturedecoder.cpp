#include "scan/picturedecoder.h"

#include "platform/filesystem.h"
#include "scan/decodebudget.h"
#include "scan/jpegreader.h"

#include <QImageReader>
#include <QPixelFormat>
#include <QtEndian>

namespace pelmaris::scan {

namespace {

// Rows, tables and the small pictures made afterwards, beside the big buffers.
constexpr qint64 kDecodeOverhead = 4 * 1024 * 1024;
// Below this a decode is cheap whatever the file holds; above it a JPEG must be long
// enough for the picture its header declares.
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

} // namespace

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
    return picture;
}

bool isPngTooShort(const QByteArray &head, qint64 fileBytes)
{
    if (head.size() < 33 || !head.startsWith(QByteArrayLiteral("\x89PNG\r\n\x1a\n")) ||
        head.mid(12, 4) != "IHDR")
        return false;
    const auto *ihdr = reinterpret_cast<const uchar *>(head.constData()) + 16;
    const qint64 width = qFromBigEndian<quint32>(ihdr);
    const qint64 height = qFromBigEndian<quint32>(ihdr + 4);
    const int depth = ihdr[8];
    int channels;
    switch (ihdr[9]) {
    case 0: // grey
    case 3: // palette
        channels = 1;
        break;
    case 2: // RGB
        channels = 3;
        break;
    case 4: // grey and alpha
        channels = 2;
        break;
    case 6: // RGBA
        channels = 4;
        break;
    default:
        return false; // not ours to judge; the decoder refuses it
    }
    // Each row is a filter byte and its samples; interlacing only adds to this.
    const qint64 rowBytes = 1 + (width * channels * depth + 7) / 8;
    const qint64 rawBytes = height * rowBytes;
    return rawBytes / kDeflateMaxRatio > fileBytes;
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
    std::unique_ptr<CancellableDevice> device;
    std::unique_ptr<QImageReader> reader;
    QByteArray head; // the first bytes, for the format's own judgement
    QByteArray format;
    QSize stored;
    QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone;

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

PictureDecoder::PictureDecoder(QString path, const std::atomic<bool> *cancel,
                               platform::FileSystem *fileSystem)
    : d(std::make_unique<State>())
{
    d->path = std::move(path);
    d->cancel = cancel;
    d->fileSystem = fileSystem;
}

PictureDecoder::~PictureDecoder() = default;

bool PictureDecoder::open()
{
    std::unique_ptr<platform::FileSystem> own;
    if (!d->fileSystem) {
        own = platform::makeSystemFileSystem();
        d->fileSystem = own.get();
    }
    std::optional<PictureFile> opened = openPictureFile(*d->fileSystem, d->path);
    d->fileSystem = own ? nullptr : d->fileSystem;
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
    d->device = std::make_unique<CancellableDevice>(&file, d->cancel);
    d->device->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    d->reader = std::make_unique<QImageReader>(d->device.get());
    d->reader->setAutoTransform(true);
    if (!d->reader->canRead())
        return false;
    d->format = d->reader->format();
    d->stored = d->reader->size();
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
        if (need > budget.total() || (need > kLargeDecode && d->jpeg->isTooShortFor(d->file.bytes)))
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

    if (isPngTooShort(d->head, d->file.bytes))
        return refused(DecodeBudget::Refusal::NeverFits);
    QSize decodeSize = d->stored;
    if (isVectorFormat(d->format) && !minimumStored.isEmpty() && d->stored.isValid()) {
        decodeSize = d->stored.scaled(minimumStored, Qt::KeepAspectRatioByExpanding);
        d->reader->setScaledSize(decodeSize);
    }
    // A header without a size may still hold a picture up to the reader's allocation
    // limit, which is the whole budget: such a picture is decoded alone.
    const qint64 need =
        decodeSize.isValid()
            ? genericDecodeBytes(decodeSize, d->reader->imageFormat(), d->format, d->file.bytes)
            : budget.total();
    if (need > budget.total())
        return refused(DecodeBudget::Refusal::NeverFits);
    result.memory = budget.reserve(need, d->cancel, &why);
    if (!result.memory)
        return refused(why);
    return decoded(d->reader->read());
}

} // namespace pelmaris::scan
