#include "fakeservices.h"
#include "fulldisk.h"
#include "gallery/pagewriter.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QTest>

using namespace pelmaris;
using namespace pelmaris::gallery;

namespace {

QIcon squareIcon(QColor color)
{
    QPixmap pm(32, 32);
    pm.fill(color);
    return QIcon(pm);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestPageWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileBytes();
    void fullDiskKeepsTheOldPage();
    void createHtmlFile_data();
    void createHtmlFile();
    void writeFailureIsReturned();
    void iconsAreWrittenOnce();
    void nothingForNoPaths();
};

void TestPageWriter::fileBytes()
{
    fakes::FakePlatform fp;
    const QString path = fp.system.temp + "/p.html";
    QVERIFY(writePageFile(path, {"a", "ü", ""}));
    QCOMPARE(readAll(path), QByteArray("\xEF\xBB\xBF"
                                       "a\r\n\xC3\xBC\r\n\r\n"));
    // a rewrite replaces the whole earlier content
    QVERIFY(writePageFile(path, {"b"}));
    QCOMPARE(readAll(path), QByteArray("\xEF\xBB\xBF"
                                       "b\r\n"));
}

void TestPageWriter::fullDiskKeepsTheOldPage()
{
    fakes::FakePlatform fp;
    const QString path = fp.system.temp + "/p.html";
    QVERIFY(writePageFile(path, {"old"}));
    const QByteArray old = readAll(path);
    pelmaris::platform::Outcome written;
    {
        const fakes::FullDisk disk(16);
        written = writePageFile(path, QStringList(100, QString(80, u'x')));
    }
    QVERIFY(!written);
    QVERIFY(!written.text().isEmpty());
    QCOMPARE(readAll(path), old);
}

void TestPageWriter::createHtmlFile_data()
{
    QTest::addColumn<QString>("browser");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("target");
    QTest::newRow("default association, light") << "" << false << "open"
                                                << "";
    QTest::newRow("chosen browser, dark") << "\"/opt/b r/browser\"" << true << "start"
                                          << "/opt/b r/browser";
}

void TestPageWriter::createHtmlFile()
{
    QFETCH(QString, browser);
    QFETCH(bool, dark);
    QFETCH(QString, kind);
    QFETCH(QString, target);
    fakes::FakePlatform fp;
    fp.styles.setDark(dark);
    PageRequest r;
    r.paths = {"/p/a.jpg", "/p/b.jpg"};
    r.light = !dark;
    r.files = {fp.system.temp + "/t.html", fp.system.temp + "/t.ico", fp.system.temp + "/t.icon"};
    r.folderPath = "/p";
    r.browserName1 = browser;
    r.programIcon = squareIcon(Qt::red);
    QVERIFY(writeHtmlFile(fp.services(), r).ok());
    QVERIFY(openPage(fp.services(), r.browserName1, r.files.html).ok());

    const QByteArray bytes = readAll(r.files.html);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF<!DOCTYPE html>\r\n<!--\r\nGenerated "));
    const QString page = QString::fromUtf8(bytes);
    QVERIFY(page.contains(" By Pelmaris V1.6\r\n"));
    QCOMPARE(page.contains("#button button {background: #373737; color: #ffffff}\r\n"), dark);
    QVERIFY(page.contains(dark ? "body {background: #272727; color: #ffffff}"
                               : "body {background: #f0f0f0; color: #000000}"));
    QVERIFY(page.endsWith("</html>\r\n"));
    QVERIFY(fp.dialogs.calls.isEmpty());
    const fakes::FakeShell::Call call = fp.shell.calls.last();
    QCOMPARE(call.kind, kind);
    if (kind == "open") {
        QCOMPARE(call.target, r.files.html);
    } else {
        QCOMPARE(call.target, target);
        QCOMPARE(QProcess::splitCommand(call.parameters), QStringList{r.files.html});
    }
}

void TestPageWriter::writeFailureIsReturned()
{
    fakes::FakePlatform fp;
    PageRequest r;
    r.paths = {"/p/a.jpg"};
    r.files.html = fp.system.temp + "/missing-folder/t.html";
    r.browserName1 = "/usr/bin/browser";
    QCOMPARE(writeHtmlFile(fp.services(), r).text(),
             "Create HtmlFile Failed, Try Again a little later\r\n" + r.files.html);
    QVERIFY(fp.dialogs.calls.isEmpty()); // the window reports it
}

// The page icon and the drive icon are written while missing and then reused, also for
// images on another mount.
void TestPageWriter::iconsAreWrittenOnce()
{
    fakes::FakePlatform fp;
    fp.shell.icon = squareIcon(Qt::blue);
    PageRequest r;
    r.paths = {"/p/a.jpg"};
    r.files = {fp.system.temp + "/t.html", fp.system.temp + "/t.ico", fp.system.temp + "/t.icon"};
    r.programIcon = squareIcon(Qt::red);
    writeHtmlFile(fp.services(), r);
    for (const QString &icon : {r.files.ico, r.files.icon}) {
        QImageReader reader(icon, "ico");
        QVERIFY2(reader.canRead(), qPrintable(icon));
    }
    QCOMPARE(QImage(r.files.ico, "ico").pixelColor(8, 8), QColor(Qt::red));
    QCOMPARE(QImage(r.files.icon, "ico").pixelColor(8, 8), QColor(Qt::blue));

    const QByteArray ico = readAll(r.files.ico);
    fp.shell.calls.clear();
    r.paths = {"/media/usb/b.jpg"};
    r.programIcon = squareIcon(Qt::green);
    writeHtmlFile(fp.services(), r);
    QCOMPARE(readAll(r.files.ico), ico);
    for (const auto &c : fp.shell.calls)
        QVERIFY(c.kind != "driveIcon");

    // On a full disk no half-written icon stays to be reused by every later page.
    const QString partial = fp.system.temp + "/full.ico";
    bool written = true;
    {
        const fakes::FullDisk full(64);
        written = writeIconFileOnce(partial, squareIcon(Qt::red), 16);
    }
    QVERIFY(!written);
    QVERIFY(!QFile::exists(partial));
}

void TestPageWriter::nothingForNoPaths()
{
    fakes::FakePlatform fp;
    PageRequest r;
    r.files.html = fp.system.temp + "/t.html";
    writeHtmlFile(fp.services(), r);
    QVERIFY(!QFile::exists(r.files.html));
    QVERIFY(fp.shell.calls.isEmpty());
    QVERIFY(fp.dialogs.calls.isEmpty());
}

QTEST_MAIN(TestPageWriter)
#include "tst_pagewriter.moc"
