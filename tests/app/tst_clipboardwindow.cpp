// What the list menu and the folder tree menu hand out through the fake clipboard and
// shell: the list as text in both views, the selected row's path, file and picture,
// the scan list, the tree's folder, and the folder given to a SendTo entry.

#include "app/clipboardcommands.h"
#include "app/folderlistcommands.h"
#include "app/listcommands.h"
#include "app/listfilecommands.h"
#include "app/pelmarisform.h"
#include "app/scancommands.h"
#include "fakeservices.h"
#include "listio/listloader.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using pelmaris::app::TPelmarisForm;
using pelmaris::fakes::FakePlatform;
using pelmaris::platform::FileDialogAnswer;
using pelmaris::platform::SpecialFolder;
using pelmaris::testwindow::Command;
using pelmaris::testwindow::nameOf;
using pelmaris::testwindow::WindowFixture;

namespace {

using pelmaris::testfiles::writeFile;

QByteArray encode(const char *format)
{
    return pelmaris::testfiles::encodeImage(QSize(6, 4), Qt::darkRed, format);
}

struct Window : WindowFixture {
    void select(int row)
    {
        form.ui().ListView1Icons->selectionModel()->setCurrentIndex(
            form.ListModel->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
};

} // namespace

class TestClipboardWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void copyList_data();
    void copyList();
    void copySelectedRow_data();
    void copySelectedRow();
    void imageIncomplete_data();
    void imageIncomplete();
    void folderList();
    void sendTo_data();
    void sendTo();

private:
    QString at(const QString &relative) const { return m_dir.filePath(relative); }

    QTemporaryDir m_dir;
};

void TestClipboardWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    QVERIFY(writeFile(at("pics/a.png"), encode("png")));
    QVERIFY(writeFile(at("pics/写真 #1.jpg"), encode("jpeg")));
    QVERIFY(writeFile(at("pics/b.jfif"), encode("jpeg"))); // a JPEG the copy does not take
    QVERIFY(writeFile(at("pics/c.ico"), encode("ico")));
    QVERIFY(writeFile(at("pics/notes.txt"), "text"));
    QVERIFY(writeFile(at("scripts/viewer"), "#!/bin/sh\n"));
    QVERIFY(QDir().mkpath(at("scripts/a folder")));
}

void TestClipboardWindow::copyList_data()
{
    QTest::addColumn<bool>("details");             // "詳細表示" clicked
    QTest::addColumn<QList<Command>>("menuViews"); // then the list menu's views chosen
    QTest::addColumn<QString>("expected");         // %1 the folder

    // The preview copies the last scan, not the rows a list file brought.
    const QString scanList = "%1/a.png\r\n%1/notes.txt\r\n";
    const QString rows = "\"%1/写真 #1.jpg\",\"jpeg\",\"12\",\"\",\"\",\"\"\r\n"
                         "\"%1/a.png\",\"\",\"\",\"\",\"\",\"\"\r\n";
    QTest::newRow("preview: the scan list") << false << QList<Command>() << scanList;
    QTest::newRow("details: the rows") << true << QList<Command>() << rows;
    // The menu switches the view only: the copy goes by the radio buttons.
    QTest::newRow("details from the menu: the scan list")
        << false << QList<Command>{Command::pm1vsReport} << scanList;
    QTest::newRow("preview from the menu: the rows")
        << true << QList<Command>{Command::pm1vsIcon} << rows;
}

void TestClipboardWindow::copyList()
{
    QFETCH(bool, details);
    QFETCH(QList<Command>, menuViews);
    QFETCH(QString, expected);

    Window w;
    QVERIFY(w.show());
    QVERIFY(w.load("\"" + at("pics/写真 #1.jpg") + "\",\"jpeg\",\"12\"\n" + at("pics/a.png")));
    w.form.Scanner->setScanList({at("pics/a.png"), at("pics/notes.txt")});
    if (details)
        w.form.ui().RbReport->click();
    for (Command view : menuViews) {
        w.form.List->PopupMenu1Popup();
        w.trigger(view);
        QCOMPARE(w.form.ui().ListView1->currentWidget(),
                 view == Command::pm1vsReport ? static_cast<QWidget *>(w.form.ui().ListView1Details)
                                              : w.form.ui().ListView1Icons);
        QCOMPARE(w.form.ui().RbReport->isChecked(), details);
    }
    w.form.List->PopupMenu1Popup();
    w.entry(Command::pm1CopyList)->trigger();
    QCOMPARE(w.fake.clipboard.text(), expected.arg(at("pics")));
}

void TestClipboardWindow::copySelectedRow_data()
{
    QTest::addColumn<Command>("entry");
    QTest::addColumn<bool>("selected");

    for (Command entry : {Command::pm1CopyPath, Command::pm1CopyFile, Command::pm1CopyImage}) {
        const QString name = nameOf(entry);
        QTest::newRow(qPrintable(name)) << entry << true;
        QTest::newRow(qPrintable(name + ", no row selected")) << entry << false;
    }
}

