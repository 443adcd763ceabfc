#include "shell/fileactions.h"

#include "platform/clipboard.h"
#include "platform/commandline.h"
#include "platform/filesystem.h"
#include "platform/pathlimit.h"
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

// A path the scan reached through its folders, one piece at a time, may be longer than
// any system call or other program accepts whole.
bool tooLongToHand(const QString &path)
{
    return platform::handOverLength(path) > platform::handOverLimit();
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

QString FileActions::noPaintProgramText(const QStringList &lookedFor)
{
    return QStringLiteral("ペイント プログラムがインストールされていないため、開けませんでした。") +
           CrLf + QStringLiteral("次のどれかをインストールしてください:") + CrLf +
           lookedFor.join(QStringLiteral(", "));
}

QString FileActions::noTextEditorText(const QStringList &lookedFor)
{
    return QStringLiteral("テキスト エディタがインストールされていないため、開けませんでした。") +
           CrLf + QStringLiteral("次のどれかをインストールしてください:") + CrLf +
           lookedFor.join(QStringLiteral(", "));
}

QString FileActions::tooLongText(const QString &path)
{
    const QString unit = platform::handOverUnit();
    return QStringLiteral("パスが長すぎるため、この操作はできません。(") +
           QString::number(platform::handOverLength(path)) + u' ' + unit +
           QStringLiteral("、システムの上限は ") + QString::number(platform::handOverLimit()) +
           u' ' + unit + u')' + CrLf + path;
}

platform::Outcome FileActions::tooLongCheck(const QString &path)
{
    return tooLongToHand(path) ? platform::Outcome::failure(tooLongText(path))
                               : platform::Outcome();
}

// A file removed since the list was built gets one clear report instead of a program
// that starts and complains in its own way.
platform::Outcome FileActions::goneCheck(const QString &path)
{
    if (platform::Outcome tooLong = tooLongCheck(path); !tooLong)
        return tooLong;
    if (exists(path))
        return {};
    return platform::Outcome::failure(goneText(path), platform::ShellError::NotFound);
}

platform::Outcome FileActions::openDefault(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (platform::Outcome tooLong = tooLongCheck(path); !tooLong)
        return tooLong;
    return ShellOpen(m_services, path);
}

// Every program gets the path as one argument: quoted in the parameter text, and
// always absolute, so a name beginning with '-' is never read as an option.
platform::Outcome FileActions::openInPaint(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (platform::Outcome gone = goneCheck(path); !gone)
        return gone;
    const QString program = m_services.shell->paintProgram();
    if (program.isEmpty())
        return platform::Outcome::failure(
            noPaintProgramText(m_services.shell->paintProgramNames()));
    return ShellOpenWith(m_services, program,
                         platform::quoteArgument(QFileInfo(path).absoluteFilePath()));
}

platform::Outcome FileActions::openInTextEditor(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (platform::Outcome gone = goneCheck(path); !gone)
        return gone;
    const QString program = m_services.shell->textEditorProgram();
    if (program.isEmpty())
        return platform::Outcome::failure(noTextEditorText(m_services.shell->textEditorNames()));
    return ShellOpenWith(m_services, program,
                         platform::quoteArgument(QFileInfo(path).absoluteFilePath()));
}

platform::Outcome FileActions::openWith(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (platform::Outcome gone = goneCheck(path); !gone)
        return gone;
    platform::ShellError error;
    if (m_services.shell->openWith(m_window, QFileInfo(path).absoluteFilePath(), &error) ==
        platform::OpenWithResult::Failed)
        return platform::Outcome::failure(openWithFailedText(path), error.code);
    return {};
}

platform::Outcome FileActions::sendToSibling(const QString &siblingProgram, const QString &path)
{
    if (siblingProgram.isEmpty() || path.isEmpty())
        return {};
    if (platform::Outcome gone = goneCheck(path); !gone)
        return gone;
    // One argument however many blanks the path holds.
    platform::Outcome started = ShellOpenWith(
        m_services, siblingProgram, platform::quoteArgument(QFileInfo(path).absoluteFilePath()));
    m_services.clipboard->setText(path);
    return started;
}

platform::Outcome FileActions::checkSendTo(const QString &path)
{
    // A path too long to hand over can still be copied into a folder entry.
    if (path.isEmpty() || tooLongToHand(path))
        return {};
    return goneCheck(path);
}

platform::FileChoice FileActions::sendToChoice() const
{
    return {QStringLiteral("「送る」先を指定して開く"),
            m_services.folders->path(platform::SpecialFolder::SendTo), QString()};
}

platform::Outcome FileActions::sendTo(const QString &path, const QString &entry)
{
    if (path.isEmpty() || entry.isEmpty())
        return {};
    const QFileInfo info(entry);
    const bool isLauncher =
        info.fileName().toLower().endsWith(m_services.shortcuts->extension().toLower());
    const QString target =
        isLauncher || info.isSymLink() ? m_services.shell->shortcutTarget(entry) : entry;
    if (QFileInfo(target).isDir())
        return copyInto(path, target);
    // A launcher is started through itself, so its own arguments and working folder
    // hold; a link is the program it points to.
    const QString program = isLauncher ? entry : target;
    if (platform::Outcome tooLong = tooLongCheck(path); !tooLong)
        return tooLong;
    return ShellOpenWith(m_services, program,
                         platform::quoteArgument(QFileInfo(path).absoluteFilePath()));
}

platform::Outcome FileActions::copyInto(const QString &path, const QString &folder)
{
    const QString destination =
        withoutTrailingDelimiter(folder) + u'/' + QFileInfo(path).fileName();
    if (exists(destination))
        return platform::Outcome::failure(copyExistsText(destination), EEXIST);
    // Only a regular file is copied: reading a FIFO or device would never end. The file
    // system opens paths of any length.
    const platform::OpenedFile source = m_services.fileSystem->openRegularFile(path);
    if (source.status != platform::ReadStatus::Ok)
        return platform::Outcome::failure(source.status == platform::ReadStatus::Failed
                                              ? copyFailedText(source.error, destination)
                                              : goneText(path));
    QFile target(destination);
    // The name may have been taken meanwhile; the copy never replaces it.
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return platform::Outcome::failure(exists(destination)
                                              ? copyExistsText(destination)
                                              : copyFailedText(target.errorString(), destination));
    QString failure;
    while (failure.isEmpty()) {
        const QByteArray chunk = source.file->read(1 << 20);
        if (chunk.isEmpty()) {
            if (!source.file->atEnd())
                failure = source.file->errorString();
            break;
        }
        if (target.write(chunk) != chunk.size())
            failure = target.errorString();
    }
    if (failure.isEmpty() && !target.flush())
        failure = target.errorString();
    target.close();
    if (failure.isEmpty() && target.error() != QFileDevice::NoError)
        failure = target.errorString();
    if (failure.isEmpty())
        return {};
    // No half copy stays under the file's name.
    target.remove();
    return platform::Outcome::failure(copyFailedText(failure, destination));
}

platform::Outcome FileActions::showProperties(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (platform::Outcome tooLong = tooLongCheck(path); !tooLong)
        return tooLong;
    return ShowFileProperties(m_services, m_window, path);
}

platform::Outcome FileActions::showInFolder(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (platform::Outcome tooLong = tooLongCheck(path); !tooLong)
        return tooLong;
    if (!exists(path))
        return ShellOpen(m_services, path.left(path.lastIndexOf(u'/') + 1));
    platform::ShellError error;
    if (!m_services.shell->showItem(QFileInfo(path).absoluteFilePath(), &error))
        return platform::Outcome::desktopFailure(openFailedText(error.code, error.text, path),
                                                 error.code);
    return {};
}

platform::Result<QString> FileActions::trashQuestion(const QString &path)
{
    // Such a file would look gone to the trash, and its row would go while it stays.
    if (platform::Outcome tooLong = tooLongCheck(path); !tooLong)
        return tooLong;
    return recycleQuestion(path);
}

platform::Outcome FileActions::moveToTrash(const QString &path)
{
    if (platform::Outcome tooLong = tooLongCheck(path); !tooLong)
        return tooLong;
    return DeleteToRecycleBin(m_services, path);
}

platform::Outcome FileActions::openTreeFolder(const QString &treeFolder,
                                              const QString &selectedPath)
{
    const QString folder = withoutTrailingDelimiter(treeFolder);
    if (folder.isEmpty())
        return {};
    if (!selectedPath.isEmpty() && folderOf(selectedPath) == folder && exists(selectedPath)) {
        platform::ShellError error;
        if (m_services.shell->showItem(selectedPath, &error))
            return {};
        return platform::Outcome::desktopFailure(
            openFailedText(error.code, error.text, selectedPath), error.code);
    }
    return ShellOpen(m_services, folder);
}

platform::Outcome FileActions::pasteFolderPath(const std::function<bool(const QString &)> &navigate)
{
    if (!m_services.clipboard->hasText())
        return {};
    const QString text = m_services.clipboard->text();
    if (text.size() > MaxPastedPath)
        return {};
    QString path = trimBlanksAndControls(text);
    // A folder copied in a file manager may come as its address.
    if (path.startsWith(QStringLiteral("file://")))
        path = QUrl(path).toLocalFile();
    if (path.isEmpty() || path.contains(QChar(0)) || !QDir::isAbsolutePath(path) ||
        !QFileInfo(path).isDir())
        return {};
    if (!navigate(path))
        return platform::Outcome::failure(pastePathText(path));
    return {};
}

} // namespace pelmaris::shell
