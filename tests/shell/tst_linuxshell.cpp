#include "platform/commandline.h"
#include "platform/linux/linuxshell.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <QUrl>
#include <algorithm>

using namespace pelmaris::platform;

namespace {

void writeFile(const QString &path, const QByteArray &bytes, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ReadOwner);
}

// A program that records its first argument in `out`, written whole under another name
// and then renamed, so that the file never shows up empty or half written.
void writeRecorder(const QString &program, const QString &out)
{
    writeFile(program,
              "#!/bin/sh\nprintf '%s' \"$1\" > \"" + out.toUtf8() + ".tmp\" && mv \"" +
                  out.toUtf8() + ".tmp\" \"" + out.toUtf8() + "\"\n",
              true);
}

} // namespace

// The desktop lookups run against a sandbox of XDG folders; nothing is opened on the
// real desktop.
class TestLinuxShell : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void driveIconNames_data();
    void driveIconNames();
    void startFailures_data();
    void startFailures();
    void startSplitsParameterText();
    void programsEndingAtOnceInFailureAreReported();
    void browsersFromDesktopEntries();
    void defaultHtmlProgram();
    void defaultFromDeclaredTypes();
    void shortcutTargets();
    void launchThroughEntries_data();
    void launchThroughEntries();
    void trashKeepsOrMoves();
    void openReportsMissingApplication();
    void openStartsDefaultApplication();
    void paintAndEditorPrograms();
    void startedFolderLinkOpensItsFolder();

private:
    QTemporaryDir m_dir;
    QString m_data;
    QString m_config;
};

void TestLinuxShell::initTestCase()
{
    m_data = m_dir.path() + "/data";
    m_config = m_dir.path() + "/config";
    QDir().mkpath(m_data + "/applications");
    QDir().mkpath(m_config);
    // The types of files, without the system's applications.
    QFile::link(QStringLiteral("/usr/share/mime"), m_data + "/mime");
    qputenv("XDG_DATA_HOME", (m_dir.path() + "/home-data").toUtf8());
    qputenv("XDG_DATA_DIRS", m_data.toUtf8());
    qputenv("XDG_CONFIG_HOME", m_config.toUtf8());
    qputenv("XDG_CONFIG_DIRS", (m_dir.path() + "/etc").toUtf8());
    qputenv("XDG_CURRENT_DESKTOP", "TEST");
}

void TestLinuxShell::driveIconNames_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QString>("root");
    QTest::addColumn<bool>("removable");
    QTest::addColumn<QString>("icon");
    QTest::newRow("disk") << QByteArray("ext4") << "/" << false << "drive-harddisk";
    QTest::newRow("nfs") << QByteArray("nfs4") << "/net/a" << false << "folder-remote";
    QTest::newRow("sshfs") << QByteArray("fuse.sshfs") << "/home/u/m" << false << "folder-remote";
    QTest::newRow("cifs on media")
        << QByteArray("cifs") << "/media/share" << false << "folder-remote";
    QTest::newRow("usb stick") << QByteArray("vfat") << "/mnt/x" << true << "drive-removable-media";
    QTest::newRow("under /media") << QByteArray("exfat") << "/media/u/CARD" << false
                                  << "drive-removable-media";
    QTest::newRow("under /run/media")
        << QByteArray("ext4") << "/run/media/u/d" << false << "drive-removable-media";
}

void TestLinuxShell::driveIconNames()
{
    QFETCH(QByteArray, type);
    QFETCH(QString, root);
    QFETCH(bool, removable);
    QTEST(LinuxShell::driveIconName(type, root, removable), "icon");
}

void TestLinuxShell::startFailures_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("code");
    QTest::newRow("empty program") << "" << 2;
    QTest::newRow("missing path") << "/nonexistent/browser" << 2;
    QTest::newRow("unknown name") << "no-such-program-pelmaris" << 2;
    QTest::newRow("not executable") << "PLAIN" << 5;
    QTest::newRow("a folder") << "FOLDER" << 5;
}

