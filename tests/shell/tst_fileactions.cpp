#include "deeptree.h"
#include "fakeservices.h"
#include "shell/fileactions.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace pelmaris;
using pelmaris::shell::FileActions;

namespace {

QString makeFile(const QString &path, const QByteArray &bytes = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(bytes);
    return path;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs a row command by its menu item's name, its steps as the window takes them: SendTo
// with `entry` picked, the trash confirmed. Gives the failure to tell, if any.
platform::Outcome run(FileActions &actions, const QString &command, const QString &path,
                      const QString &entry = {})
{
    if (command == "pm1Open")
        return actions.openDefault(path);
    if (command == "pm1Paint")
        return actions.openInPaint(path);
    if (command == "pm1Notepad")
        return actions.openInTextEditor(path);
    if (command == "pm1OpenBy")
        return actions.openWith(path);
    if (command == "pm1SendToCorvindale")
        return actions.sendToSibling("/opt/corvindale/Corvindale", path);
    if (command == "pm1SendTo") {
        platform::Outcome checked = actions.checkSendTo(path);
        return checked ? actions.sendTo(path, entry) : checked;
    }
    if (command == "pm1Properties")
        return actions.showProperties(path);
    if (command == "pm1OpenFolder")
        return actions.showInFolder(path);
    if (command == "pm1DeleteFile") {
        const platform::Result<QString> question = actions.trashQuestion(path);
        if (!question || question->isEmpty())
            return question.outcome();
        return actions.moveToTrash(path);
    }
    return platform::Outcome::failure("no such command");
}

QStringList told(const platform::Outcome &outcome)
{
    return outcome ? QStringList{} : QStringList{outcome.text()};
}

const QStringList RowCommands = {
    "pm1Open",   "pm1Paint",      "pm1Notepad",    "pm1OpenBy",    "pm1SendToCorvindale",
    "pm1SendTo", "pm1Properties", "pm1OpenFolder", "pm1DeleteFile"};

} // namespace

class TestFileActions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pathReachesProgramsWhole_data();
    void pathReachesProgramsWhole();
    void nothingWithoutSelection();
    void removedFile_data();
    void removedFile();
    void openWith_data();
    void openWith();
    void sendToFolderNeverOverwrites();
    void pathsOverTheLimit_data();
    void pathsOverTheLimit();
    void sendToEntries_data();
    void sendToEntries();
    void trash_data();
    void trash();
    void treeFolder_data();
    void treeFolder();
    void pasteFolderPath_data();
    void pasteFolderPath();
};

// Every program receives the path as one argument, whatever it holds; the desktop's
// own services get it as it is.
void TestFileActions::pathReachesProgramsWhole_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");    // the shell request made
    QTest::addColumn<QString>("program"); // for "start": who is started
    const QStringList names = {"a b.jpg", "say \"hi\" it's.jpg", "#1 %20 & 100%.jpg",
                               "-rf.jpg", "写真 一覧.png",       "trailing .jpg "};
    const QList<QStringList> commands = {
        {"pm1Paint", "start", "/usr/bin/kolourpaint"},
        {"pm1Notepad", "start", "/usr/share/applications/org.gnome.TextEditor.desktop"},
        {"pm1SendToCorvindale", "start", "/opt/corvindale/Corvindale"},
        {"pm1SendTo", "start", "SCRIPT"},
        {"pm1Open", "open", ""},
        {"pm1OpenBy", "openWith", ""},
        {"pm1Properties", "properties", ""},
        {"pm1OpenFolder", "showItem", ""},
    };
    for (const QStringList &c : commands)
        for (const QString &name : names)
            QTest::addRow("%s %s", qPrintable(c[0]), qPrintable(name))
                << c[0] << name << c[1] << c[2];
}

