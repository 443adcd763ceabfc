// The main window's row commands, the list's double-click and the tree menu's two folder
// commands, after a real scan of a small folder, with the desktop faked: which path
// reaches which program, what the user is told, and what happens to the file and its row.

#include "app/fileactioncommands.h"
#include "app/pagecontrol.h"
#include "rowwindow.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTreeView>

using namespace rowwindow;
using pelmaris::platform::ShellError;
using pelmaris::platform::SpecialFolder;

class TestFileActionWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void menuEntriesWork();
    void rightClickChoosesRow();
    void rowCommands_data();
    void rowCommands();
    void noProgramInstalled_data();
    void noProgramInstalled();
    void programEndingAtOnceIsReported();
    void fileRemovedSinceListing_data();
    void fileRemovedSinceListing();
    void sendToFolderNeverOverwrites();
    void reportsOwnedAsBefore_data();
    void reportsOwnedAsBefore();
    void deleteFile_data();
    void deleteFile();
    void deleteEveryRow();
    void noDeleteWhileListing();
    void doubleClickOpens_data();
    void doubleClickOpens();
    void keysReachTheEntries();
    void treeOpenFolder();
    void treePaste_data();
    void treePaste();
};

// The entries these commands own are switched on for a selected row, off without one.
void TestFileActionWindow::menuEntriesWork()
{
    Window w;
    QVERIFY(w.ready());
    const Command rowEntries[] = {
        Command::pm1Open,       Command::pm1Paint,      Command::pm1Notepad,
        Command::pm1OpenBy,     Command::pm1SendTo,     Command::pm1DeskTop,
        Command::pm1Properties, Command::pm1OpenFolder, Command::pm1DeleteFile};
    w.unselect();
    w.form.List->PopupMenu1Popup();
    for (Command c : rowEntries)
        QVERIFY2(!w.entry(c)->isEnabled(), qPrintable(nameOf(c)));
    w.select(Names[0]);
    w.form.List->PopupMenu1Popup();
    for (Command c : rowEntries)
        QVERIFY2(w.entry(c)->isEnabled(), qPrintable(nameOf(c)));
    QVERIFY(!w.entry(Command::pm1SendToCorvindale)->isEnabled()); // no sibling installed

    w.fake.clipboard.setText(w.pics);
    w.form.Scan->PopupMenu3Popup();
    QVERIFY(w.entry(Command::pm3OpenFolder)->isEnabled());
    QVERIFY(w.entry(Command::pm3PasteFolderPath)->isEnabled());
}

