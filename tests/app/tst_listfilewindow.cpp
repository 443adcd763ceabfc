// The list as text in the main window: save, open and paste through the fake dialogs
// and clipboard, the rows a text makes, a long load and its cancel, and the file-name
// rebuild. The text rules themselves are the list library's tests.

#include "app/listcommands.h"
#include "app/listfilecommands.h"
#include "app/pelmarisform.h"
#include "app/scancommands.h"
#include "fakeservices.h"
#include "listio/listfile.h"
#include "listio/listformat.h"
#include "listio/listloader.h"
#include "listio/listsaver.h"
#include "scan/imagelistmodel.h"
#include "scan/listtexts.h"
#include "scan/scancontroller.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <sys/stat.h>

using pelmaris::app::TPelmarisForm;
using pelmaris::fakes::FakePlatform;
using pelmaris::platform::FileDialogAnswer;
using pelmaris::testwindow::Command;
using pelmaris::testwindow::nameOf;
using pelmaris::testwindow::WindowFixture;

namespace {

using pelmaris::testfiles::readFile;
using pelmaris::testfiles::writeFile;

QByteArray png()
{
    return pelmaris::testfiles::encodeImage(QSize(5, 4), Qt::darkGreen, "png");
}

struct Window : WindowFixture {
    // Idle, and the list back on as every piece of work leaves it.
    bool idle() { return waitIdle() && form.ui().ListView1->isEnabled(); }
    bool load(const QString &text)
    {
        form.ListFiles->LoadListFromText(text);
        return idle();
    }
    QStringList rows() const { return WindowFixture::captions(); }
    QStringList captions() const
    {
        return {form.ui().CheckBoxAll1->text(), form.ui().btnBrowse1->text(),
                form.ui().CheckBoxTop10->text()};
    }
};

} // namespace

class TestListFileWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void save_data();
    void save();
    void saveCancelledOrFailed();
    void saveTellsOfNamesLeftOut();
    void loadMakesRowsOfExistingFiles();
    void emptyTextsLeaveAnEmptyList_data();
    void emptyTextsLeaveAnEmptyList();
    void open_data();
    void open();
    void openMostlyUtf8List();
    void pasteWaitsWithoutBlocking();
    void longLoadIsBusyAndCancelKeepsRows();
    void rebuildByFileNames();
    void listEntriesWork();

private:
    QString at(const QString &relative) const { return m_dir.filePath(relative); }
    QString threeRows() const; // detail lines of a, b and c
    QStringList fiveFiles() const;

    QTemporaryDir m_dir;
};

void TestListFileWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    for (const char *name :
         {"a.png", "b.png", "c.png", "d.png", "e.png", "a b,c.png", "写真.png", "風景.png"})
        QVERIFY(writeFile(at(QStringLiteral("pics/") + QString::fromUtf8(name)), png()));
    QVERIFY(writeFile(at("pics/notes.txt"), "not a picture"));
    QVERIFY(writeFile(at("other/z.png"), png()));
    QCOMPARE(::mkfifo(QFile::encodeName(at("pics/fifo.png")).constData(), 0600), 0);
}

QString TestListFileWindow::threeRows() const
{
    QString text;
    for (const char *name : {"a.png", "b.png", "c.png"})
        text += QStringLiteral("\"%1\",\"png\",\"1,000\",\"5\",\"4\",\"2024/05/06 07:08:09\"\r\n")
                    .arg(at(QStringLiteral("pics/") + QLatin1String(name)));
    return text;
}

QStringList TestListFileWindow::fiveFiles() const
{
    return {at("pics/a.png"), at("pics/b.png"), at("pics/notes.txt"), at("pics/d.png"),
            at("pics/e.png")};
}

void TestListFileWindow::save_data()
{
    QTest::addColumn<bool>("details");
    QTest::addColumn<bool>("folderList"); // the tree menu's "ファイルリストを保存"
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("answerType"); // 0 CSV, 1 TEXT, 2 ALL
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("detailForm");
    QTest::addColumn<int>("offeredType");
    QTest::addColumn<QString>("count");

    QTest::newRow("details, CSV type")
        << true << false << "list" << 0 << "list.csv" << true << 0 << "(3)";
    QTest::newRow("details, .CSV is the path form")
        << true << false << "list.CSV" << 0 << "list.CSV" << false << 0 << "(3)";
    QTest::newRow("preview, TEXT type")
        << false << false << "list" << 1 << "list.txt" << false << 1 << "(5)";
    QTest::newRow("preview, ALL type keeps the name")
        << false << false << "list" << 2 << "list" << false << 1 << "(5)";
    QTest::newRow("preview, a typed .csv writes the rows")
        << false << false << "mine.csv" << 1 << "mine.csv" << true << 1 << "(5)";
    QTest::newRow("folder list from the details")
        << true << true << "files" << 1 << "files.txt" << false << 1 << "(5)";
}