void TestFileActions::pathReachesProgramsWhole()
{
    QFETCH(QString, command);
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, program);
    fakes::FakePlatform fp;
    const QString path = makeFile(fp.root() + "/pics/" + name);
    QVERIFY(!path.isEmpty());
    if (program == "SCRIPT")
        program = makeFile(fp.folders.path(platform::SpecialFolder::SendTo) + "/upload");
    FileActions actions(fp.services());
    QCOMPARE(told(run(actions, command, path, program)), QStringList());
    QCOMPARE(fp.shell.calls.size(), 1);
    const auto call = fp.shell.calls.first();
    QCOMPARE(call.kind, kind);
    if (kind == "start") {
        QCOMPARE(call.target, program);
        QCOMPARE(QProcess::splitCommand(call.parameters), QStringList{path});
    } else {
        QCOMPARE(call.target, path);
    }
    if (command == "pm1SendToCorvindale") {
        QCOMPARE(fp.clipboard.text(), path);
    }
}

void TestFileActions::nothingWithoutSelection()
{
    fakes::FakePlatform fp;
    FileActions actions(fp.services());
    for (const QString &command : RowCommands)
        QVERIFY(run(actions, command, QString(), "/usr/bin/gimp").ok());
    QVERIFY(actions.sendToSibling(QString(), makeFile(fp.root() + "/a.jpg")).ok());
    QVERIFY(fp.shell.calls.isEmpty());
    QVERIFY(fp.dialogs.calls.isEmpty());
    QVERIFY(!fp.clipboard.hasText());
}

// A file removed between listing and the command gives one clear report (or, for the
// folder and the trash, what still makes sense) and starts nothing.
void TestFileActions::removedFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("shellCalls");
    QTest::addColumn<bool>("goneReported");
    QTest::newRow("paint") << "pm1Paint" << QStringList{} << true;
    QTest::newRow("editor") << "pm1Notepad" << QStringList{} << true;
    QTest::newRow("open with") << "pm1OpenBy" << QStringList{} << true;
    QTest::newRow("sibling") << "pm1SendToCorvindale" << QStringList{} << true;
    QTest::newRow("send to") << "pm1SendTo" << QStringList{} << true;
    QTest::newRow("folder opens without it") << "pm1OpenFolder" << QStringList{"open"} << false;
    QTest::newRow("nothing to trash") << "pm1DeleteFile" << QStringList{} << false;
}

void TestFileActions::removedFile()
{
    QFETCH(QString, command);
    fakes::FakePlatform fp;
    const QString path = fp.root() + "/pics/gone now.jpg";
    QDir().mkpath(fp.root() + "/pics");
    FileActions actions(fp.services());
    const platform::Outcome outcome = run(actions, command, path, "/usr/bin/gimp");
    QStringList kinds;
    for (const auto &call : fp.shell.calls)
        kinds << call.kind;
    QTEST(kinds, "shellCalls");
    QFETCH(bool, goneReported);
    QCOMPARE(told(outcome),
             goneReported ? QStringList{FileActions::goneText(path)} : QStringList{});
    QVERIFY(FileActions::goneText(path).startsWith("Open Failed 2\r\n"));
    if (goneReported) // told beside the window, as the program's own check
        QCOMPARE(outcome.origin(), platform::Outcome::Origin::Program);
    if (command == "pm1OpenFolder")
        QCOMPARE(fp.shell.calls.first().target, fp.root() + "/pics/");
    QVERIFY(fp.dialogs.calls.isEmpty());
    QVERIFY(!fp.clipboard.hasText());
}

void TestFileActions::openWith_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QString>("message");
    QTest::newRow("started") << false << false << "";
    QTest::newRow("cancelled is no failure") << true << false << "";
    QTest::newRow("failed") << false << true << "指定プログラムを起動できませんでした\r\nPATH";
}

void TestFileActions::openWith()
{
    QFETCH(bool, cancelled);
    QFETCH(bool, fails);
    QFETCH(QString, message);
    fakes::FakePlatform fp;
    const QString path = makeFile(fp.root() + "/a b.png");
    fp.shell.openWithCancelled = cancelled;
    if (fails)
        fp.shell.failures = {"openWith"};
    QCOMPARE(told(FileActions(fp.services()).openWith(path)),
             message.isEmpty() ? QStringList{} : QStringList{message.replace("PATH", path)});
}

