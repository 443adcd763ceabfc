// The main window's row commands, the list's double-click, the tree menu's two folder
// commands and the shortcut buttons, after a real scan of a small folder, with the
// desktop faked: which path reaches which program, what the user is told, and what
// happens to the file and its row.

#include "app/fileactioncommands.h"
#include "app/listcommands.h"
#include "app/pelmarisform.h"
#include "app/scancommands.h"
#include "app/shortcutcommands.h"
#include "fakeservices.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"

#include "app/pagecontrol.h"
#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QListView>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <memory>

using pelmaris::app::TPelmarisForm;
using pelmaris::fakes::FakePlatform;
using pelmaris::fakes::FakeShell;
using pelmaris::platform::Answer;
using pelmaris::platform::ShellError;
using pelmaris::platform::SpecialFolder;

namespace {

// Blanks, quotes, URL and shell characters, a leading '-' and Japanese in one name.
const QString Awkward = QStringLiteral("-x \"q\" it's #1 %20 & 写 真.png");
const QStringList Names = {QStringLiteral("a.png"), Awkward, QStringLiteral("c.png")};
const QString CrLf = QStringLiteral("\r\n");

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray png(QColor color)
{
    QImage image(10, 8, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

QList<FakeShell::Call> callsOf(const FakeShell &shell, const QStringList &kinds)
{
    QList<FakeShell::Call> out;
    for (const FakeShell::Call &c : shell.calls)
        if (kinds.contains(c.kind))
            out << c;
    return out;
}

const QStringList Launches = {"open", "start", "openWith", "properties", "showItem", "trash"};

// A shown window over its own folder of three pictures, listed and all checked.
struct Window {
    Window()
    {
        pics = fake.root() + QStringLiteral("/pics");
        for (const QString &name : Names)
            writeFile(pics + u'/' + name, png(Qt::darkCyan));
        form = std::make_unique<TPelmarisForm>(fake.services(), QStringList());
    }
    bool ready()
    {
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            return false;
        form->navigateTree(pics);
        if (form->treeSelectedPath() != pics)
            return false;
        form->Scan->ShellTreeView1DblClick();
        return QTest::qWaitFor(
                   [&] { return !form->Scanner->isBusy() && form->btnCancel1->isHidden(); },
                   20000) &&
               form->ListModel->rowCount() == Names.size();
    }
    QString path(const QString &name) const { return pics + u'/' + name; }
    int rowOf(const QString &name) const
    {
        const auto &items = form->ListModel->items();
        for (size_t r = 0; r < items.size(); ++r)
            if (items[r].caption == path(name))
                return int(r);
        return -1;
    }
    QStringList captions() const
    {
        QStringList out;
        for (const auto &item : form->ListModel->items())
            out << item.caption;
        return out;
    }
    // A click on the row, as the user selects it.
    void select(const QString &name)
    {
        form->List->ListView1Click(form->ListModel->index(rowOf(name), 0));
    }
    // Opens the list menu and chooses the entry, which does nothing while it is disabled.
    void choose(const char *entry)
    {
        form->List->PopupMenu1Popup();
        form->action(QString::fromLatin1(entry))->trigger();
    }
    // The scan leaves the first row selected.
    void unselect() { form->ListView1Icons->selectionModel()->clearSelection(); }
    int selectedRow() const
    {
        const QModelIndex current = form->ListView1Icons->selectionModel()->currentIndex();
        return form->ListView1Icons->selectionModel()->isRowSelected(current.row(), {})
                   ? current.row()
                   : -1;
    }

    FakePlatform fake;
    QString pics;
    std::unique_ptr<TPelmarisForm> form;
};

} // namespace

class TestFileActionWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void menuEntriesWork();
    void rightClickChoosesRow();
    void rowCommands_data();
    void rowCommands();
    void fileRemovedSinceListing_data();
    void fileRemovedSinceListing();
    void sendToFolderNeverOverwrites();
    void deleteFile_data();
    void deleteFile();
    void deleteEveryRow();
    void noDeleteWhileListing();
    void doubleClickOpens_data();
    void doubleClickOpens();
    void treeOpenFolder();
    void treePaste_data();
    void treePaste();
    void shortcutButtons_data();
    void shortcutButtons();
    void desktopShortcutOfPicture();
};

// The entries these commands own are switched on for a selected row, off without one.
void TestFileActionWindow::menuEntriesWork()
{
    Window w;
    QVERIFY(w.ready());
    const QStringList rowEntries = {"pm1Open",       "pm1Paint",      "pm1Notepad",
                                    "pm1OpenBy",     "pm1SendTo",     "pm1DeskTop",
                                    "pm1Properties", "pm1OpenFolder", "pm1DeleteFile"};
    w.unselect();
    w.form->List->PopupMenu1Popup();
    for (const QString &name : rowEntries)
        QVERIFY2(!w.form->action(name)->isEnabled(), qPrintable(name));
    w.select(Names[0]);
    w.form->List->PopupMenu1Popup();
    for (const QString &name : rowEntries)
        QVERIFY2(w.form->action(name)->isEnabled(), qPrintable(name));
    QVERIFY(!w.form->action("pm1SendToCorvindale")->isEnabled()); // no sibling installed

    w.fake.clipboard.setText(w.pics);
    w.form->Scan->PopupMenu3Popup();
    QVERIFY(w.form->action("pm3OpenFolder")->isEnabled());
    QVERIFY(w.form->action("pm3PasteFolderPath")->isEnabled());
}

// The menu opened by a right click on a row that was not selected acts on that row.
void TestFileActionWindow::rightClickChoosesRow()
{
    Window w;
    QVERIFY(w.ready());
    w.form->PageControl1->setCurrentWidget(w.form->TabSheetSearch);
    QWidget *viewport = w.form->ListView1Icons->viewport();
    QVERIFY(QTest::qWaitForWindowExposed(viewport->window()));
    const int row = w.selectedRow() == 0 ? 1 : 0;
    const QPoint at = w.form->ListView1Icons->visualRect(w.form->ListModel->index(row, 0)).center();
    // What the system sends for a right click: the press, then the menu request.
    QTest::mousePress(viewport, Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QCoreApplication::sendEvent(viewport, &request);
    QVERIFY(w.form->PopupMenu1->isVisible());
    w.form->action("pm1Paint")->trigger();
    w.form->PopupMenu1->close();

    const auto calls = callsOf(w.fake.shell, {"start"});
    QCOMPARE(calls.size(), 1);
    QCOMPARE(QProcess::splitCommand(calls[0].parameters),
             QStringList{w.form->ListModel->item(row).caption});
}

// Each command hands the selected row's path, whole, to the right program or service.
void TestFileActionWindow::rowCommands_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("kind");    // the shell request made
    QTest::addColumn<QString>("program"); // for "start": who is started
    QTest::newRow("default application") << "pm1Open"
                                         << "open"
                                         << "";
    QTest::newRow("paint") << "pm1Paint"
                           << "start"
                           << "/usr/bin/kolourpaint";
    QTest::newRow("text editor") << "pm1Notepad"
                                 << "start"
                                 << "/usr/share/applications/org.gnome.TextEditor.desktop";
    QTest::newRow("chooser") << "pm1OpenBy"
                             << "openWith"
                             << "";
    QTest::newRow("sibling") << "pm1SendToCorvindale"
                             << "start"
                             << "SIBLING";
    QTest::newRow("SendTo program") << "pm1SendTo"
                                    << "start"
                                    << "SCRIPT";
    QTest::newRow("properties") << "pm1Properties"
                                << "properties"
                                << "";
    QTest::newRow("file in its folder") << "pm1OpenFolder"
                                        << "showItem"
                                        << "";
}

void TestFileActionWindow::rowCommands()
{
    QFETCH(QString, entry);
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
    w.choose(qPrintable(entry));

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
    if (entry == "pm1SendToCorvindale")
        QCOMPARE(w.fake.clipboard.text(), path);
    QCOMPARE(w.captions().size(), Names.size());
}

// A file removed after the list was made: a clear word or its folder, never a program
// started on nothing; deleting it takes the row without a question.
void TestFileActionWindow::fileRemovedSinceListing_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("call");  // the one shell request made, or empty
    QTest::addColumn<bool>("toldGone"); // the "not found" report shown
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("paint") << "pm1Paint"
                           << "" << true << 3;
    QTest::newRow("chooser") << "pm1OpenBy"
                             << "" << true << 3;
    QTest::newRow("SendTo") << "pm1SendTo"
                            << "" << true << 3;
    QTest::newRow("file in its folder") << "pm1OpenFolder"
                                        << "open" << false << 3;
    QTest::newRow("delete") << "pm1DeleteFile"
                            << "" << false << 2;
}

