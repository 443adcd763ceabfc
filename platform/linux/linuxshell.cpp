#include "platform/linux/linuxshell.h"

#include "platform/desktopentry.h"
#include "platform/linux/desktopentries.h"
#include "platform/linux/gioshell.h"
#include "platform/linux/propertiesdialog.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStyle>
#include <QUrl>

#include <cerrno>

namespace pelmaris::platform {

namespace {

constexpr int NotFound = ShellError::NotFound;
constexpr int AccessDenied = ShellError::AccessDenied;
constexpr int NoAssociation = ShellError::NoAssociation;

bool fail(ShellError *error, int code, const QString &text)
{
    if (error)
        *error = {code, text};
    return false;
}

bool failErrno(ShellError *error, int code, int err)
{
    return fail(error, code, qt_error_string(err));
}

QString noAssociationText()
{
    return gio::noApplicationText();
}

// The launcher our own lookup names for a file's type (or an address's scheme), or empty.
QString defaultEntryFor(const QUrl &url)
{
    if (!url.isLocalFile())
        return desktopentries::installedEntry(desktopentries::defaultApplication(
            QStringLiteral("x-scheme-handler/") + url.scheme().toLower()));
    const QMimeType type = QMimeDatabase().mimeTypeForFile(url.toLocalFile());
    QStringList types{type.name()};
    // Every binary type descends from octet-stream; its handler is no default for them.
    for (const QString &parent : type.allAncestors())
        if (parent != QStringLiteral("application/octet-stream"))
            types << parent;
    for (const QString &name : std::as_const(types))
        if (const QString entry =
                desktopentries::installedEntry(desktopentries::defaultApplication(name));
            !entry.isEmpty())
            return entry;
    return {};
}

// A scheme of two or more letters; "C:" style drive prefixes do not occur here.
bool looksLikeUrl(const QString &target)
{
    const qsizetype colon = target.indexOf(u':');
    if (colon < 2)
        return false;
    for (qsizetype i = 0; i < colon; ++i) {
        const QChar c = target.at(i);
        if (!(c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'.'))
            return false;
    }
    return target.at(0).isLetter();
}

bool isRemovableDevice(const QString &device)
{
    if (!device.startsWith(QStringLiteral("/dev/")))
        return false;
    const QString name = QFileInfo(device).canonicalFilePath().section(u'/', -1);
    for (const QString &file : {QStringLiteral("/sys/class/block/%1/removable"),
                                QStringLiteral("/sys/class/block/%1/../removable")}) {
        QFile f(file.arg(name));
        if (f.open(QIODevice::ReadOnly))
            return f.readAll().trimmed() == "1";
    }
    return false;
}

} // namespace

bool LinuxShell::open(const QString &target, ShellError *error)
{
    if (target.compare(QStringLiteral("ms-settings:defaultapps"), Qt::CaseInsensitive) == 0) {
        // The desktop's own default-applications settings, where one is installed.
        const QList<QStringList> settings = {
            {QStringLiteral("gnome-control-center"), QStringLiteral("default-apps")},
            {QStringLiteral("systemsettings"), QStringLiteral("kcm_componentchooser")},
            {QStringLiteral("systemsettings5"), QStringLiteral("componentchooser")},
            {QStringLiteral("xfce4-mime-settings")},
        };
        for (const QStringList &command : settings) {
            const QString program = QStandardPaths::findExecutable(command.first());
            if (!program.isEmpty() && QProcess::startDetached(program, command.mid(1)))
                return true;
        }
        return fail(error, NoAssociation, noAssociationText());
    }
    QUrl url;
    if (looksLikeUrl(target)) {
        url = QUrl(target);
    } else {
        if (target.isEmpty() || !QFileInfo::exists(target))
            return failErrno(error, NotFound, ENOENT);
        url = QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    }
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return failErrno(error, NotFound, ENOENT);
    // Started through the application's launcher, whose failure we see; the desktop's
    // opener would only print it.
    const QString entry = defaultEntryFor(url);
    const QString argument = url.isLocalFile() ? url.toLocalFile() : url.toString();
    if (!entry.isEmpty())
        return gio::launchEntry(entry, {argument}, error);
    return gio::launchDefault(argument, error);
}

bool LinuxShell::startDetached(const QString &program, const QString &parameters, ShellError *error)
{
    // A launcher's Exec line may start with a wrapper (env, flatpak) that only the entry
    // itself knows how to hand files to.
    if (desktopentry::isEntryFile(program) && QFileInfo(program).isFile())
        return gio::launchEntry(program, QProcess::splitCommand(parameters), error);
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        // A link to a folder opens that folder, as a folder shortcut does when it is
        // started; its parameters have nowhere to go.
        if (info.isSymLink() && info.isDir())
            return open(program, error);
        if (!info.exists())
            return failErrno(error, NotFound, ENOENT);
        if (!info.isFile() || !info.isExecutable())
            return failErrno(error, AccessDenied, EACCES);
    }
    const QString resolved = desktopentries::resolveProgram(program);
    if (resolved.isEmpty())
        return failErrno(error, NotFound, ENOENT);
    return m_starter.start(resolved, QProcess::splitCommand(parameters), parameters, error);
}

