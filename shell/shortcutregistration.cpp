#include "shell/shortcutregistration.h"

#include "platform/dialogs.h"
#include "platform/programinfo.h"
#include "platform/shell.h"
#include "platform/shortcuts.h"
#include "platform/systeminfo.h"
#include "shell/shellroutines.h"

#include <QFileInfo>

#include <optional>

namespace pelmaris::shell {

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Folder = QStringLiteral("フォルダ ");

// The system's numbers stand where the shell's result codes would: 0 is success.
QString failureText(const QString &step, int code, const QString &systemText)
{
    return step + QString::number(code) + CrLf + systemText;
}

bool exists(const QString &path)
{
    return QFileInfo::exists(path);
}

} // namespace

QString ConfigureShortcut(platform::ShortcutLink &link, const QString &target,
                          const QString &arguments, const QString &workingFolder,
                          const QString &description)
{
    if (const int code = link.setPath(target))
        return failureText(QStringLiteral("SetPath Failed HRESULT="), code, link.errorText());
    if (!arguments.isEmpty())
        if (const int code = link.setArguments(arguments))
            return failureText(QStringLiteral("SetArguments Failed HRESULT="), code,
                               link.errorText());
    if (const int code = link.setWorkingDirectory(workingFolder))
        return failureText(QStringLiteral("SetWorkingDirectory Failed HRESULT="), code,
                           link.errorText());
    if (const int code = link.setDescription(description))
        return failureText(QStringLiteral("SetDescription HRESULT="), code, link.errorText());
    return {};
}

ShortcutRegistration::ShortcutRegistration(const platform::Services &services, QWidget *window)
    : m_services(services), m_window(window), m_clock([] { return QDateTime::currentDateTime(); })
{
}

void ShortcutRegistration::toggleSendTo()
{
    ToggleShortcut(platform::SpecialFolder::SendTo, QStringLiteral("「送る」"),
                   m_services.system->executablePath());
}

void ShortcutRegistration::toggleDesktop()
{
    ToggleShortcut(platform::SpecialFolder::Desktop, QStringLiteral("デスクトップ"),
                   m_services.system->executablePath());
}

void ShortcutRegistration::toggleStartMenu()
{
    ToggleShortcut(platform::SpecialFolder::Programs,
                   QStringLiteral("スタートメニューのプログラム"),
                   m_services.system->executablePath());
}

void ShortcutRegistration::toggleStartup()
{
    ToggleShortcut(platform::SpecialFolder::Startup, QStringLiteral("スタートアップ"),
                   m_services.system->executablePath());
}

void ShortcutRegistration::toggleDesktopShortcutTo(const QString &path)
{
    if (!path.isEmpty())
        ToggleShortcut(platform::SpecialFolder::Desktop, QStringLiteral("デスクトップ"), path);
}

QString ShortcutRegistration::shortcutFileName(const QString &target) const
{
    const QString base = target == m_services.system->executablePath()
                             ? program::Title
                             : QFileInfo(target).fileName();
    return base + m_services.shortcuts->extension();
}

QString ShortcutRegistration::description() const
{
    return m_clock().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) +
           QStringLiteral(" Created by ") +
           QFileInfo(m_services.system->executablePath()).completeBaseName() + u' ' +
           program::VersionLabel;
}

void ShortcutRegistration::ToggleShortcut(platform::SpecialFolder folder, const QString &label,
                                          const QString &target)
{
    const QString folderPath = m_services.folders->pathToCreateIn(folder);
    if (folderPath.isEmpty() || target.isEmpty())
        return;
    const QString name = shortcutFileName(target);
    const QString file = folderPath + u'/' + name;

    const bool isProgram = target == m_services.system->executablePath();
    platform::ShortcutKind kind = platform::ShortcutKind::Document;
    if (isProgram)
        kind = folder == platform::SpecialFolder::SendTo ? platform::ShortcutKind::FileManagerScript
                                                         : platform::ShortcutKind::Program;
    // Written fresh each time, so an update also moves a shortcut left behind by a
    // program that was moved.
    const auto write = [&](const QString &done, const QString &failed) -> std::optional<QString> {
        const auto link = m_services.shortcuts->create(kind);
        const QString error = ConfigureShortcut(
            *link, target, QString(), m_services.system->tempPath() + u'/', description());
        if (!error.isEmpty()) {
            m_services.dialogs->error(m_window, error);
            return std::nullopt;
        }
        const int code = link->save(file);
        return code == 0 ? done : failed + QString::number(code) + CrLf + link->errorText();
    };

    std::optional<QString> outcome;
    if (exists(file)) {
        const QString question = Folder + label + QStringLiteral(" に") + CrLf + name + CrLf +
                                 QStringLiteral("は既に存在します。更新しますか？") + CrLf + CrLf +
                                 QStringLiteral("[はい]: 更新, [いいえ]: 削除, [ｷｬﾝｾﾙ]: 取消し");
        const QString head = Folder + label + QStringLiteral(" の") + CrLf + name + CrLf;
        const QString fromHead = Folder + label + QStringLiteral(" から ") + CrLf + name + CrLf;
        switch (m_services.dialogs->askYesNoCancel(m_window, question)) {
        case platform::Answer::Yes:
            outcome = write(head + QStringLiteral("を更新しました。"),
                            head + QStringLiteral("を更新できませんでした。HRESULT="));
            if (!outcome)
                return;
            break;
        case platform::Answer::No:
            outcome = DeleteToRecycleBin(m_services, m_window, file)
                          ? fromHead + QStringLiteral("を削除しました。")
                          : fromHead + QStringLiteral("を削除できませんでした。");
            break;
        case platform::Answer::Cancel:
            return;
        }
    } else {
        const QString head = Folder + label + QStringLiteral(" に") + CrLf + name + CrLf;
        outcome = write(head + QStringLiteral("を新規作成しました。"),
                        head + QStringLiteral("を新規作成できませんでした。HRESULT="));
        if (!outcome)
            return;
    }
    m_services.dialogs->message(m_window, *outcome);

    if (!m_services.dialogs->askYesNo(m_window, Folder + label + QStringLiteral(" を開きますか？")))
        return;
    if (exists(file)) {
        platform::ShellError error;
        if (!m_services.shell->showItem(file, &error))
            m_services.dialogs->message(nullptr, openFailedText(error.code, error.text, file));
    } else {
        ShellOpen(m_services, folderPath);
    }
}

} // namespace pelmaris::shell