void TestFileActionWindow::fileRemovedSinceListing()
{
    QFETCH(QString, entry);
    QFETCH(QString, call);
    QFETCH(bool, toldGone);
    QFETCH(int, rowsAfter);
    Window w;
    QVERIFY(w.ready());
    w.select(Awkward);
    QVERIFY(QFile::remove(w.path(Awkward)));
    w.choose(qPrintable(entry));

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
    QCOMPARE(w.form->ListModel->rowCount(), rowsAfter);
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

    w.choose("pm1SendTo");
    const QString copy = folder + u'/' + Awkward;
    QCOMPARE(readFile(copy), readFile(w.path(Awkward)));
    QCOMPARE(w.fake.dialogs.texts("message"), QStringList());

    QVERIFY(writeFile(copy, "edited since"));
    w.choose("pm1SendTo");
    QCOMPARE(w.fake.dialogs.texts("message"),
             QStringList{"Same Name File Already Exists. Copyfile Failed" + CrLf + CrLf + copy});
    QCOMPARE(readFile(copy), QByteArray("edited since"));
    QCOMPARE(callsOf(w.fake.shell, Launches).size(), 0);
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
    const QStringList scanList = w.form->ScanList();
    const QStringList rowsBefore = w.captions();
    if (row < 0)
        row = int(rowsBefore.size()) - 1;
    const QString path = rowsBefore[row];
    const QString name = QFileInfo(path).fileName();
    w.select(name);
    w.choose("pm1DeleteFile");

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
    QCOMPARE(w.form->ScanList(), scanList);
    // The selection stays on the row, or moves to the one that took the deleted row's place.
    QCOMPARE(w.selectedRow(), qMin(row, int(rowsAfter.size()) - 1));
    QCOMPARE(w.form->CheckBoxAll1->text(), QStringLiteral("全選択(%1)").arg(rowsAfter.size()));
}

