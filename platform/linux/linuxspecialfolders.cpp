#include "platform/linux/linuxspecialfolders.h"

#include <QDir>
#include <QStandardPaths>

namespace pelmaris::platform {

namespace {

QString configHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString dataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

} // namespace

QString LinuxSpecialFolders::path(SpecialFolder id) const
{
    switch (id) {
    case SpecialFolder::Desktop: {
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        // A desktop folder that was never made falls back to home, like the file manager.
        return QDir(desktop).exists() ? desktop : QDir::homePath();
    }
    case SpecialFolder::Programs:
        return dataHome() + QStringLiteral("/applications");
    case SpecialFolder::Startup:
        return configHome() + QStringLiteral("/autostart");
    case SpecialFolder::SendTo: {
        const QString scripts = dataHome() + QStringLiteral("/nautilus/scripts");
        QDir().mkpath(scripts);
        return scripts;
    }
    case SpecialFolder::AppData:
        return configHome();
    case SpecialFolder::Documents: {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QDir(documents).exists() ? documents : QDir::homePath();
    }
    case SpecialFolder::ProgramFiles: {
        // The installed programs' desktop entries, which the program starts as programs.
        for (const QString &data :
             QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
            const QString applications = data + QStringLiteral("/applications");
            if (data != dataHome() && QDir(applications).exists())
                return applications;
        }
        return QStringLiteral("/usr/bin");
    }
    }
    return {};
}

// A shortcut for the desktop never lands in the home folder path() falls back to: the
// desktop folder is made, as file managers do.
QString LinuxSpecialFolders::pathToCreateIn(SpecialFolder id) const
{
    if (id == SpecialFolder::Desktop)
        return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return path(id);
}

} // namespace pelmaris::platform
