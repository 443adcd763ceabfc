#pragma once

// Pictures made at test time for the decode and cache tests: headers that promise more
// than their bodies hold, and flat pictures of any size, streamed row by row so that
// making a giant one costs no giant buffer.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QSize>
#include <QString>
#include <QtEndian>

#include <cstdio>
#include <vector>

#include <zlib.h>

extern "C" {
#include <jpeglib.h>
}

namespace picturefixtures {

// A 16 x 16 JPEG whose frame header is patched to declare `declared`: a few hundred
// bytes that promise a giant picture.
inline QByteArray jpegClaiming(QSize declared, bool progressive)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        return {};
    auto *data = reinterpret_cast<uchar *>(bytes.data());
    for (qsizetype i = 2; i + 9 < bytes.size();) {
        if (data[i] != 0xFF)
            break;
        const uchar marker = data[i + 1];
        if (marker == 0xC0 || marker == 0xC2) {
            qToBigEndian<quint16>(quint16(declared.height()), data + i + 5);
            qToBigEndian<quint16>(quint16(declared.width()), data + i + 7);
            return bytes;
        }
        i += 2 + qFromBigEndian<quint16>(data + i + 2);
    }
    return {};
}

// A JPEG of one colour, any size, written row by row by the codec itself.
inline bool writeFlatJpeg(const QString &path, QSize size, bool progressive)
{
    FILE *out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = JDIMENSION(size.width());
    info.image_height = JDIMENSION(size.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(size_t(size.width()) * 3);
    for (size_t x = 0; x < row.size(); x += 3) {
        row[x] = 40;
        row[x + 1] = 160;
        row[x + 2] = 90;
    }
    JSAMPROW rows[1] = {row.data()};
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, rows, 1);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(out) == 0;
}

inline QByteArray pngChunk(const char *type, const QByteArray &data)
{
    const QByteArray body = QByteArray(type, 4) + data;
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), out.data());
    out += body;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(
        quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()))),
        crc.data());
    return out + crc;
}

// An 8-bit grey PNG of one shade, any size, deflated row by row.
inline bool writeFlatPng(const QString &path, QSize size, uchar shade = 200)
{
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(quint32(size.width()), ihdr.data());
    qToBigEndian<quint32>(quint32(size.height()), ihdr.data() + 4);
    ihdr[8] = 8; // bit depth; colour type 0 (grey), no interlace
    z_stream z{};
    if (deflateInit(&z, 9) != Z_OK)
        return false;
    QByteArray row(size.width() + 1, char(shade));
    row[0] = 0; // no filter
    QByteArray idat;
    std::vector<char> chunk(1 << 16);
    for (int y = 0; y <= size.height(); ++y) {
        const bool last = y == size.height();
        z.next_in = reinterpret_cast<Bytef *>(last ? nullptr : row.data());
        z.avail_in = last ? 0 : uInt(row.size());
        do {
            z.next_out = reinterpret_cast<Bytef *>(chunk.data());
            z.avail_out = uInt(chunk.size());
            deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            idat.append(chunk.data(), qsizetype(chunk.size() - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr) +
                      pngChunk("IDAT", idat) + pngChunk("IEND", {})) > 0;
}

// `stored` as a JPEG carrying the EXIF orientation tag.
inline QByteArray jpegWithOrientation(const QImage &stored, quint16 orientation)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    stored.save(&buffer, "jpeg", 95);
    QByteArray tiff("MM\0*\0\0\0\x08", 8); // big-endian, first directory at 8
    auto be16 = [&](quint16 v) { tiff.append(char(v >> 8)).append(char(v & 0xff)); };
    be16(1);      // one entry
    be16(0x0112); // Orientation
    be16(3);      // SHORT
    be16(0);
    be16(1); // count 1
    be16(orientation);
    be16(0);
    be16(0);
    be16(0); // no next directory
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xff\xe1", 2);
    const quint16 length = quint16(payload.size() + 2);
    app1.append(char(length >> 8)).append(char(length & 0xff)).append(payload);
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

} // namespace picturefixtures
