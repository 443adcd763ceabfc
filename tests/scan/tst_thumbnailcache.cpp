#include "platform/filesystem.h"
#include "scan/imagelistbuilder.h"
#include "scan/thumbnail.h"
#include "scan/thumbnailcache.h"

#include "platform/programinfo.h"

#include "fixtures.h"
#include "picturefixtures.h"

#include <QDateTime>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace pelmaris::scan;

namespace {

// A thumbnail as another desktop program would leave it.
QByteArray thumbnailPng(QSize size, QColor colour, const QMap<QString, QString> &texts)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    for (auto it = texts.begin(); it != texts.end(); ++it)
        image.setText(it.key(), it.value());
    return fixtures::encode(image, "png");
}

bool isColour(QColor got, QColor want)
{
    return std::abs(got.red() - want.red()) + std::abs(got.green() - want.green()) +
               std::abs(got.blue() - want.blue()) <
           60;
}

// The file's modification and change times in nanoseconds, as this program's own
// entries carry them.
QMap<QString, QString> preciseTimesOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    const auto ns = [](timespec t) { return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec; };
    return {{"X-Pelmaris::MTimeNs", QString::number(ns(st.st_mtim))},
            {"X-Pelmaris::CTimeNs", QString::number(ns(st.st_ctim))}};
}

mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

} // namespace