void TestLinuxShell::startFailures()
{
    QFETCH(QString, program);
    if (program == "PLAIN") {
        program = m_dir.path() + "/plain.txt";
        writeFile(program, "x");
    } else if (program == "FOLDER") {
        program = m_dir.path();
    }
    LinuxShell shell;
    ShellError error;
    QVERIFY(!shell.startDetached(program, "\"/tmp/a.html\"", &error));
    QTEST(error.code, "code");
    QVERIFY(!error.text.isEmpty());
}

void TestLinuxShell::startSplitsParameterText()
{
    const QString out = m_dir.path() + "/args.txt";
    const QString script = m_dir.path() + "/bin dir/record args";
    writeFile(script,
              "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.out.tmp\" && mv \"$0.out.tmp\" \"" +
                  out.toUtf8() + "\"\n",
              true);
    LinuxShell shell;
    ShellError error;
    const QString page = "/tmp/a \"b\" #1.html";
    QVERIFY(shell.startDetached(script, quoteArgument(page) + " --second", &error));
    QTRY_VERIFY(QFile::exists(out));
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()), page + "\n--second\n");
}

void TestLinuxShell::programsEndingAtOnceInFailureAreReported()
{
    QList<EarlyExit> exits;
    {
        LinuxShell shell;
        shell.setEarlyExitHandler([&](const EarlyExit &exit) { exits << exit; });
        ShellError error;
        // A program that ends well at once (a browser handing its page on) is no failure.
        QVERIFY(shell.startDetached("/bin/sh", "-c \"exit 0\"", &error));
        QVERIFY(shell.startDetached("/bin/sh", "-c \"kill -9 $$\"", &error));
        QVERIFY(shell.startDetached("/bin/sh", "-c \"exit 3\" --page", &error));
        QTRY_COMPARE(exits.size(), 2);
        QTest::qWait(300);
        QCOMPARE(exits.size(), 2);
        std::sort(exits.begin(), exits.end(),
                  [](const EarlyExit &a, const EarlyExit &b) { return a.exitCode < b.exitCode; });
        QCOMPARE(exits.at(0).exitCode, 3);
        QCOMPARE(exits.at(0).program, "/bin/sh");
        QCOMPARE(exits.at(0).parameters, "-c \"exit 3\" --page");
        QVERIFY(exits.at(0).text.contains("3"));
        QCOMPARE(exits.at(1).exitCode, 128 + 9);

        // One still running when the shell goes is never reported.
        QVERIFY(shell.startDetached("/bin/sh", "-c \"sleep 0.2; exit 1\"", &error));
    }
    QTest::qWait(600);
    QCOMPARE(exits.size(), 2);
}

void TestLinuxShell::browsersFromDesktopEntries()
{
    const QString program = m_dir.path() + "/opt/Google Chrome/chrome";
    writeFile(program, "#!/bin/sh\n", true);
    writeFile(m_data + "/applications/google-chrome.desktop",
              "[Desktop Entry]\nName=Chrome\nExec=\"" + program.toUtf8() + "\" %U\nIcon=x\n");
    writeFile(m_data + "/applications/microsoft-edge.desktop",
              "[Desktop Entry]\nExec=/nonexistent/msedge %U\n");
    LinuxShell shell;
    // A launcher is found as its entry, to be started through it.
    QCOMPARE(shell.findProgram({"no-such-program-pelmaris"}, {"google-chrome.desktop"}),
             m_data + "/applications/google-chrome.desktop");
    QCOMPARE(shell.findProgram({}, {"microsoft-edge.desktop", "missing.desktop"}), QString());
    QCOMPARE(shell.findProgram({"sh"}, {}), QStandardPaths::findExecutable("sh"));
}

