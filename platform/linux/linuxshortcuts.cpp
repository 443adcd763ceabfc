#include "platform/linux/linuxshortcuts.h"

#include "platform/desktopentry.h"
#include "platform/fileio.h"
#include "platform/linux/desktopentries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QUrl>

#include <cerrno>
#include <cstdio>

namespace pelmaris::platform {

namespace {

namespace entry = desktopentry;

// The first line of a file manager script. The file manager runs the script with the
// selected names relative to its folder; they are made absolute before `gio launch`
// starts the entry below, whose working folder differs. For the entry format the line
// is a comment.
const QString ScriptLine =
    QStringLiteral("#!/usr/bin/env -S sh -c 'for a do case $a in /*);; *)a=$PWD/$a;;esac;"
                   "set -- \"$@\" \"$a\";shift;done;exec gio launch \"$0\" \"$@\"'");

// A display name cannot hold control characters the format has no escape for.
QString displayName(QString name)
{
    for (QChar &c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QChar(0xfffd);
    return name;
}

class DesktopEntryLink final : public ShortcutLink {
public:
    explicit DesktopEntryLink(ShortcutKind kind) : m_kind(kind) {}

    int setPath(const QString &target) override
    {
        // A document's address escapes everything; a program's path goes into Exec.
        if (target.isEmpty() || (m_kind != ShortcutKind::Document && !entry::canCarry(target)))
            return failed(EINVAL);
        // The format escapes it, but GLib refuses to load an entry whose program path
        // holds one: such a launcher could never start.
        if (m_kind != ShortcutKind::Document && target.contains(u'%'))
            return failed(EINVAL, QStringLiteral("プログラムのパスに「%」が含まれているため、"
                                                 "ランチャーから起動できません。") +
                                      QStringLiteral("\r\n") + target);
        m_target = target;
        return 0;
    }
    int setArguments(const QString &arguments) override
    {
        if (!entry::canCarry(arguments))
            return failed(EINVAL);
        m_arguments = arguments;
        return 0;
    }
    int setWorkingDirectory(const QString &folder) override
    {
        if (!entry::canCarry(folder))
            return failed(EINVAL);
        m_folder = folder;
        return 0;
    }
    int setDescription(const QString &text) override
    {
        if (!entry::canCarry(text))
            return failed(EINVAL);
        m_description = text;
        return 0;
    }
    int save(const QString &file) override;
    QString errorText() const override { return m_error; }

private:
    int failed(int code, const QString &text = {})
    {
        m_error = text.isEmpty() ? qt_error_string(code) : text;
        return code;
    }

    ShortcutKind m_kind;
    QString m_target;
    QString m_arguments;
    QString m_folder;
    QString m_description;
    QString m_error;
};

int DesktopEntryLink::save(const QString &file)
{
    if (m_target.isEmpty())
        return failed(EINVAL);
    const QFileInfo info(file);
    QString name = info.fileName();
    if (name.endsWith(QStringLiteral(".desktop")))
        name.chop(8);
    const QString icon = m_kind == ShortcutKind::Document
                             ? QString()
                             : LinuxShortcuts::launcherIcon(m_target, info.absoluteFilePath());
    const QByteArray bytes = LinuxShortcuts::entryText(m_kind, name, m_target, m_arguments,
                                                       m_folder, m_description, icon);
    const QString folder = info.absolutePath();
    errno = 0;
    if (!QDir().mkpath(folder))
        return failed(errno ? errno : EACCES);

    // Written beside under a fresh name, then renamed over whatever holds the name, so
    // an existing link is replaced itself and never written through.
    QTemporaryFile temp(folder + QStringLiteral("/.XXXXXX.desktop.part"));
    errno = 0;
    if (!temp.open())
        return failed(errno ? errno : EIO, temp.errorString());
    temp.close();
    QString error;
    errno = 0;
    if (!writeWholeFile(temp.fileName(), bytes, &error))
        return failed(errno ? errno : EIO, error);
    // Launchers on the desktop and scripts must be executable to be trusted and run.
    QFile::setPermissions(temp.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup |
                                               QFile::ReadOther | QFile::ExeOther);
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(info.absoluteFilePath()).constData()) != 0)
        return failed(errno);
    temp.setAutoRemove(false);
    m_error.clear();
    return 0;
}

} // namespace

namespace {

bool samePath(const QString &a, const QString &b)
{
    const QFileInfo ia(a);
    const QFileInfo ib(b);
    const QString ca = ia.canonicalFilePath();
    return ca.isEmpty() ? ia.absoluteFilePath() == ib.absoluteFilePath()
                        : ca == ib.canonicalFilePath();
}

} // namespace

QString LinuxShortcuts::menuEntryFor(const QString &program, const QString &own) const
{
    for (const QString &file : desktopentries::entriesRunning(program))
        if (!samePath(file, own))
            return file;
    return {};
}

QString LinuxShortcuts::launcherIcon(const QString &program, const QString &own)
{
    for (const QString &file : desktopentries::entriesRunning(program)) {
        if (samePath(file, own))
            continue;
        const QString icon = desktopentries::value(file, QStringLiteral("Icon"));
        if (!icon.isEmpty())
            return icon;
    }
    const QFileInfo info(program);
    const QString name = info.fileName().toLower();
    const QFileInfo installed(info.absolutePath() +
                              QStringLiteral("/../share/icons/hicolor/256x256/apps/") + name +
                              QStringLiteral(".png"));
    return installed.isFile() ? installed.canonicalFilePath() : name;
}

std::unique_ptr<ShortcutLink> LinuxShortcuts::create(ShortcutKind kind)
{
    return std::make_unique<DesktopEntryLink>(kind);
}

QByteArray LinuxShortcuts::entryText(ShortcutKind kind, const QString &name, const QString &target,
                                     const QString &arguments, const QString &workingFolder,
                                     const QString &description, const QString &icon)
{
    QString text;
    const auto line = [&text](const QString &key, const QString &value) {
        text += key + u'=' + entry::escapeValue(value) + u'\n';
    };
    if (kind == ShortcutKind::FileManagerScript)
        text += ScriptLine + u'\n';
    text += QStringLiteral("[Desktop Entry]\n");
    if (kind == ShortcutKind::Document) {
        line(QStringLiteral("Type"), QStringLiteral("Link"));
        line(QStringLiteral("Name"), displayName(name));
        line(QStringLiteral("URL"), QUrl::fromLocalFile(target).toString(QUrl::FullyEncoded));
        // A link entry has no working folder: the format allows Path only for programs.
    } else {
        if (!entry::canCarry(target) || !entry::canCarry(arguments) ||
            !entry::canCarry(workingFolder))
            return {};
        QString exec = entry::quoteExecArgument(target);
        if (!arguments.isEmpty())
            exec += u' ' + entry::quoteExecArgument(arguments);
        exec += QStringLiteral(" %F"); // the files dropped on it or selected
        line(QStringLiteral("Type"), QStringLiteral("Application"));
        line(QStringLiteral("Name"), displayName(name));
        line(QStringLiteral("Exec"), exec);
        if (!workingFolder.isEmpty())
            line(QStringLiteral("Path"), workingFolder);
        line(QStringLiteral("Terminal"), QStringLiteral("false"));
        if (!icon.isEmpty() && entry::canCarry(icon))
            line(QStringLiteral("Icon"), icon);
    }
    if (!description.isEmpty() && entry::canCarry(description))
        line(QStringLiteral("Comment"), description);
    return text.toUtf8();
}

} // namespace pelmaris::platform