// The menu opened by a right click on a row that was not selected acts on that row.
void TestFileActionWindow::rightClickChoosesRow()
{
    Window w;
    QVERIFY(w.ready());
    w.form.PageControl1->setCurrentWidget(w.form.TabSheetSearch);
    QWidget *viewport = w.form.ListView1Icons->viewport();
    QVERIFY(QTest::qWaitForWindowExposed(viewport->window()));
    const int row = w.selectedRow() == 0 ? 1 : 0;
    const QPoint at = w.form.ListView1Icons->visualRect(w.form.ListModel->index(row, 0)).center();
    // What the system sends for a right click: the press, then the menu request.
    QTest::mousePress(viewport, Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QCoreApplication::sendEvent(viewport, &request);
    QVERIFY(w.form.PopupMenu1->isVisible());
    w.entry(Command::pm1Paint)->trigger();
    w.form.PopupMenu1->close();

    const auto calls = callsOf(w.fake.shell, {"start"});
    QCOMPARE(calls.size(), 1);
    QCOMPARE(QProcess::splitCommand(calls[0].parameters),
             QStringList{w.form.ListModel->item(row).caption});
}

// Each command hands the selected row's path, whole, to the right program or service.
void TestFileActionWindow::rowCommands_data()
{
    QTest::addColumn<Command>("entry");
    QTest::addColumn<QString>("kind");    // the shell request made
    QTest::addColumn<QString>("program"); // for "start": who is started
    const struct {
        const char *name;
        Command entry;
        const char *kind;
        const char *program;
    } rows[] = {
        {"default application", Command::pm1Open, "open", ""},
        {"paint", Command::pm1Paint, "start", "/usr/bin/kolourpaint"},
        {"text editor", Command::pm1Notepad, "start",
         "/usr/share/applications/org.gnome.TextEditor.desktop"},
        {"chooser", Command::pm1OpenBy, "openWith", ""},
        {"sibling", Command::pm1SendToCorvindale, "start", "SIBLING"},
        {"SendTo program", Command::pm1SendTo, "start", "SCRIPT"},
        {"properties", Command::pm1Properties, "properties", ""},
        {"file in its folder", Command::pm1OpenFolder, "showItem", ""},
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << r.entry << QString(r.kind) << QString(r.program);
}

void TestFileActionWindow::rowCommands()
{
    QFETCH(Command, entry);
    QFETCH(QString, kind);
    QFETCH(QString, program);
    Window w;
    if (program == "SIBLING") {
        // The sibling is found through its own settings file, as the menu opens.
        program = w.fake.root() + QStringLiteral("/apps/Corvindale/Corvindale");
        QVERIFY(writeFile(program, "#!/bin/sh\n"));
        const QString ini = w.fake.folders.path(SpecialFolder::AppData) +
                            QStringLiteral("/wendelmoor/Corvindale/Corvindale.ini");
        QVERIFY(writeFile(ini, "[PROGRAM]\r\nName=Corvindale\r\nPath=" +
                                   QFileInfo(program).path().toUtf8() + "\r\n"));
    } else if (program == "SCRIPT") {
        program = w.fake.folders.path(SpecialFolder::SendTo) + QStringLiteral("/upload it");
        QVERIFY(writeFile(program, "#!/bin/sh\n"));
        w.fake.dialogs.files = {program};
    }
    QVERIFY(w.ready());
    w.select(Awkward);
    w.choose(entry);

    const QString path = w.path(Awkward);
    QCOMPARE(w.fake.dialogs.texts("message"), QStringList());
    const auto calls = callsOf(w.fake.shell, Launches);
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].kind, kind);
    if (kind == "start") {
        QCOMPARE(calls[0].target, program);
        QCOMPARE(QProcess::splitCommand(calls[0].parameters), QStringList{path});
    } else {
        QCOMPARE(calls[0].target, path);
    }
    if (entry == Command::pm1SendToCorvindale)
        QCOMPARE(w.fake.clipboard.text(), path);
    QCOMPARE(w.captions().size(), Names.size());
}

// With no such program installed the user learns that, and which programs would do,
// instead of a report that reads as if the picture were missing.
void TestFileActionWindow::noProgramInstalled_data()
{
    QTest::addColumn<Command>("entry");
    QTest::addColumn<QString>("says");
    QTest::newRow("paint") << Command::pm1Paint << "ペイント プログラムがインストールされていない";
    QTest::newRow("text editor") << Command::pm1Notepad
                                 << "テキスト エディタがインストールされていない";
}

void TestFileActionWindow::noProgramInstalled()
{
    QFETCH(Command, entry);
    QFETCH(QString, says);
    Window w;
    w.fake.shell.paint.clear();
    w.fake.shell.editor.clear();
    QVERIFY(w.ready());
    w.select(Awkward);
    w.choose(entry);
    QCOMPARE(callsOf(w.fake.shell, Launches).size(), 0);
    const QStringList messages = w.fake.dialogs.texts("message");
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].startsWith(says), qPrintable(messages[0]));
    const QStringList names = entry == Command::pm1Paint ? w.fake.shell.paintProgramNames()
                                                         : w.fake.shell.textEditorNames();
    QVERIFY(messages[0].endsWith(names.join(", ")));
}

// A program that started and then failed at once (the shell hears of it later) is
// reported as a start that failed.
void TestFileActionWindow::programEndingAtOnceIsReported()
{
    Window w;
    QVERIFY(w.ready());
    w.select(Awkward);
    w.choose(Command::pm1Paint);
    QVERIFY(w.fake.dialogs.texts("message").isEmpty());
    QVERIFY(w.fake.shell.earlyExit);
    const auto started = callsOf(w.fake.shell, Launches);
    QCOMPARE(started.size(), 1);
    w.fake.shell.earlyExit({started[0].target, started[0].parameters, 1,
                            "プログラムが起動直後に終了しました（終了コード 1）"});
    const QStringList messages = w.fake.dialogs.texts("message");
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].split("\r\n"),
             (QStringList{"OpenBy Failed 1", "プログラムが起動直後に終了しました（終了コード 1）",
                          started[0].target, started[0].parameters}));
}

