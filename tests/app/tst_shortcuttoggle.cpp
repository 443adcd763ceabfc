// The shortcut buttons' questions and reports around the registration's steps, over the
// fake desktop.

#include "app/shortcuttoggle.h"
#include "fakeservices.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace pelmaris;
using app::ShortcutToggle;
using platform::Answer;
using platform::ShortcutKind;
using platform::SpecialFolder;
using shell::ShortcutPlace;

namespace {

const QDateTime Now(QDate(2025, 7, 15), QTime(9, 5, 7));

struct Sandbox {
    Sandbox() : shortcuts(fp.services(), nullptr)
    {
        shortcuts.registration().setClock([] { return Now; });
    }
    QString folder(SpecialFolder id) const { return fp.folders.path(id); }
    QStringList kinds() const
    {
        QStringList out;
        for (const auto &call : fp.dialogs.calls)
            out << call.kind;
        return out;
    }
    fakes::FakePlatform fp;
    ShortcutToggle shortcuts;
};

void press(ShortcutToggle &r, const QString &button, const QString &file = {})
{
    if (button == "SendTo1")
        r.toggle(ShortcutPlace::SendTo);
    else if (button == "DeskTop1")
        r.toggle(ShortcutPlace::Desktop);
    else if (button == "StartMenu1")
        r.toggle(ShortcutPlace::StartMenu);
    else if (button == "StartUp1")
        r.toggle(ShortcutPlace::Startup);
    else
        r.toggleDesktopShortcutTo(file);
}

} // namespace

class TestShortcutToggle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstPressCreates_data();
    void firstPressCreates();
    void secondPressAsks_data();
    void secondPressAsks();
    void pictureOnDesktop();
    void desktopFolderNeverMade();
    void failures_data();
    void failures();
};

void TestShortcutToggle::firstPressCreates_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("folder");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("kind");
    QTest::newRow("SendTo") << "SendTo1" << int(SpecialFolder::SendTo) << "「送る」"
                            << int(ShortcutKind::FileManagerScript);
    QTest::newRow("desktop") << "DeskTop1" << int(SpecialFolder::Desktop) << "デスクトップ"
                             << int(ShortcutKind::Program);
    QTest::newRow("start menu") << "StartMenu1" << int(SpecialFolder::Programs)
                                << "スタートメニューのプログラム" << int(ShortcutKind::Program);
    QTest::newRow("startup") << "StartUp1" << int(SpecialFolder::Startup) << "スタートアップ"
                             << int(ShortcutKind::Program);
}

void TestShortcutToggle::firstPressCreates()
{
    QFETCH(QString, button);
    QFETCH(int, folder);
    QFETCH(QString, label);
    QFETCH(int, kind);
    Sandbox s;
    const QString file = s.folder(SpecialFolder(folder)) + "/ペルマリス.desktop";
    press(s.shortcuts, button);

    QCOMPARE(s.fp.shortcuts.saved.size(), 1);
    const auto saved = s.fp.shortcuts.saved.first();
    QCOMPARE(int(saved.kind), kind);
    QCOMPARE(saved.file, file);
    QCOMPARE(saved.target, s.fp.system.exe);
    QCOMPARE(saved.arguments, QString());
    QCOMPARE(saved.folder, s.fp.system.temp + "/");
    QCOMPARE(saved.description, "2025/07/15 09:05:07 Created by Pelmaris V1.6");
    QCOMPARE(s.fp.shortcuts.steps,
             (QStringList{"setPath", "setWorkingDirectory", "setDescription", "save"}));
    QCOMPARE(s.kinds(), (QStringList{"message", "ask"}));
    QCOMPARE(s.fp.dialogs.calls[0].text,
             "フォルダ " + label + " に\r\nペルマリス.desktop\r\nを新規作成しました。");
    QCOMPARE(s.fp.dialogs.calls[1].text, "フォルダ " + label + " を開きますか？");
    // yes to the closing question shows the new shortcut in its folder
    QCOMPARE(s.fp.shell.calls.size(), 1);
    QCOMPARE(s.fp.shell.calls[0].kind, "showItem");
    QCOMPARE(s.fp.shell.calls[0].target, file);
}