void TestClipboardWindow::copySelectedRow()
{
    QFETCH(Command, entry);
    QFETCH(bool, selected);

    Window w;
    QVERIFY(w.show());
    const QString path = at("pics/写真 #1.jpg");
    QVERIFY(w.load(at("pics/a.png") + "\n" + path));
    w.fake.clipboard.setText("before");
    if (selected) {
        w.select(1);
        w.form.List->PopupMenu1Popup();
        w.trigger(entry);
    } else {
        w.form.ui().ListView1Icons->selectionModel()->clear();
        // The menu keeps these entries off; the handlers find no row either.
        w.form.Clipboard->pm1CopyPathClick();
        w.form.Clipboard->pm1CopyFileClick();
        w.form.Clipboard->pm1CopyImageClick();
        QCOMPARE(w.fake.clipboard.text(), QStringLiteral("before"));
        QVERIFY(w.fake.dialogs.calls.isEmpty());
        return;
    }
    if (entry == Command::pm1CopyPath) {
        QCOMPARE(w.fake.clipboard.text(), path);
    } else if (entry == Command::pm1CopyFile) {
        QCOMPARE(w.fake.clipboard.files, QStringList{path});
    } else {
        QCOMPARE(w.fake.clipboard.image.size(), QSize(6, 4));
        QVERIFY(w.fake.dialogs.calls.isEmpty());
    }
}

void TestClipboardWindow::imageIncomplete_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("a JPEG named .jfif") << "pics/b.jfif";
    QTest::newRow("an icon") << "pics/c.ico";
    QTest::newRow("a text") << "pics/notes.txt";
}

void TestClipboardWindow::imageIncomplete()
{
    QFETCH(QString, file);

    Window w;
    QVERIFY(w.show());
    QVERIFY(w.load(at(file)));
    w.fake.clipboard.setText("before");
    w.select(0);
    w.form.Clipboard->pm1CopyImageClick();
    QCOMPARE(w.fake.dialogs.texts("message"), QStringList{"Image incomplete"});
    QCOMPARE(w.fake.clipboard.text(), QStringLiteral("before"));
}

void TestClipboardWindow::folderList()
{
    Window w;
    // Before the window shows, the tree has no folder: the copy puts an empty text.
    w.fake.clipboard.setText("before");
    w.form.FolderList->pm3CopyPathClick();
    QCOMPARE(w.fake.clipboard.text(), QString());

    QVERIFY(w.show());
    const QStringList scanned = {at("pics/notes.txt"), at("pics/a.png")};
    w.form.Scanner->setScanList(scanned);
    w.form.navigateTree(at("pics"));
    w.form.Scan->PopupMenu3Popup();

    // Another order is only a check mark until the next scan: the copy keeps the order.
    w.entry(Command::pm3RandomOut)->trigger();
    for (Command order :
         {Command::pm3NumSortA, Command::pm3NumSortD, Command::pm3DicSortA, Command::pm3DicSortD})
        QVERIFY2(!w.entry(order)->isChecked(), qPrintable(nameOf(order)));
    QVERIFY(w.entry(Command::pm3RandomOut)->isChecked());
    w.entry(Command::pm3CopyFileList)->trigger();
    QCOMPARE(w.fake.clipboard.text(), scanned.join("\r\n") + "\r\n");
    QCOMPARE(w.form.ScanList(), scanned);

    w.entry(Command::pm3CopyPath)->trigger();
    QCOMPARE(w.fake.clipboard.text(), at("pics"));
}

void TestClipboardWindow::sendTo_data()
{
    QTest::addColumn<QString>("entry"); // relative to the sandbox; empty: cancel
    QTest::addColumn<bool>("treeFolder");
    QTest::addColumn<bool>("started");

    QTest::newRow("an entry") << "scripts/viewer" << true << true;
    QTest::newRow("cancelled") << "" << true << false;
    QTest::newRow("a folder as entry") << "scripts/a folder" << true << false;
    QTest::newRow("no folder in the tree") << "scripts/viewer" << false << false;
}

void TestClipboardWindow::sendTo()
{
    QFETCH(QString, entry);
    QFETCH(bool, treeFolder);
    QFETCH(bool, started);

    Window w;
    w.fake.folders.paths[int(SpecialFolder::SendTo)] = at("scripts");
    if (treeFolder) {
        QVERIFY(w.show());
        QVERIFY(QDir().mkpath(at("my \"pics\"")));
        w.form.navigateTree(at("my \"pics\""));
        QCOMPARE(w.form.treeSelectedPath(), at("my \"pics\""));
    }
    if (!entry.isEmpty())
        w.fake.dialogs.fileAnswers << FileDialogAnswer{at(entry), 0};

    w.form.FolderList->pm3SendToClick();

    QCOMPARE(w.fake.dialogs.requests.size(), treeFolder ? 1 : 0);
    if (treeFolder)
        QCOMPARE(w.fake.dialogs.requests.first().directory, at("scripts") + "/");
    QList<pelmaris::fakes::FakeShell::Call> starts;
    for (const auto &call : w.fake.shell.calls)
        if (call.kind == QLatin1String("start"))
            starts << call;
    QCOMPARE(starts.size(), started ? 1 : 0);
    if (started) {
        QCOMPARE(starts.first().target, at(entry));
        // One argument, whatever blanks and quotes the folder holds.
        QCOMPARE(QProcess::splitCommand(starts.first().parameters), QStringList{at("my \"pics\"")});
    }
}

QTEST_MAIN(TestClipboardWindow)
#include "tst_clipboardwindow.moc"