// The list emptied row by row ends as an empty list does: no selection, its controls off.
void TestFileActionWindow::deleteEveryRow()
{
    Window w;
    QVERIFY(w.ready());
    w.select(Names[0]);
    for (int i = 0; i < Names.size(); ++i)
        w.choose("pm1DeleteFile");
    QCOMPARE(w.form->ListModel->rowCount(), 0);
    QCOMPARE(w.form->ScanList().size(), Names.size());
    QCOMPARE(w.selectedRow(), -1);
    QCOMPARE(w.form->CheckBoxAll1->text(), QStringLiteral("全選択(0)"));
    QVERIFY(!w.form->BtnShuffle1->isEnabled());
    QVERIFY(!w.form->btnBrowse1->isEnabled());
    for (const QString &name : Names)
        QVERIFY(!QFileInfo::exists(w.path(name)));
    w.choose("pm1DeleteFile"); // nothing left to delete: no question
    QCOMPARE(w.fake.dialogs.texts("ask").size(), Names.size());
}

// While a scan adds to the list, its rows stay as they are: a delete waits for the end.
void TestFileActionWindow::noDeleteWhileListing()
{
    Window w;
    QVERIFY(w.ready());
    w.select(Awkward);
    w.form->Scan->pm3AddDetectClick();
    QVERIFY(w.form->Scanner->isBusy());
    w.form->FileActions->pm1DeleteFileClick();
    QCOMPARE(w.fake.dialogs.texts("ask"), QStringList());
    QVERIFY(QFileInfo::exists(w.path(Awkward)));
    QVERIFY(QTest::qWaitFor([&] { return !w.form->Scanner->isBusy(); }, 20000));
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

void TestFileActionWindow::doubleClickOpens()
{
    QFETCH(bool, details);
    QFETCH(bool, onCheckBox);
    Window w;
    QVERIFY(w.ready());
    w.form->PageControl1->setCurrentWidget(w.form->TabSheetSearch);
    if (details)
        w.form->RbReport->click();
    QAbstractItemView *view = details ? static_cast<QAbstractItemView *>(w.form->ListView1Details)
                                      : w.form->ListView1Icons;
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const int row = w.rowOf(Awkward);
    const QModelIndex cell = w.form->ListModel->index(row, details && !onCheckBox ? 1 : 0);
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
    QVERIFY(w.form->ListModel->item(row).checked);
    // What the system delivers for a double-click: press, release, double-click, release.
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);

    const auto calls = callsOf(w.fake.shell, Launches);
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls[0].kind, QStringLiteral("open"));
    QCOMPARE(calls[0].target, w.path(Awkward));
    QVERIFY(w.form->ListModel->item(row).checked);
    QVERIFY(!w.form->Scanner->isBusy());
    if (onCheckBox) { // the point is the check box: one click there unchecks the row
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(!w.form->ListModel->item(row).checked);
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
    QCOMPARE(w.form->treeSelectedPath(), w.pics);
    w.form->Scan->PopupMenu3Popup();
    w.form->action("pm3OpenFolder")->trigger();
    w.form->navigateTree(other);
    w.form->action("pm3OpenFolder")->trigger();

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
    QCOMPARE(w.form->treeSelectedPath(), w.pics);
    w.form->ChkBxShowHidden->setChecked(false);
    w.form->ChkBxShowHiddenClick();
    clipboard.replace("FOLDER", folder).replace("HIDDEN", hidden).replace("FILE", w.path(Awkward));
    if (clipboard.isEmpty())
        w.fake.clipboard.setImage(QImage(4, 4, QImage::Format_RGB32));
    else
        w.fake.clipboard.setText(clipboard);

    w.form->FileActions->pm3PasteFolderPathClick();
    QCOMPARE(w.form->treeSelectedPath(), moves ? folder : w.pics);
    QCOMPARE(w.fake.dialogs.texts("error"),
             reported ? QStringList{"貼付けパスが正しくありません" + CrLf + hidden}
                      : QStringList());
    QCOMPARE(w.fake.dialogs.texts("message"), QStringList());
}

