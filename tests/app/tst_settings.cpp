#include "app/settings.h"
#include "fulldisk.h"
#include "platform/programinfo.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace pelmaris::app;
using pelmaris::platform::IniFile;
using pelmaris::platform::ReadStatus;

namespace {

using pelmaris::testfiles::writeFile;

const QString Desktop = QStringLiteral("/home/someone/Desktop/");

ReadContext context(QSize workArea = QSize(1920, 1040))
{
    ReadContext c;
    c.workArea = workArea;
    c.current = WindowPlacement{}; // flags 0, show 1, max (-1, -1), state 0
    c.desktopPath = Desktop;
    return c;
}

Settings read(const QByteArray &content, QSize workArea = QSize(1920, 1040))
{
    return readSettings(IniFile::parse(content), context(workArea));
}

// The "key=value" lines of one section as a rewrite puts them in the file.
QStringList sectionLines(const IniFile &ini, const QString &section)
{
    QStringList lines;
    bool inside = false;
    for (const QString &line : QString::fromUtf8(ini.serialize()).split(QStringLiteral("\r\n"))) {
        if (line.startsWith(u'['))
            inside = line.compare(u'[' + section + u']', Qt::CaseInsensitive) == 0;
        else if (inside && !line.isEmpty())
            lines << line;
    }
    return lines;
}

QStringList keysOf(const QStringList &lines)
{
    QStringList keys;
    for (const QString &line : lines)
        keys << line.section(u'=', 0, 0);
    return keys;
}

ProgramInfo program()
{
    return {QStringLiteral("Pelmaris"), QStringLiteral("/opt/pelmaris/"), QStringLiteral("V1.6"),
            QStringLiteral("/home/someone/.config/Wendelmoor/Pelmaris/Pelmaris.ini"),
            QStringLiteral("2025/03/09 14:05:07")};
}

// The OPTION lines a settings value produces; two settings are the same when these are.
QStringList optionLines(const Settings &settings)
{
    IniFile ini;
    writeSettings(ini, settings, program());
    return sectionLines(ini, QStringLiteral("OPTION"));
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Ends the test run instead of letting a blocked open hang it.
struct HangGuard {
    HangGuard() { ::alarm(20); }
    ~HangGuard() { ::alarm(0); }
};

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void readPosition_data();
    void readPosition();
    void placementExtrasComeFromTheFileOrTheWindow();
    void readOptions();
    void currentDirMustExist_data();
    void currentDirMustExist();
    void oddFolderNamesRoundTrip();
    void treeWidthFollowsTheRestoredWindow_data();
    void treeWidthFollowsTheRestoredWindow();
    void firstCloseWritesEveryKeyInOrder();
    void rewriteKeepsUnknownSectionsAndRespellsState();
    void saveStatusUncheckedKeepsOnlyProgram();
    void spreadTreeUncheckedSavesNoFolder();
    void programSection();

    void closeRewritesWhatStartRead();
    void closeLeavesUnreadFilesAlone_data();
    void closeLeavesUnreadFilesAlone();
    void closeOnAFullDiskKeepsTheFile();
    void closeUnderAFileSizeLimitIsReported();
    void closeNeverOutgrowsTheReadLimit();
    void placementBackOnScreen_data();
    void placementBackOnScreen();

    void iniFileName_data();
    void iniFileName();
    void fileChoice();
    void findSibling_data();
    void findSibling();
};

void TestSettings::readPosition_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QSize>("workArea");
    QTest::addColumn<QRect>("normal"); // left, top, right, bottom as a QRect of corners
    QTest::addColumn<int>("state");

    const QSize area(1920, 1040);
    // Three quarters of 1920 x 1040 is 1440 x 780, centred at (240, 130).
    QTest::newRow("no file") << QByteArray() << area << QRect(QPoint(240, 130), QPoint(1680, 910))
                             << 0;
    QTest::newRow("Left and Top only") << QByteArray("[POSITION]\nLeft=100\nTop=50\n") << area
                                       << QRect(QPoint(100, 50), QPoint(1540, 830)) << 0;
    QTest::newRow("state in lower case") << QByteArray("[position]\nstate=2\n") << area
                                         << QRect(QPoint(240, 130), QPoint(1680, 910)) << 2;
    QTest::newRow("every key") << QByteArray(
                                      "[POSITION]\nLeft=10\nTop=20\nRight=30\nBottom=40\nState=1\n")
                               << area << QRect(QPoint(10, 20), QPoint(30, 40)) << 1;
    QTest::newRow("hex and junk") << QByteArray(
                                         "[POSITION]\nLeft=junk\nTop=0x10\nRight=4294967296\n")
                                  << area << QRect(QPoint(240, 16), QPoint(1680, 796)) << 0;
    // 3 * 1366 / 4 = 1024 and 3 * 767 / 4 = 575, both truncated; centred at (171, 96).
    QTest::newRow("odd work area")
        << QByteArray() << QSize(1366, 767) << QRect(QPoint(171, 96), QPoint(1195, 671)) << 0;
}

