// PNG and WebP decoded by their own libraries, reduced while they are read: the
// thumbnails look as the generic reader's did, and damaged or hostile files fare as
// they did there.
#include "platform/filesystem.h"
#include "scan/decodebudget.h"
#include "scan/picturedecoder.h"
#include "scan/thumbnail.h"
#include "scan/webpreader.h"

#include "fixtures.h"

#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>

using namespace pelmaris::scan;

namespace {

// Gradients with hard-edged shapes over them, and alpha that runs from clear to opaque
// across the picture: a wrong channel order, premultiplication or block shows.
QImage testPicture(QSize size, QImage::Format format)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgba(255 * x / size.width(), 255 * y / size.height(), 90,
                            40 + 215 * x / size.width());
    }
    QPainter painter(&image);
    painter.fillRect(QRect(QPoint(size.width() / 5, size.height() / 4), size / 3), Qt::blue);
    painter.setBrush(Qt::yellow);
    painter.drawEllipse(QRect(QPoint(size.width() / 2, size.height() / 2), size / 3));
    painter.end();
    if (format == QImage::Format_Indexed8)
        return image.convertToFormat(format, Qt::ThresholdDither);
    return image.convertToFormat(format);
}

QByteArray riffChunk(const char *type, const QByteArray &data)
{
    QByteArray out = QByteArray(type, 4) + QByteArray(4, '\0');
    qToLittleEndian<quint32>(quint32(data.size()), out.data() + 4);
    out += data;
    if (data.size() % 2)
        out += '\0';
    return out;
}

QByteArray riff(const QByteArray &chunks)
{
    QByteArray out = QByteArray("RIFF") + QByteArray(4, '\0') + "WEBP" + chunks;
    qToLittleEndian<quint32>(quint32(out.size() - 8), out.data() + 4);
    return out;
}

QByteArray le24(int value)
{
    QByteArray out(3, '\0');
    out[0] = char(value & 0xff);
    out[1] = char((value >> 8) & 0xff);
    out[2] = char((value >> 16) & 0xff);
    return out;
}

// An animation of one-colour frames, each the VP8L chunk of a lossless still.
QByteArray animatedWebp(QSize size, const QList<QColor> &frames)
{
    QByteArray chunks = riffChunk("VP8X", QByteArray(1, '\x02') + QByteArray(3, '\0') +
                                              le24(size.width() - 1) + le24(size.height() - 1));
    chunks += riffChunk("ANIM", QByteArray(4, '\xff') + QByteArray(2, '\0'));
    for (const QColor &colour : frames) {
        QImage frame(size, QImage::Format_RGB32);
        frame.fill(colour);
        QByteArray still;
        QBuffer buffer(&still);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "webp");
        writer.setQuality(100); // lossless
        writer.write(frame);
        chunks +=
            riffChunk("ANMF", le24(0) + le24(0) + le24(size.width() - 1) + le24(size.height() - 1) +
                                  le24(100) + QByteArray(1, '\0') + still.mid(12));
    }
    return riff(chunks);
}

// A lossless header that declares the largest canvas, and nothing after it.
QByteArray webpClaimingHugeCanvas()
{
    QByteArray vp8l(5, '\0');
    vp8l[0] = '\x2f';
    const quint32 bits = quint32(16383 - 1) | (quint32(16383 - 1) << 14);
    qToLittleEndian<quint32>(bits, vp8l.data() + 1);
    return riff(riffChunk("VP8L", vp8l + QByteArray(64, '\0')));
}

// The mean difference over all channels, and the share of pixels with a channel off by
// more than 16: reducing in two steps moves a hard edge by a fraction of a pixel, so
// single pixels along edges differ, but a wrong channel, alpha or block shows in both.
std::pair<double, double> difference(const QImage &a, const QImage &b)
{
    double total = 0;
    int far = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            int most = 0;
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
                most = std::max(most, std::abs(d));
                total += std::abs(d);
            }
            far += most > 16;
        }
    }
    const double pixels = double(a.width()) * a.height();
    return {total / (3 * pixels), far / pixels};
}

} // namespace