// A file removed after the list was made: a clear word or its folder, never a program
// started on nothing; deleting it takes the row without a question.
void TestFileActionWindow::fileRemovedSinceListing_data()
{
    QTest::addColumn<Command>("entry");
    QTest::addColumn<QString>("call");  // the one shell request made, or empty
    QTest::addColumn<bool>("toldGone"); // the "not found" report shown
    QTest::addColumn<int>("rowsAfter");
    const QString none;
    QTest::newRow("paint") << Command::pm1Paint << none << true << 3;
    QTest::newRow("chooser") << Command::pm1OpenBy << none << true << 3;
    QTest::newRow("SendTo") << Command::pm1SendTo << none << true << 3;
    QTest::newRow("file in its folder") << Command::pm1OpenFolder << QString("open") << false << 3;
    QTest::newRow("delete") << Command::pm1DeleteFile << none << false << 2;
}

void TestFileActionWindow::fileRemovedSinceListing()
{
    QFETCH(Command, entry);
    QFETCH(QString, call);
    QFETCH(bool, toldGone);
    QFETCH(int, rowsAfter);
    Window w;
    QVERIFY(w.ready());
    w.select(Awkward);
    QVERIFY(QFile::remove(w.path(Awkward)));
    w.choose(entry);

    const auto calls = callsOf(w.fake.shell, Launches);
    QCOMPARE(calls.size(), call.isEmpty() ? 0 : 1);
    if (!call.isEmpty()) {
        QCOMPARE(calls[0].kind, call);
        QCOMPARE(calls[0].target, w.pics + u'/');
    }
    const QStringList messages = w.fake.dialogs.texts("message");
    QCOMPARE(messages.size(), toldGone ? 1 : 0);
    if (toldGone)
        QVERIFY(messages[0].endsWith(CrLf + w.path(Awkward)));
    QCOMPARE(w.fake.dialogs.texts("ask"), QStringList());
    QCOMPARE(w.fake.dialogs.texts("open"), QStringList()); // no SendTo entry asked for
    QCOMPARE(w.form.ListModel->rowCount(), rowsAfter);
}

// A SendTo shortcut to a folder gets a copy of the file; a second send finds the copy
// and says so, leaving it as it is.
void TestFileActionWindow::sendToFolderNeverOverwrites()
{
    Window w;
    const QString folder = w.fake.root() + QStringLiteral("/kept copies");
    QVERIFY(QDir().mkpath(folder));
    const QString entry =
        w.fake.folders.path(SpecialFolder::SendTo) + QStringLiteral("/Kept.desktop");
    QVERIFY(writeFile(entry, "[Desktop Entry]\n"));
    w.fake.shell.shortcuts.insert(entry, folder);
    w.fake.dialogs.files = {entry, entry};
    QVERIFY(w.ready());
    w.select(Awkward);

    w.choose(Command::pm1SendTo);
    const QString copy = folder + u'/' + Awkward;
    QCOMPARE(readFile(copy), readFile(w.path(Awkward)));
    QCOMPARE(w.fake.dialogs.texts("message"), QStringList());

    QVERIFY(writeFile(copy, "edited since"));
    w.choose(Command::pm1SendTo);
    QCOMPARE(w.fake.dialogs.texts("message"),
             QStringList{"Same Name File Already Exists. Copyfile Failed" + CrLf + CrLf + copy});
    QCOMPARE(readFile(copy), QByteArray("edited since"));
    QCOMPARE(callsOf(w.fake.shell, Launches).size(), 0);
}