void TestLinuxShell::defaultHtmlProgram()
{
    LinuxShell shell;
    ShellError error;
    QCOMPARE(shell.defaultHtmlProgram(&error), QString());
    QCOMPARE(error.code, 31);

    const QString program = m_dir.path() + "/bin/webby";
    writeFile(program, "#!/bin/sh\n", true);
    writeFile(m_data + "/applications/webby.desktop",
              "[Desktop Entry]\nExec=" + program.toUtf8() + " %u\n");
    writeFile(m_data + "/applications/other.desktop", "[Desktop Entry]\nExec=sh %u\n");
    // the mime cache is the last resort ...
    writeFile(m_data + "/applications/mimeinfo.cache", "[MIME Cache]\ntext/html=other.desktop;\n");
    QCOMPARE(shell.defaultHtmlProgram(&error), m_data + "/applications/other.desktop");
    // ... the user's choice wins, a desktop-specific list first
    writeFile(m_config + "/mimeapps.list",
              "[Default Applications]\ntext/html=gone.desktop;other.desktop\n");
    writeFile(m_config + "/test-mimeapps.list",
              "[Added Associations]\ntext/plain=x.desktop\n[Default Applications]\n"
              "text/html=webby.desktop\n");
    QCOMPARE(shell.defaultHtmlProgram(&error), m_data + "/applications/webby.desktop");
}

void TestLinuxShell::defaultFromDeclaredTypes()
{
    // Without any list or cache, a launcher that declares the type is the program.
    QTemporaryDir data;
    const QString program = data.path() + "/bin/viewer";
    writeFile(program, "#!/bin/sh\n", true);
    writeFile(data.path() + "/applications/hidden.desktop",
              "[Desktop Entry]\nExec=sh %u\nMimeType=text/html;\nNoDisplay=true\n");
    writeFile(data.path() + "/applications/viewer.desktop",
              "[Desktop Entry]\nExec=" + program.toUtf8() + " %u\nMimeType=image/png;text/html;\n");
    const QByteArray saved = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", data.path().toUtf8());
    LinuxShell shell;
    ShellError error;
    const QString found = shell.defaultHtmlProgram(&error);
    qputenv("XDG_DATA_DIRS", saved);
    QCOMPARE(found, data.path() + "/applications/viewer.desktop");
}

void TestLinuxShell::shortcutTargets()
{
    const QString dir = m_dir.path() + "/shortcuts";
    const QString program = dir + "/bin/tool";
    writeFile(program, "#!/bin/sh\n", true);
    writeFile(dir + "/app.desktop",
              "[Desktop Entry]\nType=Application\nExec=\"" + program.toUtf8() + "\" %F\n");
    writeFile(dir + "/doc.desktop", "[Desktop Entry]\nType=Link\nURL=file:///srv/a%20b/c.txt\n");
    writeFile(dir + "/web.desktop", "[Desktop Entry]\nType=Link\nURL=https://example.org/\n");
    writeFile(dir + "/plain.txt", "x");
    QVERIFY(QFile::link(dir + "/plain.txt", dir + "/link.txt"));

    LinuxShell shell;
    QCOMPARE(shell.shortcutTarget(dir + "/app.desktop"), program);
    QCOMPARE(shell.shortcutTarget(dir + "/doc.desktop"), QString("/srv/a b/c.txt"));
    QCOMPARE(shell.shortcutTarget(dir + "/web.desktop"), dir + "/web.desktop");
    QCOMPARE(shell.shortcutTarget(dir + "/link.txt"), dir + "/plain.txt");
    QCOMPARE(shell.shortcutTarget(dir + "/plain.txt"), dir + "/plain.txt");
    QCOMPARE(shell.shortcutTarget(dir + "/missing.desktop"), dir + "/missing.desktop");
}