class TestCodecReaders : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const std::unique_ptr<pelmaris::platform::FileSystem> m_fs =
        pelmaris::platform::makeSystemFileSystem();

    std::optional<DecodedRow> decode(const QString &name, DecodeBudget *budget = nullptr)
    {
        ThumbnailRequest request;
        request.path = m_dir.filePath(name);
        request.locale = QLocale::c();
        request.budget = budget;
        return decodeForList(*m_fs, request);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Reduced while read, the cell looks as the whole picture scaled by the generic
    // reader did, at the list's cell and the cache's size alike.
    void looksAsTheGenericReaderShowed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("quality");
        const int argb = QImage::Format_ARGB32;
        QTest::newRow("png rgb") << "rgb.png" << int(QImage::Format_RGB32) << -1;
        QTest::newRow("png rgba") << "rgba.png" << argb << -1;
        QTest::newRow("png palette") << "palette.png" << int(QImage::Format_Indexed8) << -1;
        QTest::newRow("png grey") << "grey.png" << int(QImage::Format_Grayscale8) << -1;
        QTest::newRow("png grey 16") << "grey16.png" << int(QImage::Format_Grayscale16) << -1;
        QTest::newRow("png rgba 16") << "rgba16.png" << int(QImage::Format_RGBA64) << -1;
        QTest::newRow("png one bit") << "mono.png" << int(QImage::Format_Mono) << -1;
        QTest::newRow("webp lossy") << "lossy.webp" << int(QImage::Format_RGB32) << 80;
        QTest::newRow("webp lossy alpha") << "alpha.webp" << argb << 80;
        QTest::newRow("webp lossless") << "lossless.webp" << argb << 100;
    }

    void looksAsTheGenericReaderShowed()
    {
        QFETCH(QString, name);
        QFETCH(int, format);
        QFETCH(int, quality);
        const QSize size(1500, 1000);
        const QString path = m_dir.filePath(name);
        QImageWriter writer(path);
        writer.setQuality(quality);
        QVERIFY2(writer.write(testPicture(size, QImage::Format(format))),
                 qPrintable(writer.errorString()));
        // The generic reader's picture in 8 bits: scaled at 16 bits with alpha, it came
        // out paler than the same picture at 8 bits, which is the look kept.
        QImage whole = QImageReader(path).read();
        QVERIFY(!whole.isNull());
        whole = whole.convertToFormat(whole.hasAlphaChannel() ? QImage::Format_ARGB32
                                                              : QImage::Format_RGB32);

        for (const QSize cell : {QSize(96, 96), QSize(128, 128)}) {
            PictureDecoder picture(*m_fs, path);
            QVERIFY(picture.open());
            QCOMPARE(picture.shownSize(), size);
            DecodeBudget budget(DecodeBudget::kDefaultBytes);
            const QSize minimum = thumbnailRect(size, cell).size();
            PictureDecoder::Decoded decoded = picture.decode(minimum, budget);
            QCOMPARE(decoded.outcome, PictureDecoder::Outcome::Decoded);
            if (WebpReader::isAvailable() || name.endsWith(".png"))
                QVERIFY(decoded.image.width() < size.width() / 2); // reduced while read
            const QImage ours = makeCell(decoded.image, size, cell, Qt::white);
            const QImage theirs = makeCell(whole, size, cell, Qt::white);
            const auto [mean, far] = difference(ours, theirs);
            QVERIFY2(
                mean < 1.5 && far < 0.04,
                qPrintable(
                    QStringLiteral("%1 px: mean %2, far %3").arg(cell.width()).arg(mean).arg(far)));
        }
    }

    // Damaged and hostile files: cut short, a canvas no budget holds, an animation.
    void webpDamagedOrHostile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<QRgb>("centre");
        QTest::newRow("cut short") << "cut.webp" << false << QRgb(0);
        QTest::newRow("16383 square canvas") << "huge.webp" << false << QRgb(0);
        QTest::newRow("animation shows its first frame") << "anim.webp" << true << qRgb(255, 0, 0);
    }

    void webpDamagedOrHostile()
    {
        QFETCH(QString, name);
        QFETCH(bool, listed);
        QFETCH(QRgb, centre);
        const QByteArray lossy =
            fixtures::encode(testPicture({800, 600}, QImage::Format_RGB32), "webp");
        QVERIFY(fixtures::writeFile(m_dir.filePath("cut.webp"), lossy.left(lossy.size() / 2)));
        QVERIFY(fixtures::writeFile(m_dir.filePath("huge.webp"), webpClaimingHugeCanvas()));
        QVERIFY(fixtures::writeFile(m_dir.filePath("anim.webp"),
                                    animatedWebp({64, 48}, {Qt::red, Qt::blue})));
        DecodeBudget budget(DecodeBudget::kDefaultBytes);
        const auto row = decode(name, &budget);
        QCOMPARE(bool(row), listed);
        QCOMPARE(budget.inUse(), qint64(0));
        if (row) {
            const QRgb pixel = thumbnailImage(row->thumbnail).pixel(48, 48);
            QVERIFY(std::abs(qRed(pixel) - qRed(centre)) < 24);
            QVERIFY(std::abs(qBlue(pixel) - qBlue(centre)) < 24);
        }
    }

    // A PNG cut short in its pixel data, or with its pixel data damaged, is no row, as
    // with the generic reader; the same file whole is one.
    void pngCutShortOrDamaged_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("listed");
        QTest::newRow("whole") << "whole.png" << true;
        QTest::newRow("cut in its pixel data") << "cut.png" << false;
        QTest::newRow("pixel data overwritten") << "garbled.png" << false;
    }

    void pngCutShortOrDamaged()
    {
        QFETCH(QString, name);
        QFETCH(bool, listed);
        const QByteArray png =
            fixtures::encode(testPicture({600, 400}, QImage::Format_RGB32), "png");
        QVERIFY(fixtures::writeFile(m_dir.filePath("whole.png"), png));
        QVERIFY(fixtures::writeFile(m_dir.filePath("cut.png"), png.left(png.size() * 2 / 3)));
        QByteArray garbled = png;
        for (qsizetype i = png.size() / 2; i < png.size() / 2 + 64; ++i)
            garbled[i] = char(i * 37);
        QVERIFY(fixtures::writeFile(m_dir.filePath("garbled.png"), garbled));
        QCOMPARE(bool(decode(name)), listed);
    }
};

QTEST_MAIN(TestCodecReaders)
#include "tst_codecreaders.moc"