// What the desktop failed at is told in a box of its own; the program's own reports and
// questions belong to the window.
void TestFileActionWindow::reportsOwnedAsBefore_data()
{
    QTest::addColumn<Command>("entry");
    QTest::addColumn<QString>("failing"); // the shell request that fails; "GONE": the file
    QTest::addColumn<bool>("owned");
    QTest::newRow("default application fails") << Command::pm1Open << "open" << false;
    QTest::newRow("file manager fails") << Command::pm1OpenFolder << "showItem" << false;
    QTest::newRow("properties fail") << Command::pm1Properties << "properties" << false;
    QTest::newRow("chooser fails") << Command::pm1OpenBy << "openWith" << true;
    QTest::newRow("file gone") << Command::pm1Paint << "GONE" << true;
    QTest::newRow("trash fails") << Command::pm1DeleteFile << "trash" << true;
}

void TestFileActionWindow::reportsOwnedAsBefore()
{
    QFETCH(Command, entry);
    QFETCH(QString, failing);
    QFETCH(bool, owned);
    Window w;
    QVERIFY(w.ready());
    w.select(Awkward);
    if (failing == "GONE")
        QVERIFY(QFile::remove(w.path(Awkward)));
    else
        w.fake.shell.failures << failing;
    w.choose(entry);
    const auto &calls = w.fake.dialogs.calls;
    QVERIFY(!calls.isEmpty());
    QCOMPARE(calls.last().kind, QStringLiteral("message"));
    for (const auto &call : calls)
        QCOMPARE(call.parent, owned || call.kind != "message" ? &w.form : nullptr);
}

// The row goes only when the file went to the trash; the scan's list keeps the file.
void TestFileActionWindow::deleteFile_data()
{
    QTest::addColumn<int>("row"); // -1: the last row
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("failCode"); // 0: the trash takes it
    QTest::addColumn<bool>("gone");
    QTest::addColumn<QString>("report"); // start of the one message shown; NAME the file's
    QTest::newRow("confirmed") << 0 << true << 0 << true << "";
    QTest::newRow("confirmed, middle row") << 1 << true << 0 << true << "";
    QTest::newRow("confirmed, last row") << -1 << true << 0 << true << "";
    QTest::newRow("declined") << 1 << false << 0 << false << "Operations Aborted.";
    QTest::newRow("no trash there")
        << 1 << true << int(ShellError::NotSupported) << false
        << "Delete \"NAME\" Failed." + CrLf + "この場所にはごみ箱がない";
    QTest::newRow("trash fails") << 1 << true << int(ShellError::AccessDenied) << false
                                 << "Delete \"NAME\" Failed.";
}

void TestFileActionWindow::deleteFile()
{
    QFETCH(int, row);
    QFETCH(bool, confirm);
    QFETCH(int, failCode);
    QFETCH(bool, gone);
    QFETCH(QString, report);
    Window w;
    QVERIFY(w.ready());
    if (failCode != 0) {
        w.fake.shell.failures << "trash";
        w.fake.shell.failCode = failCode;
    }
    w.fake.dialogs.answers = {confirm};
    const QStringList scanList = w.form.ScanList();
    const QStringList rowsBefore = w.captions();
    if (row < 0)
        row = int(rowsBefore.size()) - 1;
    const QString path = rowsBefore[row];
    const QString name = QFileInfo(path).fileName();
    w.select(name);
    w.choose(Command::pm1DeleteFile);

    QCOMPARE(w.fake.dialogs.texts("ask").size(), 1);
    QCOMPARE(QFileInfo::exists(path), !gone);
    const QStringList messages = w.fake.dialogs.texts("message");
    QCOMPARE(messages.size(), report.isEmpty() ? 0 : 1);
    if (!report.isEmpty())
        QVERIFY2(messages[0].startsWith(report.replace("NAME", name)), qPrintable(messages[0]));
    QStringList rowsAfter = rowsBefore;
    if (gone)
        rowsAfter.removeAt(row);
    QCOMPARE(w.captions(), rowsAfter);
    QCOMPARE(w.form.ScanList(), scanList);
    // The selection stays on the row, or moves to the one that took the deleted row's place.
    QCOMPARE(w.selectedRow(), qMin(row, int(rowsAfter.size()) - 1));
    QCOMPARE(w.form.CheckBoxAll1->text(), QStringLiteral("全選択(%1)").arg(rowsAfter.size()));
}