void TestSettings::readPosition()
{
    QFETCH(QByteArray, content);
    QFETCH(QSize, workArea);
    QFETCH(QRect, normal);
    QFETCH(int, state);

    const WindowPlacement p = read(content, workArea).placement;
    QCOMPARE(QRect(QPoint(p.left, p.top), QPoint(p.right, p.bottom)), normal);
    QCOMPARE(p.state, state);
}

void TestSettings::placementExtrasComeFromTheFileOrTheWindow()
{
    ReadContext c = context();
    c.current.flags = 5;
    c.current.showCmd = 3;
    c.current.maxX = 7;
    c.current.maxY = 8;
    c.current.state = 1;
    const WindowPlacement fromWindow = readSettings(IniFile(), c).placement;
    QCOMPARE(fromWindow.flags, 5);
    QCOMPARE(fromWindow.showCmd, 3);
    QCOMPARE(fromWindow.maxX, 7);
    QCOMPARE(fromWindow.maxY, 8);
    QCOMPARE(fromWindow.state, 1);

    const WindowPlacement fromFile =
        readSettings(IniFile::parse("[POSITION]\nFlags=2\nShowCmd=1\nMaxX=-8\nMaxY=$10\n"), c)
            .placement;
    QCOMPARE(fromFile.flags, 2);
    QCOMPARE(fromFile.showCmd, 1);
    QCOMPARE(fromFile.maxX, -8);
    QCOMPARE(fromFile.maxY, 16);
}

void TestSettings::readOptions()
{
    const Options defaults = read({}).options;
    QCOMPARE(defaults.currentDir, Desktop);
    QCOMPARE(defaults.treeViewWidth, 1440 / 4);

    const Options o = read("[option]\n"
                           "rangeval=0x1E\nHorizVal=$0A\nVertVal=five\nWidthVal=99999999999\n"
                           "SaveStatus=0\nSpreadTree=2\nCloseQuery=-1\n"
                           "BrowserEdge=1\nBrowserChrome=1\nBrowserDefault=0\n"
                           "BrowserName=/usr/bin/firefox\nBrowserName2=\n")
                          .options;
    QCOMPARE(o.rangeVal, 30);
    QCOMPARE(o.horizVal, 10);
    QCOMPARE(o.vertVal, 5);
    QCOMPARE(o.widthVal, 100);
    QCOMPARE(o.saveStatus, false);
    QCOMPARE(o.spreadTree, true); // any non-zero value is true
    QCOMPARE(o.closeQuery, true);
    // Both are read as set; the window lets the later one, Chrome, win.
    QCOMPARE(o.browserEdge, true);
    QCOMPARE(o.browserChrome, true);
    QCOMPARE(o.browserDefault, false);
    QCOMPARE(o.browserName, QStringLiteral("/usr/bin/firefox"));
    QCOMPARE(o.browserName2, QString());
}

void TestSettings::currentDirMustExist_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("folder"); // empty: the desktop

    const QString temp = QDir::tempPath();
    QTest::newRow("existing folder") << temp << temp;
    QTest::newRow("in double quotes") << '"' + temp + '"' << temp;
    QTest::newRow("in single quotes") << '\'' + temp + '\'' << temp;
    QTest::newRow("gone") << temp + QStringLiteral("/no-such-folder-here") << QString();
    QTest::newRow("a file") << QStringLiteral("/proc/self/status") << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestSettings::currentDirMustExist()
{
    QFETCH(QString, saved);
    QFETCH(QString, folder);
    const Options o = read("[OPTION]\nCurrentDir=" + saved.toUtf8() + "\n").options;
    QCOMPARE(o.currentDir, folder.isEmpty() ? Desktop : folder);
}

