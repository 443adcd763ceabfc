// The page's thumbnails: which cache folder a layout calls for, each picture's thumbnail
// found or made, and the thumbnailer that does a whole page off the window's thread.

#include "gallery/pagethumbnailer.h"
#include "gallery/pagethumbnails.h"
#include "platform/filesystem.h"
#include "scan/thumbnailcache.h"

#include "fixtures.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace pelmaris::gallery;
using pelmaris::scan::ThumbnailCache;

class TestPageThumbnails : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const std::unique_ptr<pelmaris::platform::FileSystem> m_fs =
        pelmaris::platform::makeSystemFileSystem();
    int m_caches = 0;

    QString newCacheFolder()
    {
        return m_dir.filePath(QStringLiteral("cache%1/thumbnails").arg(++m_caches));
    }

    QString picture(const QString &name, QSize size, QColor colour = Qt::red)
    {
        const QString path = m_dir.filePath("pictures/" + name);
        return fixtures::writeImage(path, size, "jpeg", colour) ? path : QString();
    }

    static QColor middle(const QString &png)
    {
        const QImage image = QImageReader(png, "png").read();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Thumbnails as large as the page shows the pictures, never larger than needed.
    void edgeFollowsTheLayout_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("number"); // the layout's number box
        QTest::addColumn<int>("paths");
        QTest::addColumn<int>("edge");
        QTest::newRow("range view 20: 223 px") << int(Layout::RangeView) << 20 << 20 << 256;
        QTest::newRow("range view 1: 999 px") << int(Layout::RangeView) << 1 << 20 << 512;
        QTest::newRow("auto, 10,000 paths") << int(Layout::AutoScaled) << 0 << 10000 << 256;
        QTest::newRow("auto, 10 paths") << int(Layout::AutoScaled) << 0 << 10 << 512;
        QTest::newRow("10 columns: 153 px") << int(Layout::FixedWidth) << 10 << 5 << 256;
        QTest::newRow("5 columns: 307 px") << int(Layout::FixedWidth) << 5 << 5 << 512;
        QTest::newRow("5 rows: 166 px") << int(Layout::FixedHeight) << 5 << 5 << 256;
        QTest::newRow("0 rows counts as 1") << int(Layout::FixedHeight) << 0 << 5 << 512;
        QTest::newRow("width 10%") << int(Layout::WidthPercent) << 10 << 5 << 256;
        QTest::newRow("width 100%") << int(Layout::WidthPercent) << 100 << 5 << 512;
        QTest::newRow("real size") << int(Layout::RealSize) << 0 << 5 << 512;
    }

    void edgeFollowsTheLayout()
    {
        QFETCH(int, layout);
        QFETCH(int, number);
        QFETCH(int, paths);
        QFETCH(int, edge);
        LayoutChoice choice;
        choice.layout = Layout(layout);
        choice.rangeCount = choice.columns = choice.rows = choice.widthPercent = number;
        QCOMPARE(pageThumbnailEdge(choice, QSize(1920, 1040), paths), edge);
    }

    // Made once, found after, made again when the picture changes.
    void madeFoundAndRemade()
    {
        const QString root = newCacheFolder();
        const ThumbnailCache cache(*m_fs, root);
        const QString path = picture("photo #1 100%.jpg", QSize(1800, 1200));
        const PageThumbnail made = pageThumbnail(*m_fs, cache, path, ThumbnailCache::LargeEdge);
        QCOMPARE(made.file,
                 root + "/large/" + ThumbnailCache::fileNameOf(ThumbnailCache::fileUri(path)));
        QCOMPARE(made.size, QSize(256, 171));
        QCOMPARE(QImageReader(made.file, "png").size(), made.size);
        QVERIFY(qAbs(middle(made.file).red() - 255) < 30);

        // A valid thumbnail already there is used as it is.
        QImage marked(256, 171, QImage::Format_RGB32);
        marked.fill(Qt::green);
        const QFileInfo info(path);
        const ThumbnailCache::Original original{path, info.lastModified().toSecsSinceEpoch(),
                                                info.size(), QSize(1800, 1200)};
        QVERIFY(!cache.storeSized(original, marked, ThumbnailCache::LargeEdge).path.isEmpty());
        QCOMPARE(pageThumbnail(*m_fs, cache, path, ThumbnailCache::LargeEdge).file, made.file);
        QVERIFY(qAbs(middle(made.file).green() - 255) < 30);

        // The picture changed: its thumbnail is made again.
        QVERIFY(fixtures::writeImage(path, QSize(1800, 1200), "jpeg", Qt::blue));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(10),
                              QFileDevice::FileModificationTime));
        f.close();
        QCOMPARE(pageThumbnail(*m_fs, cache, path, ThumbnailCache::LargeEdge).file, made.file);
        QVERIFY(qAbs(middle(made.file).blue() - 255) < 30);
    }

    // The thumbnail is upright, as the browser shows the original.
    void turnedPictureGetsAnUprightThumbnail()
    {
        const ThumbnailCache cache(*m_fs, newCacheFolder());
        const QString path = m_dir.filePath("pictures/turned.jpg");
        QVERIFY(fixtures::writeFile(path, fixtures::jpegWithOrientation(QSize(600, 400), 6)));
        const PageThumbnail made = pageThumbnail(*m_fs, cache, path, ThumbnailCache::XLargeEdge);
        QCOMPARE(made.size, QSize(341, 512));
        QCOMPARE(QImageReader(made.file, "png").size(), QSize(341, 512));
    }

    // The page then shows the original; nothing blocks, nothing is written wrongly.
    void noThumbnail_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind :
             {"damaged picture", "not a picture", "FIFO", "missing", "cache writable by others"})
            QTest::newRow(kind) << kind;
    }

    void noThumbnail()
    {
        QFETCH(QString, kind);
        const QString root = newCacheFolder();
        const ThumbnailCache cache(*m_fs, root);
        QString path = m_dir.filePath("pictures/" + kind + ".jpg");
        if (kind == "damaged picture") {
            path.replace(".jpg", ".png");
            QByteArray png = fixtures::encode(QImage(600, 400, QImage::Format_RGB32), "png");
            png[png.indexOf("IDAT") + 10] = char(png[png.indexOf("IDAT") + 10] ^ 0x55);
            QVERIFY(fixtures::writeFile(path, png));
        } else if (kind == "not a picture") {
            QVERIFY(fixtures::writeFile(path, "just words"));
        } else if (kind == "FIFO") {
            QVERIFY(fixtures::makeFifo(path));
        } else if (kind == "cache writable by others") {
            path = picture("good.jpg", QSize(1800, 1200));
            QVERIFY(::chmod(QFile::encodeName(root).constData(), 0777) == 0);
        }
        const PageThumbnail none = pageThumbnail(*m_fs, cache, path, ThumbnailCache::LargeEdge);
        QVERIFY(none.file.isEmpty());
        QVERIFY(QDir(root + "/large").entryList(QDir::Files | QDir::Hidden).isEmpty());
        if (kind == "damaged picture") // remembered, as the list does
            QVERIFY(cache.isKnownFailure({path, QFileInfo(path).lastModified().toSecsSinceEpoch(),
                                          QFileInfo(path).size(), QSize()}));
    }

    // A whole page: one entry per path in page order, whichever worker made it.
    void thumbnailerDoesAPage()
    {
        const QString root = newCacheFolder();
        QStringList paths;
        for (int i = 0; i < 12; ++i)
            paths << picture(QStringLiteral("p%1.jpg").arg(i), QSize(100 + 10 * i, 80));
        const QString damaged = m_dir.filePath("pictures/damaged.jpg");
        QVERIFY(fixtures::writeFile(damaged, "\xff\xd8\xff not really"));
        paths.insert(5, damaged);
        paths << paths.first();

        PageThumbnailer thumbnailer(*m_fs, root);
        QSignalSpy progress(&thumbnailer, &PageThumbnailer::progress);
        QSignalSpy finished(&thumbnailer, &PageThumbnailer::finished);
        thumbnailer.start(paths, ThumbnailCache::LargeEdge);
        QVERIFY(thumbnailer.isRunning());
        QVERIFY(finished.wait(20000));
        QVERIFY(!thumbnailer.isRunning());
        QCOMPARE(finished.size(), 1);
        const auto thumbnails = finished.first().first().value<QList<PageThumbnail>>();
        QCOMPARE(thumbnails.size(), paths.size());
        for (qsizetype i = 0; i < paths.size(); ++i) {
            if (paths.at(i) == damaged) {
                QVERIFY(thumbnails.at(i).file.isEmpty());
                continue;
            }
            QCOMPARE(thumbnails.at(i).file,
                     root + "/large/" +
                         ThumbnailCache::fileNameOf(ThumbnailCache::fileUri(paths.at(i))));
            QCOMPARE(thumbnails.at(i).size, QImageReader(paths.at(i)).size());
        }
        QCOMPARE(progress.last().at(0).value<qsizetype>(), paths.size());
    }

    // Only the latest request finishes; a cancelled one never does.
    void laterRequestsAndCancelWin()
    {
        const QString root = newCacheFolder();
        QStringList many;
        for (int i = 0; i < 40; ++i)
            many << picture(QStringLiteral("c%1.jpg").arg(i), QSize(1600, 1200));
        const QStringList one = {many.first()};

        PageThumbnailer thumbnailer(*m_fs, root);
        QSignalSpy finished(&thumbnailer, &PageThumbnailer::finished);
        thumbnailer.start(many, ThumbnailCache::LargeEdge);
        thumbnailer.start(one, ThumbnailCache::LargeEdge);
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().value<QList<PageThumbnail>>().size(), 1);

        thumbnailer.start(many, ThumbnailCache::XLargeEdge);
        thumbnailer.cancel();
        QVERIFY(!thumbnailer.isRunning());
        QVERIFY(QTest::qWaitFor([&] { return thumbnailer.isIdle(); }, 20000));
        QTest::qWait(50);
        QCOMPARE(finished.size(), 1);
        // The cancel stopped the work well before the end.
        QVERIFY(QDir(root + "/x-large").entryList(QDir::Files).size() < many.size());
    }
};

QTEST_GUILESS_MAIN(TestPageThumbnails)
#include "tst_pagethumbnails.moc"
