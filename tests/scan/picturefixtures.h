#pragma once

// Pictures made at test time for the decode and cache tests: headers that promise more
// than their bodies hold, and flat pictures of any size, streamed row by row so that
// making a giant one costs no giant buffer.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QSize>
#include <QString>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include <zlib.h>

extern "C" {
#include <jpeglib.h>
}

namespace picturefixtures {

// `bytes`, a JPEG, with its frame header patched to declare `declared`.
inline QByteArray jpegDeclaring(QByteArray bytes, QSize declared)
{
    auto *data = reinterpret_cast<uchar *>(bytes.data());
    for (qsizetype i = 2; i + 9 < bytes.size();) {
        if (data[i] != 0xFF)
            break;
        const uchar marker = data[i + 1];
        if (marker == 0xC0 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA) {
            qToBigEndian<quint16>(quint16(declared.height()), data + i + 5);
            qToBigEndian<quint16>(quint16(declared.width()), data + i + 7);
            return bytes;
        }
        i += 2 + qFromBigEndian<quint16>(data + i + 2);
    }
    return {};
}

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
    return jpegDeclaring(bytes, declared);
}

// A progressive scan script for one component: the DC scan, then each AC coefficient
// in a scan of its own, first with `refinements` low bits left out and then refined one
// bit per scan: 1 + 63 x (refinements + 1) scans in all. Negative: the DC scan alone.
inline std::vector<jpeg_scan_info> oneCoefficientScans(int refinements)
{
    std::vector<jpeg_scan_info> scans{{1, {0, 0, 0, 0}, 0, 0, 0, 0}};
    for (int k = 1; k <= 63 && refinements >= 0; ++k) {
        scans.push_back({1, {0, 0, 0, 0}, k, k, 0, refinements});
        for (int bit = refinements - 1; bit >= 0; --bit)
            scans.push_back({1, {0, 0, 0, 0}, k, k, bit + 1, bit});
    }
    return scans;
}

// A grey JPEG of one shade in the given scans (none: a single sequential scan),
// Huffman- or arithmetic-coded.
inline QByteArray greyJpeg(QSize size, bool arithmetic, const std::vector<jpeg_scan_info> &scans)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = JDIMENSION(size.width());
    info.image_height = JDIMENSION(size.height());
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    info.arith_code = arithmetic ? TRUE : FALSE;
    if (!scans.empty()) { // else one sequential scan
        info.scan_info = scans.data();
        info.num_scans = int(scans.size());
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(size_t(size.width()), 120);
    JSAMPROW rows[1] = {row.data()};
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, rows, 1);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(outSize));
    std::free(out);
    return bytes;
}

// A GIF of one 1 x 1 frame on a logical screen of the given size: a few dozen bytes.
inline QByteArray gifWithScreen(QSize screen)
{
    QByteArray gif("GIF89a");
    const auto le16 = [&gif](int v) { gif.append(char(v & 0xff)).append(char(v >> 8)); };
    le16(screen.width());
    le16(screen.height());
    gif.append("\x80\0\0", 3); // a global palette of two colours
    gif.append("\0\0\0\xff\xff\xff", 6);
    gif.append(",\0\0\0\0\x01\0\x01\0\0", 10); // the frame: at 0,0, 1 x 1
    gif.append("\x02\x02\x44\x01\0;", 6);      // its one pixel, and the end
    return gif;
}
// A JPEG of one colour, any size, written row by row by the codec itself.
inline bool writeFlatJpeg(const QString &path, QSize size, bool progressive,
                          bool arithmetic = false)
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
    info.arith_code = arithmetic ? TRUE : FALSE;
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

// An 8-bit grey PNG of one shade, any size, deflated row by row. Interlaced, it is
// decoded whole, where a plain one is reduced row by row.
inline bool writeFlatPng(const QString &path, QSize size, uchar shade = 200,
                         bool interlaced = false)
{
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(quint32(size.width()), ihdr.data());
    qToBigEndian<quint32>(quint32(size.height()), ihdr.data() + 4);
    ihdr[8] = 8; // bit depth; colour type 0 (grey)
    ihdr[12] = interlaced ? 1 : 0;
    // The rows' widths in order: Adam7's seven passes over sub-pictures, or the picture.
    std::vector<int> widths;
    const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                              {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto &p : passes) {
        const int w = interlaced ? (size.width() - p[0] + p[2] - 1) / p[2] : size.width();
        const int h = interlaced ? (size.height() - p[1] + p[3] - 1) / p[3] : size.height();
        if (w > 0)
            widths.insert(widths.end(), size_t(std::max(h, 0)), w);
        if (!interlaced)
            break;
    }
    z_stream z{};
    if (deflateInit(&z, 9) != Z_OK)
        return false;
    QByteArray row(size.width() + 1, char(shade));
    row[0] = 0; // no filter
    QByteArray idat;
    std::vector<char> chunk(1 << 16);
    for (size_t y = 0; y <= widths.size(); ++y) {
        const bool last = y == widths.size();
        z.next_in = reinterpret_cast<Bytef *>(last ? nullptr : row.data());
        z.avail_in = last ? 0 : uInt(widths[y] + 1);
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

// An RGB PNG of `image` with the texts before the pixels, whose pixel data goes on
// after the last row with `trailing` more bytes (zeros, which deflate packs tightly).
inline QByteArray pngWithTrailingData(const QImage &image,
                                      const QList<std::pair<QByteArray, QByteArray>> &texts,
                                      qint64 trailing)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(quint32(rgb.width()), ihdr.data());
    qToBigEndian<quint32>(quint32(rgb.height()), ihdr.data() + 4);
    ihdr[8] = 8;
    ihdr[9] = 2; // RGB
    QByteArray raw;
    for (int y = 0; y < rgb.height(); ++y)
        raw.append('\0').append(reinterpret_cast<const char *>(rgb.constScanLine(y)),
                                rgb.width() * 3);
    z_stream z{};
    deflateInit(&z, 9);
    QByteArray idat;
    std::vector<char> chunk(1 << 16);
    const QByteArray zeros(1 << 20, '\0');
    const auto feed = [&](const QByteArray &data, int flush) {
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
        z.avail_in = uInt(data.size());
        do {
            z.next_out = reinterpret_cast<Bytef *>(chunk.data());
            z.avail_out = uInt(chunk.size());
            deflate(&z, flush);
            idat.append(chunk.data(), qsizetype(chunk.size() - z.avail_out));
        } while (z.avail_out == 0 || z.avail_in > 0);
    };
    feed(raw, Z_NO_FLUSH);
    for (qint64 left = trailing; left > 0; left -= zeros.size())
        feed(zeros.left(qsizetype(std::min<qint64>(left, zeros.size()))), Z_NO_FLUSH);
    feed({}, Z_FINISH);
    deflateEnd(&z);
    QByteArray png = QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr);
    for (const auto &[key, value] : texts)
        png += pngChunk("tEXt", key + '\0' + value);
    return png + pngChunk("IDAT", idat) + pngChunk("IEND", {});
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
