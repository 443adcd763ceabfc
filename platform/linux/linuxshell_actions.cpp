// The file actions of the shell: programs for a file, the open-with chooser, the file
// manager's view of an item, and the trash.
#include "platform/commandline.h"
#include "platform/linux/desktopentries.h"
#include "platform/linux/gioshell.h"
#include "platform/linux/linuxshell.h"
#include "platform/linux/openwithdialog.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>

#include <cerrno>

namespace pelmaris::platform {

namespace {

const QStringList PaintPrograms = {
    QStringLiteral("kolourpaint"), QStringLiteral("pinta"), QStringLiteral("mtpaint"),
    QStringLiteral("gimp"),        QStringLiteral("krita"), QStringLiteral("drawing"),
    QStringLiteral("mypaint"),
};
const QStringList PaintEntries = {
    QStringLiteral("org.kde.kolourpaint.desktop"),
    QStringLiteral("com.github.PintaProject.Pinta.desktop"),
    QStringLiteral("org.gimp.GIMP.desktop"),
    QStringLiteral("org.kde.krita.desktop"),
    QStringLiteral("com.github.maoschanz.drawing.desktop"),
};
const QStringList TextEditors = {
    QStringLiteral("gnome-text-editor"),
    QStringLiteral("gedit"),
    QStringLiteral("kate"),
    QStringLiteral("kwrite"),
    QStringLiteral("mousepad"),
    QStringLiteral("pluma"),
    QStringLiteral("xed"),
    QStringLiteral("featherpad"),
    QStringLiteral("leafpad"),
    QStringLiteral("geany"),
};
const QStringList TextEditorEntries = {
    QStringLiteral("org.gnome.TextEditor.desktop"),
    QStringLiteral("org.gnome.gedit.desktop"),
    QStringLiteral("org.kde.kate.desktop"),
    QStringLiteral("org.kde.kwrite.desktop"),
};

bool fail(ShellError *error, int code, const QString &text)
{
    if (error)
        *error = {code, text};
    return false;
}

} // namespace

QString LinuxShell::paintProgram()
{
    return findProgram(PaintPrograms, PaintEntries);
}

QStringList LinuxShell::paintProgramNames() const
{
    return PaintPrograms;
}

QStringList LinuxShell::textEditorNames() const
{
    return TextEditors;
}

QString LinuxShell::textEditorProgram()
{
    const QString entry = desktopentries::installedEntry(
        desktopentries::defaultApplication(QStringLiteral("text/plain")));
    if (!entry.isEmpty())
        return entry;
    return findProgram(TextEditors, TextEditorEntries);
}

OpenWithResult LinuxShell::openWith(QWidget *parent, const QString &path, ShellError *error)
{
    const QString mime = QMimeDatabase().mimeTypeForFile(path).name();
    OpenWithDialog dialog(path, gio::applicationsFor(mime), parent);
    if (dialog.exec() != QDialog::Accepted)
        return OpenWithResult::Cancelled;
    const bool started = dialog.chosenEntry().isEmpty()
                             ? startDetached(dialog.chosenProgram(), quoteArgument(path), error)
                             : gio::launchEntry(dialog.chosenEntry(), {path}, error);
    return started ? OpenWithResult::Started : OpenWithResult::Failed;
}

bool LinuxShell::showItem(const QString &path, ShellError *error)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return fail(error, ShellError::NotFound, qt_error_string(ENOENT));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"),
            QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
        // A URI carries every name whole: blanks, '#', '%' and the rest are escaped.
        call << QStringList{QUrl::fromLocalFile(info.absoluteFilePath())
                                .toString(QUrl::FullyEncoded)}
             << QString();
        if (bus.call(call, QDBus::Block, 3000).type() == QDBusMessage::ReplyMessage)
            return true;
    }
    // No file manager that selects items: the folder alone.
    return open(info.absolutePath(), error);
}

bool LinuxShell::moveToTrash(const QString &path, ShellError *error)
{
    return gio::trash(path, error);
}

} // namespace pelmaris::platform
