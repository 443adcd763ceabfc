#include "shell/shellroutines.h"

#include "platform/commandline.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

namespace pelmaris::shell {

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

QString openFailedText(int code, const QString &systemText, const QString &target)
{
    return QStringLiteral("Open Failed ") + QString::number(code) + CrLf + systemText + CrLf +
           target;
}

QString openByFailedText(int code, const QString &systemText, const QString &program,
                         const QString &parameters)
{
    return QStringLiteral("OpenBy Failed ") + QString::number(code) + CrLf + systemText + CrLf +
           program + CrLf + parameters;
}

void ShellOpen(const platform::Services &services, const QString &target)
{
    const QString unquoted = platform::dequote(target);
    platform::ShellError error;
    if (!services.shell->open(unquoted, &error))
        services.dialogs->message(nullptr, openFailedText(error.code, error.text, unquoted));
}

void ShellOpenWith(const platform::Services &services, const QString &program,
                   const QString &parameters)
{
    const QString unquoted = platform::dequote(program);
    platform::ShellError error;
    if (!services.shell->startDetached(unquoted, parameters, &error))
        services.dialogs->message(nullptr,
                                  openByFailedText(error.code, error.text, unquoted, parameters));
}

void ShowFileProperties(const platform::Services &services, QWidget *parent, const QString &path)
{
    if (!services.shell->showProperties(parent, path))
        services.dialogs->message(nullptr,
                                  QStringLiteral("プロパティを表示できませんでした") + CrLf + path);
}

void FlashTaskbarButton(const platform::Services &services, QWidget *window, int count,
                        int interval)
{
    Q_UNUSED(count);
    Q_UNUSED(interval);
    services.desktop->alert(window);
    if (window && window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
}

bool DeleteToRecycleBin(const platform::Services &services, QWidget *owner, const QString &path)
{
    const QFileInfo info(path);
    // A dangling link is still something to delete.
    if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
        return true;
    QString report;
    if (!services.dialogs->askYesNo(owner, QStringLiteral("このファイルをごみ箱に移動しますか?") +
                                               CrLf + CrLf + path)) {
        report = QStringLiteral("Operations Aborted.");
    } else {
        platform::ShellError error;
        if (services.shell->moveToTrash(path, &error))
            return true;
        // No shell window has explained the failure yet, so the report says why; a file
        // that finds no trash is kept, never deleted for good.
        const QString reason = error.code == platform::ShellError::NotSupported
                                   ? QStringLiteral("この場所にはごみ箱がないため、"
                                                    "ファイルは削除せずに残しました。")
                                   : error.text;
        report = QStringLiteral("Delete \"") + info.fileName() + QStringLiteral("\" Failed.");
        if (!reason.isEmpty())
            report += CrLf + reason;
    }
    services.dialogs->message(owner, report);
    QCoreApplication::processEvents();
    return false;
}

} // namespace pelmaris::shell
