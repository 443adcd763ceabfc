#include "scan/folderwalk.h"

#include "deeptree.h"
#include "fakeservices.h"
#include "fixtures.h"
#include "platform/filesystem.h"

#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

using namespace pelmaris::scan;
using pelmaris::fakes::FakeFileSystem;

Q_DECLARE_METATYPE(pelmaris::scan::LeftOut)

namespace {

bool makeRawFile(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

} // namespace

class TestFolderWalk : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const std::unique_ptr<pelmaris::platform::FileSystem> m_fs =
        pelmaris::platform::makeSystemFileSystem();
    QString m_root;
    QByteArray m_badFolder; // a folder whose name is not UTF-8

    // Relative paths, sorted; the live count must agree with the result.
    QStringList walk(bool hidden, WalkResult *out = nullptr)
    {
        WalkControl control;
        WalkResult r = enumerateFiles(*m_fs, m_root, WalkOptions{hidden}, control);
        if (out)
            *out = r;
        if (control.found.load() != qint64(r.files.size()))
            return {QStringLiteral("count disagrees")};
        QStringList files = r.files;
        for (QString &f : files)
            f = f.mid(m_root.size() + 1);
        std::sort(files.begin(), files.end());
        return files;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.path() + QStringLiteral("/tree");
        QVERIFY(fixtures::writeFile(m_root + "/a.txt", "a"));
        QVERIFY(fixtures::writeFile(m_root + "/sub/b.txt", "b"));
        QVERIFY(fixtures::writeFile(m_root + "/sub/deeper/c.txt", "c"));
        QVERIFY(fixtures::writeFile(m_root + "/.hidden/d.txt", "d"));
        QVERIFY(fixtures::writeFile(m_root + "/sub/.e.txt", "e"));
        QVERIFY(QDir().mkpath(m_root + "/empty"));
        // A link back to the top would loop forever if followed.
        QVERIFY(QFile::link(m_root, m_root + "/sub/loop"));
        QVERIFY(QFile::link(m_root + "/a.txt", m_root + "/filelink"));
        QVERIFY(fixtures::makeFifo(m_root + "/fifo"));
        // "\xff" is not UTF-8; its decoded look-alike is a real, different file.
        const QByteArray root = QFile::encodeName(m_root);
        QVERIFY(makeRawFile(root + "/bad\xff.txt"));
        QVERIFY(fixtures::writeFile(m_root + QStringLiteral("/bad\uFFFD.txt"), "x"));
        // A folder with such a name: everything below it is left out, good names too.
        m_badFolder = root + "/dir\xfe";
        QVERIFY(::mkdir(m_badFolder.constData(), 0700) == 0);
        QVERIFY(::mkdir((m_badFolder + "/inner").constData(), 0700) == 0);
        QVERIFY(makeRawFile(m_badFolder + "/one.txt"));
        QVERIFY(makeRawFile(m_badFolder + "/two\xff.txt"));
        QVERIFY(makeRawFile(m_badFolder + "/inner/three.txt"));
    }

    void cleanupTestCase()
    {
        // Qt's own removal cannot see names that are not UTF-8; it would leave the tree.
        ::unlink((QFile::encodeName(m_root) + "/bad\xff.txt").constData());
        ::unlink((m_badFolder + "/one.txt").constData());
        ::unlink((m_badFolder + "/two\xff.txt").constData());
        ::unlink((m_badFolder + "/inner/three.txt").constData());
        ::rmdir((m_badFolder + "/inner").constData());
        ::rmdir(m_badFolder.constData());
    }

    void collectsEveryFile_data()
    {
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<QStringList>("expected");
        const QStringList visible{"a.txt",     QStringLiteral("bad\uFFFD.txt"),
                                  "fifo",      "filelink",
                                  "sub/b.txt", "sub/deeper/c.txt"};
        QStringList all = visible + QStringList{".hidden/d.txt", "sub/.e.txt"};
        std::sort(all.begin(), all.end());
        QTest::newRow("hidden included") << true << all;
        QTest::newRow("hidden left out") << false << visible;
    }

    void collectsEveryFile()
    {
        QFETCH(bool, hidden);
        QFETCH(QStringList, expected);
        WalkResult r;
        QCOMPARE(walk(hidden, &r), expected);
        QVERIFY(!r.failed);
        QVERIFY(!r.cancelled);
        QCOMPARE(r.leftOut.badNameFiles, qint64(1));
        QCOMPARE(r.leftOut.badNameFolders, qint64(1));
        QCOMPARE(r.leftOut.filesInBadNameFolders, qint64(3));
        QCOMPARE(r.leftOut.unreadableFolders, qint64(0));
    }

    void pathsAreJoinedByOneDelimiter()
    {
        WalkControl control;
        const WalkResult r = enumerateFiles(*m_fs, m_root + "//", {}, control);
        QVERIFY(r.files.contains(m_root + "/sub/b.txt"));
    }

    // Opening and reading can each fail; the folder is counted, its siblings stay.
    void unreadableFolderIsCountedAndPassedOver_data()
    {
        QTest::addColumn<bool>("failOpen");
        QTest::newRow("open fails") << true;
        QTest::newRow("read fails") << false;
    }