// Folders whose names end in blanks or hold quotes, "#", "%" or Japanese come back as
// they were saved.
void TestSettings::oddFolderNamesRoundTrip()
{
    QTemporaryDir dir;
    for (const QString &name : {QStringLiteral("trailing blank "), QStringLiteral(" leading"),
                                QStringLiteral("\"quoted\""), QStringLiteral("#1 100% 写真")}) {
        const QString folder = dir.filePath(name);
        QVERIFY(QDir().mkpath(folder));
        Settings s = read({});
        s.options.currentDir = folder;
        s.options.browserName2 = name;
        IniFile ini;
        writeSettings(ini, s, program());
        const Options back = readSettings(IniFile::parse(ini.serialize()), context()).options;
        QCOMPARE(back.currentDir, folder);
        QCOMPARE(back.browserName2, name);
    }
}

void TestSettings::treeWidthFollowsTheRestoredWindow_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("width");

    // The first start's window is 1440 wide.
    QTest::newRow("first start") << QByteArray() << 360;
    QTest::newRow("restored 800 wide") << QByteArray("[POSITION]\nLeft=100\nRight=900\n") << 200;
    QTest::newRow("Left only keeps the width") << QByteArray("[POSITION]\nLeft=100\n") << 360;
    QTest::newRow("Right before Left") << QByteArray("[POSITION]\nLeft=900\nRight=100\n") << 0;
    QTest::newRow("saved width wins")
        << QByteArray("[POSITION]\nLeft=100\nRight=900\n[OPTION]\nTreeViewWidth=50\n") << 50;
}

void TestSettings::treeWidthFollowsTheRestoredWindow()
{
    QFETCH(QByteArray, content);
    QFETCH(int, width);
    QCOMPARE(read(content).options.treeViewWidth, width);
}

void TestSettings::firstCloseWritesEveryKeyInOrder()
{
    IniFile ini;
    writeSettings(ini, read({}), program());

    QCOMPARE(ini.sectionNames(), QStringList({"PROGRAM", "POSITION", "OPTION"}));
    QCOMPARE(sectionLines(ini, "PROGRAM"),
             QStringList({"Name=Pelmaris", "Path=/opt/pelmaris/", "Version=V1.6",
                          "IniFile=/home/someone/.config/Wendelmoor/Pelmaris/Pelmaris.ini",
                          "LastClose=2025/03/09 14:05:07"}));
    QCOMPARE(sectionLines(ini, "POSITION"),
             QStringList({"Flags=0", "ShowCmd=1", "MaxX=-1", "MaxY=-1", "Left=240", "Top=130",
                          "Right=1680", "Bottom=910", "State=0"}));
    QCOMPARE(sectionLines(ini, "OPTION"), QStringList({"SpreadTree=1",
                                                       "ShowHidden=1",
                                                       "CloseQuery=0",
                                                       "SaveStatus=1",
                                                       "CurrentDir=" + Desktop,
                                                       "TreeViewWidth=360",
                                                       "TreeViewScanDetail=1",
                                                       "TreeViewScanNameOnly=0",
                                                       "TreeViewNumSortA=1",
                                                       "TreeViewNumSortD=0",
                                                       "TreeViewDicSortA=0",
                                                       "TreeViewDicSortD=0",
                                                       "TreeViewRandomOut=0",
                                                       "ScrollPos=0",
                                                       "AutoSized=0",
                                                       "RangeView=1",
                                                       "RangeVal=20",
                                                       "FixedWidth=0",
                                                       "HorizVal=10",
                                                       "FixedHeight=0",
                                                       "VertVal=5",
                                                       "SetWidth=0",
                                                       "WidthVal=100",
                                                       "AsIs=0",
                                                       "BrowserDefault=1",
                                                       "BrowserEdge=0",
                                                       "BrowserChrome=0",
                                                       "BrowserElse=0",
                                                       "BrowserName=",
                                                       "BrowserName2=",
                                                       "BrowserLight=1",
                                                       "BrowserDark=0",
                                                       "ThumbnailCache=1"}));
}

