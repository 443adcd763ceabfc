#include "platform/commandline.h"

#include <QProcess>
#include <QTest>

using namespace pelmaris::platform;

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dequoting_data();
    void dequoting();
    void quotedArgumentsSplitBack_data();
    void quotedArgumentsSplitBack();
    void execLines_data();
    void execLines();
};

void TestCommandLine::dequoting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::newRow("no quotes taken whole") << "C:\\Browsers\\b.exe"
                                           << "C:\\Browsers\\b.exe";
    QTest::newRow("unquoted with blank taken whole") << "/opt/b x --f"
                                                     << "/opt/b x --f";
    QTest::newRow("quoted") << "\"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe\""
                            << "C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe";
    QTest::newRow("arguments after the quote dropped") << "\"C:\\Browsers\\b.exe\" --flag"
                                                       << "C:\\Browsers\\b.exe";
    QTest::newRow("doubled quote inside") << "\"a \"\"b\"\" c\""
                                          << "a \"b\" c";
    QTest::newRow("never closed taken whole") << "\"/opt/b x"
                                              << "\"/opt/b x";
    QTest::newRow("empty quotes") << "\"\""
                                  << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestCommandLine::dequoting()
{
    QFETCH(QString, text);
    QTEST(dequote(text), "result");
}

void TestCommandLine::quotedArgumentsSplitBack_data()
{
    QTest::addColumn<QString>("argument");
    QTest::newRow("blank") << "/tmp/a b.html";
    QTest::newRow("quote") << "/p/say \"hi\".jpg";
    QTest::newRow("quotes at the ends") << "\"x\"";
    QTest::newRow("japanese and signs") << "/写真/#1 100% & co.jpg";
}

void TestCommandLine::quotedArgumentsSplitBack()
{
    QFETCH(QString, argument);
    QCOMPARE(QProcess::splitCommand(quoteArgument(argument)), QStringList{argument});
}

void TestCommandLine::execLines_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("program");
    QTest::newRow("field code") << "/usr/bin/google-chrome-stable %U"
                                << "/usr/bin/google-chrome-stable";
    QTest::newRow("bare name") << "chromium"
                               << "chromium";
    QTest::newRow("quoted with blank") << "\"/opt/My Browser/b\" --new-window %u"
                                       << "/opt/My Browser/b";
    QTest::newRow("leading blanks") << "  firefox %u"
                                    << "firefox";
}

void TestCommandLine::execLines()
{
    QFETCH(QString, exec);
    QTEST(programFromExecLine(exec), "program");
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
