#include "platform/linux/linuxfilesystem.h"

#include "deeptree.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

using namespace pelmaris::platform;

Q_DECLARE_METATYPE(pelmaris::platform::EntryKind)

class TestFileSystem : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    LinuxFileSystem m_fs;

    // The listing of a folder, or an empty one when it cannot be read.
    FolderListing list(const QString &folder, bool foldersOnly)
    {
        FolderListing listing;
        const FolderHandle h = m_fs.openFolder(folder);
        if (h != kNoFolder) {
            m_fs.readFolder(h, listing, foldersOnly);
            m_fs.closeFolder(h);
        }
        return listing;
    }

    const FolderEntry *find(const FolderListing &listing, QByteArrayView nativeName)
    {
        for (const FolderEntry &e : listing.entries)
            if (listing.nativeName(e) == nativeName)
                return &e;
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("TZ", "UTC");
        tzset();

        const QString kinds = m_dir.filePath("kinds");
        QVERIFY(QDir().mkpath(kinds + "/folder"));
        QVERIFY(QDir().mkpath(kinds + "/.hidden"));
        QFile plain(kinds + "/file.txt");
        QVERIFY(plain.open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(kinds + "/folder", kinds + "/folderlink"));
        QVERIFY(QFile::link(kinds + "/file.txt", kinds + "/filelink"));
        QVERIFY(QFile::link(kinds + "/nothing", kinds + "/dangling"));
        QVERIFY(::mkfifo(QFile::encodeName(kinds + "/fifo").constData(), 0600) == 0);

        const QString open = m_dir.filePath("open");
        QVERIFY(QDir().mkpath(open));
        QFile data(open + "/data.bin");
        QVERIFY(data.open(QIODevice::WriteOnly));
        QCOMPARE(data.write("0123456789"), qint64(10));
        QVERIFY(data.flush());
        QVERIFY(data.setFileTime(QDateTime::fromMSecsSinceEpoch(1000000000250),
                                 QFileDevice::FileModificationTime));
        data.close();
        QVERIFY(QFile::link(open + "/data.bin", open + "/datalink"));
        QVERIFY(::mkfifo(QFile::encodeName(open + "/pipe").constData(), 0600) == 0);
        QVERIFY(QFile::link(open + "/pipe", open + "/pipelink"));
        QVERIFY(QFile::link("/dev/zero", open + "/devicelink"));
    }

    // Names that are not UTF-8 are marked, whatever way they fail to be.
    void namesAndTheirTextForms_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("faithful");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QByteArray("plain.jpg") << true << QStringLiteral("plain.jpg");
        QTest::newRow("japanese") << QByteArray("写真 #1%.jpg") << true
                                  << QStringLiteral("写真 #1%.jpg");
        QTest::newRow("beyond the BMP")
            << QByteArray("\xf0\x9f\x93\xb7.png") << true << QStringLiteral("\U0001F4F7.png");
        QTest::newRow("stray byte") << QByteArray("bad\xff.jpg") << false << QString();
        QTest::newRow("cut short at the end") << QByteArray("cut\xe3\x81") << false << QString();
        QTest::newRow("overlong") << QByteArray("over\xc0\xaf") << false << QString();
        QTest::newRow("encoded surrogate") << QByteArray("sur\xed\xa0\x80") << false << QString();
        QTest::newRow("latin-1") << QByteArray("caf\xe9.jpg") << false << QString();
    }

    void namesAndTheirTextForms()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, faithful);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0);
        ::close(fd);
        const FolderListing listing = list(dir.path(), false);
        ::unlink(path.constData());
        QCOMPARE(int(listing.entries.size()), 1);
        const FolderEntry &e = listing.entries.front();
        QCOMPARE(listing.nativeName(e), QByteArrayView(name));
        QCOMPARE(e.faithful, faithful);
        if (faithful)
            QCOMPARE(listing.name(e).toString(), text);
    }

    void kindsOfEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<EntryKind>("kind");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("file") << "file.txt" << EntryKind::File << false;
        QTest::newRow("folder") << "folder" << EntryKind::Folder << false;
        QTest::newRow("hidden folder") << ".hidden" << EntryKind::Folder << true;
        QTest::newRow("link to a folder") << "folderlink" << EntryKind::LinkToFolder << false;
        QTest::newRow("link to a file") << "filelink" << EntryKind::File << false;
        QTest::newRow("dangling link") << "dangling" << EntryKind::File << false;
        QTest::newRow("fifo") << "fifo" << EntryKind::File << false;
    }

    void kindsOfEntries()
    {
        QFETCH(QString, name);
        QFETCH(EntryKind, kind);
        QFETCH(bool, hidden);
        const QString root = m_dir.filePath("kinds");
        const QByteArray nativeName = QFile::encodeName(name);
        const FolderListing all = list(root, false);
        QCOMPARE(int(all.entries.size()), 7);
        const FolderEntry *e = find(all, nativeName);
        QVERIFY(e);
        QCOMPARE(all.name(*e), name);
        QCOMPARE(e->kind, kind);
        QCOMPARE(e->hidden, hidden);
        // Listing folders only leaves everything else out.
        const FolderListing folders = list(root, true);
        QCOMPARE(find(folders, nativeName) != nullptr, kind != EntryKind::File);
    }

    void subfoldersAreNeverOpenedThroughLinks()
    {
        const QString root = m_dir.filePath("links");
        QVERIFY(QDir().mkpath(root + "/real"));
        QVERIFY(QFile::link(root + "/real", root + "/link"));
        const FolderHandle h = m_fs.openFolder(root);
        QVERIFY(h != kNoFolder);
        const FolderHandle real = m_fs.openSubfolder(h, "real");
        QVERIFY(real != kNoFolder);
        QCOMPARE(m_fs.openSubfolder(h, "link"), kNoFolder);
        m_fs.closeFolder(real);
        m_fs.closeFolder(h);
        // The folder a walk starts from may be reached through a link.
        const FolderHandle start = m_fs.openFolder(root + "/link");
        QVERIFY(start != kNoFolder);
        m_fs.closeFolder(start);
    }

    void opensOnlyRegularFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<ReadStatus>("status");
        QTest::newRow("regular") << "data.bin" << ReadStatus::Ok;
        QTest::newRow("through a link") << "datalink" << ReadStatus::Ok;
        QTest::newRow("fifo, which would block") << "pipe" << ReadStatus::NotRegular;
        QTest::newRow("folder") << "." << ReadStatus::NotRegular;
        QTest::newRow("missing") << "none.bin" << ReadStatus::Missing;
        QTest::newRow("below a file") << "data.bin/x" << ReadStatus::Missing;
    }

    void opensOnlyRegularFiles()
    {
        QFETCH(QString, name);
        QFETCH(ReadStatus, status);
        const QString root = m_dir.filePath("open");
        const OpenedFile opened = m_fs.openRegularFile(root + u'/' + name);
        QCOMPARE(opened.status, status);
        QCOMPARE(opened.file != nullptr, status == ReadStatus::Ok);
        if (status == ReadStatus::Ok) {
            QCOMPARE(opened.size, qint64(10));
            QCOMPARE(opened.modified, qint64(1000000000));
            QCOMPARE(opened.modifiedNs, qint64(1000000000250000000));
            // Set by the system when the time above was written: recent, not settable.
            QVERIFY(opened.changedNs > opened.modifiedNs);
            QCOMPARE(opened.file->readAll(), QByteArray("0123456789"));
        }
    }

    // A cache's small files: read whole in one go, never anything but a regular file,
    // and nothing beyond the limit.
    void readsSmallFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<ReadStatus>("status");
        QTest::newRow("regular") << "data.bin" << qint64(10) << ReadStatus::Ok;
        QTest::newRow("through a link") << "datalink" << qint64(10) << ReadStatus::Ok;
        QTest::newRow("over the limit") << "data.bin" << qint64(9) << ReadStatus::TooLarge;
        QTest::newRow("fifo, which would block") << "pipe" << qint64(10) << ReadStatus::NotRegular;
        QTest::newRow("link to a fifo") << "pipelink" << qint64(10) << ReadStatus::NotRegular;
        QTest::newRow("link to a device") << "devicelink" << qint64(10) << ReadStatus::NotRegular;
        QTest::newRow("folder") << "." << qint64(10) << ReadStatus::NotRegular;
        QTest::newRow("missing") << "none.bin" << qint64(10) << ReadStatus::Missing;
        QTest::newRow("below a file") << "data.bin/x" << qint64(10) << ReadStatus::Missing;
    }

    void readsSmallFiles()
    {
        QFETCH(QString, name);
        QFETCH(qint64, limit);
        QFETCH(ReadStatus, status);
        const ReadResult read = m_fs.readSmallFile(m_dir.filePath("open/" + name), limit);
        QCOMPARE(read.status, status);
        QCOMPARE(read.bytes, status == ReadStatus::Ok ? QByteArray("0123456789") : QByteArray());
    }

    // Private folders: made for the user alone, never through a link, and judged by
    // owner, kind and who else may write.
    void privateFolders()
    {
        const QString root = m_dir.filePath("private");
        QVERIFY(m_fs.makePrivateFolder(root + "/a/b/mine", true));
        QVERIFY(!m_fs.makePrivateFolder(root + "/c/d", false));
        QVERIFY(!m_fs.makePrivateFolder(root + "/a/b/mine", false)); // already there
        const auto modeOf = [](const QString &path) {
            struct stat st {};
            return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
        };
        QCOMPARE(modeOf(root + "/a/b/mine") & 07777, mode_t(0700));
        QVERIFY(m_fs.isPrivateFolder(root + "/a/b/mine"));
        QVERIFY(m_fs.canWriteIn(root + "/a/b/mine"));

        QVERIFY(QFile::link(root + "/elsewhere", root + "/dangling"));
        QVERIFY(!m_fs.makePrivateFolder(root + "/dangling", false));
        QVERIFY(S_ISLNK(modeOf(root + "/dangling")));
        QVERIFY(!QFileInfo::exists(root + "/elsewhere"));
        QVERIFY(QFile::link(root + "/a/b/mine", root + "/link"));
        QVERIFY(!m_fs.isPrivateFolder(root + "/link"));
        QCOMPARE(m_fs.canonicalPath(root + "/link/./"),
                 QFileInfo(root).canonicalFilePath() + "/a/b/mine");
        QVERIFY(m_fs.canonicalPath(root + "/none").isEmpty());
        QCOMPARE(::chmod(QFile::encodeName(root + "/a").constData(), 0770), 0);
        QVERIFY(!m_fs.isPrivateFolder(root + "/a"));
        QVERIFY(!m_fs.isPrivateFolder(m_dir.filePath("open/data.bin")));
    }

    // Beyond PATH_MAX every operation still reaches its target.
    void pathsLongerThanTheSystemLimit()
    {
        const int depth = 800; // "/level" each: about 4,800 bytes
        const QString bottom =
            fixtures::makeDeepChain(m_dir.path(), depth, "level", "deep.jpg", depth);
        QVERIFY(!bottom.isEmpty());
        QVERIFY(QFile::encodeName(bottom).size() > PATH_MAX);
        const PathInfo info = m_fs.pathInfo(bottom);
        const OpenedFile opened = m_fs.openRegularFile(bottom + "/deep.jpg");
        const ReadResult read = m_fs.readSmallFile(bottom + "/deep.jpg", 10);
        const FolderListing listing = list(bottom, false);
        const PathInfo missing = m_fs.pathInfo(bottom + "/nothing/here");
        fixtures::removeDeepChain(m_dir.path(), depth, "level", "deep.jpg");
        QVERIFY(info.isFolder);
        QCOMPARE(opened.status, ReadStatus::Ok);
        QCOMPARE(opened.file->readAll(), QByteArray("x"));
        QCOMPARE(read.bytes, QByteArray("x"));
        QCOMPARE(int(listing.entries.size()), 1);
        QVERIFY(!missing.isFolder);
    }

    void pathInfo_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("root") << "/" << true << false;
        QTest::newRow("hidden folder") << "kinds/.hidden/" << true << true;
        QTest::newRow("file") << "kinds/file.txt" << false << false;
        QTest::newRow("link to a folder") << "kinds/folderlink" << true << false;
        QTest::newRow("missing") << "kinds/none" << false << false;
    }

    void pathInfo()
    {
        QFETCH(QString, path);
        QFETCH(bool, folder);
        QFETCH(bool, hidden);
        const QString full = path.startsWith(u'/') ? path : m_dir.filePath(path);
        const PathInfo info = m_fs.pathInfo(full);
        QCOMPARE(info.isFolder, folder);
        QCOMPARE(info.hidden, hidden);
    }

    void localTimeParts()
    {
        const std::optional<LocalTime> t = m_fs.localTime(1000000000);
        QVERIFY(t);
        QCOMPARE(QList<int>({t->year, t->month, t->day, t->hour, t->minute, t->second}),
                 QList<int>({2001, 9, 9, 1, 46, 40}));
    }
};

QTEST_GUILESS_MAIN(TestFileSystem)
#include "tst_filesystem.moc"
