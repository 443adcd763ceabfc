#pragma once

// The browser that shows the gallery page: the desktop's program for web pages, a known
// browser, or a program the user picks. Each choice comes back as what to show of it
// (BrowserShown); the caller keeps the chosen program and asks for a program where the
// user is to pick one (otherBrowserChoice).
//
// A browser found through a desktop entry is remembered as the entry file and started
// through it; its short name and button image follow the program the entry runs.

#include "platform/filequestions.h"
#include "platform/outcome.h"

#include <QIcon>
#include <QString>

#include <optional>

namespace pelmaris::platform {
struct Services;
}

namespace pelmaris::gallery {

enum class KnownBrowser { Edge, Chrome };

// Images of the page buttons (ImageListBtnBrowse); KeepImage leaves them as they are.
enum ButtonImage { KeepImage = -2, NoImage = -1, EdgeImage = 0, ChromeImage = 1, ProgramImage = 2 };

// What a choice of browser changes.
struct BrowserShown {
    std::optional<QString> browserName1; // the program chosen, when the choice sets one
    int buttonImage = NoImage;
    QIcon slot2Icon;                   // the program's icon, when it has one
    std::optional<QString> statusText; // the program's path to show, when it changes
    bool checkElse = false; // the choice is "任意のブラウザ", made outside its button
    // A failure to report before anything else is shown.
    platform::Outcome outcome;
};

// The desktop's program for web pages, as a path; a failure "FindExecutable Failed.
// Result=N" when there is none.
platform::Result<QString> GetDefaultBrowser(const platform::Services &services);
// "Microsoft Edge" or "Google Chrome" (any other name is looked for as a program of
// that name); a failure "ブラウザを見付けられませんでした" when it is not installed.
platform::Result<QString> GetBrowserExePath(const platform::Services &services,
                                            const QString &clientName);
QString clientName(KnownBrowser browser);

BrowserShown chooseDefaultBrowser(const platform::Services &services);
BrowserShown chooseKnownBrowser(const platform::Services &services, KnownBrowser browser);
// "任意のブラウザ" with the remembered program (browserName2). With none remembered
// (the user picked none either) the page goes to the desktop's program for web pages,
// and nothing of the previous browser stays on show.
BrowserShown chooseOtherBrowser(const platform::Services &services, const QString &browserName2);
// The chooser of a browser program: the installed programs before any was picked, then
// the program picked last, in its folder.
platform::FileChoice otherBrowserChoice(const platform::Services &services,
                                        const QString &browserName2);
// A program the user picked in that chooser, which the caller remembers as browserName2.
// Cancelling the chooser changes nothing.
BrowserShown pickedOtherBrowser(const platform::Services &services, const QString &file);
// Opens the desktop's settings for default applications.
platform::Outcome changeDefaultBrowser(const platform::Services &services);

// "ブラウザで開く": the page file is recreated when missing so the default-browser
// lookup keeps working; with no browser chosen the desktop's program for web pages is
// used.
platform::Outcome openInBrowser(const platform::Services &services, const QString &browserName1,
                                const QString &imagePath, const QString &pageFile);

// A program's short name in parentheses: "/usr/bin/chrome" gives "(Chrome)",
// "MyBrowser.EXE" gives "(Mybrowser)", an empty path "()"; a desktop entry gives the
// program it runs ("(Firefox)" for a snap or Flatpak launcher of it).
QString browserShortName(const QString &programPath);
QString browserLabel(const QString &programPath);
// The labels beside "既定のブラウザ" and "任意のブラウザ": the default program's name
// ("()" without one), and the chosen program's when "任意のブラウザ" is the choice, else
// the remembered one's.
QString defaultBrowserLabel(const platform::Result<QString> &defaultBrowser);
QString otherBrowserLabel(bool elseChecked, const QString &browserName1,
                          const QString &browserName2);

// True for a program that only starts other programs (env, flatpak, snap). A browser
// setting naming one was saved when launchers were read word by word; it opens nothing
// and is best replaced by GetDefaultBrowser() when the settings are read.
bool isLauncherWrapper(const QString &programPath);

// The page buttons' image for a browser program: Edge 0, Chrome 1, any other 2.
int browserButtonImage(const QString &browserName1);

// Small icons of a program and of a file's type; null when none.
QIcon programIcon(const platform::Services &services, const QString &programPath);
QIcon fileTypeIcon(const platform::Services &services, const QString &filePath);

} // namespace pelmaris::gallery