void TestListFileWindow::save()
{
    QFETCH(bool, details);
    QFETCH(bool, folderList);
    QFETCH(QString, answer);
    QFETCH(int, answerType);
    QFETCH(QString, written);
    QFETCH(bool, detailForm);
    QFETCH(int, offeredType);
    QFETCH(QString, count);

    Window w;
    QVERIFY(w.show());
    QVERIFY(w.load(threeRows()));
    w.form.Scanner->setScanList(fiveFiles());
    if (details)
        w.form.ui().RbReport->click();
    QTemporaryDir out;
    w.fake.dialogs.fileAnswers << FileDialogAnswer{out.filePath(answer), answerType};

    if (folderList) {
        w.form.Scan->PopupMenu3Popup();
        w.entry(Command::pm3SaveFileList)->trigger();
    } else {
        w.form.List->PopupMenu1Popup();
        w.entry(Command::pm1SaveListAs)->trigger();
    }
    QVERIFY(w.idle());

    QCOMPARE(w.fake.dialogs.requests.size(), 1);
    const auto &request = w.fake.dialogs.requests.first();
    QCOMPARE(request.filterIndex, offeredType);
    QVERIFY2(request.fileName.startsWith("Pelmaris" + count + "-"), qPrintable(request.fileName));
    const QString path = out.filePath(written);
    const auto form =
        detailForm ? pelmaris::listio::ListForm::Detail : pelmaris::listio::ListForm::Path;
    const auto text =
        pelmaris::listio::listText(form, w.form.ListModel->items(), w.form.ScanList());
    QCOMPARE(readFile(path), text.text.toUtf8());
    QCOMPARE(w.form.ui().StatusPanel1->text(),
             QStringLiteral("%1 保存しました  %2").arg(detailForm ? 3 : 5).arg(written));
    QVERIFY(w.form.ui().ListView1->isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    if (folderList) { // the list went to the preview view first
        QVERIFY(w.form.ui().RbPreView->isChecked());
        QCOMPARE(w.form.ui().ListView1->currentWidget(), w.form.ui().ListView1Icons);
    }
}

void TestListFileWindow::saveCancelledOrFailed()
{
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.load(threeRows()));
    const QString status = w.form.ui().StatusPanel1->text();

    // Cancelled: nothing is written, nothing changes.
    w.form.ListFiles->pm1SaveListAsClick(nullptr);
    QVERIFY(w.idle());
    QCOMPARE(w.fake.dialogs.requests.size(), 1);
    QCOMPARE(w.form.ui().StatusPanel1->text(), status);

    // A folder where the file should go: the message names it, no status text.
    w.fake.dialogs.fileAnswers << FileDialogAnswer{at("pics"), 2};
    w.form.ListFiles->pm1SaveListAsClick(nullptr);
    QVERIFY(w.idle());
    const QStringList messages = w.fake.dialogs.texts("message");
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().endsWith("\r\n" + at("pics")), qPrintable(messages.first()));
    QCOMPARE(w.form.ui().StatusPanel1->text(), status);
    QVERIFY(w.form.ui().ListView1->isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(QFileInfo(at("pics")).isDir());
}

void TestListFileWindow::saveTellsOfNamesLeftOut()
{
    Window w;
    QVERIFY(w.show());
    // A line break in a name has no line of its own in the text: left out, and said so.
    w.form.Scanner->setScanList({at("pics/a.png"), at("pics/two\nlines.png"), at("pics/b.png")});
    QTemporaryDir out;
    w.form.ListFiles->saveListTo({out.filePath("list.txt"), pelmaris::listio::ListForm::Path});
    QVERIFY(w.idle());
    QCOMPARE(readFile(out.filePath("list.txt")),
             (at("pics/a.png") + "\r\n" + at("pics/b.png") + "\r\n").toUtf8());
    QCOMPARE(w.form.ui().StatusPanel1->text(),
             QStringLiteral("2 保存しました  list.txt  (改行を含む 1 件は除外)"));
}

