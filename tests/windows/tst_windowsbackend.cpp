// The Windows services against the system itself (run under Wine by the test command).
#include "platform/ansicodepage.h"
#include "platform/fileio.h"
#include "platform/inifile.h"
#include "platform/pathlimit.h"
#include "platform/windows/win32text.h"
#include "platform/windows/windowsfilesystem.h"
#include "platform/windows/windowsshell.h"
#include "platform/windows/windowsshortcuts.h"
#include "platform/windows/windowsspecialfolders.h"
#include "platform/windows/windowssysteminfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <windows.h>

using namespace pelmaris::platform;

namespace {

// A folder path longer than the classic 260-character limit, made level by level.
QString makeLongFolder(const QString &base)
{
    QString path = base;
    const QString level = QString(60, u'd');
    while (path.size() < 300) {
        path += u'\\' + level;
        if (!CreateDirectoryW(win32::systemPath(path).c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            return {};
    }
    return path;
}

// The file itself: Qt follows a .lnk to its target.
bool fileExists(const QString &path)
{
    return GetFileAttributesW(win32::systemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

class TestWindowsBackend : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void specialFoldersResolve()
    {
        WindowsSpecialFolders folders;
        for (SpecialFolder id :
             {SpecialFolder::Desktop, SpecialFolder::Programs, SpecialFolder::Startup,
              SpecialFolder::SendTo, SpecialFolder::AppData}) {
            const QString path = folders.path(id);
            QVERIFY2(QDir::isAbsolutePath(path), qPrintable(path));
            QVERIFY2(!path.endsWith(u'\\'), qPrintable(path));
        }
        QVERIFY(folders.path(SpecialFolder::AppData) != folders.path(SpecialFolder::Desktop));
        WindowsSystemInfo system;
        QVERIFY(system.memoryLoad() >= 0 && system.memoryLoad() <= 100);
        QVERIFY(!system.workArea().isEmpty());
        QVERIFY(system.executablePath().endsWith(QLatin1String(".exe"), Qt::CaseInsensitive));
        QVERIFY(QFileInfo(system.tempPath()).isDir());
    }

    void shellLinkRoundTrip()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = QDir::toNativeSeparators(dir.filePath(QStringLiteral("目標.exe")));
        QVERIFY(writeSmallFile(target));
        WindowsShortcuts shortcuts;
        QCOMPARE(shortcuts.extension(), QStringLiteral(".lnk"));
        // The folder is missing: saving creates it.
        const QString link = dir.filePath(QStringLiteral("sub/Pelmaris.lnk"));
        auto shortcut = shortcuts.create(ShortcutKind::Program);
        QCOMPARE(shortcut->setPath(target), 0);
        QCOMPARE(shortcut->setArguments(QStringLiteral("-x")), 0);
        QCOMPARE(shortcut->setWorkingDirectory(QDir::toNativeSeparators(dir.path())), 0);
        QCOMPARE(shortcut->setDescription(QStringLiteral("画像の一覧")), 0);
        QCOMPARE(shortcut->save(link), 0);
        QVERIFY(fileExists(link));

        WindowsShell shell;
        QCOMPARE(QFileInfo(shell.shortcutTarget(link)).canonicalFilePath(),
                 QFileInfo(target).canonicalFilePath());
        // A target that is gone is still what the link names; the link itself stays.
        QVERIFY(QFile::remove(target));
        QCOMPARE(QDir::toNativeSeparators(shell.shortcutTarget(link)).toLower(), target.toLower());
        QVERIFY(fileExists(link));
        // No link at all: the path itself.
        const QString notALink = dir.filePath(QStringLiteral("broken.lnk"));
        QVERIFY(writeWholeFile(notALink, "not a shell link"));
        QCOMPARE(shell.shortcutTarget(notALink), notALink);
        const QString plain = dir.filePath(QStringLiteral("a.jpg"));
        QCOMPARE(shell.shortcutTarget(plain), plain);
    }

    void fileGoesToRecycleBin()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = QDir::toNativeSeparators(dir.filePath(QStringLiteral("捨てる.jpg")));
        QVERIFY(writeSmallFile(file));
        WindowsShell shell;
        ShellError error;
        QVERIFY2(shell.moveToTrash(file, &error), qPrintable(error.text));
        QVERIFY(!QFileInfo::exists(file));
        // Nothing there: the shell's "not found", and nothing else touched.
        QVERIFY(!shell.moveToTrash(file, &error));
        QCOMPARE(error.code, int(ShellError::NotFound));
    }

    void settingsInAnsiCodePage()
    {
        if (GetACP() != 932)
            QSKIP("needs the Japanese ANSI code page (run with LANG=ja_JP.UTF-8)");
        // "[Settings]\r\nFolder=C:\写真\r\n" in CP932: 写 = 8e ca, 真 = 90 5e (a trail byte
        // that is also '^' in ASCII).
        const QByteArray cp932("[Settings]\r\nFolder=C:\\\x8e\xca\x90\x5e\r\n");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Pelmaris.ini"));
        QVERIFY(writeWholeFile(path, cp932));
        IniFile ini = IniFile::load(path);
        QCOMPARE(ini.readString(QStringLiteral("Settings"), QStringLiteral("Folder"), {}),
                 QStringLiteral("C:\\写真"));
        ini.writeString(QStringLiteral("Settings"), QStringLiteral("Name"), QStringLiteral("表示"));
        QVERIFY(ini.save(path));
        const ReadResult back = readRegularFile(path, 1 << 20);
        QCOMPARE(back.status, ReadStatus::Ok);
        // Still CP932, the old line byte for byte; 表 = 95 5c (trail byte '\').
        QVERIFY(back.bytes.startsWith(cp932));
        QVERIFY(back.bytes.contains("Name=\x95\x5c\x8e\xa6\r\n"));

        bool exact = true;
        QCOMPARE(encodeAnsiCodePage(QStringLiteral("写真"), &exact),
                 QByteArray("\x8e\xca\x90\x5e"));
        QVERIFY(exact);
        // Hangul is outside CP932: reported as lost, not replaced by a look-alike silently.
        encodeAnsiCodePage(QStringLiteral("사진"), &exact);
        QVERIFY(!exact);
    }

    void browserFromRegistry_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("program");
        QTest::newRow("quoted")
            << QStringLiteral("\"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe\" "
                              "--single-argument %1")
            << QStringLiteral("C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe");
        QTest::newRow("unquoted with blanks")
            << QStringLiteral("C:\\Program Files (x86)\\Microsoft\\Edge\\msedge.exe -- %1")
            << QStringLiteral("C:\\Program Files (x86)\\Microsoft\\Edge\\msedge.exe");
        QTest::newRow("bare") << QStringLiteral("C:\\b\\browser.exe")
                              << QStringLiteral("C:\\b\\browser.exe");
    }
    void browserFromRegistry()
    {
        QFETCH(QString, command);
        QFETCH(QString, program);
        // A scratch key of the current user's hive stands in for SOFTWARE.
        const QString root = QStringLiteral("Software\\PelmarisTest-") +
                             QUuid::createUuid().toString(QUuid::WithoutBraces);
        const std::wstring key = win32::wide(
            root +
            QStringLiteral("\\Clients\\StartMenuInternet\\Google Chrome\\shell\\open\\command"));
        const std::wstring value = win32::wide(command);
        QCOMPARE(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, REG_SZ, value.c_str(),
                                 DWORD((value.size() + 1) * sizeof(wchar_t))),
                 LONG(ERROR_SUCCESS));
        const QString found = registeredBrowser(QStringLiteral("Google Chrome"), root);
        const QString missing = registeredBrowser(QStringLiteral("Microsoft Edge"), root);
        RegDeleteTreeW(HKEY_CURRENT_USER, win32::wide(root).c_str());
        QCOMPARE(found, program);
        QVERIFY(missing.isEmpty());
    }

