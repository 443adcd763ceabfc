#include "gallery/browserchoice.h"

#include "gallery/htmlpage.h"

#include "platform/commandline.h"
#include "platform/desktopentry.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/specialfolders.h"
#include "platform/tempfiles.h"
#include "shell/shellroutines.h"

#include <QFileInfo>
#include <QLocale>

namespace pelmaris::gallery {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The file name of the program a browser setting names: the program a desktop entry
// runs, else the path's last element.
QString programFileName(const QString &programPath)
{
    QString path = platform::dequote(programPath);
    if (platform::desktopentry::isEntryFile(path)) {
        const QString program = platform::desktopentry::displayProgramOf(path);
        if (!program.isEmpty())
            path = program;
    }
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// A chosen program: its path, the buttons' image and the status panel.
BrowserShown shownProgram(const QString &program, int image, const QIcon &icon)
{
    BrowserShown shown;
    shown.browserName1 = program;
    shown.buttonImage = image;
    shown.slot2Icon = icon;
    shown.statusText = program;
    return shown;
}

} // namespace

QString clientName(KnownBrowser browser)
{
    return browser == KnownBrowser::Edge ? QStringLiteral("Microsoft Edge")
                                         : QStringLiteral("Google Chrome");
}

platform::Result<QString> GetDefaultBrowser(const platform::Services &services)
{
    platform::ShellError error;
    const QString program = services.shell->defaultHtmlProgram(&error);
    if (program.isEmpty())
        return platform::Outcome::failure(QStringLiteral("FindExecutable Failed. Result=") +
                                              QString::number(error.code),
                                          error.code);
    return trimBlanksAndControls(program);
}

platform::Result<QString> GetBrowserExePath(const platform::Services &services,
                                            const QString &client)
{
    QStringList names;
    QStringList desktopIds;
    if (client == clientName(KnownBrowser::Edge)) {
        names = {QStringLiteral("microsoft-edge-stable"), QStringLiteral("microsoft-edge")};
        desktopIds = {QStringLiteral("microsoft-edge.desktop"),
                      QStringLiteral("com.microsoft.Edge.desktop")};
    } else if (client == clientName(KnownBrowser::Chrome)) {
        names = {QStringLiteral("google-chrome-stable"), QStringLiteral("google-chrome")};
        desktopIds = {QStringLiteral("google-chrome.desktop"),
                      QStringLiteral("com.google.Chrome.desktop")};
    } else {
        const QString name = client.toLower().replace(u' ', u'-');
        names = {name};
        desktopIds = {name + QStringLiteral(".desktop")};
    }
    const QString program = services.shell->browserProgram(client, names, desktopIds);
    if (program.isEmpty())
        return platform::Outcome::failure(QStringLiteral("ブラウザを見付けられませんでした") +
                                          CrLf + CrLf + client);
    return program;
}

BrowserShown chooseDefaultBrowser(const platform::Services &services)
{
    const platform::Result<QString> found = GetDefaultBrowser(services);
    const QString program = found ? *found : QString();
    BrowserShown shown = shownProgram(program, ProgramImage, programIcon(services, program));
    shown.outcome = found.outcome();
    return shown;
}

BrowserShown chooseKnownBrowser(const platform::Services &services, KnownBrowser browser)
{
    const platform::Result<QString> found = GetBrowserExePath(services, clientName(browser));
    BrowserShown shown = shownProgram(found ? *found : QString(),
                                      browser == KnownBrowser::Edge ? EdgeImage : ChromeImage, {});
    shown.outcome = found.outcome();
    return shown;
}

BrowserShown chooseOtherBrowser(const platform::Services &services, const QString &browserName2)
{
    if (browserName2.isEmpty()) {
        // Nothing chosen: the previous browser's icon, path and name must not stay.
        BrowserShown none;
        none.browserName1 = QString();
        none.buttonImage = NoImage;
        none.statusText = QString();
        return none;
    }
    return shownProgram(browserName2, ProgramImage, programIcon(services, browserName2));
}

platform::FileChoice otherBrowserChoice(const platform::Services &services,
                                        const QString &browserName2)
{
    const QString start = browserName2.isEmpty()
                              ? services.folders->path(platform::SpecialFolder::ProgramFiles)
                              : platform::dequote(browserName2);
    return {QStringLiteral("ブラウザを選択"), start, QStringLiteral("実行プログラム (*)")};
}

BrowserShown pickedOtherBrowser(const platform::Services &services, const QString &file)
{
    BrowserShown shown;
    shown.browserName1 = file;
    shown.slot2Icon = programIcon(services, file);
    if (!shown.slot2Icon.isNull()) {
        shown.buttonImage = ProgramImage;
        shown.statusText = platform::dequote(file);
    }
    return shown;
}

platform::Outcome changeDefaultBrowser(const platform::Services &services)
{
    return shell::ShellOpen(services, QStringLiteral("ms-settings:defaultapps"));
}

platform::Outcome openInBrowser(const platform::Services &services, const QString &browserName1,
                                const QString &imagePath, const QString &pageFile)
{
    if (!pageFile.isEmpty() && !QFileInfo::exists(pageFile))
        platform::createFileExclusively(pageFile);
    QString program = browserName1;
    if (program.isEmpty()) {
        platform::ShellError ignored;
        program = services.shell->defaultHtmlProgram(&ignored);
    }
    return shell::ShellOpenWith(services, program, platform::quoteArgument(imagePath));
}

QString browserShortName(const QString &programPath)
{
    QString name = QFileInfo(programFileName(programPath)).completeBaseName();
    name = QLocale().toLower(name);
    if (!name.isEmpty() && name.at(0) >= u'a' && name.at(0) <= u'z')
        name[0] = name.at(0).toUpper();
    return name;
}

QString browserLabel(const QString &programPath)
{
    return u'(' + browserShortName(programPath) + u')';
}

QString defaultBrowserLabel(const platform::Result<QString> &defaultBrowser)
{
    return browserLabel(defaultBrowser ? *defaultBrowser : QString());
}

QString otherBrowserLabel(bool elseChecked, const QString &browserName1,
                          const QString &browserName2)
{
    if (elseChecked)
        return browserLabel(browserName1);
    if (!browserName2.isEmpty())
        return browserLabel(browserName2);
    return {};
}

bool isLauncherWrapper(const QString &programPath)
{
    const QString path = platform::dequote(programPath);
    static const QStringList wrappers = {QStringLiteral("env"), QStringLiteral("flatpak"),
                                         QStringLiteral("snap")};
    return wrappers.contains(path.mid(path.lastIndexOf(u'/') + 1));
}

int browserButtonImage(const QString &browserName1)
{
    const QString name = programFileName(browserName1).toLower();
    static const QStringList edge = {QStringLiteral("msedge.exe"), QStringLiteral("msedge"),
                                     QStringLiteral("edge"), QStringLiteral("microsoft-edge"),
                                     QStringLiteral("microsoft-edge-stable")};
    static const QStringList chrome = {QStringLiteral("chrome.exe"), QStringLiteral("chrome"),
                                       QStringLiteral("google-chrome"),
                                       QStringLiteral("google-chrome-stable")};
    if (edge.contains(name))
        return EdgeImage;
    if (chrome.contains(name))
        return ChromeImage;
    return ProgramImage;
}

QIcon programIcon(const platform::Services &services, const QString &programPath)
{
    const QString path = platform::dequote(programPath);
    return path.isEmpty() ? QIcon() : services.shell->programIcon(path);
}

QIcon fileTypeIcon(const platform::Services &services, const QString &filePath)
{
    return services.shell->fileTypeIcon(filePath);
}

} // namespace pelmaris::gallery
