#include "shell/shellroutines.h"

#include "platform/commandline.h"
#include "platform/desktop.h"
#include "platform/shell.h"

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

platform::Outcome ShellOpen(const platform::Services &services, const QString &target)
{
    const QString unquoted = platform::dequote(target);
    platform::ShellError error;
    if (services.shell->open(unquoted, &error))
        return {};
    return platform::Outcome::desktopFailure(openFailedText(error.code, error.text, unquoted),
                                             error.code);
}

platform::Outcome ShellOpenWith(const platform::Services &services, const QString &program,
                                const QString &parameters)
{
    const QString unquoted = platform::dequote(program);
    platform::ShellError error;
    if (services.shell->startDetached(unquoted, parameters, &error))
        return {};
    return platform::Outcome::desktopFailure(
        openByFailedText(error.code, error.text, unquoted, parameters), error.code);
}

platform::Outcome earlyExitOutcome(const platform::EarlyExit &exit)
{
    return platform::Outcome::desktopFailure(
        openByFailedText(exit.exitCode, exit.text, exit.program, exit.parameters), exit.exitCode);
}

platform::Outcome ShowFileProperties(const platform::Services &services, QWidget *parent,
                                     const QString &path)
{
    if (services.shell->showProperties(parent, path))
        return {};
    return platform::Outcome::desktopFailure(QStringLiteral("プロパティを表示できませんでした") +
                                             CrLf + path);
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

QString recycleQuestion(const QString &path)
{
    const QFileInfo info(path);
    // A dangling link is still something to delete.
    if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
        return {};
    return QStringLiteral("このファイルをごみ箱に移動しますか?") + CrLf + CrLf + path;
}

QString abortedText()
{
    return QStringLiteral("Operations Aborted.");
}

platform::Outcome DeleteToRecycleBin(const platform::Services &services, const QString &path)
{
    platform::ShellError error;
    if (services.shell->moveToTrash(path, &error))
        return {};
    // No shell window has explained the failure yet, so the report says why; a file that
    // finds no trash is kept, never deleted for good.
    const QString reason = error.code == platform::ShellError::NotSupported
                               ? QStringLiteral("この場所にはごみ箱がないため、"
                                                "ファイルは削除せずに残しました。")
                               : error.text;
    QString report =
        QStringLiteral("Delete \"") + QFileInfo(path).fileName() + QStringLiteral("\" Failed.");
    if (!reason.isEmpty())
        report += CrLf + reason;
    return platform::Outcome::failure(report, error.code);
}

} // namespace pelmaris::shell