// Launchers whose Exec line starts with a wrapper (env for snaps, flatpak) are started
// through the entry: the page reaches the browser, not the wrapper.
void TestLinuxShell::launchThroughEntries_data()
{
    QTest::addColumn<QByteArray>("exec");
    QTest::addColumn<QStringList>("before"); // arguments ahead of the page
    QTest::addColumn<QStringList>("after");
    QTest::newRow("plain") << QByteArray("\"PROGRAM\" %u") << QStringList{} << QStringList{};
    QTest::newRow("snap") << QByteArray("env BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/"
                                        "applications/firefox_firefox.desktop \"PROGRAM\" %u")
                          << QStringList{} << QStringList{};
    QTest::newRow("flatpak")
        << QByteArray("\"PROGRAM\" run --branch=stable --arch=x86_64 --command=firefox "
                      "--file-forwarding org.mozilla.firefox @@u %u @@")
        << QStringList{"run",
                       "--branch=stable",
                       "--arch=x86_64",
                       "--command=firefox",
                       "--file-forwarding",
                       "org.mozilla.firefox",
                       "@@u"}
        << QStringList{"@@"};
    QTest::newRow("files") << QByteArray("\"PROGRAM\" --new-window %F")
                           << QStringList{"--new-window"} << QStringList{};
}

void TestLinuxShell::launchThroughEntries()
{
    QFETCH(QByteArray, exec);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    const QString tag = QTest::currentDataTag();
    const QString out = m_dir.path() + "/launched-" + tag + ".txt";
    const QString program = m_dir.path() + "/wrapped bin/" + tag;
    writeFile(program,
              "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + out.toUtf8() + ".tmp\" && mv \"" +
                  out.toUtf8() + ".tmp\" \"" + out.toUtf8() + "\"\n",
              true);
    const QString entry = m_data + "/applications/launch-" + tag + ".desktop";
    writeFile(entry, "[Desktop Entry]\nType=Application\nName=B\nExec=" +
                         exec.replace("PROGRAM", program.toUtf8()) + "\n");
    const QString page = m_dir.path() + "/a \"b\" #1 100%.html";
    writeFile(page, "<html></html>");

    LinuxShell shell;
    ShellError error;
    QVERIFY2(shell.startDetached(entry, quoteArgument(page), &error), qPrintable(error.text));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 20000);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QStringList received = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(received.mid(0, before.size()), before);
    QCOMPARE(received.mid(received.size() - after.size()), after);
    QCOMPARE(received.size(), before.size() + 1 + after.size());
    // an address or a path, the page whole either way
    const QString handed = received.at(before.size());
    QCOMPARE(handed.startsWith("file:") ? QUrl(handed).toLocalFile() : handed, page);
}

// The file goes to the trash of the (sandboxed) data folder, never away for good.
void TestLinuxShell::trashKeepsOrMoves()
{
    if (QStorageInfo(m_dir.path()) != QStorageInfo(QDir::homePath()))
        QSKIP("the sandbox lies on another file system than the home folder");
    const QString file = m_dir.path() + "/trash me #1.jpg";
    writeFile(file, "x");
    LinuxShell shell;
    ShellError error;
    QVERIFY2(shell.moveToTrash(file, &error), qPrintable(error.text));
    QVERIFY(!QFile::exists(file));
    QVERIFY(QFile::exists(m_dir.path() + "/home-data/Trash/files/trash me #1.jpg"));

    QVERIFY(!shell.moveToTrash(file, &error));
    QCOMPARE(error.code, int(ShellError::NotFound));
}

// Nothing handles the type: a failure with GLib's text (translated for the user), never
// a launch that counts as started while the opener complains on stderr.
void TestLinuxShell::openReportsMissingApplication()
{
    const QString file = m_dir.path() + "/unhandled #1.webp";
    writeFile(file, "RIFF");
    LinuxShell shell;
    ShellError error;
    QVERIFY(!shell.open(file, &error));
    QCOMPARE(error.code, int(ShellError::NoAssociation));
    QVERIFY(!error.text.isEmpty());
    QVERIFY(!shell.open(QStringLiteral("pelmaris-none:thing"), &error));
    QCOMPARE(error.code, int(ShellError::NoAssociation));
    // no file manager: a folder neither opens nor shows its item
    QVERIFY(!shell.open(m_dir.path(), &error));
    QCOMPARE(error.code, int(ShellError::NoAssociation));
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    QVERIFY(!shell.showItem(file, &error));
    QCOMPARE(error.code, int(ShellError::NoAssociation));
}