// The list emptied row by row ends as an empty list does: no selection, its controls off.
void TestFileActionWindow::deleteEveryRow()
{
    Window w;
    QVERIFY(w.ready());
    w.select(Names[0]);
    for (int i = 0; i < Names.size(); ++i)
        w.choose(Command::pm1DeleteFile);
    QCOMPARE(w.form.ListModel->rowCount(), 0);
    QCOMPARE(w.form.ScanList().size(), Names.size());
    QCOMPARE(w.selectedRow(), -1);
    QCOMPARE(w.form.CheckBoxAll1->text(), QStringLiteral("全選択(0)"));
    QVERIFY(!w.form.BtnShuffle1->isEnabled());
    QVERIFY(!w.form.btnBrowse1->isEnabled());
    for (const QString &name : Names)
        QVERIFY(!QFileInfo::exists(w.path(name)));
    w.choose(Command::pm1DeleteFile); // nothing left to delete: no question
    QCOMPARE(w.fake.dialogs.texts("ask").size(), Names.size());
}

// While a scan adds to the list, its rows stay as they are: a delete waits for the end.
void TestFileActionWindow::noDeleteWhileListing()
{
    Window w;
    QVERIFY(w.ready());
    w.select(Awkward);
    w.form.Scan->pm3AddDetectClick();
    QVERIFY(w.form.Scanner->isBusy());
    w.form.FileActions->pm1DeleteFileClick();
    QCOMPARE(w.fake.dialogs.texts("ask"), QStringList());
    QVERIFY(QFileInfo::exists(w.path(Awkward)));
    QVERIFY(w.waitIdle());
}

// A double-click opens the row with its default application, in both views, and
// nothing else: the check mark stays as it was.
void TestFileActionWindow::doubleClickOpens_data()
{
    QTest::addColumn<bool>("details");
    QTest::addColumn<bool>("onCheckBox");
    QTest::newRow("preview, on the picture") << false << false;
    QTest::newRow("details, on a detail") << true << false;
    QTest::newRow("details, on the check box") << true << true;
}

// Enter opens the selected row, Delete moves it to the trash, each while the list has
// the focus and the entry is on; without a selection neither does anything.
void TestFileActionWindow::keysReachTheEntries()
{
    Window w;
    QVERIFY(w.ready());
    w.form.activateWindow();
    QListView *view = w.form.ListView1Icons;
    view->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    view->selectionModel()->clear();
    QTest::keyClick(view, Qt::Key_Delete);
    QVERIFY(callsOf(w.fake.shell, Launches).isEmpty());

    w.select(Awkward);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClick(view, Qt::Key_Delete);
    const auto calls = callsOf(w.fake.shell, Launches);
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls[0].kind, QStringLiteral("open"));
    QCOMPARE(calls[0].target, w.path(Awkward));
    QCOMPARE(calls[1].kind, QStringLiteral("trash"));
    QCOMPARE(w.rowOf(Awkward), -1);

    // Ctrl+C copies the list on the list, the folder's path on the tree.
    view->setFocus();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(w.fake.clipboard.text().contains(w.path(QStringLiteral("a.png")) + CrLf));
    QTreeView *tree = w.form.ShellTreeView1;
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(w.fake.clipboard.text(), w.pics);
}

void TestFileActionWindow::doubleClickOpens()
{
    QFETCH(bool, details);
    QFETCH(bool, onCheckBox);
    Window w;
    QVERIFY(w.ready());
    w.form.PageControl1->setCurrentWidget(w.form.TabSheetSearch);
    if (details)
        w.form.RbReport->click();
    QAbstractItemView *view =
        details ? static_cast<QAbstractItemView *>(w.form.ListView1Details) : w.form.ListView1Icons;
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const int row = w.rowOf(Awkward);
    const QModelIndex cell = w.form.ListModel->index(row, details && !onCheckBox ? 1 : 0);
    view->scrollTo(cell);
    QRect rect = view->visualRect(cell);
    QPoint at = rect.center();
    if (onCheckBox) {
        QStyleOptionViewItem option;
        option.initFrom(view);
        option.rect = rect;
        option.features = QStyleOptionViewItem::HasCheckIndicator |
                          QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
        option.decorationSize = view->iconSize();
        at = view->style()
                 ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view)
                 .center();
    }
    QVERIFY(w.form.ListModel->item(row).checked);
    // What the system delivers for a double-click: press, release, double-click, release.
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);

    const auto calls = callsOf(w.fake.shell, Launches);
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].kind, QStringLiteral("open"));
    QCOMPARE(calls[0].target, w.path(Awkward));
    QVERIFY(w.form.ListModel->item(row).checked);
    QVERIFY(!w.form.Scanner->isBusy());
    if (onCheckBox) { // the point is the check box: one click there unchecks the row
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(!w.form.ListModel->item(row).checked);
    }
}