    // Windows limits paths in UTF-16 units: a Japanese path is not three times as long
    // as it looks, as its UTF-8 bytes would make it.
    void handOverLimitCountsCharacters()
    {
        const QString japanese = QStringLiteral("C:\\") + QString(200, QChar(0x5199)) + u'\\';
        QCOMPARE(handOverLength(japanese), japanese.size());
        QVERIFY(handOverLength(japanese) <= handOverLimit());
        QCOMPARE(handOverLimit(), qsizetype(MAX_PATH - 1));
        QVERIFY(handOverLength(japanese + QString(60, u'a')) > handOverLimit());
        QCOMPARE(handOverUnit(), QStringLiteral("文字"));
    }

    void longPathsAndWideNames()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = makeLongFolder(QDir::toNativeSeparators(dir.path()));
        QVERIFY(!folder.isEmpty());
        // Outside any ANSI code page: Hangul, an emoji (a surrogate pair).
        const QString name = QStringLiteral("写真_사진_\U0001F600.jpg");
        const QString file = folder + u'\\' + name;
        QVERIFY(file.size() > MAX_PATH);
        QString error;
        QVERIFY2(writeWholeFile(file, "picture", &error), qPrintable(error));
        QVERIFY2(writeWholeFile(file, "picture2", &error), qPrintable(error));
        const ReadResult read = readRegularFile(file, 100);
        QCOMPARE(read.status, ReadStatus::Ok);
        QCOMPARE(read.bytes, QByteArray("picture2"));
        QCOMPARE(readRegularFile(folder, 100).status, ReadStatus::NotRegular);
        QCOMPARE(readRegularFile(folder + QStringLiteral("\\none"), 100).status,
                 ReadStatus::Missing);

        WindowsFileSystem fs;
        const FolderHandle handle = fs.openFolder(folder);
        QVERIFY(handle != kNoFolder);
        FolderListing listing;
        QVERIFY(fs.readFolder(handle, listing, false));
        fs.closeFolder(handle);
        QCOMPARE(int(listing.entries.size()), 1);
        QCOMPARE(listing.name(listing.entries[0]).toString(), name);
        QCOMPARE(listing.entries[0].kind, EntryKind::File);

        const OpenedFile opened = fs.openRegularFile(file);
        QCOMPARE(opened.status, ReadStatus::Ok);
        QCOMPARE(opened.size, 8);
        QCOMPARE(opened.file->readAll(), QByteArray("picture2"));
        QVERIFY(fs.pathInfo(folder).isFolder);

        // The walk's own step, from a parent to a sub-folder named by the listing.
        const QString parent = folder.left(folder.lastIndexOf(u'\\'));
        const FolderHandle up = fs.openFolder(parent);
        FolderListing above;
        QVERIFY(fs.readFolder(up, above, true));
        QCOMPARE(int(above.entries.size()), 1);
        const FolderHandle down = fs.openSubfolder(up, above.nativeName(above.entries[0]));
        QVERIFY(down != kNoFolder);
        fs.closeFolder(down);
        fs.closeFolder(up);
    }

private:
    static bool writeSmallFile(const QString &path) { return writeWholeFile(path, "x"); }
};

QTEST_MAIN(TestWindowsBackend)
#include "tst_windowsbackend.moc"