// A row deeper than the system's path limit (the scan reaches it folder by folder):
// copying into a SendTo folder works; every other action says why it cannot, starts
// nothing, and the trash keeps the row.
void TestFileActions::pathsOverTheLimit_data()
{
    QTest::addColumn<QString>("command");
    for (const QString &command : RowCommands)
        QTest::newRow(qPrintable(command)) << command;
    QTest::newRow("pm1SendTo program") << "pm1SendTo program";
}

void TestFileActions::pathsOverTheLimit()
{
    QFETCH(QString, command);
    fakes::FakePlatform fp;
    const QByteArray name(200, 'd');
    const int depth = 25;
    const QString bottom = fixtures::makeDeepChain(fp.root(), depth, name, "deep.jpg", depth);
    QVERIFY(!bottom.isEmpty());
    const QString path = bottom + "/deep.jpg";
    QVERIFY(QFile::encodeName(path).size() > 4096);
    const QString backup = fp.root() + "/backup";
    QDir().mkpath(backup);
    QString entry;
    if (command == "pm1SendTo")
        entry = backup;
    else if (command == "pm1SendTo program")
        entry = makeFile(fp.folders.path(platform::SpecialFolder::SendTo) + "/up");
    FileActions actions(fp.services());
    const platform::Outcome outcome =
        run(actions, command == "pm1SendTo program" ? "pm1SendTo" : command, path, entry);

    QVERIFY(fp.shell.calls.isEmpty());
    if (command == "pm1SendTo") {
        QCOMPARE(contents(backup + "/deep.jpg"), QByteArray("x"));
        QCOMPARE(told(outcome), QStringList());
    } else {
        // a failure: nothing started, and the trash keeps the row
        QCOMPARE(told(outcome), QStringList{FileActions::tooLongText(path)});
    }
    fixtures::removeDeepChain(fp.root(), depth, name, "deep.jpg");
}

// A SendTo shortcut to a folder copies the file there; a second send reports the name
// taken and leaves the first copy as it was.
void TestFileActions::sendToFolderNeverOverwrites()
{
    fakes::FakePlatform fp;
    const QString path = makeFile(fp.root() + "/pics/a #1.jpg", "first");
    const QString backup = fp.root() + "/backup";
    QDir().mkpath(backup);
    const QString shortcut = fp.folders.path(platform::SpecialFolder::SendTo) + "/Backup.desktop";
    makeFile(shortcut, "[Desktop Entry]\n");
    fp.shell.shortcuts.insert(shortcut, backup);
    FileActions actions(fp.services());

    QCOMPARE(told(actions.sendTo(path, shortcut)), QStringList());
    QCOMPARE(contents(backup + "/a #1.jpg"), QByteArray("first"));

    makeFile(path, "second");
    QCOMPARE(told(actions.sendTo(path, shortcut)),
             QStringList{"Same Name File Already Exists. Copyfile Failed\r\n\r\n" + backup +
                         "/a #1.jpg"});
    QCOMPARE(contents(backup + "/a #1.jpg"), QByteArray("first"));
    // a link of that name, even a dangling one, is never written through
    QFile::remove(backup + "/a #1.jpg");
    QVERIFY(QFile::link(fp.root() + "/nowhere", backup + "/a #1.jpg"));
    QVERIFY(!actions.sendTo(path, shortcut));
    QVERIFY(!QFile::exists(fp.root() + "/nowhere"));
    QVERIFY(fp.shell.calls.isEmpty());
}

