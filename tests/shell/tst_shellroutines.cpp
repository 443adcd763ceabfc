#include "fakeservices.h"
#include "shell/shellroutines.h"

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

// Each routine hands the unquoted target to the shell and reports a failure in its own
// words; success shows nothing.
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
    if (routine == "open")
        ShellOpen(fp.services(), first);
    else if (routine == "with")
        ShellOpenWith(fp.services(), first, second);
    else
        ShowFileProperties(fp.services(), nullptr, first);
    QCOMPARE(fp.shell.calls.size(), 1);
    QTEST(fp.shell.calls.first().target, "shellTarget");
    if (routine == "with")
        QCOMPARE(fp.shell.calls.first().parameters, second);
    QTEST(fp.dialogs.texts("message"), "messages");
}

void TestShellRoutines::deleteToRecycleBin_data()
{
    QTest::addColumn<QString>("file"); // created in the sandbox unless empty or "missing"
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("trashFailure"); // the shell's code, 0 for success
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("asked");
    QTest::newRow("empty path") << "" << true << 0 << true << QStringList{} << false;
    QTest::newRow("missing file") << "missing" << true << 0 << true << QStringList{} << false;
    QTest::newRow("moved") << "a.lnk" << true << 0 << true << QStringList{} << true;
    QTest::newRow("declined") << "a.lnk" << false << 0 << false
                              << QStringList{"Operations Aborted."} << true;
    QTest::newRow("trash fails") << "a.lnk" << true << 5 << false
                                 << QStringList{"Delete \"a.lnk\" Failed.\r\nPermission denied"}
                                 << true;
    // Where the file system has no trash the file is kept, and the report says so.
    QTest::newRow("no trash there")
        << "a b.jpg" << true << int(platform::ShellError::NotSupported) << false
        << QStringList{"Delete \"a b.jpg\" Failed.\r\n"
                       "この場所にはごみ箱がないため、ファイルは削除せずに残しました。"}
        << true;
}

void TestShellRoutines::deleteToRecycleBin()
{
    QFETCH(QString, file);
    QFETCH(bool, confirm);
    QFETCH(int, trashFailure);
    QFETCH(bool, result);
    fakes::FakePlatform fp;
    QString path;
    if (!file.isEmpty()) {
        path = fp.root() + "/" + file;
        if (file != "missing") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
    }
    fp.dialogs.answers = {confirm};
    if (trashFailure) {
        fp.shell.failures = {"trash"};
        fp.shell.failCode = trashFailure;
        fp.shell.failText = "Permission denied";
    }
    QCOMPARE(DeleteToRecycleBin(fp.services(), nullptr, path), result);
    QTEST(fp.dialogs.texts("message"), "messages");
    QTEST(!fp.dialogs.texts("ask").isEmpty(), "asked");
    if (!result)
        QVERIFY(QFile::exists(path));
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
