#pragma once

// Small files made at test time for the scan tests.

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QtEndian>

#include <sys/stat.h>
#include <zlib.h>

namespace fixtures {

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline bool writeImage(const QString &path, QSize size, const char *format, QColor color = Qt::red)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image.save(path, format);
}

inline QByteArray encode(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A JPEG of the given stored size carrying an EXIF orientation tag.
inline QByteArray jpegWithOrientation(QSize stored, quint16 orientation)
{
    QImage image(stored, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QByteArray jpeg = encode(image, "jpeg");
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    auto le16 = [&](quint16 v) { tiff.append(char(v & 0xff)).append(char(v >> 8)); };
    auto le32 = [&](quint32 v) {
        le16(quint16(v & 0xffff));
        le16(quint16(v >> 16));
    };
    le16(1);      // one entry
    le16(0x0112); // Orientation
    le16(3);      // SHORT
    le32(1);
    le16(orientation);
    le16(0);
    le32(0); // no next IFD
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xff\xe1", 2);
    const quint16 length = quint16(payload.size() + 2);
    app1.append(char(length >> 8)).append(char(length & 0xff)).append(payload);
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

// A PNG header claiming a huge picture, with a tiny body: the decompression bomb's
// shape without its weight.
inline QByteArray pngClaiming(quint32 width, quint32 height)
{
    auto chunk = [](const char *type, const QByteArray &data) {
        QByteArray body = QByteArray(type, 4) + data;
        QByteArray out;
        quint32 n = qToBigEndian(quint32(data.size()));
        out.append(reinterpret_cast<const char *>(&n), 4);
        out.append(body);
        quint32 crc = qToBigEndian(quint32(
            crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()))));
        out.append(reinterpret_cast<const char *>(&crc), 4);
        return out;
    };
    QByteArray ihdr;
    quint32 w = qToBigEndian(width), h = qToBigEndian(height);
    ihdr.append(reinterpret_cast<const char *>(&w), 4)
        .append(reinterpret_cast<const char *>(&h), 4);
    ihdr.append(char(8)).append(char(6)).append(char(0)).append(char(0)).append(char(0));
    QByteArray idat = qCompress(QByteArray(4096, '\0')).mid(4); // zlib stream, mostly empty
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) + chunk("IDAT", idat) +
           chunk("IEND", QByteArray());
}

inline bool makeFifo(const QString &path)
{
    return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

} // namespace fixtures