// Each button's first press creates the program's shortcut; the next asks the three-way
// question, whose "キャンセル" ends it and whose "いいえ" puts the shortcut in the trash.
void TestFileActionWindow::shortcutButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("folder");
    QTest::addColumn<QString>("label");
    QTest::newRow("SendTo") << "btnSendTo" << int(SpecialFolder::SendTo) << "「送る」";
    QTest::newRow("desktop") << "btnDeskTop" << int(SpecialFolder::Desktop) << "デスクトップ";
    QTest::newRow("start menu") << "btnStartMenu" << int(SpecialFolder::Programs)
                                << "スタートメニューのプログラム";
    QTest::newRow("startup") << "btnStartUp" << int(SpecialFolder::Startup) << "スタートアップ";
}

void TestFileActionWindow::shortcutButtons()
{
    QFETCH(QString, button);
    QFETCH(int, folder);
    QFETCH(QString, label);
    Window w;
    QVERIFY(w.ready());
    auto *b = w.form->findChild<QPushButton *>(button);
    QVERIFY(b);
    const QString name = QStringLiteral("ペルマリス.desktop");
    const QString file = w.fake.folders.path(SpecialFolder(folder)) + u'/' + name;
    auto &dialogs = w.fake.dialogs;

    dialogs.answers = {false}; // do not open the folder
    b->click();
    QVERIFY(QFileInfo::exists(file));
    QCOMPARE(w.fake.shortcuts.saved.size(), 1);
    QCOMPARE(w.fake.shortcuts.saved[0].target, w.fake.system.exe);
    QCOMPARE(dialogs.texts("message"), QStringList{"フォルダ " + label + " に" + CrLf + name +
                                                   CrLf + "を新規作成しました。"});
    QCOMPARE(dialogs.texts("ask"), QStringList{"フォルダ " + label + " を開きますか？"});

    dialogs.calls.clear();
    dialogs.choices = {Answer::Cancel};
    b->click();
    QCOMPARE(dialogs.texts("ask3").size(), 1);
    QVERIFY(dialogs.texts("ask3")[0].startsWith("フォルダ " + label + " に" + CrLf + name + CrLf +
                                                "は既に存在します。"));
    QCOMPARE(dialogs.calls.size(), 1); // nothing after a cancel, not even the closing question

    dialogs.calls.clear();
    dialogs.choices = {Answer::No};
    dialogs.answers = {true, true}; // to the trash; then open the folder
    b->click();
    QVERIFY(!QFileInfo::exists(file));
    QCOMPARE(dialogs.texts("message"),
             QStringList{"フォルダ " + label + " から " + CrLf + name + CrLf + "を削除しました。"});
    const auto calls = callsOf(w.fake.shell, Launches);
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls[0].kind, QStringLiteral("trash"));
    QCOMPARE(calls[1].kind, QStringLiteral("open"));
    QCOMPARE(calls[1].target, w.fake.folders.path(SpecialFolder(folder)));
}

