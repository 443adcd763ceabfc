#include "platform/filesystem.h"
#include "scan/imagelistbuilder.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"

#include "fakeservices.h"
#include "fixtures.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace pelmaris::scan;

class TestScanController : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const std::unique_ptr<pelmaris::platform::FileSystem> m_fs =
        pelmaris::platform::makeSystemFileSystem();
    QString m_root;
    QStringList m_images; // every decodable file, in numeric order

    static QStringList captions(const ImageListModel &model)
    {
        QStringList out;
        for (const ListItem &item : model.items())
            out << item.caption;
        return out;
    }

    static bool scanAndWait(ScanController &c, const QString &folder, bool *cancelled = nullptr)
    {
        QSignalSpy finished(&c, &ScanController::scanFinished);
        if (!c.startScan(folder, ScanOrder::NumericAscending))
            return false;
        if (!finished.wait(20000))
            return false;
        if (cancelled)
            *cancelled = finished.at(0).at(0).toBool();
        return true;
    }

    static bool buildAndWait(ScanController &c, bool *cancelled = nullptr)
    {
        QSignalSpy finished(&c, &ScanController::buildFinished);
        if (!c.startBuild())
            return false;
        if (!finished.wait(20000))
            return false;
        if (cancelled)
            *cancelled = finished.at(0).at(0).toBool();
        return true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Builds keep thumbnails in the desktop's cache: a private one here.
        qputenv("XDG_CACHE_HOME", m_dir.filePath("cache").toUtf8());
        m_root = m_dir.path() + "/photos";
        // A slow picture first, so later ones finish before it and must wait.
        QVERIFY(fixtures::writeImage(m_root + "/a/img0.png", QSize(2500, 2500), "png"));
        m_images << m_root + "/a/img0.png";
        for (int i = 1; i < 40; ++i) {
            const QString path = m_root + QStringLiteral("/%1/img%2.%3")
                                              .arg(i % 3 ? "a" : "b")
                                              .arg(i)
                                              .arg(i % 2 ? "jpg" : "png");
            QVERIFY(fixtures::writeImage(path, QSize(60 + i, 40), i % 2 ? "jpeg" : "png"));
            QVERIFY(fixtures::writeFile(m_root + QStringLiteral("/a/note%1.txt").arg(i), "text"));
            m_images << path;
        }
        QVERIFY(fixtures::writeFile(m_root + "/a/words.jpg", "not a picture"));
        QVERIFY(fixtures::writeFile(
            m_root + "/a/cut.jpg",
            fixtures::encode(QImage(50, 50, QImage::Format_RGB32), "png").left(30)));
        QVERIFY(fixtures::makeFifo(m_root + "/b/pipe.jpg"));
        RandomEngine unused(1);
        SortScanList(m_images, ScanOrder::NumericAscending, unused);
    }

    void scanThenBuildListsImagesInOrder()
    {
        ImageListModel model;
        ScanController controller(model, *m_fs, RandomEngine(1));
        QSignalSpy progress(&controller, &ScanController::buildProgress);
        QVERIFY(scanAndWait(controller, m_root));
        QCOMPARE(controller.scanList().size(), 40 + 39 + 3);
        QCOMPARE(controller.foundCount(), qint64(82));
        QStringList sorted = controller.scanList();
        RandomEngine unused(1);
        SortScanList(sorted, ScanOrder::NumericAscending, unused);
        QCOMPARE(controller.scanList(), sorted);

        bool cancelled = true;
        QVERIFY(buildAndWait(controller, &cancelled));
        QVERIFY(!cancelled);
        QCOMPARE(captions(model), m_images);
        QCOMPARE(model.checkedCount(), 40);
        QCOMPARE(controller.triedCount(), qint64(82));
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last().at(0).toLongLong(), qint64(82));
    }

    // The walk goes through the file system it is given, and what it could not read is
    // reported after the scan, and forgotten by the next one.
    void reportsWhatTheWalkLeftOut()
    {
        pelmaris::fakes::FakeFileSystem fs;
        fs.failOpen << m_root + "/b";
        ImageListModel model;
        ScanController controller(model, fs);
        QVERIFY(scanAndWait(controller, m_root));
        QVERIFY(!fs.calls().isEmpty());
        QCOMPARE(controller.leftOut().unreadableFolders, qint64(1));
        QVERIFY(controller.scanList().filter("/b/").isEmpty());
        fs.failOpen.clear();
        QVERIFY(scanAndWait(controller, m_root));
        QVERIFY(!controller.leftOut().any());
    }

    // The build opens the pictures through the same file system as the walk: a file it
    // cannot open there is no row.
    void buildOpensThroughTheFileSystem()
    {
        pelmaris::fakes::FakeFileSystem fs;
        const QString refused = m_root + "/b/img3.jpg";
        fs.failFiles << refused;
        ImageListModel model;
        ScanController controller(model, fs);
        QVERIFY(scanAndWait(controller, m_root + "/b"));
        QVERIFY(controller.scanList().contains(refused));
        pelmaris::scan::BuildSettings settings;
        settings.useThumbnailCache = false;
        QSignalSpy done(&controller, &ScanController::buildFinished);
        QVERIFY(controller.startBuild(settings));
        QVERIFY(done.wait(20000));
        QStringList rows;
        for (const ListItem &item : model.items())
            rows << item.caption;
        QVERIFY(!rows.isEmpty());
        QVERIFY(!rows.contains(refused));
        QVERIFY(fs.calls().contains("file " + refused));
        QVERIFY(fs.calls().contains("file " + rows.first()));
    }

    void additiveScanAppends()
    {
        ImageListModel model;
        ScanController controller(model, *m_fs);
        QVERIFY(scanAndWait(controller, m_root + "/b"));
        QVERIFY(buildAndWait(controller));
        const int first = model.rowCount();
        QVERIFY(first > 0);
        QVERIFY(scanAndWait(controller, m_root + "/b"));
        QVERIFY(buildAndWait(controller));
        QCOMPARE(model.rowCount(), 2 * first);
    }

    void emptyAndMissingFolders_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("empty") << "empty";
        QTest::newRow("missing") << "missing";
    }

    void emptyAndMissingFolders()
    {
        QFETCH(QString, folder);
        QVERIFY(QDir().mkpath(m_dir.filePath("empty")));
        ImageListModel model;
        ScanController controller(model, *m_fs);
        QVERIFY(scanAndWait(controller, m_dir.filePath(folder)));
        QCOMPARE(controller.scanList().size(), 0);
        bool cancelled = true;
        QVERIFY(buildAndWait(controller, &cancelled));
        QVERIFY(!cancelled);
        QCOMPARE(model.rowCount(), 0);
    }

    void refusesASecondJobWhileBusy()
    {
        ImageListModel model;
        ScanController controller(model, *m_fs);
        QSignalSpy finished(&controller, &ScanController::scanFinished);
        QVERIFY(controller.startScan(m_root, ScanOrder::NumericAscending));
        QVERIFY(!controller.startScan(m_root, ScanOrder::NumericAscending));
        QVERIFY(!controller.startBuild());
        QVERIFY(!controller.SortScanList(ScanOrder::Random));
        QVERIFY(finished.wait(20000));
    }

    void cancelledBuildKeepsAnOrderedPrefix()
    {
        ImageListModel model;
        ScanController controller(model, *m_fs);
        QVERIFY(scanAndWait(controller, m_root));
        QSignalSpy finished(&controller, &ScanController::buildFinished);
        QVERIFY(controller.startBuild());
        controller.cancelBuild();
        QVERIFY(finished.wait(5000));
        QVERIFY(finished.at(0).at(0).toBool());
        QVERIFY(controller.triedCount() < controller.scanList().size());
        const QStringList listed = captions(model);
        QCOMPARE(listed, m_images.mid(0, listed.size()));
    }

    void cancelBreakingOffAnEarlierRowListsNoLaterOne()
    {
        // The first picture is opened only once the cancel is in, so its decode breaks
        // off, while the second worker has already finished the rows after it.
        pelmaris::fakes::FakeFileSystem fs;
        std::atomic<bool> cancelled{false};
        QSemaphore laterOpened;
        fs.beforeOpen = [&](const QString &file) {
            if (file == m_images.at(0)) {
                QElapsedTimer held;
                held.start();
                while (!cancelled.load() && held.elapsed() < 20000)
                    QThread::msleep(1);
            } else if (file == m_images.at(2)) {
                laterOpened.release();
            }
        };
        ImageListBuilder builder(fs, 2);
        BuildSettings settings;
        settings.useThumbnailCache = false;
        builder.start(m_images.mid(0, 3), settings);
        QVERIFY(laterOpened.tryAcquire(1, 20000));
        builder.cancel();
        cancelled.store(true);
        builder.waitForDone();

        std::vector<DecodedRow> rows;
        const ImageListBuilder::Progress progress = builder.take(rows);
        QVERIFY(progress.cancelled);
        QCOMPARE(progress.tried, 0);
        QVERIFY(rows.empty());
    }

    void cancelledScanReturnsWhatItFound()
    {
        ImageListModel model;
        ScanController controller(model, *m_fs);
        QSignalSpy finished(&controller, &ScanController::scanFinished);
        QVERIFY(controller.startScan(m_root, ScanOrder::NumericAscending));
        controller.cancelScan();
        QVERIFY(finished.wait(5000));
        QVERIFY(controller.scanList().size() <= 82);
        QCOMPARE(controller.foundCount(), qint64(controller.scanList().size()));
    }

    // A new generation replaces the old one; nothing of the old one comes through.
    void staleRowsAreDropped()
    {
        ImageListBuilder builder(*m_fs, 2);
        builder.start(m_images, {});
        builder.start({m_images.last()}, {});
        builder.waitForDone();
        std::vector<DecodedRow> rows;
        const auto progress = builder.take(rows);
        QCOMPARE(progress.generation, quint64(2));
        QVERIFY(progress.done);
        QCOMPARE(int(rows.size()), 1);
        QCOMPARE(rows[0].item.caption, m_images.last());
    }

    // Each generation says once that its workers stopped, a replaced one too; by then
    // its rows are all ready to take.
    void builderTellsWhenItsWorkersStop()
    {
        ImageListBuilder builder(*m_fs, 2);
        QSemaphore stopped;
        std::atomic<int> first{0};
        std::atomic<int> second{0};
        builder.start(m_images, {}, [&] {
            ++first;
            stopped.release();
        });
        builder.start(m_images.mid(0, 3), {}, [&] {
            ++second;
            stopped.release();
        });
        QVERIFY(stopped.tryAcquire(2, 20000));
        std::vector<DecodedRow> rows;
        const auto progress = builder.take(rows);
        QVERIFY(progress.done);
        QCOMPARE(int(progress.tried), 3);
        QCOMPARE(first.load(), 1);
        QCOMPARE(second.load(), 1);
    }
};

QTEST_MAIN(TestScanController)
#include "tst_scancontroller.moc"
