// The cache's large and x-large thumbnails, which the gallery page hands to a browser:
// judged like the list's thumbnails, and used only in folders no one else can write.

#include "platform/filesystem.h"
#include "scan/thumbnailcache.h"

#include "fixtures.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace pelmaris::scan;

class TestSizedThumbnails : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const std::unique_ptr<pelmaris::platform::FileSystem> m_fs =
        pelmaris::platform::makeSystemFileSystem();
    QString m_picture; // 1800 x 1200
    int m_caches = 0;

    QString newCacheFolder()
    {
        return m_dir.filePath(QStringLiteral("cache%1/thumbnails").arg(++m_caches));
    }

    ThumbnailCache::Original original() const
    {
        const QFileInfo info(m_picture);
        return {m_picture, info.lastModified().toSecsSinceEpoch(), info.size(), QSize(1800, 1200)};
    }

    QString entry(const QString &root, const char *folder) const
    {
        return root + '/' + folder + '/' +
               ThumbnailCache::fileNameOf(ThumbnailCache::fileUri(m_picture));
    }

    QByteArray thumbnailPng(QSize size, const QMap<QString, QString> &texts) const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::green);
        for (auto it = texts.begin(); it != texts.end(); ++it)
            image.setText(it.key(), it.value());
        return fixtures::encode(image, "png");
    }

    QMap<QString, QString> validTexts() const
    {
        const ThumbnailCache::Original o = original();
        return {{"Thumb::URI", QString::fromLatin1(ThumbnailCache::fileUri(m_picture))},
                {"Thumb::MTime", QString::number(o.modified)},
                {"Thumb::Size", QString::number(o.bytes)}};
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_picture = m_dir.filePath("pictures/photo 1 #2.jpg");
        QVERIFY(fixtures::writeImage(m_picture, QSize(1800, 1200), "jpeg"));
    }

    void fittedSize_data()
    {
        QTest::addColumn<QSize>("shown");
        QTest::addColumn<int>("edge");
        QTest::addColumn<QSize>("fitted");
        QTest::newRow("landscape into large") << QSize(1800, 1200) << 256 << QSize(256, 171);
        QTest::newRow("portrait into x-large") << QSize(1080, 1920) << 512 << QSize(288, 512);
        QTest::newRow("smaller: never enlarged") << QSize(100, 50) << 256 << QSize(100, 50);
        QTest::newRow("needle keeps a pixel") << QSize(1, 5000) << 512 << QSize(1, 512);
        QTest::newRow("unknown size") << QSize() << 256 << QSize();
    }

    void fittedSize()
    {
        QFETCH(QSize, shown);
        QFETCH(int, edge);
        QFETCH(QSize, fitted);
        QCOMPARE(ThumbnailCache::fittedSize(shown, edge), fitted);
    }

    // Stored the way other programs read them back, and found again by their texts.
    void storedThenFound()
    {
        const QString root = newCacheFolder();
        const ThumbnailCache cache(*m_fs, root);
        QImage image(512, 341, QImage::Format_RGB32);
        image.fill(Qt::blue);
        const ThumbnailCache::SizedFile stored =
            cache.storeSized(original(), image, ThumbnailCache::XLargeEdge);
        QCOMPARE(stored.path, entry(root, "x-large"));
        QCOMPARE(stored.size, QSize(512, 341));
        QFileInfo info(stored.path);
        QCOMPARE(info.permissions() & 0x7777,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        const QImage back = QImageReader(stored.path, "png").read();
        QCOMPARE(back.text("Thumb::URI"), validTexts()["Thumb::URI"]);
        QCOMPARE(back.text("Thumb::MTime"), validTexts()["Thumb::MTime"]);

        const ThumbnailCache::SizedFile found =
            cache.findSized(original(), ThumbnailCache::XLargeEdge);
        QCOMPARE(found.path, stored.path);
        QCOMPARE(found.size, stored.size);
        // Each size has its own folder; nothing is larger than its folder allows.
        QVERIFY(cache.findSized(original(), ThumbnailCache::LargeEdge).path.isEmpty());
        QVERIFY(cache.storeSized(original(), image, ThumbnailCache::LargeEdge).path.isEmpty());
        QVERIFY(cache.storeSized(original(), image, 300).path.isEmpty());
    }

    // What the page shows must be this file as it is now: anything doubtful is not used.
    void doubtfulThumbnailsAreNotFound_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("found");
        QTest::newRow("valid") << "valid" << true;
        QTest::newRow("valid, no Thumb::Size") << "no size" << true;
        for (const char *kind :
             {"names another file", "older time", "time with a fraction", "other byte size",
              "too large for its folder", "other shape", "truncated PNG", "FIFO"})
            QTest::newRow(kind) << kind << false;
    }

    void doubtfulThumbnailsAreNotFound()
    {
        QFETCH(QString, kind);
        QFETCH(bool, found);
        const QString root = newCacheFolder();
        const ThumbnailCache cache(*m_fs, root);
        QVERIFY(cache.canHoldSized(ThumbnailCache::LargeEdge));
        const QString file = entry(root, "large");
        QMap<QString, QString> texts = validTexts();
        QSize size(256, 171);
        if (kind == "no size")
            texts.remove("Thumb::Size");
        else if (kind == "names another file")
            texts["Thumb::URI"] = QString::fromLatin1(ThumbnailCache::fileUri(m_picture + "x"));
        else if (kind == "older time")
            texts["Thumb::MTime"] = QString::number(original().modified - 1);
        else if (kind == "time with a fraction")
            texts["Thumb::MTime"] += ".5";
        else if (kind == "other byte size")
            texts["Thumb::Size"] = QString::number(original().bytes + 1);
        else if (kind == "too large for its folder")
            size = QSize(384, 256);
        else if (kind == "other shape")
            size = QSize(256, 256);
        QByteArray bytes = thumbnailPng(size, texts);
        if (kind == "truncated PNG")
            bytes.truncate(20);
        if (kind == "FIFO")
            QVERIFY(fixtures::makeFifo(file));
        else
            QVERIFY(fixtures::writeFile(file, bytes));

        const ThumbnailCache::SizedFile got =
            cache.findSized(original(), ThumbnailCache::LargeEdge);
        QCOMPARE(!got.path.isEmpty(), found);
        if (found)
            QCOMPARE(got.size, size);
    }

    // A folder someone else may write into could hold a file planted for the page.
    void onlyPrivateFoldersAreUsed_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("usable");
        QTest::newRow("private") << "private" << true;
        QTest::newRow("thumbnails writable by the group") << "group" << false;
        QTest::newRow("large writable by others") << "others" << false;
        QTest::newRow("large is a link to a private folder") << "link" << false;
    }

    void onlyPrivateFoldersAreUsed()
    {
        QFETCH(QString, kind);
        QFETCH(bool, usable);
        const QString root = newCacheFolder();
        const ThumbnailCache cache(*m_fs, root);
        const QString large = root + "/large";
        QVERIFY(fixtures::writeFile(entry(root, "large"), thumbnailPng({256, 171}, validTexts())));
        QVERIFY(
            QFile::setPermissions(large, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(
            QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        if (kind == "group") {
            QVERIFY(::chmod(QFile::encodeName(root).constData(), 0770) == 0);
        } else if (kind == "others") {
            QVERIFY(::chmod(QFile::encodeName(large).constData(), 0703) == 0);
        } else if (kind == "link") {
            const QString elsewhere = m_dir.filePath(QStringLiteral("elsewhere%1").arg(m_caches));
            QVERIFY(QDir().rename(large, elsewhere));
            QVERIFY(QFile::link(elsewhere, large));
        }
        QCOMPARE(cache.canHoldSized(ThumbnailCache::LargeEdge), usable);
        QCOMPARE(!cache.findSized(original(), ThumbnailCache::LargeEdge).path.isEmpty(), usable);
        QImage image(256, 171, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QCOMPARE(!cache.storeSized(original(), image, ThumbnailCache::LargeEdge).path.isEmpty(),
                 usable);
    }
};

QTEST_GUILESS_MAIN(TestSizedThumbnails)
#include "tst_sizedthumbnails.moc"
