#include "platform/tempfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace pelmaris::platform;

class TestTempFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void namesShareOneStem();
    void neverThroughALink();
    void scrubOverwritesBeforeRemoving();
    void scrubOpensOnlyRegularFiles();
    void unusableFolderReportsError();
};

void TestTempFiles::namesShareOneStem()
{
    QTemporaryDir dir;
    TempFileNames a;
    TempFileNames b;
    QString error;
    QVERIFY2(makeTempFileNames(dir.path(), &a, &error), qPrintable(error));
    QVERIFY2(makeTempFileNames(dir.path(), &b, &error), qPrintable(error));

    const QString base = a.html.chopped(5);
    QVERIFY(QFileInfo(base).fileName().startsWith(QStringLiteral("tmp")));
    QCOMPARE(QFileInfo(a.html).absolutePath(), QDir(dir.path()).absolutePath());
    QCOMPARE(a.ico, base + QStringLiteral(".ico"));
    QCOMPARE(a.icon, base + QStringLiteral(".icon"));
    QVERIFY(a.html != b.html);
    // Only the empty page files remain; the first unique file is gone.
    QCOMPARE(QFileInfo(a.html).size(), 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(), 2);
}

void TestTempFiles::neverThroughALink()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("victim"));
    const QString dangling = dir.filePath(QStringLiteral("dangling"));
    const QString toFile = dir.filePath(QStringLiteral("tofile"));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), dangling));
    {
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("precious");
    }
    QVERIFY(QFile::link(target, toFile));

    QString error;
    QVERIFY(!createFileExclusively(dangling, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("nowhere"))));
    QVERIFY(!createFileExclusively(toFile, &error));
    QFile f(target);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("precious"));
}

void TestTempFiles::scrubOverwritesBeforeRemoving()
{
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("page.html"));
    const QString second = dir.filePath(QStringLiteral("second-name"));
    const QByteArray content = "<p>/home/someone/写真/a.jpg</p>\r\n<p>b</p>\r\n";
    {
        QFile f(page);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    // A second name keeps the data reachable after the page's name is gone.
    QCOMPARE(::link(QFile::encodeName(page).constData(), QFile::encodeName(second).constData()), 0);

    QVERIFY(scrubAndRemove(page));
    QVERIFY(!QFileInfo::exists(page));
    QFile f(second);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray left = f.readAll();
    QCOMPARE(left.size(), content.size());
    for (char c : left)
        QVERIFY(c == '\0' || c == '\r' || c == '\n');
}

// Something put in the page's place is never opened: a FIFO would block the close and a
// link would have its target zeroed. Only the name goes.
void TestTempFiles::scrubOpensOnlyRegularFiles()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("precious"));
    {
        QFile f(target);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("precious");
    }
    const QString link = dir.filePath(QStringLiteral("link.html"));
    QVERIFY(QFile::link(target, link));
    const QString fifo = dir.filePath(QStringLiteral("fifo.html"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    ::alarm(20); // a blocked open ends the run instead of hanging it
    QVERIFY(!scrubAndRemove(link));
    QVERIFY(!scrubAndRemove(fifo));
    ::alarm(0);
    QFile f(target);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("precious"));
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(!QFileInfo::exists(fifo));
}

void TestTempFiles::unusableFolderReportsError()
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QVERIFY(QFile(blocker).open(QIODevice::WriteOnly));
    TempFileNames names;
    QString error;
    QVERIFY(!makeTempFileNames(blocker, &names, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(names.html.isEmpty());
    QVERIFY(!scrubAndRemove(dir.filePath(QStringLiteral("missing.html"))));
}

QTEST_GUILESS_MAIN(TestTempFiles)
#include "tst_tempfiles.moc"
