#include "fakeservices.h"
#include "gallery/browserchoice.h"

#include <QFile>
#include <QPixmap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmaris;
using namespace pelmaris::gallery;

class TestBrowserChoice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shortNames_data();
    void shortNames();
    void buttonImages_data();
    void buttonImages();
    void launchersNamedByTheirProgram_data();
    void launchersNamedByTheirProgram();
    void wrappersAreNoBrowsers();
    void knownBrowsers_data();
    void knownBrowsers();
    void defaultBrowser();
    void otherBrowserIsRememberedOrAskedFor();
    void pickingWithoutIcon();
    void changingKeepsThePreviousOnCancel();
    void openOneImage_data();
    void openOneImage();
};

void TestBrowserChoice::shortNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("label");
    QTest::newRow("chrome") << "C:/x/chrome.exe"
                            << "(Chrome)";
    QTest::newRow("upper case") << "/opt/FIREFOX.EXE"
                                << "(Firefox)";
    QTest::newRow("mixed") << "/home/u/MyBrowser.EXE"
                           << "(Mybrowser)";
    QTest::newRow("no extension") << "/usr/bin/google-chrome-stable"
                                  << "(Google-chrome-stable)";
    QTest::newRow("quoted") << "\"/opt/My Browser/vivaldi\""
                            << "(Vivaldi)";
    QTest::newRow("digit first") << "/opt/9web.exe"
                                 << "(9web)";
    QTest::newRow("empty") << ""
                           << "()";
}

void TestBrowserChoice::shortNames()
{
    QFETCH(QString, path);
    QTEST(browserLabel(path), "label");
}

void TestBrowserChoice::buttonImages_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("image");
    QTest::newRow("edge") << "/usr/bin/microsoft-edge-stable" << int(EdgeImage);
    QTest::newRow("edge windows") << "C:/Edge/msedge.exe" << int(EdgeImage);
    QTest::newRow("chrome") << "/usr/bin/google-chrome" << int(ChromeImage);
    QTest::newRow("chrome windows") << "C:/Chrome/CHROME.EXE" << int(ChromeImage);
    QTest::newRow("other") << "/usr/bin/chromium" << int(ProgramImage);
}

void TestBrowserChoice::buttonImages()
{
    QFETCH(QString, path);
    QTEST(browserButtonImage(path), "image");
}

// A browser remembered as its desktop entry is named, and pictured, after the program
// the entry runs, not after a wrapper such as env or flatpak.
void TestBrowserChoice::launchersNamedByTheirProgram_data()
{
    QTest::addColumn<QByteArray>("exec");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("image");
    QTest::newRow("snap") << QByteArray("env BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/"
                                        "applications/firefox_firefox.desktop /snap/bin/firefox %u")
                          << "(Firefox)" << int(ProgramImage);
    QTest::newRow("flatpak") << QByteArray("/usr/bin/flatpak run --branch=stable --arch=x86_64 "
                                           "--command=firefox --file-forwarding "
                                           "org.mozilla.firefox @@u %u @@")
                             << "(Firefox)" << int(ProgramImage);
    QTest::newRow("flatpak chrome")
        << QByteArray("/usr/bin/flatpak run --command=/app/bin/chrome com.google.Chrome @@u %U @@")
        << "(Chrome)" << int(ChromeImage);
    QTest::newRow("edge") << QByteArray("/usr/bin/microsoft-edge-stable %U")
                          << "(Microsoft-edge-stable)" << int(EdgeImage);
    QTest::newRow("no Exec line") << QByteArray() << "(Web-browser)" << int(ProgramImage);
}

void TestBrowserChoice::launchersNamedByTheirProgram()
{
    QFETCH(QByteArray, exec);
    QTemporaryDir dir;
    const QString entry = dir.path() + "/web-browser.desktop";
    QFile f(entry);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Desktop Entry]\nType=Application\nName=Web\n");
    if (!exec.isEmpty())
        f.write("Exec=" + exec + "\n");
    f.close();
    QTEST(browserLabel(entry), "label");
    QTEST(browserButtonImage(entry), "image");
    QVERIFY(!isLauncherWrapper(entry));
}

