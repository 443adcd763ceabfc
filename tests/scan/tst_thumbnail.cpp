#include "platform/filesystem.h"
#include "scan/thumbnail.h"

#include "fixtures.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmaris::scan;

class TestThumbnail : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const std::unique_ptr<pelmaris::platform::FileSystem> m_fs =
        pelmaris::platform::makeSystemFileSystem();

    std::optional<DecodedRow> decode(const QString &name)
    {
        ThumbnailRequest request;
        request.path = m_dir.filePath(name);
        request.locale = QLocale::c();
        return decodeForList(*m_fs, request);
    }

private Q_SLOTS:
    void letterBox_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("tall, odd margin") << QSize(300, 1000) << QRect(33, 0, 30, 96);
        QTest::newRow("wide photo") << QSize(1920, 1080) << QRect(0, 21, 96, 54);
        QTest::newRow("square counts as wide") << QSize(500, 500) << QRect(0, 0, 96, 96);
        QTest::newRow("hairline draws nothing") << QSize(1, 1000) << QRect(48, 0, 0, 96);
        QTest::newRow("flat line draws nothing") << QSize(1000, 1) << QRect(0, 48, 96, 0);
        QTest::newRow("portrait photo") << QSize(3000, 4000) << QRect(12, 0, 72, 96);
        QTest::newRow("no picture") << QSize(0, 0) << QRect();
    }

    void letterBox()
    {
        QFETCH(QSize, picture);
        QFETCH(QRect, drawn);
        QCOMPARE(thumbnailRect(picture, QSize(96, 96)), drawn);
    }

    void thumbnailIsLetterBoxedOnWhite()
    {
        QVERIFY(
            fixtures::writeImage(m_dir.filePath("tall.png"), QSize(300, 1000), "png", Qt::black));
        const auto row = decode("tall.png");
        QVERIFY(row);
        const QImage cell = thumbnailImage(row->thumbnail);
        QCOMPARE(cell.size(), QSize(96, 96));
        // JPEG softens the edges; the bars and the middle are unambiguous.
        QVERIFY(qGray(cell.pixel(10, 48)) > 240);
        QVERIFY(qGray(cell.pixel(85, 48)) > 240);
        QVERIFY(qGray(cell.pixel(48, 48)) < 15);
        QVERIFY(row->thumbnail.size() < 8 * 1024);
    }

    // A 1-bit picture with a palette keeps its colours when shrunk.
    void twoColourPictureKeepsItsColours()
    {
        QImage image(400, 300, QImage::Format_Mono);
        image.setColorTable({qRgb(0, 255, 0), qRgb(255, 255, 255)});
        image.fill(0);
        QVERIFY(image.save(m_dir.filePath("two-colour.png"), "png"));
        const auto row = decode("two-colour.png");
        QVERIFY(row);
        const QColor middle = thumbnailImage(row->thumbnail).pixelColor(48, 48);
        QVERIFY2(middle.green() > 230 && middle.red() < 25 && middle.blue() < 25,
                 qPrintable(middle.name()));
    }

    void transparentPictureSitsOnTheBackground()
    {
        QVERIFY(fixtures::writeImage(m_dir.filePath("clear.png"), QSize(50, 50), "png",
                                     Qt::transparent));
        const auto row = decode("clear.png");
        QVERIFY(row);
        QVERIFY(qGray(thumbnailImage(row->thumbnail).pixel(48, 48)) > 240);
    }

    // The format comes from the content; the name says nothing.
    void formatFromContent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("writeAs");
        QTest::addColumn<QString>("format");
        QTest::newRow("jpeg") << "p.jpg" << QByteArray("jpeg") << "jpeg";
        QTest::newRow("png named .jpg") << "png.jpg" << QByteArray("png") << "png";
        QTest::newRow("bmp without suffix") << "bitmap" << QByteArray("bmp") << "bmp";
        QTest::newRow("tiff") << "p.tif" << QByteArray("tiff") << "tiff";
        QTest::newRow("webp is another format") << "p.webp" << QByteArray("webp") << "other";
    }

    void formatFromContent()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, writeAs);
        QFETCH(QString, format);
        QVERIFY(fixtures::writeImage(m_dir.filePath(name), QSize(40, 30), writeAs.constData()));
        const auto row = decode(name);
        QVERIFY(row);
        QCOMPARE(row->item.subItems[ListItem::Format], format);
        QCOMPARE(row->item.subItems[ListItem::Width], QStringLiteral("40"));
        QCOMPARE(row->item.subItems[ListItem::Height], QStringLiteral("30"));
        QCOMPARE(row->item.caption, m_dir.filePath(name));
    }

    // Qt writes no GIF; this is the smallest one there is, named as something else.
    void gifFromContent()
    {
        const QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                             "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01"
                             "\x00\x00\x02\x02D\x01\x00;",
                             43);
        QVERIFY(fixtures::writeFile(m_dir.filePath("dot.png"), gif));
        const auto row = decode("dot.png");
        QVERIFY(row);
        QCOMPARE(row->item.subItems[ListItem::Format], QStringLiteral("gif"));
        QCOMPARE(row->item.subItems[ListItem::Width], QStringLiteral("1"));
    }

    // Formats that are text (bitmaps as C source, SVG, plain netpbm) count only under
    // their own extension: many a source file reads as one of them.
    void textFormatsNeedTheirOwnName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("width"); // empty: not listed
        // The generic reader takes this for a 1 x 2 bitmap.
        const QByteArray header("/* Numbers of the slots. */\n#define Py_bf_getbuffer 1\n"
                                "#define Py_bf_releasebuffer 2\n"
                                "#if Py_LIMITED_API+0 >= 0x03050000\n"
                                "#define Py_tp_finalize 80\n#endif\n");
        QImage mono(12, 5, QImage::Format_Mono);
        mono.fill(1);
        const QByteArray xbm = fixtures::encode(mono, "xbm");
        QImage colours(7, 3, QImage::Format_RGB32);
        colours.fill(Qt::blue);
        const QByteArray xpm = fixtures::encode(colours, "xpm");
        const QByteArray pbm("P1\n3 2\n0 1 0\n1 0 1\n");
        const QByteArray svg("<svg xmlns='http://www.w3.org/2000/svg' width='90' height='60'>"
                             "<rect width='90' height='60' fill='red'/></svg>");
        QTest::newRow("C header") << "slots.h" << header << "";
        QTest::newRow("XBM") << "mark.xbm" << xbm << "12";
        QTest::newRow("XBM named .h") << "mark.h" << xbm << "";
        QTest::newRow("XPM") << "icon.xpm" << xpm << "7";
        QTest::newRow("XPM named .c") << "icon.c" << xpm << "";
        QTest::newRow("plain PBM") << "dots.pbm" << pbm << "3";
        QTest::newRow("plain PBM named .txt") << "dots.txt" << pbm << "";
        QTest::newRow("SVG") << "shape.svg" << svg << "90";
        QTest::newRow("SVG named .xml") << "shape.xml" << svg << "";
    }

    void textFormatsNeedTheirOwnName()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, width);
        QVERIFY(fixtures::writeFile(m_dir.filePath(name), content));
        const auto row = decode(name);
        QCOMPARE(row ? row->item.subItems[ListItem::Width] : QString(), width);
    }

    void sizeAndTimeComeFromTheFile()
    {
        const QString path = m_dir.filePath("timed.png");
        QVERIFY(fixtures::writeImage(path, QSize(8, 8), "png"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 bytes = f.size();
        QVERIFY(f.setFileTime(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)),
                              QFileDevice::FileModificationTime));
        f.close();
        const auto row = decode("timed.png");
        QVERIFY(row);
        QCOMPARE(row->item.subItems[ListItem::ByteSize], formatByteSize(bytes, QLocale::c()));
        QCOMPARE(row->item.subItems[ListItem::Modified], QStringLiteral("2024/05/06 07:08:09"));
    }

    // A file past 4 GiB shows its whole size (a sparse file: no disk is spent).
    void sizeBeyondFourGigabytes()
    {
        const QString path = m_dir.filePath("huge.png");
        QVERIFY(fixtures::writeImage(path, QSize(8, 8), "png"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        if (!f.resize(5000000000))
            QSKIP("the file system refuses a 5 GB sparse file");
        f.close();
        const auto row = decode("huge.png");
        QVERIFY(row);
        QCOMPARE(row->item.subItems[ListItem::ByteSize], QStringLiteral("5,000,000,000"));
        QFile::remove(path);
    }

    // Upright photos: the displayed size and the thumbnail follow the EXIF turn.
    void exifOrientationIsApplied()
    {
        QVERIFY(fixtures::writeFile(m_dir.filePath("turned.jpg"),
                                    fixtures::jpegWithOrientation(QSize(400, 200), 6)));
        const auto row = decode("turned.jpg");
        QVERIFY(row);
        QCOMPARE(row->item.subItems[ListItem::Width], QStringLiteral("200"));
        QCOMPARE(row->item.subItems[ListItem::Height], QStringLiteral("400"));
        const QImage cell = thumbnailImage(row->thumbnail);
        QVERIFY(qGray(cell.pixel(5, 48)) > 240); // bar at the side: tall now
        QVERIFY(qBlue(cell.pixel(48, 5)) > 200);
    }

    void rejects_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("text named .jpg") << "text.jpg";
        QTest::newRow("truncated png") << "truncated.png";
        QTest::newRow("empty file") << "empty.jpg";
        QTest::newRow("vanished file") << "gone.png";
        QTest::newRow("folder") << "folder.png";
        QTest::newRow("fifo never opened") << "fifo.jpg";
        QTest::newRow("20000 x 20000 png") << "bomb.png";
    }

    void rejects()
    {
        QFETCH(QString, name);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!decode(name));
        QVERIFY2(clock.elapsed() < 5000, "rejection must not stall");
    }

    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(fixtures::writeFile(m_dir.filePath("text.jpg"), "just some words\n"));
        QVERIFY(fixtures::writeImage(m_dir.filePath("whole.png"), QSize(64, 64), "png"));
        QFile whole(m_dir.filePath("whole.png"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        QVERIFY(fixtures::writeFile(m_dir.filePath("truncated.png"), whole.read(40)));
        QVERIFY(fixtures::writeFile(m_dir.filePath("empty.jpg"), {}));
        QVERIFY(QDir().mkpath(m_dir.filePath("folder.png")));
        QVERIFY(fixtures::makeFifo(m_dir.filePath("fifo.jpg")));
        QVERIFY(
            fixtures::writeFile(m_dir.filePath("bomb.png"), fixtures::pngClaiming(20000, 20000)));
    }
};

QTEST_MAIN(TestThumbnail)
#include "tst_thumbnail.moc"