// "エクスプローラで開く": the selected file is shown in its folder only when that folder is
// the tree's; otherwise the tree's folder opens.
void TestFileActionWindow::treeOpenFolder()
{
    Window w;
    const QString other = w.fake.root() + QStringLiteral("/other");
    QVERIFY(QDir().mkpath(other));
    QVERIFY(w.ready());
    w.select(Awkward); // also moves the tree to the file's folder
    QCOMPARE(w.form.treeSelectedPath(), w.pics);
    w.form.Scan->PopupMenu3Popup();
    w.entry(Command::pm3OpenFolder)->trigger();
    w.form.navigateTree(other);
    w.entry(Command::pm3OpenFolder)->trigger();

    const auto calls = callsOf(w.fake.shell, Launches);
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls[0].kind, QStringLiteral("showItem"));
    QCOMPARE(calls[0].target, w.path(Awkward));
    QCOMPARE(calls[1].kind, QStringLiteral("open"));
    QCOMPARE(calls[1].target, other);
}

// "フォルダ フルパスを貼付け": a folder path, trimmed, moves the tree; anything else is
// ignored; a folder the tree does not show is reported.
void TestFileActionWindow::treePaste_data()
{
    QTest::addColumn<QString>("clipboard"); // FOLDER, HIDDEN, FILE stand for sandbox paths
    QTest::addColumn<bool>("moves");
    QTest::addColumn<bool>("reported");
    QTest::newRow("folder with blanks and a line break") << " \tFOLDER \r\n" << true << false;
    QTest::newRow("folder with a trailing delimiter") << "FOLDER/" << true << false;
    QTest::newRow("file path") << "FILE" << false << false;
    QTest::newRow("plain words") << "写真 フォルダ" << false << false;
    QTest::newRow("huge text") << QString(1 << 20, u'/') + "FOLDER" << false << false;
    QTest::newRow("picture, no text") << "" << false << false;
    QTest::newRow("hidden folder, hidden not shown") << "HIDDEN" << false << true;
}

void TestFileActionWindow::treePaste()
{
    QFETCH(QString, clipboard);
    QFETCH(bool, moves);
    QFETCH(bool, reported);
    Window w;
    const QString folder = w.fake.root() + QStringLiteral("/target #1 & 写真");
    const QString hidden = w.fake.root() + QStringLiteral("/.hidden");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QDir().mkpath(hidden));
    QVERIFY(w.ready());
    QCOMPARE(w.form.treeSelectedPath(), w.pics);
    w.form.ChkBxShowHidden->setChecked(false);
    w.form.ChkBxShowHiddenClick();
    clipboard.replace("FOLDER", folder).replace("HIDDEN", hidden).replace("FILE", w.path(Awkward));
    if (clipboard.isEmpty())
        w.fake.clipboard.setImage(QImage(4, 4, QImage::Format_RGB32));
    else
        w.fake.clipboard.setText(clipboard);

    w.form.FileActions->pm3PasteFolderPathClick();
    QCOMPARE(w.form.treeSelectedPath(), moves ? folder : w.pics);
    QCOMPARE(w.fake.dialogs.texts("error"),
             reported ? QStringList{"貼付けパスが正しくありません" + CrLf + hidden}
                      : QStringList());
    QCOMPARE(w.fake.dialogs.texts("message"), QStringList());
}

QTEST_MAIN(TestFileActionWindow)
#include "tst_fileactionwindow.moc"