void TestBrowserChoice::wrappersAreNoBrowsers()
{
    for (const char *p : {"/usr/bin/env", "flatpak", "\"/usr/bin/snap\""})
        QVERIFY2(isLauncherWrapper(p), p);
    for (const char *p : {"/usr/bin/firefox", "/opt/environment", ""})
        QVERIFY2(!isLauncherWrapper(p), p);
}

void TestBrowserChoice::knownBrowsers_data()
{
    QTest::addColumn<int>("browser");
    QTest::addColumn<QString>("installedAs");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("chrome on PATH") << int(KnownBrowser::Chrome) << "google-chrome-stable"
                                    << "/usr/bin/google-chrome-stable" << QStringList{};
    QTest::newRow("edge from its desktop entry")
        << int(KnownBrowser::Edge) << "microsoft-edge.desktop"
        << "/opt/microsoft/msedge/msedge" << QStringList{};
    QTest::newRow("edge missing") << int(KnownBrowser::Edge) << ""
                                  << ""
                                  << QStringList{
                                         "ブラウザを見付けられませんでした\r\n\r\nMicrosoft Edge"};
    QTest::newRow("chrome missing")
        << int(KnownBrowser::Chrome) << ""
        << "" << QStringList{"ブラウザを見付けられませんでした\r\n\r\nGoogle Chrome"};
}

void TestBrowserChoice::knownBrowsers()
{
    QFETCH(int, browser);
    QFETCH(QString, installedAs);
    QFETCH(QString, expected);
    fakes::FakePlatform fp;
    if (!installedAs.isEmpty())
        fp.shell.installed.insert(installedAs, expected);
    const BrowserShown shown = chooseKnownBrowser(fp.services(), KnownBrowser(browser));
    QCOMPARE(shown.browserName1.value(), expected);
    QCOMPARE(shown.statusText.value(), expected);
    QCOMPARE(shown.buttonImage, browser == int(KnownBrowser::Edge) ? 0 : 1);
    QTEST(shown.outcome ? QStringList() : QStringList{shown.outcome.text()}, "messages");
    QVERIFY(fp.dialogs.calls.isEmpty()); // the window reports, the library does not
}

void TestBrowserChoice::defaultBrowser()
{
    fakes::FakePlatform fp;
    fp.shell.htmlProgram = " /usr/bin/firefox\t";
    BrowserShown shown = chooseDefaultBrowser(fp.services());
    QCOMPARE(shown.browserName1.value(), "/usr/bin/firefox");
    QCOMPARE(shown.buttonImage, int(ProgramImage));
    QCOMPARE(defaultBrowserLabel(GetDefaultBrowser(fp.services())), "(Firefox)");
    QVERIFY(shown.outcome.ok());

    fp.shell.failures = {"html"};
    fp.shell.failCode = 31;
    shown = chooseDefaultBrowser(fp.services());
    QCOMPARE(shown.browserName1.value(), QString());
    QCOMPARE(shown.outcome.text(), "FindExecutable Failed. Result=31");
    const auto none = GetDefaultBrowser(fp.services());
    QCOMPARE(defaultBrowserLabel(none), "()");
    QCOMPARE(none.outcome().text(), "FindExecutable Failed. Result=31");
    QVERIFY(fp.dialogs.calls.isEmpty());
}

