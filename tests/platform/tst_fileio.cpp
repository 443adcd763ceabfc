// Whole-file reads that never open anything but a regular file, and writes that leave
// the old file intact when they fail.

#include "deeptree.h"
#include "fulldisk.h"
#include "platform/fileio.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

using namespace pelmaris::platform;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestFileIo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsOnlyRegularFiles()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a.ini"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("0123456789");
        f.close();
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

        ReadResult r = readRegularFile(file, 100);
        QCOMPARE(r.status, ReadStatus::Ok);
        QCOMPARE(r.bytes, QByteArray("0123456789"));
        QCOMPARE(readRegularFile(file, 9).status, ReadStatus::TooLarge);
        QCOMPARE(readRegularFile(file, 10).status, ReadStatus::Ok);
        QCOMPARE(readRegularFile(dir.filePath(QStringLiteral("none")), 100).status,
                 ReadStatus::Missing);
        QCOMPARE(readRegularFile(dir.path(), 100).status, ReadStatus::NotRegular);
        // A FIFO without a writer would block an ordinary open for ever.
        QCOMPARE(readRegularFile(fifo, 100).status, ReadStatus::NotRegular);

        // As deep as a scan lists: past the system's path limit, read all the same.
        const int depth = 800; // "/level" each: about 4,800 bytes
        const QString bottom =
            fixtures::makeDeepChain(dir.path(), depth, "level", "deep.ini", depth);
        QVERIFY(QFile::encodeName(bottom).size() > PATH_MAX);
        const ReadResult deep = readRegularFile(bottom + "/deep.ini", 100);
        fixtures::removeDeepChain(dir.path(), depth, "level", "deep.ini");
        QCOMPARE(deep.status, ReadStatus::Ok);
        QCOMPARE(deep.bytes, QByteArray("x"));
    }

    // Only a folder of the user's own that nobody else may write into is private.
    void privateFolders_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("isPrivate");
        QTest::newRow("own, 0700") << "0700" << true;
        QTest::newRow("own, 0755") << "0755" << true;
        QTest::newRow("writable by the group") << "0770" << false;
        QTest::newRow("writable by everyone") << "0777" << false;
        QTest::newRow("writable by everyone, sticky") << "1777" << false;
        QTest::newRow("link to an own folder") << "link" << false;
        QTest::newRow("file") << "file" << false;
        QTest::newRow("missing") << "missing" << false;
        QTest::newRow("another user's") << "other" << false;
    }

    void privateFolders()
    {
        QFETCH(QString, kind);
        QFETCH(bool, isPrivate);
        QTemporaryDir dir;
        const QString own = dir.filePath(QStringLiteral("own"));
        const QString path = dir.filePath(QStringLiteral("tested"));
        QVERIFY(QDir().mkdir(own));
        if (kind == u"link") {
            QVERIFY(QFile::link(own, path));
        } else if (kind == u"file") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (kind == u"other") {
            if (::geteuid() != 0)
                QSKIP("giving a folder away takes the superuser");
            QVERIFY(QDir().mkdir(path));
            QCOMPARE(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        } else if (kind != u"missing") {
            QVERIFY(QDir().mkdir(path));
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(kind.toUInt(nullptr, 8))),
                     0);
        }
        QCOMPARE(isPrivateFolder(path), isPrivate);
    }

    void writesWholeFilesAndRefusesOthers()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("page.html"));
        QString error;
        QVERIFY(writeWholeFile(file, "first", &error));
        QVERIFY(writeWholeFile(file, "second, longer", &error));
        QCOMPARE(contents(file), QByteArray("second, longer"));
        QVERIFY(writeWholeFile(file, QByteArray(), &error));
        QCOMPARE(QFileInfo(file).size(), 0);

        const QString folder = dir.filePath(QStringLiteral("folder"));
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(!writeWholeFile(folder, "x", &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(QFileInfo(folder).isDir());
    }

    void failedWriteKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("settings.ini"));
        const QByteArray old("[OPTION]\r\nSaveStatus=1\r\n");
        QVERIFY(writeWholeFile(file, old));
        bool ok = true;
        QString error;
        {
            const pelmaris::fakes::FullDisk full(16);
            ok = writeWholeFile(file, QByteArray(4096, 'x'), &error);
        }
        QVERIFY(!ok);
        QVERIFY(!error.isEmpty());
        QCOMPARE(contents(file), old);
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // The overload for caches: chosen permissions from the first byte, the name itself
    // replaced (a link planted there never leads the write elsewhere), and a failed
    // write that keeps the old file and leaves nothing beside it.
    void writesWithOptions_data()
    {
        QTest::addColumn<bool>("durable");
        QTest::newRow("durable") << true;
        QTest::newRow("not flushed") << false;
    }

    void writesWithOptions()
    {
        QFETCH(bool, durable);
        QTemporaryDir dir;
        WriteOptions options;
        options.permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        options.durable = durable;
        const QString file = dir.filePath(QStringLiteral("thumb.png"));
        QVERIFY(writeWholeFile(file, "one", options));
        QCOMPARE(contents(file), QByteArray("one"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0600));

        const QString target = dir.filePath(QStringLiteral("target"));
        QVERIFY(writeWholeFile(target, "keep me"));
        const QString link = dir.filePath(QStringLiteral("link.png"));
        QVERIFY(QFile::link(target, link));
        QVERIFY(writeWholeFile(link, "replaced", options));
        QVERIFY(!QFileInfo(link).isSymLink());
        QCOMPARE(contents(link), QByteArray("replaced"));
        QCOMPARE(contents(target), QByteArray("keep me"));

        QString error;
        bool ok = true;
        {
            const pelmaris::fakes::FullDisk full(16);
            ok = writeWholeFile(file, QByteArray(4096, 'x'), options, &error);
        }
        QVERIFY(!ok);
        QVERIFY(!error.isEmpty());
        QCOMPARE(contents(file), QByteArray("one"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 3);

        const QString folder = dir.filePath(QStringLiteral("folder"));
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(!writeWholeFile(folder, "x", options));
        QVERIFY(QFileInfo(folder).isDir());
    }

    // An exclusive write takes a free name only: whatever has the name already, a file,
    // a link (dangling or not) or a folder, is left as it was, and nothing is left
    // beside it; a failed write leaves the name free.
    void exclusiveWriteTakesOnlyAFreeName_data()
    {
        QTest::addColumn<QString>("taken");
        QTest::newRow("free") << "";
        QTest::newRow("file") << "file";
        QTest::newRow("link to a file") << "link";
        QTest::newRow("dangling link") << "dangling";
        QTest::newRow("folder") << "folder";
    }

    void exclusiveWriteTakesOnlyAFreeName()
    {
        QFETCH(QString, taken);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("page.ico"));
        const QString target = dir.filePath(QStringLiteral("target"));
        QVERIFY(writeWholeFile(target, "target"));
        if (taken == "file")
            QVERIFY(writeWholeFile(name, "old"));
        else if (taken == "link")
            QVERIFY(QFile::link(target, name));
        else if (taken == "dangling")
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("none")), name));
        else if (taken == "folder")
            QVERIFY(QDir().mkdir(name));
        const QStringList before =
            QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        WriteOptions options;
        options.exclusive = true;
        QString error;
        const bool written = writeWholeFile(name, "icon", options, &error);
        QCOMPARE(written, taken.isEmpty());
        QCOMPARE(error.isEmpty(), written);
        QCOMPARE(contents(target), QByteArray("target"));
        if (taken == "file")
            QCOMPARE(contents(name), QByteArray("old"));
        if (taken == "dangling")
            QVERIFY(QFileInfo(name).isSymLink() && !QFileInfo::exists(name));
        if (written)
            QCOMPARE(contents(name), QByteArray("icon"));
        else
            QCOMPARE(QDir(dir.path())
                         .entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                    QDir::NoDotAndDotDot),
                     before);
    }

    void failedExclusiveWriteLeavesTheNameFree()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("page.ico"));
        WriteOptions options;
        options.exclusive = true;
        bool ok = true;
        {
            const pelmaris::fakes::FullDisk full(16);
            ok = writeWholeFile(name, QByteArray(4096, 'x'), options);
        }
        QVERIFY(!ok);
        QVERIFY(
            QDir(dir.path())
                .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
        QVERIFY(writeWholeFile(name, "icon", options));
        QCOMPARE(contents(name), QByteArray("icon"));
    }
};

QTEST_GUILESS_MAIN(TestFileIo)
#include "tst_fileio.moc"