class TestThumbnailCache : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const std::unique_ptr<pelmaris::platform::FileSystem> m_fs =
        pelmaris::platform::makeSystemFileSystem();
    QString m_picture; // 1800 x 1200, red: a JPEG large enough for the cache
    int m_caches = 0;

    // A fresh, empty thumbnails folder.
    QString newCacheFolder()
    {
        return m_dir.filePath(QStringLiteral("cache%1/thumbnails").arg(++m_caches));
    }

    ThumbnailCache::Original originalOf(const QString &path, QSize shown = QSize(1800, 1200))
    {
        const QFileInfo info(path);
        return {path, info.lastModified().toSecsSinceEpoch(), info.size(), shown};
    }

    // The texts a valid thumbnail of `path` carries.
    QMap<QString, QString> textsFor(const QString &path)
    {
        const ThumbnailCache::Original o = originalOf(path);
        return {{"Thumb::URI", QString::fromLatin1(ThumbnailCache::fileUri(path))},
                {"Thumb::MTime", QString::number(o.modified)},
                {"Thumb::Size", QString::number(o.bytes)}};
    }

    QString entryPath(const QString &folder, const char *size, const QString &picture)
    {
        return folder + '/' + size + '/' +
               ThumbnailCache::fileNameOf(ThumbnailCache::fileUri(picture));
    }

    std::optional<DecodedRow> decodeWith(const ThumbnailCache &cache, const QString &path)
    {
        ThumbnailRequest request;
        request.path = path;
        request.locale = QLocale::c();
        request.cache = cache.isReadable() ? &cache : nullptr;
        return decodeForList(*m_fs, request);
    }

    static QColor middleOf(const std::optional<DecodedRow> &row)
    {
        return row ? thumbnailImage(row->thumbnail).pixelColor(48, 48) : QColor();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_picture = m_dir.filePath("pictures/photo.jpg");
        QVERIFY(fixtures::writeImage(m_picture, QSize(1800, 1200), "jpeg", Qt::red));
    }

    void uriAndNameFollowTheStandard_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("uri");
        QTest::newRow("plain") << "/home/jens/photos/me.png"
                               << QByteArray("file:///home/jens/photos/me.png");
        QTest::newRow("punctuation")
            << "/a b/#%&'()*+,-.:;<=>?@[\\]^_`{|}~!$\"x"
            << QByteArray(
                   "file:///a%20b/%23%25&'()*+,-.:%3B%3C=%3E%3F@%5B%5C%5D%5E_%60%7B%7C%7D~!$%22x");
        QTest::newRow("Japanese and accents")
            << "/写真/ä.jpg" << QByteArray("file:///%E5%86%99%E7%9C%9F/%C3%A4.jpg");
        QTest::newRow("leading dash") << "/p/-a.jpg" << QByteArray("file:///p/-a.jpg");
        QTest::newRow("dots and doubled slashes")
            << "/p//q/./r/../s.jpg" << QByteArray("file:///p/q/s.jpg");
    }

    void uriAndNameFollowTheStandard()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, uri);
        QCOMPARE(ThumbnailCache::fileUri(path), uri);
        if (QTest::currentDataTag() == QLatin1String("plain"))
            QCOMPARE(ThumbnailCache::fileNameOf(uri),
                     QStringLiteral("c6ee772d9e49320e97ec29a7eb5b1697.png"));
    }

    // Only pictures that take clearly longer to decode than a thumbnail to load.
    void worthCaching_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<bool>("worth");
        QTest::newRow("full-HD JPEG") << QSize(1920, 1080) << QByteArray("jpeg") << true;
        QTest::newRow("web JPEG") << QSize(1280, 720) << QByteArray("jpeg") << false;
        QTest::newRow("small PNG") << QSize(256, 200) << QByteArray("png") << false;
        QTest::newRow("PNG") << QSize(257, 10) << QByteArray("png") << true;
        QTest::newRow("size unknown") << QSize() << QByteArray("png") << false;
    }

    void worthCaching()
    {
        QFETCH(QSize, size);
        QFETCH(QByteArray, format);
        QFETCH(bool, worth);
        QCOMPARE(ThumbnailCache::isWorthCaching(size, format), worth);
    }

    void defaultFolderFollowsTheEnvironment()
    {
        const QByteArray saved = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", m_dir.filePath("xdg").toUtf8());
        QCOMPARE(ThumbnailCache::defaultFolder(), m_dir.filePath("xdg/thumbnails"));
        qputenv("XDG_CACHE_HOME", saved);
    }

    // Ours are what other programs expect: PNG no larger than 128, the URI and time
    // inside, private to the owner, and no temporary file left beside them.
    void storesThumbnailsOthersCanUse()
    {
        const QString folder = newCacheFolder();
        const ThumbnailCache cache(*m_fs, folder);
        QVERIFY(cache.isWritable());
        QVERIFY(decodeWith(cache, m_picture));
        const QString entry = entryPath(folder, "normal", m_picture);
        QImageReader reader(entry, "png");
        const QImage thumbnail = reader.read();
        QCOMPARE(thumbnail.size(), QSize(128, 85));
        QCOMPARE(thumbnail.text("Thumb::URI"),
                 QString::fromLatin1(ThumbnailCache::fileUri(m_picture)));
        QCOMPARE(thumbnail.text("Thumb::MTime"), QString::number(originalOf(m_picture).modified));
        QVERIFY(isColour(thumbnail.pixelColor(64, 42), Qt::red));
        QCOMPARE(modeOf(entry), mode_t(0600));
        QCOMPARE(modeOf(folder), mode_t(0700));
        QCOMPARE(modeOf(folder + "/normal"), mode_t(0700));
        QCOMPARE(QDir(folder + "/normal").entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // Thumbnails made by other programs are used, from whichever size folder holds one;
    // the five details still come from the file and its header.
    void reusesValidThumbnails_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QSize>("size");
        QTest::newRow("normal") << "normal" << QSize(128, 85);
        QTest::newRow("large") << "large" << QSize(256, 171);
        QTest::newRow("x-large, no Thumb::Size") << "x-large" << QSize(512, 341);
    }

    void reusesValidThumbnails()
    {
        QFETCH(QString, folder);
        QFETCH(QSize, size);
        const QString root = newCacheFolder();
        QMap<QString, QString> texts = textsFor(m_picture);
        texts["Thumb::Image::Width"] = "9999";
        if (folder.startsWith("x-"))
            texts.remove("Thumb::Size");
        QVERIFY(fixtures::writeFile(entryPath(root, folder.toLatin1(), m_picture),
                                    thumbnailPng(size, Qt::green, texts)));
        const ThumbnailCache cache(*m_fs, root);
        const auto row = decodeWith(cache, m_picture);
        QVERIFY(row);
        QVERIFY(isColour(middleOf(row), Qt::green));
        QCOMPARE(row->item.subItems[ListItem::Width], QStringLiteral("1,800"));
        QCOMPARE(row->item.subItems[ListItem::Height], QStringLiteral("1,200"));
        QCOMPARE(row->item.subItems[ListItem::Format], QStringLiteral("jpeg"));
    }

    // Anything doubtful is decoded afresh, never shown, and never crashes.
    void distrustsDoubtfulThumbnails_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"names another file", "older time", "other byte size", "no time",
                                 "truncated PNG", "not a PNG", "too large for its folder",
                                 "other shape", "FIFO", "folder", "pixel data beyond its rows"})
            QTest::newRow(kind) << kind;
    }

    void distrustsDoubtfulThumbnails()
    {
        QFETCH(QString, kind);
        const QString root = newCacheFolder();
        const QString entry = entryPath(root, "normal", m_picture);
        QMap<QString, QString> texts = textsFor(m_picture);
        QSize size(128, 85);
        if (kind == "names another file")
            texts["Thumb::URI"] = QString::fromLatin1(ThumbnailCache::fileUri(m_picture + "x"));
        else if (kind == "older time")
            texts["Thumb::MTime"] = QString::number(originalOf(m_picture).modified - 1);
        else if (kind == "other byte size")
            texts["Thumb::Size"] = QString::number(originalOf(m_picture).bytes + 1);
        else if (kind == "no time")
            texts.remove("Thumb::MTime");
        else if (kind == "too large for its folder")
            size = QSize(200, 133);
        else if (kind == "other shape")
            size = QSize(128, 128);
        QByteArray bytes = thumbnailPng(size, Qt::green, texts);
        if (kind == "truncated PNG")
            bytes.chop(bytes.size() / 3);
        if (kind == "not a PNG")
            bytes = QByteArray(4000, '\x89');
        if (kind == "pixel data beyond its rows") {
            // 200 MB of zeros after the rows, in a file of a few hundred kilobytes.
            QImage green(size, QImage::Format_RGB32);
            green.fill(Qt::green);
            QList<std::pair<QByteArray, QByteArray>> pairs;
            for (auto it = texts.begin(); it != texts.end(); ++it)
                pairs.append({it.key().toLatin1(), it.value().toLatin1()});
            bytes = picturefixtures::pngWithTrailingData(green, pairs, 200 * 1024 * 1024);
            QVERIFY(bytes.size() < 512 * 1024);
        }
        if (kind == "FIFO") {
            QVERIFY(QDir().mkpath(root + "/normal"));
            QVERIFY(fixtures::makeFifo(entry));
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(entry));
        } else {
            QVERIFY(fixtures::writeFile(entry, bytes));
        }
        const ThumbnailCache cache(*m_fs, root);
        QVERIFY(isColour(middleOf(decodeWith(cache, m_picture)), Qt::red));
        // Whatever held the name gives way to a valid thumbnail; a folder stays.
        if (kind != "folder") {
            const QImage replaced = QImageReader(entry, "png").read();
            QCOMPARE(replaced.text("Thumb::URI"), textsFor(m_picture)["Thumb::URI"]);
            QCOMPARE(replaced.text("Thumb::MTime"), textsFor(m_picture)["Thumb::MTime"]);
        }
    }

    // A thumbnails folder that is a link (perhaps into someone else's folder) or not a
    // folder is not used at all; the pictures are decoded and listed all the same.
    void unusableFoldersMeanNoCache_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("thumbnails is a link") << "link";
        QTest::newRow("thumbnails is a file") << "file";
        QTest::newRow("normal is a file") << "normal file";
    }

    void unusableFoldersMeanNoCache()
    {
        QFETCH(QString, kind);
        const QString root = newCacheFolder();
        const QString elsewhere = m_dir.filePath(QStringLiteral("elsewhere%1").arg(m_caches));
        QVERIFY(fixtures::writeFile(entryPath(elsewhere, "normal", m_picture),
                                    thumbnailPng(QSize(128, 85), Qt::green, textsFor(m_picture))));
        QVERIFY(QDir().mkpath(QFileInfo(root).path()));
        if (kind == "link")
            QVERIFY(QFile::link(elsewhere, root));
        else if (kind == "file")
            QVERIFY(fixtures::writeFile(root, "not a folder"));
        else
            QVERIFY(fixtures::writeFile(root + "/normal", "not a folder"));
        const ThumbnailCache cache(*m_fs, root);
        QVERIFY(!cache.isWritable());
        QVERIFY(isColour(middleOf(decodeWith(cache, m_picture)), Qt::red));
        QCOMPARE(QDir(elsewhere + "/normal").entryList(QDir::Files).size(), 1);
    }

    // A folder that others may write into, or that is another user's, may hold planted
    // thumbnails and would show what the program adds to others: it is neither read
    // nor written.
    void foldersOthersControlAreNotUsed_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("kind");
        QTest::newRow("thumbnails writable by everyone") << ""
                                                         << "0777";
        QTest::newRow("normal writable by everyone") << "/normal"
                                                     << "0777";
        QTest::newRow("normal writable by the group") << "/normal"
                                                      << "0770";
        QTest::newRow("normal another user's") << "/normal"
                                               << "other";
    }

    void foldersOthersControlAreNotUsed()
    {
        QFETCH(QString, folder);
        QFETCH(QString, kind);
        const QString root = newCacheFolder();
        const QString entry = entryPath(root, "normal", m_picture);
        QVERIFY(fixtures::writeFile(entry,
                                    thumbnailPng(QSize(128, 85), Qt::black, textsFor(m_picture))));
        const QByteArray changed = QFile::encodeName(root + folder);
        if (kind == "other") {
            if (::geteuid() != 0)
                QSKIP("giving a folder away takes the superuser");
            QCOMPARE(::chown(changed.constData(), 65534, 65534), 0);
        } else {
            QCOMPARE(::chmod(changed.constData(), mode_t(kind.toUInt(nullptr, 8))), 0);
        }
        const QString other = m_dir.filePath("pictures/another.jpg");
        QVERIFY(fixtures::writeImage(other, QSize(1800, 1200), "jpeg", Qt::blue));
        const ThumbnailCache cache(*m_fs, root);
        QVERIFY(!cache.isWritable());
        ThumbnailRequest request;
        request.locale = QLocale::c();
        request.cache = &cache;
        for (const QString &path : {m_picture, other}) {
            request.path = path;
            const auto row = decodeForList(*m_fs, request);
            QVERIFY(!isColour(middleOf(row), Qt::black));
        }
        QCOMPARE(QDir(root + "/normal").entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void unwritableFolderIsOnlyRead()
    {
        if (::geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        const QString root = newCacheFolder();
        const QString other = m_dir.filePath("pictures/other.jpg");
        QVERIFY(fixtures::writeImage(other, QSize(1800, 1200), "jpeg", Qt::red));
        QVERIFY(fixtures::writeFile(entryPath(root, "normal", m_picture),
                                    thumbnailPng(QSize(128, 85), Qt::green, textsFor(m_picture))));
        QVERIFY(QFile::setPermissions(root + "/normal",
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const ThumbnailCache cache(*m_fs, root);
        QVERIFY(!cache.isWritable());
        QVERIFY(isColour(middleOf(decodeWith(cache, m_picture)), Qt::green));
        QVERIFY(isColour(middleOf(decodeWith(cache, other)), Qt::red));
        QFile::setPermissions(root + "/normal", QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner);
    }

    // A changed file is decoded again and its thumbnail replaced.
    void changedFileIsDecodedAgain()
    {
        const QString root = newCacheFolder();
        const QString path = m_dir.filePath("pictures/changing.jpg");
        QVERIFY(fixtures::writeImage(path, QSize(1800, 1200), "jpeg", Qt::red));
        const ThumbnailCache cache(*m_fs, root);
        QVERIFY(isColour(middleOf(decodeWith(cache, path)), Qt::red));
        QVERIFY(fixtures::writeImage(path, QSize(1800, 1200), "jpeg", Qt::blue));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QDateTime later = QFileInfo(path).lastModified().addSecs(10);
        QVERIFY(file.setFileTime(later, QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(isColour(middleOf(decodeWith(cache, path)), Qt::blue));
        QImageReader reader(entryPath(root, "normal", path), "png");
        QCOMPARE(reader.read().text("Thumb::MTime"), QString::number(later.toSecsSinceEpoch()));
    }

    // A picture that fails to decode leaves a note in this program's own fail folder;
    // a valid note spares the next scan the attempt, a stale one does not.
    void failureNotes()
    {
        const QString root = newCacheFolder();
        const ThumbnailCache cache(*m_fs, root);
        const QString failFolder = root + "/fail/pelmaris-" + pelmaris::program::FileVersion;

        QByteArray png = fixtures::encode(QImage(600, 400, QImage::Format_RGB32), "png");
        png[png.indexOf("IDAT") + 10] = char(png[png.indexOf("IDAT") + 10] ^ 0x55);
        const QString damaged = m_dir.filePath("pictures/damaged.png");
        QVERIFY(fixtures::writeFile(damaged, png));
        QVERIFY(!decodeWith(cache, damaged));
        const QString note =
            failFolder + '/' + ThumbnailCache::fileNameOf(ThumbnailCache::fileUri(damaged));
        QCOMPARE(QImageReader(note, "png").read().text("Thumb::URI"),
                 QString::fromLatin1(ThumbnailCache::fileUri(damaged)));
        QCOMPARE(modeOf(note), mode_t(0600));

        const QString notePath =
            failFolder + '/' + ThumbnailCache::fileNameOf(ThumbnailCache::fileUri(m_picture));
        QMap<QString, QString> texts = textsFor(m_picture);
        texts.insert(preciseTimesOf(m_picture));
        QVERIFY(fixtures::writeFile(notePath, thumbnailPng(QSize(1, 1), Qt::black, texts)));
        QVERIFY(!decodeWith(cache, m_picture));
        texts["Thumb::MTime"] = QString::number(originalOf(m_picture).modified - 5);
        QVERIFY(fixtures::writeFile(notePath, thumbnailPng(QSize(1, 1), Qt::black, texts)));
        QVERIFY(decodeWith(cache, m_picture));
    }

    // A picture noted as a failure while it was still being written, and completed in
    // place within the same second at the same size, is decoded again.
    void failureNoteKnowsTheTimeWithinTheSecond()
    {
        const QString root = newCacheFolder();
        const ThumbnailCache cache(*m_fs, root);
        const QString path = m_dir.filePath("pictures/completed.png");
        QImage noise(600, 400, QImage::Format_RGB32);
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, qRgb((x * 7 + y) & 255, (x ^ y) & 255, (x * y) & 255));
        const QByteArray whole = fixtures::encode(noise, "png");
        QVERIFY(whole.size() > 8192);
        const QByteArray partial = whole.left(4096) + QByteArray(whole.size() - 4096, '\0');
        const QDateTime second = QDateTime::fromSecsSinceEpoch(1700000000);
        const auto writeAt = [&path](const QByteArray &bytes, QDateTime time) {
            QFile f(path);
            return f.open(QIODevice::ReadWrite) && f.write(bytes) == bytes.size() && f.flush() &&
                   f.setFileTime(time, QFileDevice::FileModificationTime);
        };
        QVERIFY(writeAt(partial, second.addMSecs(100)));
        QVERIFY(!decodeWith(cache, path));
        QVERIFY(
            cache.isKnownFailure({path, second.toSecsSinceEpoch(), whole.size(), QSize(600, 400)}));
        QVERIFY(writeAt(whole, second.addMSecs(600)));
        QVERIFY(decodeWith(cache, path));
    }

    // The builder opens the cache a build asks for, and leaves it alone when told to.
    void buildSettingsSwitchTheCache()
    {
        for (bool use : {false, true}) {
            const QString root = newCacheFolder();
            ImageListBuilder builder(*m_fs, 2);
            BuildSettings settings;
            settings.useThumbnailCache = use;
            settings.thumbnailFolder = root;
            builder.start({m_picture}, settings);
            builder.waitForDone();
            std::vector<DecodedRow> rows;
            builder.take(rows);
            QCOMPARE(int(rows.size()), 1);
            QCOMPARE(QFileInfo::exists(entryPath(root, "normal", m_picture)), use);
        }
    }

    // Files inside the cache itself are never thumbnailed.
    void cacheFilesAreNotThumbnailed()
    {
        const QString root = newCacheFolder();
        const ThumbnailCache cache(*m_fs, root);
        const QString inside = root + "/normal/picture.png";
        QVERIFY(fixtures::writeImage(inside, QSize(600, 400), "png"));
        QVERIFY(decodeWith(cache, inside));
        QCOMPARE(QDir(root + "/normal").entryList(QDir::Files).size(), 1);
    }
};

QTEST_MAIN(TestThumbnailCache)
#include "tst_thumbnailcache.moc"
