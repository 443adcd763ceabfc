#include "shell/shortcutregistration.h"

#include "platform/programinfo.h"
#include "platform/shell.h"
#include "platform/systeminfo.h"
#include "shell/shellroutines.h"

#include <QFileInfo>

namespace pelmaris::shell {

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Folder = QStringLiteral("フォルダ ");

// The system's numbers stand where the shell's result codes would: 0 is success.
platform::Outcome stepFailed(const QString &step, int code, const QString &systemText)
{
    return platform::Outcome::failure(step + QString::number(code) + CrLf + systemText, code);
}

bool exists(const QString &path)
{
    return QFileInfo::exists(path);
}

} // namespace

platform::Outcome ConfigureShortcut(platform::ShortcutLink &link, const QString &target,
                                    const QString &arguments, const QString &workingFolder,
                                    const QString &description)
{
    if (const int code = link.setPath(target))
        return stepFailed(QStringLiteral("SetPath Failed HRESULT="), code, link.errorText());
    if (!arguments.isEmpty())
        if (const int code = link.setArguments(arguments))
            return stepFailed(QStringLiteral("SetArguments Failed HRESULT="), code,
                              link.errorText());
    if (const int code = link.setWorkingDirectory(workingFolder))
        return stepFailed(QStringLiteral("SetWorkingDirectory Failed HRESULT="), code,
                          link.errorText());
    if (const int code = link.setDescription(description))
        return stepFailed(QStringLiteral("SetDescription HRESULT="), code, link.errorText());
    return {};
}

QString ShortcutPlan::updateQuestion() const
{
    return Folder + label + QStringLiteral(" に") + CrLf + name + CrLf +
           QStringLiteral("は既に存在します。更新しますか？") + CrLf + CrLf +
           QStringLiteral("[はい]: 更新, [いいえ]: 削除, [ｷｬﾝｾﾙ]: 取消し");
}

QString ShortcutPlan::writtenText() const
{
    return exists ? Folder + label + QStringLiteral(" の") + CrLf + name + CrLf +
                        QStringLiteral("を更新しました。")
                  : Folder + label + QStringLiteral(" に") + CrLf + name + CrLf +
                        QStringLiteral("を新規作成しました。");
}

QString ShortcutPlan::removedText(bool removed) const
{
    return Folder + label + QStringLiteral(" から ") + CrLf + name + CrLf +
           (removed ? QStringLiteral("を削除しました。")
                    : QStringLiteral("を削除できませんでした。"));
}

QString ShortcutPlan::openQuestion() const
{
    return Folder + label + QStringLiteral(" を開きますか？");
}

ShortcutRegistration::ShortcutRegistration(const platform::Services &services)
    : m_services(services), m_clock([] { return QDateTime::currentDateTime(); })
{
}

std::optional<ShortcutPlan> ShortcutRegistration::plan(ShortcutPlace place) const
{
    const QString program = m_services.system->executablePath();
    switch (place) {
    case ShortcutPlace::SendTo:
        return plan(platform::SpecialFolder::SendTo, QStringLiteral("「送る」"), program);
    case ShortcutPlace::Desktop:
        return plan(platform::SpecialFolder::Desktop, QStringLiteral("デスクトップ"), program);
    case ShortcutPlace::StartMenu:
        return plan(platform::SpecialFolder::Programs,
                    QStringLiteral("スタートメニューのプログラム"), program);
    case ShortcutPlace::Startup:
        return plan(platform::SpecialFolder::Startup, QStringLiteral("スタートアップ"), program);
    }
    return std::nullopt;
}

std::optional<ShortcutPlan> ShortcutRegistration::planFor(const QString &path) const
{
    if (path.isEmpty())
        return std::nullopt;
    return plan(platform::SpecialFolder::Desktop, QStringLiteral("デスクトップ"), path);
}

std::optional<ShortcutPlan> ShortcutRegistration::plan(platform::SpecialFolder folder,
                                                       const QString &label,
                                                       const QString &target) const
{
    const QString folderPath = m_services.folders->pathToCreateIn(folder);
    if (folderPath.isEmpty() || target.isEmpty())
        return std::nullopt;
    ShortcutPlan plan;
    plan.label = label;
    plan.folderPath = folderPath;
    plan.name = shortcutFileName(target);
    plan.file = folderPath + u'/' + plan.name;
    plan.target = target;
    plan.exists = exists(plan.file);
    plan.kind = platform::ShortcutKind::Document;
    if (target == m_services.system->executablePath())
        plan.kind = folder == platform::SpecialFolder::SendTo
                        ? platform::ShortcutKind::FileManagerScript
                        : platform::ShortcutKind::Program;
    return plan;
}

platform::Result<std::unique_ptr<platform::ShortcutLink>>
ShortcutRegistration::fill(const ShortcutPlan &plan) const
{
    std::unique_ptr<platform::ShortcutLink> link = m_services.shortcuts->create(plan.kind);
    platform::Outcome filled = ConfigureShortcut(
        *link, plan.target, QString(), m_services.system->tempPath() + u'/', description());
    if (!filled)
        return filled;
    return link;
}

platform::Outcome ShortcutRegistration::save(platform::ShortcutLink &link,
                                             const ShortcutPlan &plan) const
{
    const int code = link.save(plan.file);
    if (code == 0)
        return {};
    const QString head = plan.exists
                             ? Folder + plan.label + QStringLiteral(" の") + CrLf + plan.name +
                                   CrLf + QStringLiteral("を更新できませんでした。HRESULT=")
                             : Folder + plan.label + QStringLiteral(" に") + CrLf + plan.name +
                                   CrLf + QStringLiteral("を新規作成できませんでした。HRESULT=");
    return platform::Outcome::failure(head + QString::number(code) + CrLf + link.errorText(), code);
}

platform::Outcome ShortcutRegistration::showFolder(const ShortcutPlan &plan) const
{
    if (!exists(plan.file))
        return ShellOpen(m_services, plan.folderPath);
    platform::ShellError error;
    if (m_services.shell->showItem(plan.file, &error))
        return {};
    return platform::Outcome::desktopFailure(openFailedText(error.code, error.text, plan.file),
                                             error.code);
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

} // namespace pelmaris::shell