void TestSettings::rewriteKeepsUnknownSectionsAndRespellsState()
{
    IniFile ini = IniFile::parse("; written by hand\n"
                                 "[Mine]\na=1\n\n"
                                 "[position]\nstate=2\nLeft=100\nTop=50\n"
                                 "[PROGRAM]\nName=Old\nExtra=kept\n"
                                 "[OPTION]\nRangeVal=0x1E\nObsolete=1\n"
                                 "[Other]\nb=2\n");
    writeSettings(ini, readSettings(ini, context()), program());

    // Unknown sections and PROGRAM stay where they were; the program's own two sections
    // are written afresh after them.
    QCOMPARE(ini.sectionNames(), QStringList({"Mine", "PROGRAM", "Other", "POSITION", "OPTION"}));
    QCOMPARE(sectionLines(ini, "Mine"), QStringList({"a=1"}));
    QCOMPARE(keysOf(sectionLines(ini, "PROGRAM")),
             QStringList({"Name", "Extra", "Path", "Version", "IniFile", "LastClose"}));
    const QStringList position = sectionLines(ini, "POSITION");
    QVERIFY(position.contains("State=2"));
    QVERIFY(!keysOf(position).contains("state"));
    QVERIFY(position.contains("Left=100"));
    QVERIFY(position.contains("Right=1540"));
    const QStringList option = sectionLines(ini, "OPTION");
    QVERIFY(option.contains("RangeVal=30"));
    QVERIFY(!keysOf(option).contains("Obsolete"));
    QVERIFY(!ini.serialize().contains("written by hand"));
}

void TestSettings::saveStatusUncheckedKeepsOnlyProgram()
{
    IniFile ini =
        IniFile::parse("[Mine]\na=1\n[POSITION]\nLeft=100\n[OPTION]\nRangeVal=7\nSaveStatus=1\n");
    Settings s = readSettings(ini, context());
    s.options.saveStatus = false;
    s.options.rangeVal = 8;
    writeSettings(ini, s, program());

    QCOMPARE(ini.sectionNames(), QStringList({"Mine", "PROGRAM"}));
    // The next start sees every default again, the box checked included.
    const Settings next = readSettings(IniFile::parse(ini.serialize()), context());
    QCOMPARE(next.options.saveStatus, true);
    QCOMPARE(optionLines(next), optionLines(read({})));
    QCOMPARE(next.placement.left, 240);
}

void TestSettings::spreadTreeUncheckedSavesNoFolder()
{
    Settings s = read("[OPTION]\nCurrentDir=" + QDir::tempPath().toUtf8() + "\n");
    QCOMPARE(s.options.currentDir, QDir::tempPath());
    s.options.spreadTree = false;
    IniFile ini;
    writeSettings(ini, s, program());
    QVERIFY(sectionLines(ini, "OPTION").contains("CurrentDir="));
    QCOMPARE(readSettings(ini, context()).options.currentDir, Desktop);
}

void TestSettings::programSection()
{
    const QDateTime when(QDate(2025, 3, 9), QTime(14, 5, 7));
    // No locale's names and no time zone: the maker's other programs read this text.
    QCOMPARE(lastCloseText(when), "2025/03/09 14:05:07");
    const ProgramInfo info = programInfo("/opt/p/Pelmaris", when);
    QCOMPARE(info.name, "Pelmaris");
    QCOMPARE(info.path, "/opt/p/");
    QCOMPARE(info.version, pelmaris::program::VersionLabel);
    QCOMPARE(info.lastClose, "2025/03/09 14:05:07");
}

void TestSettings::closeRewritesWhatStartRead()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pelmaris.ini"));
    const ProgramInfo info = programInfo("/opt/p/Pelmaris", QDateTime::currentDateTime());

    // No file yet: the close makes one.
    SettingsLoad loaded = loadSettingsFile(path, context());
    QCOMPARE(loaded.status, ReadStatus::Missing);
    QCOMPARE(saveSettingsFile(path, loaded.settings, info, loaded), QString());
    QCOMPARE(IniFile::load(path).sectionNames(), QStringList({"PROGRAM", "POSITION", "OPTION"}));

    // A section written on a Japanese system (Shift_JIS) keeps its bytes.
    const QByteArray mine = "[Mine]\r\nname=\x93\xFA\x96\x7B\r\n\r\n";
    QVERIFY(writeFile(path, mine + "[OPTION]\r\nRangeVal=0x1E\r\n"));
    loaded = loadSettingsFile(path, context());
    QCOMPARE(loaded.status, ReadStatus::Ok);
    QCOMPARE(loaded.settings.options.rangeVal, 30);
    QCOMPARE(saveSettingsFile(path, loaded.settings, info, loaded), QString());

    const QByteArray after = readFile(path);
    QVERIFY2(after.startsWith(mine), after.constData());
    const IniFile back = IniFile::parse(after);
    QCOMPARE(back.sectionNames(), QStringList({"Mine", "PROGRAM", "POSITION", "OPTION"}));
    QCOMPARE(back.readString("PROGRAM", "IniFile", {}), path);
    QCOMPARE(back.readString("PROGRAM", "Version", {}), pelmaris::program::VersionLabel);
    QCOMPARE(back.readInteger("OPTION", "RangeVal", 0), 30);
}

void TestSettings::closeLeavesUnreadFilesAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("over the size limit") << "large";
    QTest::newRow("grew over the limit since start") << "grew";
    QTest::newRow("unreadable at start") << "unreadable";
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("a folder") << "folder";
}

// Settings read from nothing must not replace a file that holds more than nothing.
void TestSettings::closeLeavesUnreadFilesAlone()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pelmaris.ini"));
    const QByteArray small = "[Mine]\r\na=1\r\n[OPTION]\r\nRangeVal=7\r\n";
    const QByteArray large = small + QByteArray(IniFile::MaxFileSize, ';');
    const HangGuard guard;

    SettingsLoad loaded;
    if (kind == "large") {
        QVERIFY(writeFile(path, large));
    } else if (kind == "grew") {
        QVERIFY(writeFile(path, small));
        loaded = loadSettingsFile(path, context());
        QVERIFY(loaded.mayRewrite());
        QVERIFY(writeFile(path, large));
    } else if (kind == "unreadable") {
        // Root reads every file, so the start's failure is given as it would be found.
        QVERIFY(writeFile(path, small));
        loaded.path = path;
        loaded.status = ReadStatus::Failed;
        loaded.reason = QStringLiteral("Permission denied");
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else {
        QVERIFY(QDir().mkpath(path));
    }
    if (loaded.path.isEmpty()) {
        loaded = loadSettingsFile(path, context());
        QVERIFY(!loaded.mayRewrite());
        QVERIFY(!loaded.reason.isEmpty());
        QCOMPARE(loaded.settings.options.rangeVal, 20);
    }
    const QByteArray before = QFileInfo(path).isFile() ? readFile(path) : QByteArray();

    const QString text = saveSettingsFile(path, loaded.settings, program(), loaded);
    QVERIFY2(text.endsWith("\r\n" + path), qPrintable(text));
    if (kind == "unreadable")
        QVERIFY(text.contains("Permission denied"));
    const QFileInfo after(path);
    if (kind == "fifo") {
        QVERIFY(after.exists() && !after.isFile() && !after.isDir());
    } else if (kind == "folder") {
        QVERIFY(after.isDir());
    } else {
        QCOMPARE(readFile(path), before);
    }
}

void TestSettings::closeOnAFullDiskKeepsTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pelmaris.ini"));
    const QByteArray old = "[Mine]\r\na=1\r\n";
    QVERIFY(writeFile(path, old));
    const SettingsLoad loaded = loadSettingsFile(path, context());
    QString text;
    {
        const pelmaris::fakes::FullDisk disk(16);
        text = saveSettingsFile(path, loaded.settings, program(), loaded);
    }
    QVERIFY2(text.endsWith("\r\n" + path), qPrintable(text));
    QCOMPARE(readFile(path), old);
}

// A write past the process's file-size limit is a failure to report, not a signal that
// ends the program with nothing said (the child keeps the system's default action).
void TestSettings::closeUnderAFileSizeLimitIsReported()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pelmaris.ini"));
    const QByteArray old = "[Mine]\r\na=1\r\n";
    QVERIFY(writeFile(path, old));
    const SettingsLoad loaded = loadSettingsFile(path, context());
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const QString text = saveSettingsFile(path, loaded.settings, program(), loaded);
        ::_exit(text.endsWith("\r\n" + path) ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status), qPrintable(QStringLiteral("signal %1").arg(WTERMSIG(status))));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(readFile(path), old);
}

