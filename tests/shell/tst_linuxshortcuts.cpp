#include "platform/desktopentry.h"
#include "platform/linux/linuxshell.h"
#include "platform/linux/linuxshortcuts.h"
#include "platform/linux/linuxspecialfolders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

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
        QVERIFY(f.setPermissions(f.permissions() | QFile::ExeOwner));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int save(ShortcutKind kind, const QString &target, const QString &folder, const QString &file)
{
    const auto link = LinuxShortcuts().create(kind);
    if (const int code = link->setPath(target))
        return code;
    if (const int code = link->setWorkingDirectory(folder))
        return code;
    if (const int code = link->setDescription("2025/07/15 09:05:07 Created by Pelmaris V1.6"))
        return code;
    return link->save(file);
}

} // namespace

// Shortcuts written into a sandbox: accepted by the format's own validator, read back
// to what they point to, never written through a link.
class TestLinuxShortcuts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void entriesValidateAndResolve_data();
    void entriesValidateAndResolve();
    void linkReplacedNotFollowed();
    void refusals();
    void scriptRunsWithSelectedFiles();
    void launcherIcons();
    void desktopFolderIsMade();

private:
    QTemporaryDir m_dir;
};

void TestLinuxShortcuts::entriesValidateAndResolve_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("name"); // the shortcut file's name
    const QString odd = "/opt/My $Apps/`x` \"q\" it's \\ #1 & 100 F/Pelmaris";
    QTest::newRow("program") << int(ShortcutKind::Program) << "/opt/pelmaris/Pelmaris"
                             << "ペルマリス.desktop";
    QTest::newRow("program with odd path")
        << int(ShortcutKind::Program) << odd << "ペルマリス.desktop";
    QTest::newRow("script") << int(ShortcutKind::FileManagerScript) << odd << "ペルマリス.desktop";
    QTest::newRow("picture") << int(ShortcutKind::Document) << "/写真/a b #1 100%.jpg"
                             << "a b #1 100%.jpg.desktop";
    QTest::newRow("picture with quotes and a dash")
        << int(ShortcutKind::Document) << "/p/-say \"hi\" it's?.png"
        << "-say \"hi\" it's?.png.desktop";
}

void TestLinuxShortcuts::entriesValidateAndResolve()
{
    QFETCH(int, kind);
    QFETCH(QString, target);
    QFETCH(QString, name);
    const QString folder = m_dir.path() + "/" + QTest::currentDataTag();
    const QString file = folder + "/" + name;
    QCOMPARE(save(ShortcutKind(kind), target, QDir::tempPath() + "/", file), 0);

    const QByteArray text = readAll(file);
    const auto entry = desktopentry::parse(text);
    QCOMPARE(entry.value("Comment"), "2025/07/15 09:05:07 Created by Pelmaris V1.6");
    QCOMPARE(entry.value("Name"), name.chopped(8));
    if (kind == int(ShortcutKind::Document)) {
        QCOMPARE(entry.value("Type"), "Link");
        QVERIFY(!entry.contains("Path")); // the format has no working folder for links
    } else {
        QCOMPARE(entry.value("Type"), "Application");
        QCOMPARE(entry.value("Path"), QDir::tempPath() + "/");
        QCOMPARE(desktopentry::splitExec(entry.value("Exec")), (QStringList{target, "%F"}));
    }
    QCOMPARE(text.startsWith("#!"), kind == int(ShortcutKind::FileManagerScript));
    QVERIFY(QFileInfo(file).isExecutable());
    QCOMPARE(LinuxShell().shortcutTarget(file), target);

    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (scripts/setup.sh installs it)");
    QProcess check;
    check.start(validator, {file});
    QVERIFY(check.waitForFinished());
    const QByteArray report = check.readAllStandardOutput() + check.readAllStandardError();
    QVERIFY2(check.exitCode() == 0 && report.isEmpty(), report.constData());
}

void TestLinuxShortcuts::linkReplacedNotFollowed()
{
    const QString folder = m_dir.path() + "/links";
    const QString victim = m_dir.path() + "/victim.txt";
    writeFile(victim, "keep me");
    QDir().mkpath(folder);
    const QString file = folder + "/ペルマリス.desktop";
    QVERIFY(QFile::link(victim, file));
    QCOMPARE(save(ShortcutKind::Program, "/opt/p/Pelmaris", "/tmp/", file), 0);
    QCOMPARE(readAll(victim), QByteArray("keep me"));
    QVERIFY(!QFileInfo(file).isSymLink());
    QCOMPARE(LinuxShell().shortcutTarget(file), QString("/opt/p/Pelmaris"));
    // nothing left over beside it
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"ペルマリス.desktop"});
}

void TestLinuxShortcuts::refusals()
{
    const auto link = LinuxShortcuts().create(ShortcutKind::Program);
    QCOMPARE(link->setPath(QString("/opt/a") + QChar(1) + "b"), EINVAL);
    QVERIFY(!link->errorText().isEmpty());
    QCOMPARE(link->setPath(QString()), EINVAL);
    // GLib would refuse to start it, escaped or not.
    QCOMPARE(link->setPath("/opt/100% sure/Pelmaris"), EINVAL);
    QVERIFY(link->errorText().contains("/opt/100% sure/Pelmaris"));
    QCOMPARE(LinuxShortcuts().create(ShortcutKind::Document)->setPath("/p/100%.jpg"), 0);

    // A folder that cannot be made: a plain file stands in its way.
    writeFile(m_dir.path() + "/blocker", "x");
    const QString file = m_dir.path() + "/blocker/sub/x.desktop";
    QVERIFY(save(ShortcutKind::Program, "/opt/p/P", "/tmp/", file) != 0);
    QVERIFY(!QFile::exists(file));
}

