#include "platform/filesystem.h"
#include "scan/decodebudget.h"
#include "scan/imagelistbuilder.h"
#include "scan/jpegreader.h"
#include "scan/listtexts.h"
#include "scan/thumbnail.h"

#include "fixtures.h"
#include "picturefixtures.h"

#include <QElapsedTimer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmaris::scan;

namespace {

// Reading past `trip` bytes sets the cancel flag, as a cancel button pressed while
// the decoder is halfway through the file.
class TrippingBuffer : public QBuffer {
public:
    TrippingBuffer(QByteArray *data, qint64 trip, std::atomic<bool> *flag)
        : QBuffer(data), m_trip(trip), m_flag(flag)
    {
    }
    qint64 consumed() const { return m_read; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = QBuffer::readData(data, maxSize);
        m_read += std::max<qint64>(n, 0);
        if (m_read >= m_trip)
            m_flag->store(true);
        return n;
    }

private:
    qint64 m_trip;
    std::atomic<bool> *m_flag;
    qint64 m_read = 0;
};

QImage noise(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = 0xff000000u | random.generate();
    }
    return image;
}

QByteArray encodeJpeg(const QImage &image, bool progressive)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

} // namespace

class TestDecodeLimits : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    qint64 m_reservedKb = 0; // what the last probe's decode reserved
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
    void initTestCase()
    {
        using namespace picturefixtures;
        QVERIFY(m_dir.isValid());
        const auto write = [this](const char *name, const QByteArray &bytes) {
            return !bytes.isEmpty() && fixtures::writeFile(m_dir.filePath(name), bytes);
        };
        QVERIFY(write("progressive-65500.jpg", jpegClaiming(QSize(65500, 65500), true)));
        QVERIFY(write("progressive-12000.jpg", jpegClaiming(QSize(12000, 12000), true)));
        QVERIFY(write("baseline-65500.jpg", jpegClaiming(QSize(65500, 65500), false)));
        QVERIFY(write("png-20000.png", fixtures::pngClaiming(20000, 20000)));
        QVERIFY(write("png-9000.png", fixtures::pngClaiming(9000, 9000)));
        QVERIFY(fixtures::writeImage(m_dir.filePath("small.jpg"), QSize(64, 48), "jpeg"));
        // Arithmetic coding spends next to nothing on a block: hundreds of scans over a
        // giant picture fit in a few kilobytes.
        QVERIFY(write("arithmetic-scans.jpg",
                      jpegDeclaring(greyJpeg(QSize(64, 64), true, oneCoefficientScans(6)),
                                    QSize(16000, 16000))));
        QVERIFY(write("arithmetic-single-scan.jpg",
                      jpegDeclaring(greyJpeg(QSize(64, 64), true, {}), QSize(16383, 16383))));
        QVERIFY(write("gif-screen-16383.gif", gifWithScreen(QSize(16383, 16383))));
    }

    // Runs the decode in a process of its own: whether the file was listed, and how much
    // the process grew while decoding it.
    std::pair<bool, qint64> probe(const QString &name)
    {
        QProcess child;
        child.start(QStringLiteral(DECODE_PROBE),
                    {m_dir.filePath("small.jpg"), m_dir.filePath(name)});
        if (!child.waitForFinished(120000) || child.exitCode() != 0)
            return {false, -1};
        const QList<QByteArray> words = child.readAllStandardOutput().simplified().split(' ');
        if (words.size() != 6)
            return {false, -1};
        m_reservedKb = words[5].toLongLong();
        return {words[1] == "1", words[3].toLongLong()};
    }

    // Headers that promise far more than their bodies hold are judged before any decode.
    void bombsAreRefusedAtOnce_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("progressive JPEG, 65500 square, 200 bytes") << "progressive-65500.jpg";
        QTest::newRow("progressive JPEG, 12000 square, 200 bytes") << "progressive-12000.jpg";
        QTest::newRow("baseline JPEG, 65500 square, 200 bytes") << "baseline-65500.jpg";
        QTest::newRow("PNG, 20000 square") << "png-20000.png";
        QTest::newRow("PNG, 9000 square, body too short") << "png-9000.png";
        QTest::newRow("arithmetic JPEG, 16000 square, 442 scans") << "arithmetic-scans.jpg";
        QTest::newRow("arithmetic JPEG, 16383 square, one scan") << "arithmetic-single-scan.jpg";
        QTest::newRow("GIF, 1 x 1 frame on a 16383 square screen") << "gif-screen-16383.gif";
    }

    void bombsAreRefusedAtOnce()
    {
        QFETCH(QString, name);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!decode(name));
        QVERIFY2(clock.elapsed() < 2000, "a refusal must not decode");
    }

    // The decoder's own buffers count too: a progressive JPEG keeps coefficients for the
    // whole picture, which the generic reader's allocation limit never saw.
    void bombsStayWithinMemory_data() { bombsAreRefusedAtOnce_data(); }

    void bombsStayWithinMemory()
    {
        QFETCH(QString, name);
        const auto [listed, grewKb] = probe(name);
        QVERIFY(grewKb >= 0);
        QVERIFY(!listed);
        QVERIFY2(grewKb < 32 * 1024, qPrintable(QStringLiteral("grew by %1 kB").arg(grewKb)));
    }

    // PNG and WebP reduced while they are read hold no more than they reserve, and a PNG
    // photo reserves a fraction of its whole picture (46 MiB in 32 bits).
    void reducedDecodesHoldWhatTheyReserve_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("quality");
        QTest::addColumn<qint64>("mostKb");
        QTest::newRow("PNG photo") << "photo.png" << -1 << qint64(12 * 1024);
        QTest::newRow("lossy WebP") << "photo.webp" << 80 << qint64(24 * 1024);
        QTest::newRow("lossless WebP") << "lossless.webp" << 100 << qint64(80 * 1024);
    }

    void reducedDecodesHoldWhatTheyReserve()
    {
        QFETCH(QString, name);
        QFETCH(int, quality);
        QFETCH(qint64, mostKb);
        // Gradients under a pattern that deflate and the encoders cannot make small.
        QImage picture(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                line[x] = qRgb((x * 7 + y * 13) & 255, y * 255 / 3000, (x ^ y) & 255);
        }
        QImageWriter writer(m_dir.filePath(name));
        writer.setQuality(quality);
        QVERIFY(writer.write(picture));
        const auto [listed, grewKb] = probe(name);
        QVERIFY(listed);
#ifdef __SANITIZE_ADDRESS__
        // The address sanitizer keeps an eighth more as the shadow of what is allocated.
        const qint64 heldKb = m_reservedKb + m_reservedKb / 8;
#else
        const qint64 heldKb = m_reservedKb;
#endif
        QVERIFY2(
            grewKb <= heldKb && m_reservedKb <= mostKb,
            qPrintable(
                QStringLiteral("grew by %1 kB, reserved %2 kB").arg(grewKb).arg(m_reservedKb)));
    }

    // A GIF decodes onto its whole logical screen, however small its frames: the budget
    // is charged with the screen.
    void gifIsChargedWithItsScreen()
    {
        QVERIFY(fixtures::writeFile(m_dir.filePath("screen-4000.gif"),
                                    picturefixtures::gifWithScreen(QSize(4000, 4000))));
        DecodeBudget small(32 * 1024 * 1024);
        QVERIFY(!decode("screen-4000.gif", &small));
        DecodeBudget ample(256 * 1024 * 1024);
        const auto row = decode("screen-4000.gif", &ample);
        QVERIFY(row);
        QCOMPARE(row->item.subItems[ListItem::Width], QStringLiteral("4,000"));
    }

    // An SVG is rendered no larger than the list wants, whatever size it declares.
    void svgIsRenderedReduced_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("width");
        QTest::newRow("a million square") << "width='1000000' height='1000000'"
                                          << "1,000,000";
        QTest::newRow("a million by one") << "width='1000000' height='1'"
                                          << "1,000,000";
    }

    void svgIsRenderedReduced()
    {
        QFETCH(QString, size);
        QFETCH(QString, width);
        const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' " + size.toLatin1() +
                               " viewBox='0 0 10 10'><rect width='10' height='10' fill='blue'/>"
                               "</svg>";
        QVERIFY(fixtures::writeFile(m_dir.filePath("huge.svg"), svg));
        const auto row = decode("huge.svg");
        QVERIFY(row);
        QCOMPARE(row->item.subItems[ListItem::Width], width);
        const auto [listed, grewKb] = probe("huge.svg");
        QVERIFY(listed);
        QVERIFY2(grewKb < 32 * 1024, qPrintable(QStringLiteral("grew by %1 kB").arg(grewKb)));
    }

    // The renderer would read whatever a document points at (a FIFO blocks it for ever)
    // and inflate a compressed one without end: such documents are refused at once.
    void hostileSvgsAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        const QByteArray open("<svg xmlns='http://www.w3.org/2000/svg' "
                              "xmlns:xlink='http://www.w3.org/1999/xlink' width='40' height='40'>");
        const QString fifo = m_dir.filePath("pipe.png");
        QTest::newRow("picture from a FIFO")
            << "linked.svg"
            << open + "<image width='40' height='40' xlink:href='" + fifo.toUtf8() + "'/></svg>";
        QTest::newRow("style sheet from a FIFO")
            << "styled.svg"
            << "<?xml-stylesheet href='" + fifo.toUtf8() + "'?>" + open + "</svg>";
        QByteArray inflated = open + QByteArray(20 * 1024 * 1024, ' ') + "</svg>";
        QByteArray packed(int(compressBound(uLong(inflated.size()))) + 18, '\0');
        z_stream z{};
        deflateInit2(&z, 1, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        z.next_in = reinterpret_cast<Bytef *>(inflated.data());
        z.avail_in = uInt(inflated.size());
        z.next_out = reinterpret_cast<Bytef *>(packed.data());
        z.avail_out = uInt(packed.size());
        deflate(&z, Z_FINISH);
        packed.resize(qsizetype(z.total_out));
        deflateEnd(&z);
        QTest::newRow("compressed, 20 MB inflated") << "large.svgz" << packed;
    }

    void hostileSvgsAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        const QString fifo = m_dir.filePath("pipe.png");
        QVERIFY(QFileInfo::exists(fifo) || fixtures::makeFifo(fifo));
        QVERIFY(fixtures::writeFile(m_dir.filePath(name), content));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!decode(name));
        QVERIFY(clock.elapsed() < 5000);
    }

    // The work of a decode is bounded by the scans' walks over the picture, not by
    // their number alone: a genuine picture in hundreds of scans is refused, while an
    // encoder's own progression decodes.
    void scanWorkIsBounded_data()
    {
        QTest::addColumn<bool>("arithmetic");
        QTest::addColumn<int>("refinements");
        QTest::addColumn<bool>("decodes");
        QTest::newRow("Huffman, 442 scans") << false << 6 << false;
        QTest::newRow("arithmetic, 442 scans") << true << 6 << false;
        QTest::newRow("arithmetic, 127 scans") << true << 1 << false;
        QTest::newRow("arithmetic, DC scan alone") << true << -1 << true;
    }

    void scanWorkIsBounded()
    {
        QFETCH(bool, arithmetic);
        QFETCH(int, refinements);
        QFETCH(bool, decodes);
        QByteArray bytes = picturefixtures::greyJpeg(
            QSize(512, 512), arithmetic, picturefixtures::oneCoefficientScans(refinements));
        QVERIFY(!bytes.isEmpty());
        QBuffer device(&bytes);
        QVERIFY(device.open(QIODevice::ReadOnly));
        JpegReader reader(&device);
        QVERIFY(reader.readHeader());
        QVERIFY(!reader.isTooShortFor(bytes.size()));
        QCOMPARE(!reader.read(QSize(), reader.libraryBytes()).isNull(), decodes);

        QVERIFY(picturefixtures::writeFlatJpeg(m_dir.filePath("ordinary.jpg"), QSize(512, 512),
                                               true, arithmetic));
        QVERIFY(decode("ordinary.jpg"));
    }

    // Every picture the decoder can read is a row: a scan larger than the generic
    // reader's old ceiling of 64 megapixels, and a genuine large progressive photo whose
    // coefficients take more than a cut or forged file may ask for.
    void largePicturesAreListed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("8200 x 8200 PNG scan") << "scan.png" << QSize(8200, 8200);
        QTest::newRow("5000 x 4800 progressive JPEG") << "photo.jpg" << QSize(5000, 4800);
    }

    void largePicturesAreListed()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QString path = m_dir.filePath(name);
        QVERIFY(name.endsWith(".png") ? picturefixtures::writeFlatPng(path, size)
                                      : picturefixtures::writeFlatJpeg(path, size, true));
        const auto row = decode(name);
        QVERIFY(row);
        QCOMPARE(row->item.subItems[ListItem::Width], formatCount(size.width(), QLocale::c()));
        QCOMPARE(row->item.subItems[ListItem::Height], formatCount(size.height(), QLocale::c()));
        QVERIFY(qGray(thumbnailImage(row->thumbnail).pixel(48, 48)) < 240); // drawn, not blank
        QFile::remove(path);
    }

    // A header that promises more than the budget can ever hold is refused; the same
    // picture passes a budget that can hold it.
    void budgetDecidesWhatFits()
    {
        QVERIFY(picturefixtures::writeFlatPng(m_dir.filePath("grey.png"), QSize(3000, 2000)));
        DecodeBudget small(8 * 1024 * 1024);
        QVERIFY(!decode("grey.png", &small));
        DecodeBudget ample(256 * 1024 * 1024);
        QVERIFY(decode("grey.png", &ample));
        QCOMPARE(ample.inUse(), qint64(0));
    }

    // Pictures that do not fit beside each other are decoded one after the other by
    // the two workers, and all of them are listed.
    void picturesTooLargeToShareTakeTurns()
    {
        QStringList paths;
        for (int i = 0; i < 4; ++i) {
            paths << m_dir.filePath(QStringLiteral("turn%1.png").arg(i));
            QVERIFY(picturefixtures::writeFlatPng(paths.last(), QSize(2000, 2000), 200, true));
        }
        // One such decode needs about 20 MiB: two never fit at once.
        auto budget = std::make_shared<DecodeBudget>(30 * 1024 * 1024);
        ImageListBuilder builder(*m_fs, 2, budget);
        BuildSettings settings;
        settings.useThumbnailCache = false;
        builder.start(paths, settings);
        builder.waitForDone();
        std::vector<DecodedRow> rows;
        builder.take(rows);
        QCOMPARE(int(rows.size()), 4);
        QVERIFY(budget->peak() > 15 * 1024 * 1024);
        QVERIFY(budget->peak() <= budget->total());
    }

    // A cancel halfway through the file ends the decode without reading the rest.
    void cancelStopsAJpegMidway_data()
    {
        QTest::addColumn<bool>("progressive");
        QTest::newRow("baseline") << false;
        QTest::newRow("progressive") << true;
    }

    void cancelStopsAJpegMidway()
    {
        QFETCH(bool, progressive);
        QByteArray bytes = encodeJpeg(noise(QSize(1200, 900)), progressive);
        QVERIFY(bytes.size() > 512 * 1024);
        std::atomic<bool> cancel{false};
        TrippingBuffer device(&bytes, 64 * 1024 + 1, &cancel);
        QVERIFY(device.open(QIODevice::ReadOnly));
        JpegReader reader(&device, &cancel);
        QVERIFY(reader.readHeader());
        QVERIFY(reader.read(QSize(), reader.libraryBytes()).isNull());
        QVERIFY(device.consumed() < bytes.size() / 2);
    }

    // The library's buffers are held to their limit even when the estimate is wrong.
    void libraryLimitIsEnforced()
    {
        QByteArray bytes = encodeJpeg(noise(QSize(1200, 900)), true);
        QBuffer device(&bytes);
        QVERIFY(device.open(QIODevice::ReadOnly));
        JpegReader reader(&device);
        QVERIFY(reader.readHeader());
        QVERIFY(reader.isProgressive());
        QVERIFY(reader.read(QSize(), 1024 * 1024).isNull());
        QVERIFY(reader.ranOutOfMemory());
    }

    // Every EXIF orientation shows the picture as the generic reader shows it upright.
    void orientationsMatchTheGenericReader_data()
    {
        QTest::addColumn<int>("orientation");
        for (int o = 1; o <= 8; ++o)
            QTest::addRow("orientation %d", o) << o;
    }

    void orientationsMatchTheGenericReader()
    {
        QFETCH(int, orientation);
        // Four quadrants of different colours, stored wide.
        QImage stored(400, 200, QImage::Format_RGB32);
        const QColor colours[4] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
        for (int q = 0; q < 4; ++q)
            QPainter(&stored).fillRect(QRect((q % 2) * 200, (q / 2) * 100, 200, 100), colours[q]);
        const QString name = QStringLiteral("turn%1.jpg").arg(orientation);
        QVERIFY(fixtures::writeFile(m_dir.filePath(name),
                                    picturefixtures::jpegWithOrientation(stored, orientation)));
        QImageReader reference(m_dir.filePath(name));
        reference.setAutoTransform(true);
        const QImage upright = reference.read();
        QVERIFY(!upright.isNull());

        const auto row = decode(name);
        QVERIFY(row);
        QCOMPARE(row->item.subItems[ListItem::Width], QString::number(upright.width()));
        QCOMPARE(row->item.subItems[ListItem::Height], QString::number(upright.height()));
        const QImage cell = thumbnailImage(row->thumbnail);
        const QRect drawn = thumbnailRect(upright.size(), cell.size());
        for (double fx : {0.25, 0.75}) {
            for (double fy : {0.25, 0.75}) {
                const QColor want =
                    upright.pixelColor(int(fx * upright.width()), int(fy * upright.height()));
                const QColor got = cell.pixelColor(drawn.left() + int(fx * drawn.width()),
                                                   drawn.top() + int(fy * drawn.height()));
                const int distance = std::abs(want.red() - got.red()) +
                                     std::abs(want.green() - got.green()) +
                                     std::abs(want.blue() - got.blue());
                QVERIFY2(distance < 90, qPrintable(want.name() + " vs " + got.name()));
            }
        }
    }

    void exifParsing_data()
    {
        QTest::addColumn<QByteArray>("app1");
        QTest::addColumn<int>("orientation");
        const QByteArray head("Exif\0\0", 6);
        QTest::newRow("little-endian")
            << head + QByteArray("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0", 22)
            << 6;
        QTest::newRow("big-endian")
            << head + QByteArray("MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x08\0\0", 22)
            << 8;
        QTest::newRow("directory past the end")
            << head + QByteArray("II*\0\xff\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0", 22)
            << 0;
        QTest::newRow("entries past the end")
            << head + QByteArray("II*\0\x08\0\0\0\x09\0\x12\x01\x03\0", 14) << 0;
        QTest::newRow("value out of range")
            << head + QByteArray("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x09\0\0\0", 22)
            << 0;
        QTest::newRow("wrong type")
            << head + QByteArray("II*\0\x08\0\0\0\x01\0\x12\x01\x04\0\x01\0\0\0\x06\0\0\0", 22)
            << 0;
        QTest::newRow("no TIFF header") << head + QByteArray("XX*\0\x08\0\0\0", 8) << 0;
        QTest::newRow("XMP, not EXIF") << QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) << 0;
    }

    void exifParsing()
    {
        QFETCH(QByteArray, app1);
        QFETCH(int, orientation);
        QCOMPARE(exifOrientation(app1), orientation);
    }
};

QTEST_MAIN(TestDecodeLimits)
#include "tst_decodelimits.moc"