// A file just under the read limit, filled by another program, would pass it once this
// program's sections are added: the last foreign sections give way, the others keep
// their bytes, and the next start reads the file.
void TestSettings::closeNeverOutgrowsTheReadLimit()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pelmaris.ini"));
    const QByteArray first = "[First]\r\nkept=\x93\xFA\x96\x7B\r\n\r\n";
    QByteArray big = "[Big]\r\n";
    while (big.size() < IniFile::MaxFileSize - 400)
        big += "key" + QByteArray::number(big.size()) + "=" + QByteArray(60, 'v') + "\r\n";
    QVERIFY(writeFile(path, first + big));
    SettingsLoad loaded = loadSettingsFile(path, context());
    QVERIFY(loaded.mayRewrite());

    const QString text = saveSettingsFile(path, loaded.settings, program(), loaded);
    QVERIFY2(text.contains(" 1 個のセクション") && text.endsWith("\r\n" + path), qPrintable(text));
    const QByteArray after = readFile(path);
    QVERIFY(after.size() <= IniFile::MaxFileSize);
    QVERIFY(after.startsWith(first));
    loaded = loadSettingsFile(path, context());
    QCOMPARE(loaded.status, ReadStatus::Ok);
    QCOMPARE(IniFile::parse(after).sectionNames(),
             QStringList({"First", "PROGRAM", "POSITION", "OPTION"}));
    // Once it fits, the next close keeps everything and says nothing.
    QCOMPARE(saveSettingsFile(path, loaded.settings, program(), loaded), QString());
}

void TestSettings::placementBackOnScreen_data()
{
    QTest::addColumn<QRect>("saved");
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QRect>("placed");

    const QRect primary(0, 0, 1920, 1080);
    const QRect work(0, 0, 1920, 1040);
    const QRect right(1920, 0, 1280, 1024);
    const QRect window(2000, 100, 800, 600);
    QTest::newRow("on the primary screen")
        << QRect(100, 100, 800, 600) << QList<QRect>{primary} << work << QRect(100, 100, 800, 600);
    QTest::newRow("partly off, still touching")
        << QRect(1800, 100, 800, 600) << QList<QRect>{primary} << work
        << QRect(1800, 100, 800, 600);
    QTest::newRow("on a monitor still there")
        << window << QList<QRect>{primary, right} << work << window;
    QTest::newRow("on a monitor removed since")
        << window << QList<QRect>{primary} << work << QRect(1120, 100, 800, 600);
    QTest::newRow("far above and left")
        << QRect(-3000, -2000, 800, 600) << QList<QRect>{primary} << work << QRect(0, 0, 800, 600);
    QTest::newRow("larger than the work area")
        << QRect(5000, 0, 2500, 1500) << QList<QRect>{primary} << work << QRect(0, 0, 1920, 1040);
    QTest::newRow("work area below a top panel")
        << QRect(100, -900, 800, 600) << QList<QRect>{primary} << QRect(0, 40, 1920, 1040)
        << QRect(100, 40, 800, 600);
    QTest::newRow("primary screen right of another")
        << QRect(-5000, 100, 800, 600)
        << QList<QRect>{QRect(1280, 0, 1920, 1080), QRect(0, 0, 1280, 1024)}
        << QRect(1280, 0, 1920, 1040) << QRect(1280, 100, 800, 600);
}

void TestSettings::placementBackOnScreen()
{
    QFETCH(QRect, saved);
    QFETCH(QList<QRect>, screens);
    QFETCH(QRect, workArea);
    QFETCH(QRect, placed);
    QCOMPARE(fitOntoScreens(saved, screens, workArea), placed);
}

void TestSettings::iniFileName_data()
{
    QTest::addColumn<QString>("appData");
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QString>("exe");
    QTest::addColumn<QString>("expected");

    QTest::newRow("this program") << "/home/u/.config"
                                  << "Wendelmoor"
                                  << "/opt/p/Pelmaris"
                                  << "/home/u/.config/Wendelmoor/Pelmaris/Pelmaris.ini";
    QTest::newRow("another executable") << "/home/u/.config"
                                        << "Wendelmoor"
                                        << "/opt/p/Foo"
                                        << "/home/u/.config/Wendelmoor/Foo/Foo.ini";
    QTest::newRow("extension dropped") << "/home/u/.config"
                                       << "Wendelmoor"
                                       << "/opt/p/Foo.exe"
                                       << "/home/u/.config/Wendelmoor/Foo/Foo.ini";
    QTest::newRow("trailing delimiter") << "/home/u/.config/"
                                        << "Wendelmoor"
                                        << "/opt/p/Pelmaris"
                                        << "/home/u/.config/Wendelmoor/Pelmaris/Pelmaris.ini";
    QTest::newRow("no application-data folder") << ""
                                                << "Wendelmoor"
                                                << "/opt/p/Pelmaris"
                                                << "Wendelmoor/Pelmaris/Pelmaris.ini";
    QTest::newRow("absolute maker folder") << "/home/u/.config"
                                           << "/srv/maker"
                                           << "/opt/p/Pelmaris"
                                           << "/srv/maker/Pelmaris/Pelmaris.ini";
}