void TestListFileWindow::loadMakesRowsOfExistingFiles()
{
    Window w;
    QVERIFY(w.show());
    const QString a = at("pics/a.png");
    const QString blank = at("pics/a b,c.png");
    QString text = "; a comment line\r\n\r\n";
    text += QStringLiteral("\"%1\",\"png\",\"1,000\",\"5\",\"4\",\"t\",\"extra\"\r\n").arg(a);
    text += blank + "\n";                                 // bare, with blank and comma
    text += at("pics/missing.png") + "\r\n";              // gone
    text += at("pics") + "\r\n";                          // a folder
    text += at("pics/fifo.png") + "\r\n";                 // a FIFO: never opened
    text += "\"" + at("pics/b.png") + "\r\n";             // unterminated quote
    text += "\"" + at("pics/c.png") + "\" \r\n";          // a blank after the quote
    text += at("pics/d.png") + QChar(0) + "x\r\n";        // a NUL inside
    text += QString(1 << 20, u'\x7f') + "\r\n";           // a 1 MB line of garbage
    text += "\xff\xfe garbage \xd8\r" + at("pics/e.png"); // CR alone ends a line
    text += "\r" + at("other/z.png");                     // no line end at the end

    QVERIFY(w.load(text));

    QCOMPARE(w.rows(), QStringList({a, blank, at("pics/e.png"), at("other/z.png")}));
    const auto &first = w.form.ListModel->item(0);
    QCOMPARE(QStringList(first.subItems.begin(), first.subItems.end()),
             QStringList({"png", "1,000", "5", "4", "t"}));
    const auto &bare = w.form.ListModel->item(1);
    QCOMPARE(QStringList(bare.subItems.begin(), bare.subItems.end()), QStringList(5));
    QCOMPARE(w.form.ListModel->checkedCount(), 4);
    QCOMPARE(w.captions(), QStringList({"全選択(4)", "選択表示(4)", "10%(0)"}));
    QCOMPARE(w.form.ui().StatusPanel1->text(), QStringLiteral("4 / 14"));
    QVERIFY(w.form.ui().CheckBoxAll1->isChecked());
    QVERIFY(w.form.ui().GridPanel2->isEnabled());
    QVERIFY(w.form.ui().BtnShuffle1->isEnabled());
    QVERIFY(w.form.ui().btnBrowse1->isEnabled());
    QVERIFY(w.form.closeEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // The tree shows where the first picture is.
    QCOMPARE(w.form.state().CurrentDir1, at("pics"));
    QTRY_COMPARE(w.form.treeSelectedPath(), at("pics"));
}

void TestListFileWindow::emptyTextsLeaveAnEmptyList_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("empty text") << "text";
    QTest::newRow("comments only") << "comments";
    QTest::newRow("paste without text") << "paste";
}

void TestListFileWindow::emptyTextsLeaveAnEmptyList()
{
    QFETCH(QString, how);

    Window w;
    QVERIFY(w.show());
    QVERIFY(w.load(threeRows()));
    w.form.state().DblClickPath1 = "before";
    if (how == "text") {
        QVERIFY(w.load(QString()));
    } else if (how == "comments") {
        QVERIFY(w.load(";" + at("pics/a.png") + "\r\n;\r\n"));
    } else {
        w.fake.clipboard.setImage(QImage(2, 2, QImage::Format_RGB32)); // no text
        w.form.List->PopupMenu1Popup();
        w.entry(Command::pm1PasteList)->trigger();
        QVERIFY(w.idle());
    }
    QCOMPARE(w.form.ListModel->rowCount(), 0);
    QCOMPARE(w.form.ui().StatusPanel1->text(), QString()); // no line was read to count
    QCOMPARE(w.captions(), QStringList({"全選択(0)", "選択表示(0)", "10%(0)"}));
    QVERIFY(!w.form.ui().GridPanel2->isEnabled());
    QVERIFY(!w.form.ui().BtnShuffle1->isEnabled());
    QVERIFY(w.form.closeEnabled());
    if (how == "paste") {
        static const QRegularExpression time(R"(^\d{4}/\d\d/\d\d \d\d:\d\d:\d\d$)");
        QVERIFY2(time.match(w.form.state().DblClickPath1).hasMatch(),
                 qPrintable(w.form.state().DblClickPath1));
    } else {
        QCOMPARE(w.form.state().DblClickPath1, QStringLiteral("before"));
    }
}

