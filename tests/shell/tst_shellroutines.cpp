#include "fakeservices.h"
#include "shell/shellroutines.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>

using namespace pelmaris;
using namespace pelmaris::shell;

class TestShellRoutines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reports_data();
    void reports();
    void deleteToRecycleBin_data();
    void deleteToRecycleBin();
    void flashAlertsAndRestores();
};

// Each routine hands the unquoted target to the shell and gives back a failure in its
// own words, as the desktop's; it shows nothing itself.
void TestShellRoutines::reports_data()
{
    QTest::addColumn<QString>("routine");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("fail");
    QTest::addColumn<QString>("shellTarget");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("open quoted path") << "open"
                                      << "\"/p/a \"\"b\"\".jpg\""
                                      << "" << false << "/p/a \"b\".jpg" << QStringList{};
    QTest::newRow("open fails") << "open"
                                << "\"/p/x.jpg\""
                                << "" << true << "/p/x.jpg"
                                << QStringList{
                                       "Open Failed 2\r\nNo such file or directory\r\n/p/x.jpg"};
    QTest::newRow("open with") << "with"
                               << "\"/usr/bin/b\""
                               << "\"/p/a.jpg\"" << false << "/usr/bin/b" << QStringList{};
    QTest::newRow("open with fails")
        << "with"
        << "/usr/bin/missing"
        << "\"/p/a.jpg\"" << true << "/usr/bin/missing"
        << QStringList{
               "OpenBy Failed 2\r\nNo such file or directory\r\n/usr/bin/missing\r\n\"/p/a.jpg\""};
    QTest::newRow("open with an empty program")
        << "with"
        << ""
        << "x" << false << ""
        << QStringList{"OpenBy Failed 2\r\nNo such file or directory\r\n\r\nx"};
    QTest::newRow("properties") << "properties"
                                << "/p/a.jpg"
                                << "" << false << "/p/a.jpg" << QStringList{};
    QTest::newRow("properties fail")
        << "properties"
        << "/p/a.jpg"
        << "" << true << "/p/a.jpg" << QStringList{"プロパティを表示できませんでした\r\n/p/a.jpg"};
}

void TestShellRoutines::reports()
{
    QFETCH(QString, routine);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, fail);
    fakes::FakePlatform fp;
    if (fail)
        fp.shell.failures = {"open", "start", "properties"};
    platform::Outcome outcome;
    if (routine == "open")
        outcome = ShellOpen(fp.services(), first);
    else if (routine == "with")
        outcome = ShellOpenWith(fp.services(), first, second);
    else
        outcome = ShowFileProperties(fp.services(), nullptr, first);
    QCOMPARE(fp.shell.calls.size(), 1);
    QTEST(fp.shell.calls.first().target, "shellTarget");
    if (routine == "with")
        QCOMPARE(fp.shell.calls.first().parameters, second);
    QTEST(outcome.ok() ? QStringList{} : QStringList{outcome.text()}, "messages");
    if (!outcome)
        QCOMPARE(outcome.origin(), platform::Outcome::Origin::Desktop);
    QVERIFY(fp.dialogs.calls.isEmpty());
}

// Nothing to delete asks nothing and counts as deleted; otherwise the question names
// the file, and the move's failure says why the file stays.
void TestShellRoutines::deleteToRecycleBin_data()
{
    QTest::addColumn<QString>("file");     // created in the sandbox unless empty or "missing"
    QTest::addColumn<int>("trashFailure"); // the shell's code, 0 for success
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("asked");
    QTest::newRow("empty path") << "" << 0 << true << QStringList{} << false;
    QTest::newRow("missing file") << "missing" << 0 << true << QStringList{} << false;
    QTest::newRow("moved") << "a.lnk" << 0 << true << QStringList{} << true;
    QTest::newRow("trash fails") << "a.lnk" << 5 << false
                                 << QStringList{"Delete \"a.lnk\" Failed.\r\nPermission denied"}
                                 << true;
    // Where the file system has no trash the file is kept, and the report says so.
    QTest::newRow("no trash there")
        << "a b.jpg" << int(platform::ShellError::NotSupported) << false
        << QStringList{"Delete \"a b.jpg\" Failed.\r\n"
                       "この場所にはごみ箱がないため、ファイルは削除せずに残しました。"}
        << true;
}

void TestShellRoutines::deleteToRecycleBin()
{
    QFETCH(QString, file);
    QFETCH(int, trashFailure);
    QFETCH(bool, result);
    QFETCH(bool, asked);
    fakes::FakePlatform fp;
    QString path;
    if (!file.isEmpty()) {
        path = fp.root() + "/" + file;
        if (file != "missing") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
    }
    if (trashFailure) {
        fp.shell.failures = {"trash"};
        fp.shell.failCode = trashFailure;
        fp.shell.failText = "Permission denied";
    }
    const QString question = recycleQuestion(path);
    QCOMPARE(!question.isEmpty(), asked);
    if (asked) {
        QCOMPARE(question, "このファイルをごみ箱に移動しますか?\r\n\r\n" + path);
        const platform::Outcome moved = DeleteToRecycleBin(fp.services(), path);
        QCOMPARE(moved.ok(), result);
        QTEST(moved.ok() ? QStringList{} : QStringList{moved.text()}, "messages");
        QCOMPARE(moved.code(), trashFailure);
    }
    QVERIFY(fp.dialogs.calls.isEmpty());
    // Listed, not looked up: on Windows a look-up follows a ".lnk" file as a shortcut,
    // and an empty one leads nowhere (a link that leads nowhere is listed as a system file).
    if (!result)
        QVERIFY(QDir(fp.root()).entryList(QDir::Files | QDir::System).contains(file));
}

void TestShellRoutines::flashAlertsAndRestores()
{
    fakes::FakePlatform fp;
    QWidget w;
    w.showMinimized();
    FlashTaskbarButton(fp.services(), &w, 10, 500);
    QCOMPARE(fp.desktop.alerts, 1);
    QVERIFY(!w.isMinimized());
}

QTEST_MAIN(TestShellRoutines)
#include "tst_shellroutines.moc"
