#include "scan/folderwalk.h"

#include "fixtures.h"

#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

using namespace pelmaris::scan;

class TestFolderWalk : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_root;

    // Relative paths, sorted; the live count must agree with the result.
    QStringList walk(bool hidden, WalkResult *out = nullptr)
    {
        WalkControl control;
        WalkResult r = enumerateFiles(m_root, WalkOptions{hidden}, control);
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
        const QByteArray bad = QFile::encodeName(m_root) + "/bad\xff.txt";
        const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY, 0600);
        QVERIFY(fd >= 0);
        ::close(fd);
        QVERIFY(fixtures::writeFile(m_root + QStringLiteral("/bad\uFFFD.txt"), "x"));
    }

    void cleanupTestCase()
    {
        // Qt's own removal cannot see a name that is not UTF-8; it would leave the tree.
        ::unlink((QFile::encodeName(m_root) + "/bad\xff.txt").constData());
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
        QCOMPARE(r.unnamedEntries, qint64(1));
    }

    void pathsAreJoinedByOneDelimiter()
    {
        WalkControl control;
        const WalkResult r = enumerateFiles(m_root + "//", {}, control);
        QVERIFY(r.files.contains(m_root + "/sub/b.txt"));
    }

    void unreadableFolderIsPassedOver()
    {
        if (geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        const QString locked = m_root + "/locked";
        QVERIFY(fixtures::writeFile(locked + "/secret.txt", "s"));
        QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
        WalkResult r;
        const QStringList files = walk(true, &r);
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        QVERIFY(!r.failed);
        QVERIFY(!files.contains("locked/secret.txt"));
        QVERIFY(files.contains("sub/b.txt"));
        QDir(locked).removeRecursively();
    }

    void missingFolderFails()
    {
        WalkControl control;
        const WalkResult r = enumerateFiles(m_root + "/nothing", {}, control);
        QVERIFY(r.failed);
        QVERIFY(r.files.isEmpty());
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
        WalkControl control;
        control.onFile = [&](qint64 found) {
            if (found == 50)
                control.cancel.store(true);
        };
        const WalkResult r = enumerateFiles(big.path(), {}, control);
        QVERIFY(r.cancelled);
        QCOMPARE(r.files.size(), 50);
        QCOMPARE(control.found.load(), qint64(r.files.size()));

        WalkControl early;
        early.cancel.store(true);
        const WalkResult none = enumerateFiles(big.path(), {}, early);
        QVERIFY(none.cancelled);
        QVERIFY(none.files.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "tst_folderwalk.moc"
