#include "platform/linux/desktopentries.h"

#include "platform/desktopentry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

namespace pelmaris::platform::desktopentries {

namespace {

QStringList envList(const char *name, const QString &fallback)
{
    const QString value = qEnvironmentVariable(name);
    return (value.isEmpty() ? fallback : value).split(u':', Qt::SkipEmptyParts);
}

QString dataHome()
{
    const QString v = qEnvironmentVariable("XDG_DATA_HOME");
    return v.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : v;
}

QString configHome()
{
    const QString v = qEnvironmentVariable("XDG_CONFIG_HOME");
    return v.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : v;
}

// Values of one key in one group of a key file; entries are ';'-separated lists.
QStringList groupList(const QString &file, const QString &group, const QString &key)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&f);
    bool inGroup = false;
    const QString header = u'[' + group + u']';
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'[')) {
            inGroup = line == header;
            continue;
        }
        if (!inGroup)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && line.left(eq).trimmed() == key)
            return line.mid(eq + 1).trimmed().split(u';', Qt::SkipEmptyParts);
    }
    return {};
}

} // namespace

QStringList applicationDirs()
{
    QStringList dirs{dataHome() + QStringLiteral("/applications")};
    for (const QString &d : envList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share")))
        dirs << d + QStringLiteral("/applications");
    return dirs;
}

QString findDesktopFile(const QString &desktopId)
{
    if (desktopId.isEmpty() || desktopId.contains(QStringLiteral("..")))
        return {};
    // Ids map "-" to sub-folders as well ("kde-foo.desktop" may be kde/foo.desktop).
    QString nested = desktopId;
    nested.replace(u'-', u'/');
    for (const QString &dir : applicationDirs()) {
        for (const QString &name : {desktopId, nested}) {
            const QString path = dir + u'/' + name;
            if (QFileInfo(path).isFile())
                return path;
        }
    }
    return {};
}

QString value(const QString &desktopFile, const QString &key)
{
    return desktopentry::read(desktopFile).value(key);
}

QString defaultApplication(const QString &mimeType)
{
    QStringList files;
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(u':', Qt::SkipEmptyParts);
    const auto addDir = [&](const QString &dir) {
        for (const QString &desktop : desktops)
            files << dir + u'/' + desktop + QStringLiteral("-mimeapps.list");
        files << dir + QStringLiteral("/mimeapps.list");
    };
    addDir(configHome());
    for (const QString &d : envList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")))
        addDir(d);
    for (const QString &d : applicationDirs())
        addDir(d);
    for (const QString &group :
         {QStringLiteral("Default Applications"), QStringLiteral("Added Associations")}) {
        for (const QString &file : files)
            for (const QString &id : groupList(file, group, mimeType))
                if (!findDesktopFile(id).isEmpty())
                    return id;
    }
    for (const QString &dir : applicationDirs())
        for (const QString &id : groupList(dir + QStringLiteral("/mimeinfo.cache"),
                                           QStringLiteral("MIME Cache"), mimeType))
            if (!findDesktopFile(id).isEmpty())
                return id;
    // Without a cache (update-desktop-database never ran) an application that declares the
    // type still handles it, as the desktop's own lookup finds too.
    for (const QString &dir : applicationDirs()) {
        const QStringList entries =
            QDir(dir).entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
        for (const QString &name : entries) {
            const QString file = dir + u'/' + name;
            if (groupList(file, QStringLiteral("Desktop Entry"), QStringLiteral("MimeType"))
                    .contains(mimeType) &&
                value(file, QStringLiteral("NoDisplay")) != QStringLiteral("true"))
                return name;
        }
    }
    return {};
}

QString resolveProgram(const QString &program)
{
    if (program.isEmpty())
        return {};
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

QString programOf(const QString &desktopId)
{
    const QString file = findDesktopFile(desktopId);
    if (file.isEmpty())
        return {};
    return resolveProgram(
        desktopentry::execProgram(desktopentry::splitExec(value(file, QStringLiteral("Exec")))));
}

QString installedEntry(const QString &desktopId)
{
    return programOf(desktopId).isEmpty() ? QString() : findDesktopFile(desktopId);
}

QStringList entriesRunning(const QString &program)
{
    QStringList found;
    const QFileInfo info(program);
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty())
        return found;
    for (const QString &dir : applicationDirs()) {
        const QStringList entries =
            QDir(dir).entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
        for (const QString &name : entries) {
            const QString file = dir + u'/' + name;
            if (value(file, QStringLiteral("Type")) != QStringLiteral("Application"))
                continue;
            const QString exec = desktopentry::execProgram(
                desktopentry::splitExec(value(file, QStringLiteral("Exec"))));
            if (exec.isEmpty())
                continue;
            const QString resolved = resolveProgram(exec);
            if ((!exec.contains(u'/') && exec == info.fileName()) ||
                (!resolved.isEmpty() && QFileInfo(resolved).canonicalFilePath() == canonical))
                found << file;
        }
    }
    return found;
}

} // namespace pelmaris::platform::desktopentries