void TestSettings::iniFileName()
{
    QFETCH(QString, appData);
    QFETCH(QString, maker);
    QFETCH(QString, exe);
    QFETCH(QString, expected);
    QCOMPARE(GetIniFileName(appData, maker, exe), expected);
}

void TestSettings::fileChoice()
{
    QTemporaryDir dir;
    const QString appData = dir.filePath(QStringLiteral("config"));
    const QString exe = dir.filePath(QStringLiteral("bin/Foo"));
    const QString perUser = appData + QStringLiteral("/Wendelmoor/Foo/Foo.ini");
    const QString beside = dir.filePath(QStringLiteral("bin/Foo.ini"));
    QCOMPARE(fallbackIniFileName(exe), beside);
    QCOMPARE(fallbackIniFileName(dir.filePath(QStringLiteral("bin/Foo.exe"))), beside);

    // Nothing yet: read beside the executable, write the per-user file, its folders made.
    QCOMPARE(iniFileToRead(appData, exe), beside);
    QCOMPARE(iniFileToWrite(appData, exe), perUser);
    QVERIFY(QFileInfo(QFileInfo(perUser).absolutePath()).isDir());
    QCOMPARE(iniFileToRead(appData, exe), beside); // a folder is not yet a file

    QVERIFY(writeFile(perUser, "[OPTION]\n"));
    QCOMPARE(iniFileToRead(appData, exe), perUser);

    // A per-user folder that cannot be made sends the file beside the executable.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QVERIFY(writeFile(blocker, "not a folder"));
    QCOMPARE(iniFileToWrite(blocker + QStringLiteral("/config"), exe), beside);
    QCOMPARE(iniFileToWrite(QString(), exe), beside);
}

void TestSettings::findSibling_data()
{
    QTest::addColumn<QString>("appDataUnder"); // inside the sandbox
    QTest::addColumn<QString>("siblingMaker"); // where the sibling's file lies; empty: nowhere
    QTest::addColumn<QByteArray>("siblingIni");
    QTest::addColumn<bool>("exeExists");
    QTest::addColumn<bool>("found");

    const QByteArray normal = "[PROGRAM]\nName=Corvindale.exe\nPath=%APPS%/Corvindale/\n";
    QTest::newRow("found") << "config"
                           << "wendelmoor" << normal << true << true;
    QTest::newRow("program file missing") << "config"
                                          << "wendelmoor" << normal << false << false;
    QTest::newRow("capitalised maker folder") << "config"
                                              << "Wendelmoor" << normal << true << true;
    QTest::newRow("no sibling file") << "config"
                                     << "" << normal << true << false;
    QTest::newRow("user folder named like this program") << "Pelmaris/.config"
                                                         << "wendelmoor" << normal << true << true;
    QTest::newRow("path without delimiter")
        << "config"
        << "wendelmoor" << QByteArray("[program]\nname=Corvindale.exe\npath=%APPS%/Corvindale\n")
        << true << true;
    QTest::newRow("no Name") << "config"
                             << "wendelmoor" << QByteArray("[PROGRAM]\nPath=%APPS%/Corvindale/\n")
                             << true << false;
    QTest::newRow("garbage file") << "config"
                                  << "wendelmoor" << QByteArray("\0\xff[PROGRAM\n=", 12) << true
                                  << false;
}

void TestSettings::findSibling()
{
    QFETCH(QString, appDataUnder);
    QFETCH(QString, siblingMaker);
    QFETCH(QByteArray, siblingIni);
    QFETCH(bool, exeExists);
    QFETCH(bool, found);

    QTemporaryDir dir;
    const QString apps = dir.filePath(QStringLiteral("Apps"));
    const QString exe = apps + QStringLiteral("/Corvindale/Corvindale.exe");
    if (exeExists)
        QVERIFY(writeFile(exe, "program"));
    const QString appData = dir.filePath(appDataUnder);
    QDir().mkpath(appData);
    if (!siblingMaker.isEmpty())
        QVERIFY(
            writeFile(appData + u'/' + siblingMaker + QStringLiteral("/Corvindale/Corvindale.ini"),
                      siblingIni.replace("%APPS%", apps.toUtf8())));

    QCOMPARE(FindCorvindaleExe(appData), found ? exe : QString());
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
