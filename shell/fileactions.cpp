#include "shell/fileactions.h"

#include "platform/clipboard.h"
#include "platform/commandline.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "platform/shortcuts.h"
#include "platform/specialfolders.h"
#include "shell/shellroutines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>

namespace pelmaris::shell {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Longer clipboard text is no folder path (paths end at a few thousand bytes), and
// trimming a huge text would only cost time.
constexpr qsizetype MaxPastedPath = 8192;

bool isBlankOrControl(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control;
}

QString trimBlanksAndControls(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool exists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The folder that holds a path, without a trailing delimiter (the root stays "/").
QString folderOf(const QString &path)
{
    return QFileInfo(path).path();
}

QString withoutTrailingDelimiter(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

} // namespace

FileActions::FileActions(const platform::Services &services, QWidget *window)
    : m_services(services), m_window(window)
{
}

QString FileActions::goneText(const QString &path)
{
    return openFailedText(platform::ShellError::NotFound, qt_error_string(ENOENT), path);
}

QString FileActions::openWithFailedText(const QString &path)
{
    return QStringLiteral("指定プログラムを起動できませんでした") + CrLf + path;
}

QString FileActions::copyExistsText(const QString &destination)
{
    return QStringLiteral("Same Name File Already Exists. Copyfile Failed") + CrLf + CrLf +
           destination;
}

QString FileActions::copyFailedText(const QString &reason, const QString &destination)
{
    return QStringLiteral("Copyfile Failed") + CrLf + reason + CrLf + CrLf + destination;
}

QString FileActions::pastePathText(const QString &path)
{
    return QStringLiteral("貼付けパスが正しくありません") + CrLf + path;
}

// A file removed since the list was built gets one clear report instead of a program
// that starts and complains in its own way.
bool FileActions::reportIfGone(const QString &path)
{
    if (exists(path))
        return false;
    m_services.dialogs->message(m_window, goneText(path));
    return true;
}

void FileActions::openDefault(const QString &path)
{
    if (!path.isEmpty())
        ShellOpen(m_services, path);
}

// Every program gets the path as one argument: quoted in the parameter text, and
// always absolute, so a name beginning with '-' is never read as an option.
void FileActions::openInPaint(const QString &path)
{
    if (path.isEmpty() || reportIfGone(path))
        return;
    ShellOpenWith(m_services, m_services.shell->paintProgram(),
                  platform::quoteArgument(QFileInfo(path).absoluteFilePath()));
}

void FileActions::openInTextEditor(const QString &path)
{
    if (path.isEmpty() || reportIfGone(path))
        return;
    ShellOpenWith(m_services, m_services.shell->textEditorProgram(),
                  platform::quoteArgument(QFileInfo(path).absoluteFilePath()));
}

void FileActions::openWith(const QString &path)
{
    if (path.isEmpty() || reportIfGone(path))
        return;
    platform::ShellError error;
    if (m_services.shell->openWith(m_window, QFileInfo(path).absoluteFilePath(), &error) ==
        platform::OpenWithResult::Failed)
        m_services.dialogs->message(m_window, openWithFailedText(path));
}

void FileActions::sendToSibling(const QString &siblingProgram, const QString &path)
{
    if (siblingProgram.isEmpty() || path.isEmpty() || reportIfGone(path))
        return;
    // One argument however many blanks the path holds.
    ShellOpenWith(m_services, siblingProgram,
                  platform::quoteArgument(QFileInfo(path).absoluteFilePath()));
    m_services.clipboard->setText(path);
}

void FileActions::sendTo(const QString &path)
{
    if (path.isEmpty() || reportIfGone(path))
        return;
    const QString entry = m_services.dialogs->openFileName(
        m_window, QStringLiteral("「送る」先を指定して開く"),
        m_services.folders->path(platform::SpecialFolder::SendTo), QString());
    if (entry.isEmpty())
        return;
    const QFileInfo info(entry);
    const bool isLauncher =
        info.fileName().toLower().endsWith(m_services.shortcuts->extension().toLower());
    const QString target =
        isLauncher || info.isSymLink() ? m_services.shell->shortcutTarget(entry) : entry;
    if (QFileInfo(target).isDir()) {
        copyInto(path, target);
        return;
    }
    // A launcher is started through itself, so its own arguments and working folder
    // hold; a link is the program it points to.
    const QString program = isLauncher ? entry : target;
    ShellOpenWith(m_services, program, platform::quoteArgument(QFileInfo(path).absoluteFilePath()));
}

void FileActions::copyInto(const QString &path, const QString &folder)
{
    const QString destination =
        withoutTrailingDelimiter(folder) + u'/' + QFileInfo(path).fileName();
    if (exists(destination)) {
        m_services.dialogs->message(m_window, copyExistsText(destination));
        return;
    }
    // Only a regular file is copied: reading a FIFO or device would never end.
    if (!QFileInfo(path).isFile()) {
        m_services.dialogs->message(m_window, goneText(path));
        return;
    }
    QFile source(path);
    if (source.copy(destination))
        return;
    // The name may have been taken meanwhile; the copy never replaces it.
    m_services.dialogs->message(m_window, exists(destination)
                                              ? copyExistsText(destination)
                                              : copyFailedText(source.errorString(), destination));
}

void FileActions::showProperties(const QString &path)
{
    if (!path.isEmpty())
        ShowFileProperties(m_services, m_window, path);
}

void FileActions::showInFolder(const QString &path)
{
    if (path.isEmpty())
        return;
    if (!exists(path)) {
        ShellOpen(m_services, path.left(path.lastIndexOf(u'/') + 1));
        return;
    }
    platform::ShellError error;
    if (!m_services.shell->showItem(QFileInfo(path).absoluteFilePath(), &error))
        m_services.dialogs->message(nullptr, openFailedText(error.code, error.text, path));
}

bool FileActions::moveToTrash(const QString &path)
{
    return !path.isEmpty() && DeleteToRecycleBin(m_services, m_window, path);
}

void FileActions::openTreeFolder(const QString &treeFolder, const QString &selectedPath)
{
    const QString folder = withoutTrailingDelimiter(treeFolder);
    if (folder.isEmpty())
        return;
    if (!selectedPath.isEmpty() && folderOf(selectedPath) == folder && exists(selectedPath)) {
        platform::ShellError error;
        if (m_services.shell->showItem(selectedPath, &error))
            return;
        m_services.dialogs->message(nullptr, openFailedText(error.code, error.text, selectedPath));
        return;
    }
    ShellOpen(m_services, folder);
}

void FileActions::pasteFolderPath(const std::function<bool(const QString &)> &navigate)
{
    if (!m_services.clipboard->hasText())
        return;
    const QString text = m_services.clipboard->text();
    if (text.size() > MaxPastedPath)
        return;
    QString path = trimBlanksAndControls(text);
    // A folder copied in a file manager may come as its address.
    if (path.startsWith(QStringLiteral("file://")))
        path = QUrl(path).toLocalFile();
    if (path.isEmpty() || path.contains(QChar(0)) || !QDir::isAbsolutePath(path) ||
        !QFileInfo(path).isDir())
        return;
    if (!navigate(path))
        m_services.dialogs->error(m_window, pastePathText(path));
}

} // namespace pelmaris::shell