void LinuxShell::setEarlyExitHandler(std::function<void(const EarlyExit &)> handler)
{
    m_starter.setEarlyExitHandler(std::move(handler));
}

bool LinuxShell::showProperties(QWidget *parent, const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"),
            QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItemProperties"));
        call << QStringList{QUrl::fromLocalFile(info.absoluteFilePath()).toString()} << QString();
        const QDBusMessage reply = bus.call(call, QDBus::Block, 3000);
        if (reply.type() == QDBusMessage::ReplyMessage)
            return true;
    }
    auto *dialog = new PropertiesDialog(info.absoluteFilePath(), parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return true;
}

QString LinuxShell::defaultHtmlProgram(ShellError *error)
{
    const QString id = desktopentries::defaultApplication(QStringLiteral("text/html"));
    const QString entry = desktopentries::installedEntry(id);
    if (entry.isEmpty())
        fail(error, NoAssociation, noAssociationText());
    return entry;
}

QString LinuxShell::findProgram(const QStringList &names, const QStringList &desktopIds)
{
    for (const QString &name : names)
        if (const QString p = QStandardPaths::findExecutable(name); !p.isEmpty())
            return p;
    for (const QString &id : desktopIds)
        if (const QString entry = desktopentries::installedEntry(id); !entry.isEmpty())
            return entry;
    return {};
}

QIcon LinuxShell::programIcon(const QString &program)
{
    if (desktopentry::isEntryFile(program)) {
        const QString icon = desktopentry::read(program).value(QStringLiteral("Icon"));
        if (icon.startsWith(u'/'))
            return QIcon(icon);
        return icon.isEmpty() ? QIcon() : QIcon::fromTheme(icon);
    }
    const QString resolved = desktopentries::resolveProgram(program);
    if (resolved.isEmpty())
        return {};
    // A program's own icon is the one its desktop entry names.
    const QString base = QFileInfo(resolved).fileName();
    for (const QString &id : {base + QStringLiteral(".desktop"),
                              base.section(u'-', 0, -2) + QStringLiteral(".desktop")}) {
        const QString file = desktopentries::findDesktopFile(id);
        if (file.isEmpty())
            continue;
        const QString icon = desktopentries::value(file, QStringLiteral("Icon"));
        if (icon.startsWith(u'/'))
            return QIcon(icon);
        if (QIcon themed = QIcon::fromTheme(icon); !themed.isNull())
            return themed;
    }
    if (QIcon themed = QIcon::fromTheme(base); !themed.isNull())
        return themed;
    return QFileIconProvider().icon(QFileInfo(resolved));
}

QIcon LinuxShell::fileTypeIcon(const QString &path)
{
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName()));
    if (icon.isNull())
        icon = QFileIconProvider().icon(QFileIconProvider::File);
    return icon;
}

QIcon LinuxShell::driveIcon(const QString &path)
{
    QFileInfo info(path);
    // The nearest folder that exists decides the mount.
    QString dir = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    while (!QFileInfo::exists(dir) && dir != QStringLiteral("/") && !dir.isEmpty())
        dir = QFileInfo(dir).absolutePath();
    const QStorageInfo storage(dir.isEmpty() ? QStringLiteral("/") : dir);
    const QString name = driveIconName(storage.fileSystemType(), storage.rootPath(),
                                       isRemovableDevice(QString::fromLocal8Bit(storage.device())));
    QStyle::StandardPixmap fallback = QStyle::SP_DriveHDIcon;
    if (name == QStringLiteral("folder-remote"))
        fallback = QStyle::SP_DriveNetIcon;
    else if (name == QStringLiteral("drive-removable-media"))
        fallback = QStyle::SP_DriveFDIcon;
    return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

QString LinuxShell::driveIconName(const QByteArray &fileSystemType, const QString &rootPath,
                                  bool removable)
{
    static const QList<QByteArray> remote = {
        "nfs",        "nfs4",       "cifs", "smb3", "smbfs",
        "fuse.sshfs", "sshfs",      "9p",   "afs",  "fuse.gvfsd-fuse",
        "davfs",      "fuse.davfs2"};
    if (remote.contains(fileSystemType.toLower()))
        return QStringLiteral("folder-remote");
    if (removable || rootPath.startsWith(QStringLiteral("/media/")) ||
        rootPath.startsWith(QStringLiteral("/run/media/")))
        return QStringLiteral("drive-removable-media");
    return QStringLiteral("drive-harddisk");
}

} // namespace pelmaris::platform

namespace pelmaris::platform {

QString LinuxShell::shortcutTarget(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.symLinkTarget();
        return target.isEmpty() ? path : target;
    }
    if (!info.isFile() || !path.endsWith(QStringLiteral(".desktop")))
        return path;
    const QHash<QString, QString> entry = desktopentry::read(path);
    if (entry.value(QStringLiteral("Type")) == QStringLiteral("Link")) {
        const QUrl url(entry.value(QStringLiteral("URL")));
        return url.isLocalFile() ? url.toLocalFile() : path;
    }
    const QString program =
        desktopentry::execProgram(desktopentry::splitExec(entry.value(QStringLiteral("Exec"))));
    if (program.isEmpty())
        return path;
    const QString resolved = desktopentries::resolveProgram(program);
    return resolved.isEmpty() ? program : resolved;
}

} // namespace pelmaris::platform