void TestFileActions::sendToEntries_data()
{
    QTest::addColumn<QString>("entry");   // in the SendTo folder; "" for a cancelled dialog
    QTest::addColumn<QString>("started"); // what is started, "" for nothing
    QTest::newRow("cancelled") << ""
                               << "";
    QTest::newRow("script") << "upload"
                            << "ENTRY";
    // A launcher goes through itself, so its own arguments and working folder hold.
    QTest::newRow("launcher") << "Mail.desktop"
                              << "ENTRY";
    QTest::newRow("link to a program") << "LINK"
                                       << "/usr/bin/gimp";
}

void TestFileActions::sendToEntries()
{
    QFETCH(QString, entry);
    QFETCH(QString, started);
    fakes::FakePlatform fp;
    const QString path = makeFile(fp.root() + "/a b.jpg");
    const QString folder = fp.folders.path(platform::SpecialFolder::SendTo);
    QString file;
    if (entry == "LINK") {
        file = folder + "/gimp";
        QVERIFY(QFile::link("/usr/bin/gimp", file));
        fp.shell.shortcuts.insert(file, "/usr/bin/gimp");
    } else if (!entry.isEmpty()) {
        file = makeFile(folder + "/" + entry);
        fp.shell.shortcuts.insert(file, "/usr/bin/mailer");
    }
    FileActions actions(fp.services());
    // The chooser opens in the SendTo folder.
    QCOMPARE(actions.sendToChoice().start, folder);
    QCOMPARE(actions.sendToChoice().title, "「送る」先を指定して開く");
    QVERIFY(run(actions, "pm1SendTo", path, file).ok());
    started.replace("ENTRY", file);
    QList<fakes::FakeShell::Call> starts;
    for (const auto &call : fp.shell.calls)
        if (call.kind == "start")
            starts << call;
    QCOMPARE(starts.size(), started.isEmpty() ? 0 : 1);
    if (!started.isEmpty()) {
        QCOMPARE(starts.first().target, started);
        QCOMPARE(QProcess::splitCommand(starts.first().parameters), QStringList{path});
    }
}

// The row goes only when the file is gone; a failure or a file system without trash
// keep both. (Declining the question is the window's: nothing is moved then.)
void TestFileActions::trash_data()
{
    QTest::addColumn<int>("failure");
    QTest::addColumn<bool>("rowGoes");
    QTest::newRow("moved to the trash") << 0 << true;
    QTest::newRow("failed") << 5 << false;
    QTest::newRow("no trash there") << int(platform::ShellError::NotSupported) << false;
}

void TestFileActions::trash()
{
    QFETCH(int, failure);
    QFETCH(bool, rowGoes);
    fakes::FakePlatform fp;
    const QString path = makeFile(fp.root() + "/a.jpg");
    if (failure) {
        fp.shell.failures = {"trash"};
        fp.shell.failCode = failure;
    }
    FileActions actions(fp.services());
    const platform::Result<QString> question = actions.trashQuestion(path);
    QVERIFY(question.ok());
    QVERIFY(question->endsWith(path));
    const platform::Outcome moved = actions.moveToTrash(path);
    QCOMPARE(moved.ok(), rowGoes);
    QCOMPARE(QFile::exists(path), !rowGoes);
    QCOMPARE(told(moved).size(), rowGoes ? 0 : 1);
    QVERIFY(fp.dialogs.calls.isEmpty());
}

void TestFileActions::treeFolder_data()
{
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("target");
    QTest::newRow("selected file in the tree's folder") << "ROOT/pics"
                                                        << "ROOT/pics/a b.jpg"
                                                        << "showItem"
                                                        << "ROOT/pics/a b.jpg";
    QTest::newRow("tree folder with a delimiter") << "ROOT/pics/"
                                                  << "ROOT/pics/a b.jpg"
                                                  << "showItem"
                                                  << "ROOT/pics/a b.jpg";
    QTest::newRow("selected file elsewhere") << "ROOT/pics"
                                             << "ROOT/other/c.jpg"
                                             << "open"
                                             << "ROOT/pics";
    QTest::newRow("in a sub-folder") << "ROOT"
                                     << "ROOT/pics/a b.jpg"
                                     << "open"
                                     << "ROOT";
    QTest::newRow("case differs") << "ROOT/Pics"
                                  << "ROOT/pics/a b.jpg"
                                  << "open"
                                  << "ROOT/Pics";
    QTest::newRow("selected file gone") << "ROOT/pics"
                                        << "ROOT/pics/gone.jpg"
                                        << "open"
                                        << "ROOT/pics";
    QTest::newRow("no selection") << "ROOT/pics"
                                  << ""
                                  << "open"
                                  << "ROOT/pics";
}

