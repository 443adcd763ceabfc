// The one-pass decoder of plain small PNGs against the generic reader: the same picture
// and texts for every row filter, refusal of damage and of pixel data beyond the rows,
// and any other kind of PNG left to the generic reader.

#include "scan/plainpng.h"
#include "scan/pngwriter.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QTest>
#include <QtEndian>

#include <zlib.h>

using namespace pelmaris::scan;
using Status = PlainPng::Status;

namespace {

QByteArray chunk(const char *type, const QByteArray &data)
{
    const QByteArray body = QByteArray(type, 4) + data;
    QByteArray out(4, '\0');
    qToBigEndian(quint32(data.size()), out.data());
    out += body;
    QByteArray crc(4, '\0');
    qToBigEndian(
        quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()))),
        crc.data());
    return out + crc;
}

// A 7 x 5 picture of varied pixels, each row under `filter` (-1: the row's number mod
// 5, so one picture holds all five), with `texts` before the pixels and `extra` bytes
// inflated after the last row.
QByteArray makePng(int channels, int filter, const QList<std::pair<QByteArray, QByteArray>> &texts,
                   int extra = 0, quint32 width = 7, quint32 height = 5)
{
    const int stride = int(width) * channels;
    QByteArray raw;
    QByteArray previous(stride, '\0');
    for (quint32 y = 0; y < height; ++y) {
        QByteArray row(stride, '\0');
        for (int i = 0; i < stride; ++i)
            row[i] = char((i * 37 + int(y) * 91 + (i * int(y)) % 13) & 0xff);
        const int f = filter < 0 ? int(y) % 5 : filter;
        QByteArray filtered(stride, '\0');
        for (int i = 0; i < stride; ++i) {
            const int a = i >= channels ? uchar(row[i - channels]) : 0;
            const int b = uchar(previous[i]);
            const int c = i >= channels ? uchar(previous[i - channels]) : 0;
            int predictor = 0;
            if (f == 1)
                predictor = a;
            else if (f == 2)
                predictor = b;
            else if (f == 3)
                predictor = (a + b) / 2;
            else if (f == 4) {
                const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b),
                          pc = std::abs(p - c);
                predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }
            filtered[i] = char((uchar(row[i]) - predictor) & 0xff);
        }
        raw += char(f) + filtered;
        previous = row;
    }
    raw += QByteArray(extra, '\0');
    QByteArray ihdr(13, '\0');
    qToBigEndian(width, ihdr.data());
    qToBigEndian(height, ihdr.data() + 4);
    ihdr[8] = 8;
    ihdr[9] = char(channels == 4 ? 6 : 2);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += chunk("IHDR", ihdr);
    for (const auto &[key, value] : texts)
        png += chunk("tEXt", key + '\0' + value);
    png += chunk("IDAT", qCompress(raw).mid(4)); // a zlib stream without Qt's length
    return png + chunk("IEND", {});
}

QImage generic(const QByteArray &png)
{
    QByteArray bytes = png;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer, "png").read();
}

} // namespace

class TestPlainPng : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sameAsTheGenericReader_data();
    void sameAsTheGenericReader();
    void refusedOrLeftToTheGenericReader_data();
    void refusedOrLeftToTheGenericReader();
};

void TestPlainPng::sameAsTheGenericReader_data()
{
    QTest::addColumn<QByteArray>("png");
    const QList<std::pair<QByteArray, QByteArray>> texts = {{"Thumb::URI", "file:///a/b%20c.jpg"},
                                                            {"Thumb::MTime", "1700000000"}};
    for (int channels : {3, 4})
        for (int filter = -1; filter <= 4; ++filter)
            QTest::addRow("%s, filter %d", channels == 4 ? "RGBA" : "RGB", filter)
                << makePng(channels, filter, texts);
    // What the cache's own writer makes, its filter choice included.
    QImage picture(33, 17, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgba(x * 7, y * 13, (x * y) % 256, 40 + x * 6));
    for (const QImage &image : {picture, picture.convertToFormat(QImage::Format_RGB32)})
        QTest::addRow("written, %s", image.hasAlphaChannel() ? "alpha" : "opaque")
            << encodePng(image, {{"Thumb::URI", "file:///%E5%86%99.png"}});
}

void TestPlainPng::sameAsTheGenericReader()
{
    QFETCH(QByteArray, png);
    const PlainPng plain = readPlainPng(png, 64);
    QCOMPARE(plain.status, Status::Decoded);
    const QImage expected = generic(png);
    QVERIFY(!expected.isNull());
    QCOMPARE(plain.image.format(), expected.format());
    QCOMPARE(plain.image, expected);
    QCOMPARE(plain.image.textKeys(), expected.textKeys());
    for (const QString &key : expected.textKeys())
        QCOMPARE(plain.image.text(key), expected.text(key));
}

void TestPlainPng::refusedOrLeftToTheGenericReader_data()
{
    QTest::addColumn<QByteArray>("png");
    QTest::addColumn<int>("maxEdge");
    QTest::addColumn<QString>("uri");
    QTest::addColumn<Status>("status");
    const QByteArray plain = makePng(4, -1, {{"Thumb::URI", "file:///a.jpg"}});
    QTest::newRow("plain") << plain << 7 << "file:///a.jpg" << Status::Decoded;
    QTest::newRow("wider than wanted") << plain << 6 << QString() << Status::Refused;
    QTest::newRow("a note for another file") << plain << 64 << "file:///b.jpg" << Status::Refused;
    QTest::newRow("pixel data beyond its rows")
        << makePng(3, 0, {}, 1 << 20) << 64 << QString() << Status::Refused;
    QTest::newRow("unknown filter") << makePng(3, 7, {}) << 64 << QString() << Status::Refused;
    QTest::newRow("cut short") << plain.left(plain.size() - 20) << 64 << QString()
                               << Status::NotPlain;
    QByteArray badCrc = plain;
    badCrc[badCrc.size() - 20] = char(badCrc[badCrc.size() - 20] ^ 1);
    QTest::newRow("damaged checksum") << badCrc << 64 << QString() << Status::NotPlain;
    QImage indexed(4, 4, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgb(200, 100, 0)});
    indexed.fill(1);
    QByteArray palette;
    QBuffer buffer(&palette);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(indexed);
    QTest::newRow("palette") << palette << 64 << QString() << Status::NotPlain;
    QTest::newRow("no PNG") << QByteArray(100, 'x') << 64 << QString() << Status::NotPlain;
}

void TestPlainPng::refusedOrLeftToTheGenericReader()
{
    QFETCH(QByteArray, png);
    QFETCH(int, maxEdge);
    QFETCH(QString, uri);
    QTEST(readPlainPng(png, maxEdge, uri).status, "status");
}

QTEST_MAIN(TestPlainPng)
#include "tst_plainpng.moc"
