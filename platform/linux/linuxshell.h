#pragma once

#include "platform/linux/programstarter.h"
#include "platform/shell.h"

namespace pelmaris::platform {

// The freedesktop shell: default applications through the desktop's URL handlers and
// mimeapps.list, launchers started through their desktop entries, the file manager
// through org.freedesktop.FileManager1 (with dialogs of our own where no file manager
// offers them), the freedesktop trash.
class LinuxShell final : public Shell {
public:
    bool open(const QString &target, ShellError *error) override;
    bool startDetached(const QString &program, const QString &parameters,
                       ShellError *error) override;
    void setEarlyExitHandler(std::function<void(const EarlyExit &)> handler) override;
    bool showProperties(QWidget *parent, const QString &path) override;
    bool moveToTrash(const QString &path, ShellError *error) override;
    QString defaultHtmlProgram(ShellError *error) override;
    QString findProgram(const QStringList &names, const QStringList &desktopIds) override;
    QIcon programIcon(const QString &program) override;
    QString shortcutTarget(const QString &path) override;
    QIcon fileTypeIcon(const QString &path) override;
    QIcon driveIcon(const QString &path) override;
    QString paintProgram() override;
    QString textEditorProgram() override;
    QStringList paintProgramNames() const override;
    QStringList textEditorNames() const override;
    OpenWithResult openWith(QWidget *parent, const QString &path, ShellError *error) override;
    bool showItem(const QString &path, ShellError *error) override;

    // Theme icon name for a mount: remote file systems, removable media, else a disk.
    static QString driveIconName(const QByteArray &fileSystemType, const QString &rootPath,
                                 bool removable);

private:
    ProgramStarter m_starter;
};

} // namespace pelmaris::platform