void TestFileActions::treeFolder()
{
    QFETCH(QString, tree);
    QFETCH(QString, selected);
    QFETCH(QString, kind);
    QFETCH(QString, target);
    fakes::FakePlatform fp;
    makeFile(fp.root() + "/pics/a b.jpg");
    makeFile(fp.root() + "/other/c.jpg");
    QVERIFY(
        FileActions(fp.services())
            .openTreeFolder(tree.replace("ROOT", fp.root()), selected.replace("ROOT", fp.root()))
            .ok());
    QCOMPARE(fp.shell.calls.size(), 1);
    QCOMPARE(fp.shell.calls.first().kind, kind);
    QCOMPARE(fp.shell.calls.first().target, target.replace("ROOT", fp.root()));
}

void TestFileActions::pasteFolderPath_data()
{
    QTest::addColumn<QString>("text"); // "BINARY" for a clipboard without text
    QTest::addColumn<bool>("treeTakesIt");
    QTest::addColumn<QString>("navigated");
    QTest::addColumn<QString>("error");
    QTest::newRow("blanks and a line break") << "  \tROOT/写真 #1\r\n"
                                             << true << "ROOT/写真 #1"
                                             << "";
    QTest::newRow("as an address")
        << "file://ROOT/%E5%86%99%E7%9C%9F%20%231" << true << "ROOT/写真 #1"
        << "";
    QTest::newRow("tree refuses") << "ROOT/写真 #1" << false << "ROOT/写真 #1"
                                  << "貼付けパスが正しくありません\r\nROOT/写真 #1";
    QTest::newRow("a file") << "ROOT/写真 #1/a.jpg" << true << ""
                            << "";
    QTest::newRow("plain words") << "hello world" << true << ""
                                 << "";
    QTest::newRow("relative folder") << "写真 #1" << true << ""
                                     << "";
    QTest::newRow("two lines") << "ROOT\nROOT" << true << ""
                               << "";
    QTest::newRow("empty") << "  \r\n"
                           << true << ""
                           << "";
    QTest::newRow("huge text") << QString(1 << 22, u'/') << true << ""
                               << "";
    QTest::newRow("nul inside") << QString("ROOT") + QChar(0) + "x" << true << ""
                                << "";
    QTest::newRow("no text") << "BINARY" << true << ""
                             << "";
}

void TestFileActions::pasteFolderPath()
{
    QFETCH(QString, text);
    QFETCH(bool, treeTakesIt);
    QFETCH(QString, navigated);
    QFETCH(QString, error);
    fakes::FakePlatform fp;
    makeFile(fp.root() + "/写真 #1/a.jpg");
    QDir::setCurrent(fp.root());
    if (text == "BINARY")
        fp.clipboard.setImage(QImage(4, 4, QImage::Format_RGB32));
    else
        fp.clipboard.setText(text.replace("ROOT", fp.root()));
    QStringList asked;
    const platform::Outcome pasted =
        FileActions(fp.services()).pasteFolderPath([&](const QString &folder) {
            asked << folder;
            return treeTakesIt;
        });
    QCOMPARE(asked, navigated.isEmpty() ? QStringList{}
                                        : QStringList{navigated.replace("ROOT", fp.root())});
    QCOMPARE(told(pasted),
             error.isEmpty() ? QStringList{} : QStringList{error.replace("ROOT", fp.root())});
    QVERIFY(fp.dialogs.calls.isEmpty());
}

QTEST_MAIN(TestFileActions)
#include "tst_fileactions.moc"