void TestLinuxShell::openStartsDefaultApplication()
{
    const QString out = m_dir.path() + "/opened.txt";
    const QString program = m_dir.path() + "/bin/opener";
    writeRecorder(program, out);
    writeFile(m_data + "/applications/opener.desktop",
              "[Desktop Entry]\nType=Application\nName=O\nExec=" + program.toUtf8() +
                  " %f\nMimeType=image/x-portable-graymap;\n");
    const QString file = m_dir.path() + "/picture 100%.pgm";
    writeFile(file, "P2\n1 1\n255\n0\n");
    LinuxShell shell;
    ShellError error;
    QVERIFY2(shell.open(file, &error), qPrintable(error.text));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 20000);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()), file);
}

void TestLinuxShell::paintAndEditorPrograms()
{
    const QByteArray savedPath = qgetenv("PATH");
    const QString bin = m_dir.path() + "/tools";
    QDir().mkpath(bin);
    qputenv("PATH", bin.toUtf8());
    LinuxShell shell;
    // None installed: nothing, and the names a report can offer, the preferred first.
    QCOMPARE(shell.paintProgram(), QString());
    QCOMPARE(shell.textEditorProgram(), QString());
    QCOMPARE(shell.paintProgramNames().value(0), QString("kolourpaint"));
    QVERIFY(shell.paintProgramNames().contains("pinta"));
    QCOMPARE(shell.textEditorNames().value(0), QString("gnome-text-editor"));
    for (const char *name : {"gimp", "pinta", "mousepad"})
        writeFile(bin + "/" + name, "#!/bin/sh\n", true);
    QCOMPARE(shell.paintProgram(), bin + "/pinta");
    QCOMPARE(shell.textEditorProgram(), bin + "/mousepad");
    // The desktop's own text editor comes first, as its launcher.
    const QString editor = m_data + "/applications/plain-editor.desktop";
    writeFile(editor, "[Desktop Entry]\nType=Application\nName=E\nExec=gimp %U\n"
                      "MimeType=text/plain;\n");
    QCOMPARE(shell.textEditorProgram(), editor);
    qputenv("PATH", savedPath);
}

// A link to a folder among the send-to targets, started, opens its folder in the file
// manager, as a folder shortcut does; a plain folder still is no program.
void TestLinuxShell::startedFolderLinkOpensItsFolder()
{
    const QString out = m_dir.path() + "/folder-opened.txt";
    const QString program = m_dir.path() + "/bin/files";
    writeRecorder(program, out);
    const QString entry = m_data + "/applications/files.desktop";
    writeFile(entry, "[Desktop Entry]\nType=Application\nName=F\nExec=" + program.toUtf8() +
                         " %f\nMimeType=inode/directory;\n");
    QDir().mkpath(m_dir.path() + "/target #1");
    const QString link = m_dir.path() + "/to target";
    QVERIFY(QFile::link(m_dir.path() + "/target #1", link));
    LinuxShell shell;
    ShellError error;
    QVERIFY2(shell.startDetached(link, quoteArgument("/p/a b"), &error), qPrintable(error.text));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 20000);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QFileInfo(QString::fromUtf8(f.readAll())).canonicalFilePath(),
             QFileInfo(m_dir.path() + "/target #1").canonicalFilePath());
    QVERIFY(!shell.startDetached(m_dir.path() + "/target #1", QString(), &error));
    QFile::remove(entry);
}

QTEST_MAIN(TestLinuxShell)
#include "tst_linuxshell.moc"