    void unreadableFolderIsCountedAndPassedOver()
    {
        QFETCH(bool, failOpen);
        FakeFileSystem fs;
        (failOpen ? fs.failOpen : fs.failRead) << m_root + "/sub";
        WalkControl control;
        const WalkResult r = enumerateFiles(fs, m_root, {}, control);
        QVERIFY(!r.failed);
        QVERIFY(r.files.contains(m_root + "/a.txt"));
        QVERIFY(!r.files.contains(m_root + "/sub/b.txt"));
        QVERIFY(!r.files.contains(m_root + "/sub/deeper/c.txt"));
        QCOMPARE(r.leftOut.unreadableFolders, qint64(1));
        QCOMPARE(fs.openNow(), 0);
    }

    void missingOrUnreadableTopFails()
    {
        WalkControl control;
        const WalkResult missing = enumerateFiles(*m_fs, m_root + "/nothing", {}, control);
        QVERIFY(missing.failed);
        QVERIFY(missing.files.isEmpty());
        FakeFileSystem fs;
        fs.failRead << m_root;
        const WalkResult unreadable = enumerateFiles(fs, m_root, {}, control);
        QVERIFY(unreadable.failed);
        QCOMPARE(fs.openNow(), 0);
    }

    void cancelEndsTheWalkAndKeepsWhatWasFound()
    {
        QTemporaryDir big;
        for (int d = 0; d < 20; ++d) {
            const QString folder = big.path() + QStringLiteral("/d%1").arg(d);
            QVERIFY(QDir().mkpath(folder));
            for (int f = 0; f < 100; ++f) {
                QFile file(folder + QStringLiteral("/f%1").arg(f));
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
        }
        FakeFileSystem fs;
        WalkControl control;
        control.onFile = [&](qint64 found) {
            if (found == 50)
                control.cancel.store(true);
        };
        const WalkResult r = enumerateFiles(fs, big.path(), {}, control);
        QVERIFY(r.cancelled);
        QCOMPARE(r.files.size(), 50);
        QCOMPARE(control.found.load(), qint64(r.files.size()));
        QCOMPARE(fs.openNow(), 0);

        WalkControl early;
        early.cancel.store(true);
        const WalkResult none = enumerateFiles(*m_fs, big.path(), {}, early);
        QVERIFY(none.cancelled);
        QVERIFY(none.files.isEmpty());
    }

    // Far past the path length limit: the deepest files are still listed.
    void deepTreeKeepsItsDeepestFiles()
    {
        QTemporaryDir deep;
        const int depth = 3000;
        const QString bottom = fixtures::makeDeepChain(deep.path(), depth, "level", "f.txt", 1000);
        QVERIFY(!bottom.isEmpty());
        QVERIFY(QFile::encodeName(bottom).size() > 4096 * 4);
        WalkControl control;
        const WalkResult r = enumerateFiles(*m_fs, deep.path(), {}, control);
        fixtures::removeDeepChain(deep.path(), depth, "level", "f.txt");
        QVERIFY(!r.failed);
        QCOMPARE(r.leftOut.unreadableFolders, qint64(0));
        QCOMPARE(r.files.size(), 3);
        QVERIFY(r.files.contains(bottom + "/f.txt"));
    }

    // However many folders wait half done on the way down, only a few stay open; the
    // rest are opened again from an open ancestor, and nothing is lost or reordered.
    void openFoldersStayWithinTheBudget()
    {
        QTemporaryDir tree;
        QString folder = tree.path();
        // Names differ by level, so the walk goes down before the last sibling at most
        // levels whatever order the file system lists them in.
        for (int level = 0; level < 30; ++level) {
            for (const char *name : {"a", "m", "z"})
                QVERIFY(
                    fixtures::writeFile(folder + u'/' + name + QString::number(level) + "/f", "x"));
            folder += QStringLiteral("/m") + QString::number(level);
        }
        WalkControl control;
        FakeFileSystem roomy;
        const WalkResult plenty = enumerateFiles(roomy, tree.path(), {true, 1000}, control);
        QCOMPARE(plenty.files.size(), 90);
        QVERIFY(roomy.mostOpen() > 5);

        FakeFileSystem tight;
        const WalkResult few = enumerateFiles(tight, tree.path(), {true, 3}, control);
        QCOMPARE(few.files, plenty.files);
        QCOMPARE(few.leftOut.unreadableFolders, qint64(0));
        QVERIFY2(tight.mostOpen() <= 3 + 2, qPrintable(QString::number(tight.mostOpen())));
        QCOMPARE(tight.openNow(), 0);
    }

    void leftOutText_data()
    {
        QTest::addColumn<LeftOut>("leftOut");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing") << LeftOut{} << QString();
        QTest::newRow("bad names")
            << LeftOut{1234, 0, 0, 0}
            << QStringLiteral("一覧から除外: 名前の文字コードが不正なファイル 1,234 件");
        QTest::newRow("everything")
            << LeftOut{2, 1, 12, 3}
            << QStringLiteral("一覧から除外: 名前の文字コードが不正なファイル 2 件、"
                              "名前の文字コードが不正なフォルダ 1 件 (中のファイル 12 件)、"
                              "読み取れないフォルダ 3 件");
    }

    void leftOutText()
    {
        QFETCH(LeftOut, leftOut);
        QFETCH(QString, expected);
        QCOMPARE(pelmaris::scan::leftOutText(leftOut, QLocale::c()), expected);
    }
};

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "tst_folderwalk.moc"
