#pragma once

#include "platform/shell.h"

namespace pelmaris::platform {

// The Windows shell: ShellExecuteExW, the shell's dialogs, the recycle bin and the
// associations in the registry.
class WindowsShell final : public Shell {
public:
    bool open(const QString &target, ShellError *error) override;
    bool startDetached(const QString &program, const QString &parameters,
                       ShellError *error) override;
    bool showProperties(QWidget *parent, const QString &path) override;
    bool moveToTrash(const QString &path, ShellError *error) override;
    QString defaultHtmlProgram(ShellError *error) override;
    QString findProgram(const QStringList &names, const QStringList &desktopIds) override;
    QString browserProgram(const QString &client, const QStringList &names,
                           const QStringList &desktopIds) override;
    QIcon programIcon(const QString &program) override;
    QIcon fileTypeIcon(const QString &path) override;
    QIcon driveIcon(const QString &path) override;
    QString shortcutTarget(const QString &path) override;
    QString paintProgram() override;
    QString textEditorProgram() override;
    QStringList paintProgramNames() const override;
    QStringList textEditorNames() const override;
    OpenWithResult openWith(QWidget *parent, const QString &path, ShellError *error) override;
    bool showItem(const QString &path, ShellError *error) override;
};

// The program of a registered browser: the default value of
// SOFTWARE\Clients\StartMenuInternet\<client>\shell\open\command under `root` (the
// current user's hive first, then the machine's), without its quotes; empty when the key
// is missing. `root` is a registry path below HKEY_CURRENT_USER for tests, empty for the
// real places.
QString registeredBrowser(const QString &client, const QString &testRoot = {});

// The program of a command line: its first element, quoted or not.
QString programOfCommand(const QString &command);

} // namespace pelmaris::platform
