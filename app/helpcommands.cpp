#include "app/helpcommands.h"

#include "app/aboutbox.h"
#include "app/currentoptions.h"
#include "app/prompts.h"

#include "platform/dialogs.h"
#include "platform/programinfo.h"
#include "platform/systeminfo.h"
#include "shell/shellroutines.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QRadioButton>

namespace pelmaris::app {

QString helpFileName(const QString &executablePath)
{
    return QFileInfo(executablePath).completeBaseName() + QStringLiteral(".html");
}

QString findHelpFile(const QString &executablePath)
{
    const QString name = helpFileName(executablePath);
    const QString exeFolder = QFileInfo(executablePath).absolutePath();
    // Only a file counts; a folder of that name is passed over.
    const auto pageIn = [&name](const QString &folder) {
        const QString candidate = QDir(folder).filePath(name);
        return QFileInfo(candidate).isFile() ? candidate : QString();
    };
    // Beside the program first (a build folder, a copied folder), then where an installed
    // program keeps its data, then each folder above the program.
    if (QString page = pageIn(exeFolder); !page.isEmpty())
        return page;
    const QString dataFolder = QDir::cleanPath(exeFolder + QStringLiteral("/../share/pelmaris"));
    if (QString page = pageIn(dataFolder); !page.isEmpty())
        return page;
    QString folder = exeFolder;
    for (;;) {
        const QString above = QFileInfo(folder).path();
        if (above == folder)
            return QString();
        folder = above;
        if (QString page = pageIn(folder); !page.isEmpty())
            return page;
    }
}

QString helpNotFoundText(const QString &helpName)
{
    return QStringLiteral("HelpFile Not Found.\r\n\r\n") + helpName;
}

void openHelpFile(const platform::Services &services)
{
    const QString exe = services.system->executablePath();
    const QString help = findHelpFile(exe);
    if (help.isEmpty()) {
        services.dialogs->messageCentered(helpNotFoundText(helpFileName(exe)));
        return;
    }
    // Quoted as the shell routine expects a path that may hold blanks or quotes.
    QString quoted = help;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    tell(*services.dialogs, nullptr, shell::ShellOpen(services, u'"' + quoted + u'"'));
}

void showProgramProperties(const platform::Services &services, QWidget *parent)
{
    tell(*services.dialogs, parent,
         shell::ShowFileProperties(services, parent, services.system->executablePath()));
}

void openDonationPage(const platform::Services &services)
{
    tell(*services.dialogs, nullptr, shell::ShellOpen(services, program::MakerDonationPage));
}

void openHomePage(const platform::Services &services)
{
    tell(*services.dialogs, nullptr, shell::ShellOpen(services, program::MakerHomePage));
}

} // namespace pelmaris::app

namespace pelmaris::app {

HelpCommands::HelpCommands(const platform::Services &services, QWidget *window,
                           const CurrentOptions &options, scan::RandomEngine &random,
                           QObject *parent)
    : QObject(parent), m_services(services), m_window(window), m_options(options), m_random(random)
{
}

void HelpCommands::btnHelpClick()
{
    openHelpFile(m_services);
}

void HelpCommands::bnAboutClick()
{
    showAboutBox(m_services, m_window, m_options.values().browserLight, m_random);
}

void HelpCommands::btnPropertiesClick()
{
    showProgramProperties(m_services, m_window);
}

void HelpCommands::btnDonationClick()
{
    openDonationPage(m_services);
}

void HelpCommands::btnHomeSiteClick()
{
    openHomePage(m_services);
}

} // namespace pelmaris::app