void TestShortcutToggle::secondPressAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("dialogs");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<bool>("remains");
    QTest::addColumn<QString>("shown"); // the shell request after the closing question
    QTest::newRow("update") << int(Answer::Yes) << QStringList{"ask3", "message", "ask"}
                            << "フォルダ 「送る」 の\r\nペルマリス.desktop\r\nを更新しました。"
                            << true << "showItem";
    // Deletion goes through the trash, which confirms first; the folder then opens
    // without a selection.
    QTest::newRow("delete") << int(Answer::No) << QStringList{"ask3", "ask", "message", "ask"}
                            << "フォルダ 「送る」 から \r\nペルマリス.desktop\r\nを削除しました。"
                            << false << "open";
    QTest::newRow("cancel") << int(Answer::Cancel) << QStringList{"ask3"} << "" << true << "";
}

void TestShortcutToggle::secondPressAsks()
{
    QFETCH(int, answer);
    QFETCH(QString, outcome);
    QFETCH(bool, remains);
    QFETCH(QString, shown);
    Sandbox s;
    s.shortcuts.toggle(ShortcutPlace::SendTo);
    s.fp.dialogs.calls.clear();
    s.fp.shell.calls.clear();
    s.fp.shortcuts.saved.clear();
    s.shortcuts.registration().setClock([] { return Now.addDays(1); });

    s.fp.dialogs.choices = {Answer(answer)};
    s.shortcuts.toggle(ShortcutPlace::SendTo);
    QTEST(s.kinds(), "dialogs");
    QCOMPARE(
        s.fp.dialogs.calls[0].text,
        "フォルダ 「送る」 に\r\nペルマリス.desktop\r\nは既に存在します。更新しますか？\r\n\r\n"
        "[はい]: 更新, [いいえ]: 削除, [ｷｬﾝｾﾙ]: 取消し");
    if (!outcome.isEmpty())
        QCOMPARE(s.fp.dialogs.texts("message"), QStringList{outcome});
    const QString file = s.folder(SpecialFolder::SendTo) + "/ペルマリス.desktop";
    QCOMPARE(QFile::exists(file), remains);
    if (answer == int(Answer::Yes)) {
        QCOMPARE(s.fp.shortcuts.saved.size(), 1);
        QCOMPARE(s.fp.shortcuts.saved[0].description,
                 "2025/07/16 09:05:07 Created by Pelmaris V1.6");
    } else {
        QVERIFY(s.fp.shortcuts.saved.isEmpty());
    }
    if (shown.isEmpty()) {
        QVERIFY(s.fp.shell.calls.isEmpty());
    } else {
        QCOMPARE(s.fp.shell.calls.last().kind, shown);
        QCOMPARE(s.fp.shell.calls.last().target,
                 shown == "open" ? s.folder(SpecialFolder::SendTo) : file);
    }
}

void TestShortcutToggle::pictureOnDesktop()
{
    Sandbox s;
    const QString picture = s.fp.root() + "/pics/a.jpg";
    s.fp.dialogs.answers = {false};
    s.shortcuts.toggleDesktopShortcutTo(picture);
    QCOMPARE(s.fp.shortcuts.saved.size(), 1);
    QCOMPARE(s.fp.shortcuts.saved[0].file, s.folder(SpecialFolder::Desktop) + "/a.jpg.desktop");
    QCOMPARE(s.fp.shortcuts.saved[0].kind, ShortcutKind::Document);
    QCOMPARE(s.fp.shortcuts.saved[0].target, picture);
    QVERIFY(s.fp.shell.calls.isEmpty()); // the closing question was answered no

    s.shortcuts.toggleDesktopShortcutTo(picture);
    QCOMPARE(s.fp.dialogs.texts("ask3"),
             QStringList{"フォルダ デスクトップ に\r\na.jpg.desktop\r\nは既に存在します。"
                         "更新しますか？\r\n\r\n[はい]: 更新, [いいえ]: 削除, [ｷｬﾝｾﾙ]: 取消し"});

    s.shortcuts.toggleDesktopShortcutTo(QString());
    QCOMPARE(s.fp.dialogs.calls.size(), 3);
}

