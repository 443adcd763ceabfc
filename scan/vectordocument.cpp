#include "scan/vectordocument.h"

#include "scan/jpegreader.h"
#include "scan/picturedecoder.h"
#include "scan/pngcheck.h"

#include <QBuffer>
#include <QImageReader>
#include <QXmlStreamReader>

#include <array>

#include <zlib.h>

namespace pelmaris::scan {

namespace {

// The size an embedded picture may declare, and the scans an embedded JPEG may have:
// the renderer decodes them in full, with no limit of its own on either.
constexpr qint64 kMaxEmbeddedPixels = qint64(64) * 1024 * 1024;
constexpr int kMaxEmbeddedJpegScans = 48;

std::optional<QByteArray> readPlain(QIODevice &file)
{
    QByteArray text = file.read(VectorDocument::kMaxBytes + 1);
    if (text.size() > VectorDocument::kMaxBytes)
        return std::nullopt;
    return text;
}

// gzip, inflated no further than the limit: a few kilobytes can hold gigabytes.
std::optional<QByteArray> readCompressed(QIODevice &file)
{
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK)
        return std::nullopt;
    QByteArray text;
    std::array<char, 64 * 1024> in;
    bool ended = false;
    bool failed = false;
    while (!ended && !failed) {
        const qint64 n = file.read(in.data(), qint64(in.size()));
        if (n <= 0)
            break;
        z.next_in = reinterpret_cast<Bytef *>(in.data());
        z.avail_in = uInt(n);
        while (z.avail_in > 0 && !ended && !failed) {
            const qsizetype at = text.size();
            if (at >= VectorDocument::kMaxBytes + 1) {
                failed = true;
                break;
            }
            text.resize(
                std::min<qsizetype>(at + qsizetype(in.size()) * 4, VectorDocument::kMaxBytes + 1));
            z.next_out = reinterpret_cast<Bytef *>(text.data() + at);
            z.avail_out = uInt(text.size() - at);
            const int status = inflate(&z, Z_NO_FLUSH);
            text.resize(text.size() - qsizetype(z.avail_out));
            ended = status == Z_STREAM_END;
            failed = status != Z_OK && !ended;
        }
    }
    inflateEnd(&z);
    if (!ended || failed || text.size() > VectorDocument::kMaxBytes)
        return std::nullopt;
    return text;
}

// The number of scans (start-of-scan markers) of a JPEG, walked as the codec walks it:
// marker segments by their length, entropy-coded data up to the next marker.
int jpegScans(const QByteArray &jpeg)
{
    const auto *data = reinterpret_cast<const uchar *>(jpeg.constData());
    const qsizetype size = jpeg.size();
    int scans = 0;
    qsizetype at = 2; // past the start-of-image marker
    while (at + 1 < size) {
        if (data[at] != 0xFF) {
            ++at; // stray bytes, which the codec skips too
            continue;
        }
        const uchar marker = data[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        at += 2;
        if (marker == 0xD9) // end of image
            break;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue; // no segment follows
        if (at + 2 > size)
            break;
        at += (data[at] << 8) | data[at + 1];
        if (marker != 0xDA)
            continue;
        ++scans;
        // The scan's data: a 0xFF in it is followed by 0 or a restart marker.
        while (at + 1 < size && !(data[at] == 0xFF && data[at + 1] != 0 &&
                                  (data[at + 1] < 0xD0 || data[at + 1] > 0xD7)))
            ++at;
    }
    return scans;
}

// What decoding one embedded picture holds, or -1 when it is refused: the renderer
// decodes it whole, by the generic reader, without the checks the decoder makes.
qint64 embeddedPictureBytes(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!reader.canRead())
        return 0; // the renderer leaves out what it cannot read
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg" && format != "gif" && format != "bmp" &&
        format != "webp")
        return -1;
    QSize size = reader.size();
    if (format == "gif")
        size = gifDecodeSize(bytes.left(16), size);
    if (!size.isValid() || qint64(size.width()) * size.height() > kMaxEmbeddedPixels)
        return -1;
    if (format == "png" &&
        (isPngTooShort(bytes.left(33), bytes.size()) || pngInflatesBeyondItsRows(bytes)))
        return -1;
    qint64 need = genericDecodeBytes(size, reader.imageFormat(), format, bytes.size());
    if (format == "jpeg") {
        QBuffer again(&copy);
        again.open(QIODevice::ReadOnly);
        JpegReader jpeg(&again);
        if (!jpeg.readHeader() || jpeg.isTooShortFor(bytes.size()) ||
            jpegScans(bytes) > kMaxEmbeddedJpegScans)
            return -1;
        need += jpeg.libraryBytes();
    }
    return need;
}

} // namespace

bool isSelfContained(const QByteArray &text, qint64 *embeddedBytes)
{
    QXmlStreamReader xml(text);
    qint64 embedded = 0;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::ProcessingInstruction:
            // The renderer reads a style sheet from the file this names.
            if (xml.processingInstructionTarget() == QLatin1String("xml-stylesheet"))
                return false;
            break;
        case QXmlStreamReader::StartElement:
            if (xml.name() != QLatin1String("image"))
                break;
            for (const QXmlStreamAttribute &attribute : xml.attributes()) {
                if (attribute.name() != QLatin1String("href"))
                    continue;
                // The renderer's own test: anything not starting so is a file name.
                const QString href = attribute.value().trimmed().toString();
                if (href.isEmpty())
                    continue;
                if (!href.startsWith(QLatin1String("data")))
                    return false;
                const qsizetype at = href.lastIndexOf(QLatin1String("base64,"));
                if (at < 0)
                    continue; // not decoded by the renderer at all
                const qint64 need =
                    embeddedPictureBytes(QByteArray::fromBase64(href.mid(at + 7).toLatin1()));
                if (need < 0)
                    return false;
                embedded += need;
                if (embedded > VectorDocument::kMaxEmbeddedBytes)
                    return false;
            }
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        return false;
    if (embeddedBytes)
        *embeddedBytes += embedded;
    return true;
}

std::optional<VectorDocument> readVectorDocument(QIODevice &file, bool compressed)
{
    std::optional<QByteArray> text = compressed ? readCompressed(file) : readPlain(file);
    if (!text)
        return std::nullopt;
    VectorDocument document;
    document.text = std::move(*text);
    if (!isSelfContained(document.text, &document.embeddedBytes))
        return std::nullopt;
    return document;
}

} // namespace pelmaris::scan