// The list menu's desktop shortcut points to the selected picture under its own name;
// the second time it offers the update.
void TestFileActionWindow::desktopShortcutOfPicture()
{
    Window w;
    QVERIFY(w.ready());
    auto &dialogs = w.fake.dialogs;
    dialogs.answers = {false, true}; // do not open the folder, then do: show the shortcut
    dialogs.choices = {Answer::Yes};
    w.unselect();
    w.choose("pm1DeskTop"); // no selected row: nothing
    QCOMPARE(dialogs.calls.size(), 0);

    w.select(Awkward);
    w.choose("pm1DeskTop");
    const QString name = Awkward + QStringLiteral(".desktop");
    const QString file = w.fake.folders.path(SpecialFolder::Desktop) + u'/' + name;
    QVERIFY(QFileInfo::exists(file));
    QCOMPARE(w.fake.shortcuts.saved.size(), 1);
    QCOMPARE(w.fake.shortcuts.saved[0].kind, pelmaris::platform::ShortcutKind::Document);
    QCOMPARE(w.fake.shortcuts.saved[0].target, w.path(Awkward));

    w.choose("pm1DeskTop");
    QCOMPARE(dialogs.texts("ask3").size(), 1);
    QCOMPARE(dialogs.texts("message").last(),
             "フォルダ デスクトップ の" + CrLf + name + CrLf + "を更新しました。");
    QCOMPARE(w.fake.shortcuts.saved.size(), 2);
    const auto shown = callsOf(w.fake.shell, {"showItem"});
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].target, file);
}

QTEST_MAIN(TestFileActionWindow)
#include "tst_fileactionwindow.moc"
