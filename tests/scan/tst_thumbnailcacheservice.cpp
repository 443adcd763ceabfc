// The cache as the file system service sees it: what it asks of the service, and what
// it does when the service refuses, in ways the real file system shows only rarely.

#include "platform/filesystem.h"
#include "scan/thumbnail.h"
#include "scan/thumbnailcache.h"

#include "fakeservices.h"
#include "fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmaris::scan;

class TestThumbnailCacheService : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const std::unique_ptr<pelmaris::platform::FileSystem> m_fs =
        pelmaris::platform::makeSystemFileSystem();
    QString m_picture; // 1800 x 1200, red: a JPEG large enough for the cache
    int m_caches = 0;

    QString newCacheFolder()
    {
        return m_dir.filePath(QStringLiteral("cache%1/thumbnails").arg(++m_caches));
    }

    static QMap<QString, QString> textsFor(const QString &path)
    {
        const QFileInfo info(path);
        return {{"Thumb::URI", QString::fromLatin1(ThumbnailCache::fileUri(path))},
                {"Thumb::MTime", QString::number(info.lastModified().toSecsSinceEpoch())},
                {"Thumb::Size", QString::number(info.size())}};
    }

    static QByteArray thumbnailPng(QSize size, QColor colour, const QMap<QString, QString> &texts)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        for (auto it = texts.begin(); it != texts.end(); ++it)
            image.setText(it.key(), it.value());
        return fixtures::encode(image, "png");
    }

    static QString entryPath(const QString &folder, const char *size, const QString &picture)
    {
        return folder + '/' + size + '/' +
               ThumbnailCache::fileNameOf(ThumbnailCache::fileUri(picture));
    }

    static bool isColour(QColor got, QColor want)
    {
        return std::abs(got.red() - want.red()) + std::abs(got.green() - want.green()) +
                   std::abs(got.blue() - want.blue()) <
               60;
    }

    static QColor middleOf(const std::optional<DecodedRow> &row)
    {
        return row ? thumbnailImage(row->thumbnail).pixelColor(48, 48) : QColor();
    }

    std::optional<DecodedRow> decodeWith(const ThumbnailCache &cache, const QString &path)
    {
        ThumbnailRequest request;
        request.path = path;
        request.locale = QLocale::c();
        request.cache = cache.isReadable() ? &cache : nullptr;
        return decodeForList(*m_fs, request);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_picture = m_dir.filePath("pictures/photo.jpg");
        QVERIFY(fixtures::writeImage(m_picture, QSize(1800, 1200), "jpeg", Qt::red));
    }

    // Whose a folder is comes from the file system service: a folder it reports as
    // another user's is neither read nor written, as the thumbnails folder or one size's
    // (no superuser needed to give it away).
    void foldersTheServiceCallsForeignAreNotUsed_data()
    {
        QTest::addColumn<QString>("foreign");
        QTest::newRow("thumbnails") << "";
        QTest::newRow("normal") << "/normal";
    }

    void foldersTheServiceCallsForeignAreNotUsed()
    {
        QFETCH(QString, foreign);
        const QString root = newCacheFolder();
        QVERIFY(fixtures::writeFile(entryPath(root, "normal", m_picture),
                                    thumbnailPng(QSize(128, 85), Qt::black, textsFor(m_picture))));
        pelmaris::fakes::FakeFileSystem fake;
        fake.foreignFolders = {root + foreign};
        const ThumbnailCache cache(fake, root);
        QVERIFY(!cache.isWritable());
        const QString other = m_dir.filePath("pictures/foreign.jpg");
        QVERIFY(fixtures::writeImage(other, QSize(1800, 1200), "jpeg", Qt::blue));
        ThumbnailRequest request;
        request.locale = QLocale::c();
        request.cache = &cache;
        for (const QString &path : {m_picture, other}) {
            request.path = path;
            QVERIFY(!isColour(middleOf(decodeForList(fake, request)), Qt::black));
        }
        for (const QString &call : fake.calls())
            QVERIFY2(!call.startsWith("small " + root + "/normal/") &&
                         !call.startsWith("write " + root + "/normal/"),
                     qPrintable(call));
    }

    // A thumbnail that cannot be written (a full disk) costs nothing but the entry: the
    // row is made all the same, no file takes the name, and a later scan writes it.
    void failedWriteLeavesNoEntry()
    {
        const QString root = newCacheFolder();
        const QString entry = entryPath(root, "normal", m_picture);
        pelmaris::fakes::FakeFileSystem fake;
        fake.failWrites = {entry};
        const ThumbnailCache cache(fake, root);
        ThumbnailRequest request;
        request.path = m_picture;
        request.locale = QLocale::c();
        request.cache = &cache;
        QVERIFY(isColour(middleOf(decodeForList(fake, request)), Qt::red));
        QVERIFY(fake.calls().contains("write " + entry));
        QCOMPARE(QDir(root + "/normal").entryList(QDir::Files | QDir::Hidden).size(), 0);
        fake.failWrites.clear();
        QVERIFY(isColour(middleOf(decodeForList(fake, request)), Qt::red));
        QCOMPARE(QImageReader(entry, "png").read().text("Thumb::URI"),
                 textsFor(m_picture)["Thumb::URI"]);
    }

    // A rescan reads each cached thumbnail once and nothing else of the cache: the
    // folders are judged when the cache is opened, not for every picture.
    void rescanReadsEachThumbnailOnce()
    {
        const QString root = newCacheFolder();
        QStringList pictures;
        for (int i = 0; i < 3; ++i) {
            pictures.append(m_dir.filePath(QStringLiteral("pictures/rescan%1.jpg").arg(i)));
            QVERIFY(fixtures::writeImage(pictures.last(), QSize(1800, 1200), "jpeg", Qt::green));
        }
        {
            const ThumbnailCache first(*m_fs, root);
            for (const QString &path : pictures)
                QVERIFY(decodeWith(first, path));
        }
        pelmaris::fakes::FakeFileSystem fake;
        const ThumbnailCache again(fake, root);
        const qsizetype opened = fake.calls().size();
        ThumbnailRequest request;
        request.locale = QLocale::c();
        request.cache = &again;
        for (const QString &path : pictures) {
            request.path = path;
            QVERIFY(isColour(middleOf(decodeForList(fake, request)), Qt::green));
        }
        QStringList cacheCalls;
        for (const QString &call : fake.calls().mid(opened))
            if (call.contains(root))
                cacheCalls.append(call);
        QStringList expected;
        for (const QString &path : pictures)
            expected.append("small " + entryPath(root, "normal", path));
        QCOMPARE(cacheCalls, expected);
    }
};

QTEST_MAIN(TestThumbnailCacheService)
#include "tst_thumbnailcacheservice.moc"