// Where the desktop folder was never made (the folder lookups then name the home
// folder), the shortcuts go into a new desktop folder, never into home.
void TestShortcutToggle::desktopFolderNeverMade()
{
    Sandbox s;
    const QString home = s.fp.root() + "/home";
    const QString desktop = home + "/Desktop";
    QDir().mkpath(home);
    s.fp.folders.paths[int(SpecialFolder::Desktop)] = home;
    s.fp.folders.createIn[int(SpecialFolder::Desktop)] = desktop;
    s.shortcuts.toggle(ShortcutPlace::Desktop);
    s.shortcuts.toggleDesktopShortcutTo(s.fp.root() + "/a.jpg");
    QCOMPARE(s.fp.shortcuts.saved.size(), 2);
    QCOMPARE(s.fp.shortcuts.saved[0].file, desktop + "/ペルマリス.desktop");
    QCOMPARE(s.fp.shortcuts.saved[1].file, desktop + "/a.jpg.desktop");
    QCOMPARE(QDir(home).entryList(QDir::Files), QStringList());
    QCOMPARE(s.fp.shell.calls.first().target, desktop + "/ペルマリス.desktop");
}

void TestShortcutToggle::failures_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("error");   // the error box; the command ends there
    QTest::addColumn<QString>("message"); // else the outcome
    const QString tail = "13\r\nSystem text 13";
    QTest::newRow("path") << "setPath" << false << "SetPath Failed HRESULT=" + tail << "";
    QTest::newRow("working folder")
        << "setWorkingDirectory" << false << "SetWorkingDirectory Failed HRESULT=" + tail << "";
    QTest::newRow("description") << "setDescription" << true << "SetDescription HRESULT=" + tail
                                 << "";
    QTest::newRow("saving a new one")
        << "save" << false << ""
        << "フォルダ スタートアップ "
           "に\r\nペルマリス.desktop\r\nを新規作成できませんでした。HRESULT=" +
               tail;
    QTest::newRow("saving an update")
        << "save" << true << ""
        << "フォルダ スタートアップ の\r\nペルマリス.desktop\r\nを更新できませんでした。HRESULT=" +
               tail;
    QTest::newRow("deleting") << "trash" << true << ""
                              << "フォルダ スタートアップ から \r\nペルマリス.desktop\r\n"
                                 "を削除できませんでした。";
}

void TestShortcutToggle::failures()
{
    QFETCH(QString, step);
    QFETCH(bool, existing);
    QFETCH(QString, error);
    QFETCH(QString, message);
    Sandbox s;
    if (existing) {
        s.shortcuts.toggle(ShortcutPlace::Startup);
        s.fp.dialogs.calls.clear();
    }
    s.fp.shortcuts.failures.insert(step, 13);
    if (step == "trash") {
        s.fp.shell.failures = {"trash"};
        s.fp.dialogs.choices = {Answer::No};
    } else {
        s.fp.dialogs.choices = {Answer::Yes};
    }
    s.shortcuts.toggle(ShortcutPlace::Startup);
    QCOMPARE(s.fp.dialogs.texts("error"), error.isEmpty() ? QStringList{} : QStringList{error});
    if (error.isEmpty()) {
        QCOMPARE(s.fp.dialogs.texts("message").last(), message);
        QCOMPARE(s.fp.dialogs.calls.last().kind, "ask"); // the closing question follows
    } else {
        QVERIFY(s.fp.dialogs.texts("message").isEmpty());
        QVERIFY(s.fp.dialogs.texts("ask").isEmpty());
    }
}

QTEST_MAIN(TestShortcutToggle)
#include "tst_shortcuttoggle.moc"