void TestListFileWindow::open_data()
{
    QTest::addColumn<QString>("file"); // relative to the sandbox; empty: cancel
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("told");

    QTest::newRow("a list file") << "list.csv" << QStringList{"a.png", "b.png", "c.png"} << false;
    QTest::newRow("a folder") << "pics" << QStringList{"a.png", "b.png"} << true;
    QTest::newRow("a FIFO") << "pics/fifo.png" << QStringList{"a.png", "b.png"} << true;
    QTest::newRow("gone") << "gone.csv" << QStringList{"a.png", "b.png"} << true;
    QTest::newRow("cancelled") << "" << QStringList{"a.png", "b.png"} << false;
}

void TestListFileWindow::open()
{
    QFETCH(QString, file);
    QFETCH(QStringList, rows);
    QFETCH(bool, told);

    Window w;
    QVERIFY(w.show());
    QVERIFY(writeFile(at("list.csv"), threeRows().toUtf8()));
    QVERIFY(w.load(at("pics/a.png") + "\n" + at("pics/b.png")));
    w.form.state().DblClickPath1 = "before";
    if (!file.isEmpty())
        w.fake.dialogs.fileAnswers << FileDialogAnswer{at(file), 1};

    w.form.List->PopupMenu1Popup();
    w.entry(Command::pm1OpenList)->trigger();
    QVERIFY(w.idle());

    QStringList names;
    for (const QString &row : w.rows())
        names << QFileInfo(row).fileName();
    QCOMPARE(names, rows);
    const QStringList messages = w.fake.dialogs.texts("message");
    QCOMPARE(messages.size(), told ? 1 : 0);
    if (told)
        QVERIFY2(messages.first().endsWith("\r\n" + at(file)), qPrintable(messages.first()));
    QCOMPARE(w.form.state().DblClickPath1,
             file == "list.csv" ? QStringLiteral("list.csv") : "before");
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

// One line in another encoding no longer turns a UTF-8 list into Shift_JIS: the UTF-8
// rows stay and the status tells of the line left unread.
void TestListFileWindow::openMostlyUtf8List()
{
    Window w;
    QVERIFY(w.show());
    const QStringList japanese = {at("pics/写真.png"), at("pics/風景.png")};
    QVERIFY(writeFile(at("mixed.txt"), japanese[0].toUtf8() + "\r\n" +
                                           QFile::encodeName(m_dir.path()) +
                                           "/pics/caf\xE9.png\r\n" + japanese[1].toUtf8()));
    w.fake.dialogs.fileAnswers << FileDialogAnswer{at("mixed.txt"), 0};
    w.form.List->PopupMenu1Popup();
    w.entry(Command::pm1OpenList)->trigger();
    QVERIFY(w.idle());
    QCOMPARE(w.rows(), japanese);
    QCOMPARE(w.form.ui().StatusPanel1->text(),
             QStringLiteral("2 / 3  (文字コードの合わない 1 行は読み込みませんでした)"));
}

// An owner that never answers holds up neither the window nor the list: the window
// keeps handling events, the cancel button ends the wait, and the rows stay as they
// were. A read that could not finish leaves them too, with a word why.
void TestListFileWindow::pasteWaitsWithoutBlocking()
{
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.load(threeRows()));
    const QStringList before = w.rows();
    w.fake.clipboard.setText(at("pics/d.png"));
    w.fake.clipboard.answers = false;
    w.form.state().DblClickPath1 = "before";

    w.form.List->PopupMenu1Popup();
    w.entry(Command::pm1PasteList)->trigger();
    QCOMPARE(w.fake.clipboard.reads, 1);
    QCOMPARE(w.fake.clipboard.lastLimit, pelmaris::listio::kMaxListFileBytes);
    bool ticked = false;
    QTimer::singleShot(50, [&ticked] { ticked = true; });
    QTRY_VERIFY(ticked); // the event loop runs while the read waits
    QVERIFY(w.fake.clipboard.reading());
    QVERIFY(w.form.ui().btnCancel1->isVisible());
    w.form.List->PopupMenu1Popup(); // no second paste or open meanwhile
    QVERIFY(!w.entry(Command::pm1PasteList)->isEnabled());
    QTest::mouseClick(w.form.ui().btnCancel1, Qt::LeftButton);
    QTRY_VERIFY(w.form.ui().btnCancel1->isHidden());
    QVERIFY(w.idle());
    QCOMPARE(w.rows(), before);
    QCOMPARE(w.form.state().DblClickPath1, QStringLiteral("before"));
    QVERIFY(w.fake.dialogs.texts("message").isEmpty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // Read at last: the rows are the clipboard's.
    w.fake.clipboard.answers = true;
    w.form.List->PopupMenu1Popup();
    w.entry(Command::pm1PasteList)->trigger();
    QTRY_COMPARE(w.rows(), QStringList{at("pics/d.png")});
    QVERIFY(w.idle());
    QVERIFY(w.form.state().DblClickPath1 != QStringLiteral("before"));
}

void TestListFileWindow::longLoadIsBusyAndCancelKeepsRows()
{
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.load(threeRows()));
    w.form.navigateTree(at("other"));
    // Every line names a file that exists, slowly, so the load is still running when
    // the cancel comes.
    w.form.ListFiles->Loader->setFileTest([](const QString &) {
        QThread::usleep(500);
        return true;
    });
    QStringList lines;
    for (int i = 0; i < 20000; ++i)
        lines << QStringLiteral("/list/%1.png").arg(i);
    w.form.ListFiles->LoadListFromText(lines.join("\r\n"));
    QVERIFY(QTest::qWaitFor([&] { return w.form.ListModel->rowCount() >= 600; }, 20000));

    // Busy: the cancel button shows, closing, the list and its menu are off, and
    // neither a scan nor another load starts.
    QVERIFY(w.form.ui().btnCancel1->isVisible());
    QVERIFY(!w.form.closeEnabled());
    QVERIFY(!w.form.ui().ListView1->isEnabled());
    w.form.List->PopupMenu1Popup();
    for (Command name : {Command::pm1OpenList, Command::pm1PasteList, Command::pm1SaveListAs,
                         Command::pm1CopyList})
        QVERIFY2(!w.entry(name)->isEnabled(), qPrintable(nameOf(name)));
    w.form.Scan->ShellTreeView1DblClick();
    QVERIFY(!w.form.Scanner->isBusy());
    w.fake.clipboard.setText(at("pics/a.png"));
    w.form.state().DblClickPath1 = "loading";
    w.form.ListFiles->pm1PasteListClick();
    QCOMPARE(w.form.state().DblClickPath1, QStringLiteral("loading"));

    QTest::mouseClick(w.form.ui().btnCancel1, Qt::LeftButton);
    QVERIFY(w.idle());
    const int kept = w.form.ListModel->rowCount();
    QVERIFY2(kept >= 600 && kept < lines.size(), qPrintable(QString::number(kept)));
    QCOMPARE(w.rows(), lines.mid(0, kept));
    QCOMPARE(w.captions().first(), pelmaris::scan::checkAllCaption(kept));
    QCOMPARE(w.form.ListModel->checkedCount(), kept);
    QVERIFY(w.form.closeEnabled());
    QVERIFY(!w.form.state().CancelFlag1);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestListFileWindow::rebuildByFileNames()
{
    Window w;
    QVERIFY(w.show());
    w.form.Scanner->setScanList(fiveFiles() << at("pics/missing.png"));
    w.form.navigateTree(at("pics"));
    // A hidden entry, never on: its handler is reached directly.
    w.form.ListFiles->pm1RebuildListviewFileNameOnlyClick();
    QVERIFY(w.idle());

    // One row per existing file, images or not, without details.
    QCOMPARE(w.rows(), fiveFiles());
    QCOMPARE(w.form.ListModel->item(2).subItems[0], QString());
    QCOMPARE(w.form.ScanList().size(), 6);
}

void TestListFileWindow::listEntriesWork()
{
    // Every list and tree menu entry of these commands is on once the menus open over a
    // list with a selected row and a scan list.
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.load(threeRows()));
    w.form.Scanner->setScanList(fiveFiles());
    w.form.ui().ListView1Icons->selectionModel()->setCurrentIndex(
        w.form.ListModel->index(1, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    w.form.List->PopupMenu1Popup();
    for (Command name :
         {Command::pm1OpenList, Command::pm1SaveListAs, Command::pm1CopyList, Command::pm1PasteList,
          Command::pm1CopyFile, Command::pm1CopyPath, Command::pm1CopyImage, Command::pm1ToTop,
          Command::pm1MoveUp, Command::pm1MoveDown, Command::pm1ToBottom})
        QVERIFY2(w.entry(name)->isEnabled(), qPrintable(nameOf(name)));
    w.form.Scan->PopupMenu3Popup();
    for (Command name : {Command::pm3NumSortA, Command::pm3NumSortD, Command::pm3DicSortA,
                         Command::pm3DicSortD, Command::pm3RandomOut, Command::pm3CopyFileList,
                         Command::pm3SaveFileList, Command::pm3CopyPath, Command::pm3SendTo})
        QVERIFY2(w.entry(name)->isEnabled(), qPrintable(nameOf(name)));
}

QTEST_MAIN(TestListFileWindow)
#include "tst_listfilewindow.moc"
