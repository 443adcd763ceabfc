#include "scan/plainpng.h"

#include <QtEndian>

#include <cstdlib>
#include <cstring>
#include <vector>

#include <zlib.h>

namespace pelmaris::scan {

namespace {

constexpr qsizetype kSignatureSize = 8;
constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";

int paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

// Undoes one row's filter in place; `previous` is the row above, unfiltered (zeros for
// the first). False for an unknown filter.
bool unfilter(uchar filter, uchar *row, const uchar *previous, qsizetype length, int bpp)
{
    switch (filter) {
    case 0:
        return true;
    case 1:
        for (qsizetype i = bpp; i < length; ++i)
            row[i] = uchar(row[i] + row[i - bpp]);
        return true;
    case 2:
        for (qsizetype i = 0; i < length; ++i)
            row[i] = uchar(row[i] + previous[i]);
        return true;
    case 3:
        for (qsizetype i = 0; i < length; ++i) {
            const int left = i >= bpp ? row[i - bpp] : 0;
            row[i] = uchar(row[i] + ((left + previous[i]) >> 1));
        }
        return true;
    case 4:
        for (qsizetype i = 0; i < length; ++i) {
            const int left = i >= bpp ? row[i - bpp] : 0;
            const int upperLeft = i >= bpp ? previous[i - bpp] : 0;
            row[i] = uchar(row[i] + paeth(left, previous[i], upperLeft));
        }
        return true;
    default:
        return false;
    }
}

} // namespace

PlainPng readPlainPng(const QByteArray &png, int maxEdge, const QString &uri)
{
    using Status = PlainPng::Status;
    PlainPng out;
    if (png.size() < kSignatureSize + 25 || std::memcmp(png.constData(), kSignature, 8) != 0)
        return out;
    const auto *data = reinterpret_cast<const uchar *>(png.constData());

    // The chunks first: the header, the texts, where the pixel data lies; nothing inflated.
    quint32 width = 0;
    quint32 height = 0;
    int channels = 0;
    std::vector<std::pair<const uchar *, quint32>> idat;
    QList<std::pair<QString, QString>> texts;
    bool ended = false;
    for (qsizetype at = kSignatureSize; !ended;) {
        if (at + 12 > png.size())
            return out; // cut short: the generic reader says how much it can show
        const quint32 length = qFromBigEndian<quint32>(data + at);
        if (qint64(length) > png.size() - at - 12)
            return out;
        const uchar *type = data + at + 4;
        const uchar *body = type + 4;
        if (qFromBigEndian<quint32>(body + length) !=
            quint32(crc32(crc32(0, nullptr, 0), type, length + 4)))
            return out;
        const QByteArray name(reinterpret_cast<const char *>(type), 4);
        if (at == kSignatureSize) {
            if (name != "IHDR" || length != 13)
                return out;
            width = qFromBigEndian<quint32>(body);
            height = qFromBigEndian<quint32>(body + 4);
            const uchar depth = body[8], colour = body[9], interlace = body[12];
            if (depth != 8 || (colour != 2 && colour != 6) || body[10] != 0 || body[11] != 0 ||
                interlace != 0 || width == 0 || height == 0)
                return out;
            if (width > quint32(maxEdge) || height > quint32(maxEdge)) {
                out.status = Status::Refused;
                return out;
            }
            channels = colour == 6 ? 4 : 3;
        } else if (name == "IDAT") {
            idat.emplace_back(body, length);
        } else if (name == "tEXt") {
            const auto *text = reinterpret_cast<const char *>(body);
            const auto *zero = static_cast<const char *>(std::memchr(text, 0, length));
            if (!zero)
                return out;
            texts.append({QString::fromLatin1(text, zero - text),
                          QString::fromLatin1(zero + 1, text + length - zero - 1)});
            if (idat.empty() && !uri.isEmpty() && texts.last().first == u"Thumb::URI" &&
                texts.last().second != uri) {
                out.status = Status::Refused;
                return out;
            }
        } else if (name == "IEND") {
            ended = true;
        } else if (!(type[0] & 0x20) || name == "PLTE" || name == "tRNS" || name == "gAMA" ||
                   name == "cHRM" || name == "sRGB" || name == "iCCP" || name == "sBIT" ||
                   name == "zTXt" || name == "iTXt" || name == "pHYs" || name == "oFFs") {
            // A critical chunk of another kind, or what the generic reader shows or keeps.
            return out;
        }
        at += 12 + qsizetype(length);
    }
    if (idat.empty())
        return out;

    // One row's bytes and its filter byte, every row inflated in one pass, and not a byte
    // more: data beyond the last row is refused, as a small file could otherwise keep the
    // inflater busy for minutes.
    const qsizetype stride = qsizetype(width) * channels;
    const qsizetype expected = (stride + 1) * qsizetype(height);
    QByteArray raw(expected + 1, Qt::Uninitialized);
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return out;
    z.next_out = reinterpret_cast<Bytef *>(raw.data());
    z.avail_out = uInt(raw.size());
    int status = Z_OK;
    for (const auto &[bytes, length] : idat) {
        z.next_in = const_cast<Bytef *>(bytes);
        z.avail_in = uInt(length);
        while (z.avail_in > 0 && status == Z_OK && z.avail_out > 0)
            status = inflate(&z, Z_NO_FLUSH);
        if (status != Z_OK)
            break;
    }
    const qsizetype inflated = raw.size() - qsizetype(z.avail_out);
    inflateEnd(&z);
    if (inflated != expected || (status != Z_STREAM_END && status != Z_OK)) {
        out.status = Status::Refused;
        return out;
    }

    QImage image(int(width), int(height),
                 channels == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return out;
    std::vector<uchar> zeros(size_t(stride), 0);
    auto *rows = reinterpret_cast<uchar *>(raw.data());
    const uchar *previous = zeros.data();
    for (quint32 y = 0; y < height; ++y) {
        uchar *row = rows + qsizetype(y) * (stride + 1);
        if (!unfilter(row[0], row + 1, previous, stride, channels)) {
            out.status = Status::Refused;
            return out;
        }
        auto *pixels = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        const uchar *p = row + 1;
        if (channels == 4) {
            for (quint32 x = 0; x < width; ++x, p += 4)
                pixels[x] = qRgba(p[0], p[1], p[2], p[3]);
        } else {
            for (quint32 x = 0; x < width; ++x, p += 3)
                pixels[x] = qRgb(p[0], p[1], p[2]);
        }
        previous = row + 1;
    }
    for (const auto &[key, value] : std::as_const(texts))
        image.setText(key, value);
    out.status = Status::Decoded;
    out.image = std::move(image);
    return out;
}

} // namespace pelmaris::scan
