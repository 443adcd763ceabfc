#include "platform/desktopentry.h"

#include <QTest>

using namespace pelmaris::platform;

class TestDesktopEntry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void execArgumentsRoundTrip_data();
    void execArgumentsRoundTrip();
    void valuesRoundTrip();
    void programs_data();
    void programs();
    void parsing();
};

// Whatever a name holds comes back whole from a written Exec line, and no character of
// it is read as a field code.
void TestDesktopEntry::execArgumentsRoundTrip_data()
{
    QTest::addColumn<QString>("argument");
    QTest::newRow("blanks") << "/opt/My Apps/viewer";
    QTest::newRow("quotes") << "/p/say \"hi\" it's";
    QTest::newRow("shell characters") << "/p/$HOME `id` a&b;c|d <e> *?(x)~";
    QTest::newRow("backslashes") << "/p/a\\b\\\\c\\";
    QTest::newRow("percent and hash") << "/p/100% #1 %F %u %%";
    QTest::newRow("leading dash") << "-rf";
    QTest::newRow("japanese") << "/写真/ペルマリス 一覧.jpg";
    QTest::newRow("line breaks and tabs") << "/p/a\nb\tc\rd";
    QTest::newRow("leading blank") << " /p/x";
}

void TestDesktopEntry::execArgumentsRoundTrip()
{
    QFETCH(QString, argument);
    const QString exec = desktopentry::quoteExecArgument(argument) + " --x %F";
    const QByteArray file = "[Desktop Entry]\nExec=" + desktopentry::escapeValue(exec).toUtf8() +
                            "\nName=" + desktopentry::escapeValue(argument).toUtf8() + "\n";
    QCOMPARE(file.count('\n'), 3); // each value stayed on its line
    QVERIFY(!file.contains('\r') && !file.contains('\t'));
    const auto entry = desktopentry::parse(file);
    QCOMPARE(desktopentry::splitExec(entry.value("Exec")), (QStringList{argument, "--x", "%F"}));
    QCOMPARE(entry.value("Name"), argument);
}

void TestDesktopEntry::valuesRoundTrip()
{
    QVERIFY(desktopentry::canCarry("a\tb\nc\rd ペ"));
    QVERIFY(!desktopentry::canCarry(QString("a") + QChar(1)));
    QVERIFY(!desktopentry::canCarry(QString("a") + QChar(0x7f)));
    QCOMPARE(desktopentry::unescapeValue("\\sa\\\\b\\n\\$"), QString(" a\\b\n\\$"));
}

void TestDesktopEntry::programs_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("program"); // what is started
    QTest::addColumn<QString>("display"); // what a person would call it
    QTest::newRow("plain") << "/usr/bin/firefox-esr %u"
                           << "/usr/bin/firefox-esr"
                           << "/usr/bin/firefox-esr";
    QTest::newRow("snap") << "env BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/applications/"
                             "firefox_firefox.desktop /snap/bin/firefox %u"
                          << "/snap/bin/firefox"
                          << "/snap/bin/firefox";
    QTest::newRow("env with options") << "/usr/bin/env -u GTK_THEME -i A=1 B=\"x y\" chromium %U"
                                      << "chromium"
                                      << "chromium";
    QTest::newRow("flatpak with command")
        << "/usr/bin/flatpak run --branch=stable --arch=x86_64 --command=/app/bin/chrome "
           "--file-forwarding com.google.Chrome @@u %U @@"
        << "/usr/bin/flatpak"
        << "/app/bin/chrome";
    QTest::newRow("flatpak by id") << "flatpak run org.mozilla.firefox @@u %u @@"
                                   << "flatpak"
                                   << "firefox";
    QTest::newRow("quoted program") << "\"/opt/My Browser/b\" %U"
                                    << "/opt/My Browser/b"
                                    << "/opt/My Browser/b";
    QTest::newRow("single quotes") << "'/opt/a b/c' %f"
                                   << "/opt/a b/c"
                                   << "/opt/a b/c";
    QTest::newRow("unclosed quote") << "\"/opt/a b %u"
                                    << ""
                                    << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void TestDesktopEntry::programs()
{
    QFETCH(QString, exec);
    const QStringList arguments = desktopentry::splitExec(exec);
    QTEST(desktopentry::execProgram(arguments), "program");
    QTEST(desktopentry::displayProgram(arguments), "display");
}

void TestDesktopEntry::parsing()
{
    const auto entry = desktopentry::parse("#!/bin/sh comment\r\n"
                                           "[Desktop Entry]\r\n"
                                           "Name=Viewer\r\n"
                                           "Name[ja]=ビューア\r\n"
                                           "Exec = viewer %F\r\n"
                                           "Name=again\r\n"
                                           "[Desktop Action New]\r\n"
                                           "Exec=other\r\n");
    QCOMPARE(entry.value("Name"), QString("Viewer"));
    QCOMPARE(entry.value("Exec"), QString("viewer %F"));
    QCOMPARE(entry.size(), 2);
    QVERIFY(desktopentry::parse("[Other]\nExec=x\n").isEmpty());
    QVERIFY(desktopentry::parse(QByteArray("\xff\xfe\x00garbage", 10)).isEmpty());
}

QTEST_MAIN(TestDesktopEntry)
#include "tst_desktopentry.moc"
