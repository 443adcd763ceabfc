#include "scan/pngcheck.h"

#include <QtEndian>

#include <array>

#include <zlib.h>

namespace pelmaris::scan {

namespace {

constexpr qsizetype kSignature = 8;

qint64 rowBytes(qint64 width, qint64 bitsPerPixel)
{
    return width > 0 ? 1 + (width * bitsPerPixel + 7) / 8 : 0;
}

} // namespace

qint64 pngRowBytes(const QByteArray &head)
{
    if (head.size() < 33 || !head.startsWith(QByteArrayLiteral("\x89PNG\r\n\x1a\n")) ||
        head.mid(12, 4) != "IHDR")
        return -1;
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
        return -1;
    }
    const qint64 bits = qint64(channels) * depth;
    if (ihdr[12] == 0)
        return height * rowBytes(width, bits);
    // Adam7: seven passes over sub-pictures, each row with its own filter byte.
    struct Pass {
        int x, y, dx, dy;
    };
    constexpr std::array<Pass, 7> passes{{{0, 0, 8, 8},
                                          {4, 0, 8, 8},
                                          {0, 4, 4, 8},
                                          {2, 0, 4, 4},
                                          {0, 2, 2, 4},
                                          {1, 0, 2, 2},
                                          {0, 1, 1, 2}}};
    qint64 total = 0;
    for (const Pass &p : passes) {
        const qint64 w = width > p.x ? (width - p.x + p.dx - 1) / p.dx : 0;
        const qint64 h = height > p.y ? (height - p.y + p.dy - 1) / p.dy : 0;
        total += h * rowBytes(w, bits);
    }
    return total;
}

bool pngInflatesBeyondItsRows(const QByteArray &png)
{
    const qint64 expected = pngRowBytes(png.left(33));
    if (expected < 0)
        return false; // not ours to judge: the decoder refuses it
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    std::array<Bytef, 64 * 1024> scratch;
    qint64 inflated = 0;
    bool beyond = false;
    bool ended = false;
    const auto *data = reinterpret_cast<const uchar *>(png.constData());
    for (qsizetype at = kSignature; !beyond && !ended && at + 12 <= png.size();) {
        const qint64 length = qFromBigEndian<quint32>(data + at);
        if (length > png.size() - at - 12)
            break; // cut short: the decoder stops there too
        if (png.mid(at + 4, 4) == "IDAT") {
            z.next_in = const_cast<Bytef *>(data + at + 8);
            z.avail_in = uInt(length);
            while (z.avail_in > 0) {
                z.next_out = scratch.data();
                z.avail_out = uInt(scratch.size());
                const int status = inflate(&z, Z_NO_FLUSH);
                inflated += qint64(scratch.size() - z.avail_out);
                if (inflated > expected) {
                    beyond = true;
                    break;
                }
                if (status != Z_OK) {
                    ended = true; // the stream's end, or damage the decoder will find
                    break;
                }
            }
        } else if (png.mid(at + 4, 4) == "IEND") {
            break;
        }
        at += 12 + length;
    }
    inflateEnd(&z);
    return beyond;
}

} // namespace pelmaris::scan