// A launcher shows the program's icon: the installed menu entry's, else the icon file
// installed under the program's prefix, else the icon name the install uses.
void TestLinuxShortcuts::launcherIcons()
{
    const QByteArray savedDirs = qgetenv("XDG_DATA_DIRS");
    const QByteArray savedHome = qgetenv("XDG_DATA_HOME");
    const QString data = m_dir.path() + "/icons-data";
    qputenv("XDG_DATA_DIRS", data.toUtf8());
    qputenv("XDG_DATA_HOME", (m_dir.path() + "/icons-home").toUtf8());
    const QString prefix = m_dir.path() + "/prefix";
    const QString program = prefix + "/bin/Pelmaris";
    writeFile(program, "#!/bin/sh\n", true);
    const QString own = m_dir.path() + "/icons-home/applications/ペルマリス.desktop";

    QCOMPARE(LinuxShortcuts::launcherIcon(program, own), QString("pelmaris"));
    const QString iconFile = prefix + "/share/icons/hicolor/256x256/apps/pelmaris.png";
    writeFile(iconFile, "png");
    QCOMPARE(LinuxShortcuts::launcherIcon(program, own), iconFile);
    writeFile(data + "/applications/org.example.Pelmaris.desktop",
              "[Desktop Entry]\nType=Application\nName=P\nExec=" + program.toUtf8() +
                  " %f\nIcon=pelmaris-installed\n");
    QCOMPARE(LinuxShortcuts::launcherIcon(program, own), QString("pelmaris-installed"));
    QCOMPARE(LinuxShortcuts().menuEntryFor(program, own),
             data + "/applications/org.example.Pelmaris.desktop");
    QCOMPARE(LinuxShortcuts().menuEntryFor(m_dir.path() + "/other/Pelmaris2", own), QString());

    // The saved launcher carries it, and our own earlier launcher is no installed one.
    QCOMPARE(save(ShortcutKind::Program, program, "/tmp/", own), 0);
    QCOMPARE(desktopentry::parse(readAll(own)).value("Icon"), "pelmaris-installed");
    QCOMPARE(LinuxShortcuts().menuEntryFor(program, own),
             data + "/applications/org.example.Pelmaris.desktop");
    QFile::remove(data + "/applications/org.example.Pelmaris.desktop");
    QCOMPARE(LinuxShortcuts().menuEntryFor(program, own), QString());
    qputenv("XDG_DATA_DIRS", savedDirs);
    qputenv("XDG_DATA_HOME", savedHome);
}

// With no desktop folder yet the folder lookups fall back to home for browsing, but
// shortcuts are made in the desktop folder, never in home.
void TestLinuxShortcuts::desktopFolderIsMade()
{
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    const QString home = m_dir.path() + "/home";
    QDir().mkpath(home);
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
    const LinuxSpecialFolders folders;
    QCOMPARE(folders.path(SpecialFolder::Desktop), home);
    const QString desktop = folders.pathToCreateIn(SpecialFolder::Desktop);
    QCOMPARE(desktop, home + "/Desktop");
    QCOMPARE(
        save(ShortcutKind::Program, "/opt/p/Pelmaris", "/tmp/", desktop + "/ペルマリス.desktop"),
        0);
    QVERIFY(QFileInfo::exists(home + "/Desktop/ペルマリス.desktop"));
    QCOMPARE(folders.path(SpecialFolder::Desktop), home + "/Desktop");
    qputenv("HOME", savedHome);
    qputenv("XDG_CONFIG_HOME", savedConfig);
}

// The file manager runs a script with the selected names relative to its folder; the
// program gets them absolute, in its own working folder.
void TestLinuxShortcuts::scriptRunsWithSelectedFiles()
{
    if (QStandardPaths::findExecutable("gio").isEmpty())
        QSKIP("gio is not installed");
    const QString out = m_dir.path() + "/received.txt";
    const QString program = m_dir.path() + "/bin dir/record args";
    writeFile(program,
              "#!/bin/sh\n{ pwd; printf '%s\\n' \"$@\"; } > \"" + out.toUtf8() + ".tmp\" && mv \"" +
                  out.toUtf8() + ".tmp\" \"" + out.toUtf8() + "\"\n",
              true);
    const QString work = m_dir.path() + "/work";
    const QString selected = m_dir.path() + "/selected";
    QDir().mkpath(work);
    QDir().mkpath(selected);
    const QString script = m_dir.path() + "/scripts/ペルマリス.desktop";
    QCOMPARE(save(ShortcutKind::FileManagerScript, program, work + "/", script), 0);

    QProcess run;
    run.setWorkingDirectory(selected);
    run.setProgram(script);
    run.setArguments({"-x.jpg", "a b #1.jpg", "/abs/写真.png"});
    run.start();
    QVERIFY(run.waitForFinished(20000));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 20000);
    QCOMPARE(QString::fromUtf8(readAll(out)).split('\n', Qt::SkipEmptyParts),
             (QStringList{work, selected + "/-x.jpg", selected + "/a b #1.jpg", "/abs/写真.png"}));
}

QTEST_MAIN(TestLinuxShortcuts)
#include "tst_linuxshortcuts.moc"
