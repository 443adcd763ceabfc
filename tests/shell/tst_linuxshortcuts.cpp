#include "platform/desktopentry.h"
#include "platform/linux/linuxshell.h"
#include "platform/linux/linuxshortcuts.h"

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

private:
    QTemporaryDir m_dir;
};

void TestLinuxShortcuts::entriesValidateAndResolve_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("name"); // the shortcut file's name
    const QString odd = "/opt/My $Apps/`x` \"q\" it's \\ #1 & 100% %F/Pelmaris";
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

    // A folder that cannot be made: a plain file stands in its way.
    writeFile(m_dir.path() + "/blocker", "x");
    const QString file = m_dir.path() + "/blocker/sub/x.desktop";
    QVERIFY(save(ShortcutKind::Program, "/opt/p/P", "/tmp/", file) != 0);
    QVERIFY(!QFile::exists(file));
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
