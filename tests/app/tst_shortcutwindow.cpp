// The shortcut buttons of "起動ショートカット" and the list menu's desktop shortcut to a
// picture, pressed in the real window over the fake desktop.

#include "app/shortcutcommands.h"
#include "rowwindow.h"

#include <QStandardPaths>

using namespace rowwindow;
using pelmaris::platform::Answer;
using pelmaris::platform::SpecialFolder;

class TestShortcutWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void shortcutButtons_data();
    void shortcutButtons();
    void desktopShortcutOfPicture();
    void startMenuKnowsTheInstalledEntry();
};

// After an install the menu already starts the program: no second entry beside it. One
// made before the install can still be deleted.
void TestShortcutWindow::startMenuKnowsTheInstalledEntry()
{
    Window w;
    QVERIFY(w.ready());
    const QString installed = QStringLiteral("/usr/share/applications/pelmaris.desktop");
    w.fake.shortcuts.menuEntry = installed;
    auto *b = w.form.findChild<QPushButton *>("btnStartMenu");
    b->click();
    QVERIFY(w.fake.shortcuts.saved.isEmpty());
    QCOMPARE(w.fake.dialogs.texts("message"),
             QStringList{pelmaris::app::ShortcutCommands::installedText(installed)});
    QVERIFY(w.fake.dialogs.texts("message")[0].contains(installed));

    const QString own = w.fake.folders.path(SpecialFolder::Programs) + "/ペルマリス.desktop";
    QVERIFY(writeFile(own, "[Desktop Entry]\n"));
    w.fake.dialogs.calls.clear();
    w.fake.dialogs.choices = {Answer::Cancel};
    b->click();
    QCOMPARE(w.fake.dialogs.calls.first().kind, QStringLiteral("ask3"));
}

// Each button's first press creates the program's shortcut; the next asks the three-way
// question, whose "キャンセル" ends it and whose "いいえ" puts the shortcut in the trash.
void TestShortcutWindow::shortcutButtons_data()
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

void TestShortcutWindow::shortcutButtons()
{
    QFETCH(QString, button);
    QFETCH(int, folder);
    QFETCH(QString, label);
    Window w;
    QVERIFY(w.ready());
    auto *b = w.form.findChild<QPushButton *>(button);
    QVERIFY(b);
    const QString name = QStringLiteral("ペルマリス.desktop");
    const QString file = w.fake.folders.path(SpecialFolder(folder)) + u'/' + name;
    auto &dialogs = w.fake.dialogs;

    dialogs.answers = {false}; // do not open the folder
    b->click();
    QVERIFY(QFileInfo::exists(file));
    QCOMPARE(w.fake.shortcuts.saved.size(), 1);
    QCOMPARE(w.fake.shortcuts.saved[0].target, w.fake.system.exe);
    using pelmaris::platform::ShortcutKind;
    QCOMPARE(w.fake.shortcuts.saved[0].kind, SpecialFolder(folder) == SpecialFolder::SendTo
                                                 ? ShortcutKind::FileManagerScript
                                                 : ShortcutKind::Program);
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
void TestShortcutWindow::desktopShortcutOfPicture()
{
    Window w;
    QVERIFY(w.ready());
    auto &dialogs = w.fake.dialogs;
    dialogs.answers = {false, true}; // do not open the folder, then do: show the shortcut
    dialogs.choices = {Answer::Yes};
    w.unselect();
    w.choose(Command::pm1DeskTop); // no selected row: nothing
    QCOMPARE(dialogs.calls.size(), 0);

    w.select(Awkward);
    w.choose(Command::pm1DeskTop);
    const QString name = Awkward + QStringLiteral(".desktop");
    const QString file = w.fake.folders.path(SpecialFolder::Desktop) + u'/' + name;
    QVERIFY(QFileInfo::exists(file));
    QCOMPARE(w.fake.shortcuts.saved.size(), 1);
    QCOMPARE(w.fake.shortcuts.saved[0].kind, pelmaris::platform::ShortcutKind::Document);
    QCOMPARE(w.fake.shortcuts.saved[0].target, w.path(Awkward));

    w.choose(Command::pm1DeskTop);
    QCOMPARE(dialogs.texts("ask3").size(), 1);
    QCOMPARE(dialogs.texts("message").last(),
             "フォルダ デスクトップ の" + CrLf + name + CrLf + "を更新しました。");
    QCOMPARE(w.fake.shortcuts.saved.size(), 2);
    const auto shown = callsOf(w.fake.shell, {"showItem"});
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].target, file);
}

QTEST_MAIN(TestShortcutWindow)
#include "tst_shortcutwindow.moc"
