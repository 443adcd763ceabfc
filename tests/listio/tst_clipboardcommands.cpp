#include "../scan/picturefixtures.h"
#include "deeptree.h"
#include "fakeservices.h"
#include "listio/clipboardcommands.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pelmaris::listio;
using pelmaris::fakes::FakeClipboard;
using pelmaris::scan::ListItem;

namespace {

ListItem row(const QString &path)
{
    ListItem item;
    item.caption = path;
    item.subItems = {"png", "1,234", "40", "30", "2024/05/06 07:08:09"};
    return item;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray pngBytes(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

} // namespace

class TestClipboardCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The detail view copies the rows with their details, the preview view ScanList.
    void listCopyFollowsTheView()
    {
        FakeClipboard clipboard;
        const std::vector<ListItem> rows = {row("/p/a.png")};
        const QStringList scanList = {"/p/a.png", "/p/notes.txt"};
        copyListText(clipboard, true, rows, scanList);
        QCOMPARE(clipboard.text(), QStringLiteral("\"/p/a.png\",\"png\",\"1,234\",\"40\",\"30\","
                                                  "\"2024/05/06 07:08:09\""
                                                  "\r\n"));
        copyListText(clipboard, false, rows, scanList);
        QCOMPARE(clipboard.text(), QStringLiteral("/p/a.png\r\n/p/notes.txt\r\n"));
        copyListText(clipboard, false, rows, {});
        QVERIFY(clipboard.hasText());
        QCOMPARE(clipboard.text(), QString());
    }

    void pathsAndFolderAsText()
    {
        FakeClipboard clipboard;
        copyPath(clipboard, QStringLiteral("/p/写真.jpg"));
        QCOMPARE(clipboard.text(), QStringLiteral("/p/写真.jpg"));
        copyScanList(clipboard, {"/p/a", "/p/b"});
        QCOMPARE(clipboard.text(), QStringLiteral("/p/a\r\n/p/b\r\n"));
        copyFolderPath(clipboard, QString());
        QVERIFY(clipboard.hasText());
        QCOMPARE(clipboard.text(), QString());
    }

    void fileCopyLeavesOutBlankPaths()
    {
        FakeClipboard clipboard;
        QVERIFY(CopyFilesToClipboard(clipboard, {QStringLiteral("/p/写真 1.jpg"), " \t"}));
        QCOMPARE(clipboard.files, QStringList{QStringLiteral("/p/写真 1.jpg")});
        clipboard.setText(QStringLiteral("kept"));
        QVERIFY(!CopyFilesToClipboard(clipboard, {QString(), QStringLiteral(" ")}));
        QCOMPARE(clipboard.text(), QStringLiteral("kept"));
    }

    // Only the listed extensions copy; an icon never does. A failure leaves the
    // clipboard as it was.
    void imageCopyByExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("copied");
        const QByteArray png = pngBytes(QSize(3, 2));
        QTest::newRow("png") << "a.png" << png << true;
        QTest::newRow("upper case extension") << "a.PNG" << png << true;
        QTest::newRow("png named jpg") << "a.jpg" << png << true;
        QTest::newRow("jfif is not listed") << "a.jfif" << png << false;
        QTest::newRow("icon") << "a.ico" << png << false;
        QTest::newRow("damaged") << "a.png" << png.left(png.size() / 2) << false;
        QTest::newRow("garbage") << "a.gif" << QByteArray("GIF89a\xff\xff\0\0", 10) << false;
        QTest::newRow("metafile has no decoder here") << "a.wmf" << QByteArray(64, '\0') << false;
    }
    void imageCopyByExtension()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, copied);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        writeFile(path, bytes);
        FakeClipboard clipboard;
        clipboard.setText(QStringLiteral("kept"));
        QCOMPARE(CopyImageToClipboard(clipboard, path), copied);
        if (copied) {
            QCOMPARE(clipboard.image.size(), QSize(3, 2));
        } else {
            QCOMPARE(clipboard.text(), QStringLiteral("kept"));
            QVERIFY(clipboard.image.isNull());
        }
        QCOMPARE(imageIncompleteText(), QStringLiteral("Image incomplete"));
    }

    void imageCopyNeverOpensSpecialFiles()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("x.png"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        FakeClipboard clipboard;
        QVERIFY(!CopyImageToClipboard(clipboard, fifo)); // returns: nothing waits on it
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("d.png")));
        QVERIFY(!CopyImageToClipboard(clipboard, dir.filePath(QStringLiteral("d.png"))));
        QVERIFY(!CopyImageToClipboard(clipboard, dir.filePath(QStringLiteral("gone.png"))));
    }

    // What a camera or a scanner makes is copied whole: past 64 megapixels, and from a
    // folder deeper than a path the system takes in one piece.
    void imageCopyOfLargeAndDeepPictures()
    {
        QTemporaryDir dir;
        const QString scan = dir.filePath(QStringLiteral("scan.png"));
        QVERIFY(picturefixtures::writeFlatPng(scan, QSize(8200, 8200)));
        FakeClipboard clipboard;
        QVERIFY(CopyImageToClipboard(clipboard, scan));
        QCOMPARE(clipboard.image.size(), QSize(8200, 8200));
        clipboard.clear();

        const QByteArray name(200, 'd');
        constexpr int depth = 25;
        const QString bottom = fixtures::makeDeepChain(dir.path(), depth, name, "x.png", depth);
        QVERIFY(QFile::encodeName(bottom).size() > PATH_MAX);
        const QString shallow = dir.filePath(QStringLiteral("deep.png"));
        writeFile(shallow, pngBytes(QSize(3, 2)));
        int fd = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
        for (int level = 0; fd >= 0 && level < depth; ++level) {
            const int next = ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = next;
        }
        QVERIFY(fd >= 0);
        QCOMPARE(::renameat(AT_FDCWD, QFile::encodeName(shallow).constData(), fd, "x.png"), 0);
        ::close(fd);
        QVERIFY(CopyImageToClipboard(clipboard, bottom + QStringLiteral("/x.png")));
        QCOMPARE(clipboard.image.size(), QSize(3, 2));
        fixtures::removeDeepChain(dir.path(), depth, name, "x.png");
    }

    void sendToStartsTheEntryWithTheQuotedFolder()
    {
        QTemporaryDir dir;
        const QString entry = dir.filePath(QStringLiteral("script"));
        writeFile(entry, "#!/bin/sh\n");
        const std::optional<SendToCall> call = sendToCall(QStringLiteral("/p/a \"b\" c"), entry);
        QVERIFY(call);
        QCOMPARE(call->program, entry);
        QCOMPARE(QProcess::splitCommand(call->parameters),
                 QStringList{QStringLiteral("/p/a \"b\" c")});
        QVERIFY(!sendToCall(QString(), entry));
        QVERIFY(!sendToCall(QStringLiteral("/p"), QString()));
        QVERIFY(!sendToCall(QStringLiteral("/p"), dir.path()));
        // a link to a folder is an entry: started, it opens its folder
        const QString link = dir.filePath(QStringLiteral("to folder"));
        QVERIFY(QFile::link(dir.path(), link));
        QCOMPARE(sendToCall(QStringLiteral("/p"), link)->program, link);
        QCOMPARE(sendToDialog(QStringLiteral("/s")).directory, QStringLiteral("/s"));
    }
};

QTEST_MAIN(TestClipboardCommands)
#include "tst_clipboardcommands.moc"