// A remembered program is chosen as it is; the chooser for one opens in the installed
// programs, later where the program picked last is; with none the page goes to the
// desktop's program, and nothing of the previous browser stays on show.
void TestBrowserChoice::otherBrowserIsRememberedOrAskedFor()
{
    fakes::FakePlatform fp;
    QPixmap pm(16, 16);
    pm.fill(Qt::red);
    fp.shell.icon = QIcon(pm);

    BrowserShown shown = chooseOtherBrowser(fp.services(), "/opt/vivaldi");
    QCOMPARE(shown.browserName1.value(), "/opt/vivaldi");
    QCOMPARE(shown.buttonImage, int(ProgramImage));
    QVERIFY(!shown.slot2Icon.isNull());

    const platform::FileChoice first = otherBrowserChoice(fp.services(), QString());
    QCOMPARE(first.title, "ブラウザを選択");
    QCOMPARE(first.start, fp.folders.path(platform::SpecialFolder::ProgramFiles));
    QCOMPARE(otherBrowserChoice(fp.services(), "\"/opt/My Browser.EXE\"").start,
             "/opt/My Browser.EXE");
    shown = chooseOtherBrowser(fp.services(), "/opt/MyBrowser.EXE");
    QCOMPARE(shown.browserName1.value(), "/opt/MyBrowser.EXE");
    QCOMPARE(otherBrowserLabel(true, *shown.browserName1, "/opt/MyBrowser.EXE"), "(Mybrowser)");

    shown = chooseOtherBrowser(fp.services(), QString());
    QCOMPARE(shown.browserName1.value(), QString());
    QCOMPARE(shown.buttonImage, int(NoImage));
    QCOMPARE(shown.statusText.value(), QString());
    QVERIFY(fp.dialogs.calls.isEmpty());
}

void TestBrowserChoice::pickingWithoutIcon()
{
    fakes::FakePlatform fp; // icons are null
    const BrowserShown picked = pickedOtherBrowser(fp.services(), "/opt/plain");
    QCOMPARE(picked.browserName1.value(), "/opt/plain");
    QCOMPARE(picked.buttonImage, int(NoImage));
    QVERIFY(!picked.statusText);
}

// Beside "任意のブラウザ": the chosen program while it is the choice, else the one
// remembered, which a cancelled "変更" keeps.
void TestBrowserChoice::changingKeepsThePreviousOnCancel()
{
    QCOMPARE(otherBrowserLabel(false, "/usr/bin/firefox", "/opt/old/Vivaldi"), "(Vivaldi)");
    QCOMPARE(otherBrowserLabel(true, "/opt/old/Vivaldi", "/opt/old/Vivaldi"), "(Vivaldi)");
    QCOMPARE(otherBrowserLabel(false, "/usr/bin/firefox", QString()), QString());

    fakes::FakePlatform fp;
    fp.shell.icon = QIcon(QPixmap(16, 16));
    const BrowserShown picked = pickedOtherBrowser(fp.services(), "/opt/new/MyBrowser.EXE");
    QCOMPARE(picked.browserName1.value(), "/opt/new/MyBrowser.EXE");
    QCOMPARE(picked.statusText.value(), "/opt/new/MyBrowser.EXE");
    QCOMPARE(picked.buttonImage, int(ProgramImage));
}

void TestBrowserChoice::openOneImage_data()
{
    QTest::addColumn<QString>("browser");
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("program");
    QTest::newRow("chosen") << "/usr/bin/chromium"
                            << "/p/a \"b\" #1.jpg"
                            << "/usr/bin/chromium";
    QTest::newRow("none chosen uses the default") << ""
                                                  << "/p/c.jpg"
                                                  << "/usr/bin/firefox";
}

void TestBrowserChoice::openOneImage()
{
    QFETCH(QString, browser);
    QFETCH(QString, image);
    QFETCH(QString, program);
    fakes::FakePlatform fp;
    const QString page = fp.system.temp + "/t.html";
    QVERIFY(openInBrowser(fp.services(), browser, image, page).ok());
    QVERIFY(QFile::exists(page));
    QCOMPARE(fp.shell.calls.last().kind, "start");
    QCOMPARE(fp.shell.calls.last().target, program);
    QCOMPARE(QProcess::splitCommand(fp.shell.calls.last().parameters), QStringList{image});
}

QTEST_MAIN(TestBrowserChoice)
#include "tst_browserchoice.moc"
