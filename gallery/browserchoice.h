#pragma once

// The browser that shows the gallery page. The window keeps BrowserName1 and
// BrowserName2 and shows what these calls return:
//
//   void TPelmarisForm::rbBrowserDefaultClick()
//   { showBrowser(gallery::chooseDefaultBrowser(m_services)); }
//   void TPelmarisForm::rbBrowserEdgeClick()
//   { showBrowser(gallery::chooseKnownBrowser(m_services, gallery::KnownBrowser::Edge)); }
//   void TPelmarisForm::rbBrowserElseClick() {
//       if (isVisible()) showBrowser(gallery::chooseOtherBrowser(m_services, this, BrowserName2));
//   }
//   void TPelmarisForm::btnChangeOtherBrowser1Click() {
//       showBrowser(gallery::changeOtherBrowser(m_services, this, BrowserName1, BrowserName2,
//                                               rbBrowserElse->isChecked()));
//   }
//
// where showBrowser first reports `failure` when there is one, then sets BrowserName1 (when the
// choice carries one), replaces slot 2 of ImageListBtnBrowse with a non-null icon, shows
// buttonImage on both page buttons (unless it is KeepImage), puts statusText (when set) into the
// status bar's second panel and label4 (when set) into Label4, and with checkElse checks
// rbBrowserElse without running its handler.
//
// A browser found through a desktop entry is remembered as the entry file and started
// through it; its short name and button image follow the program the entry runs.

#include <QIcon>
#include <QString>

#include <optional>

class QWidget;

namespace pelmaris::platform {
struct Services;
}

namespace pelmaris::gallery {

enum class KnownBrowser { Edge, Chrome };

// Images of the page buttons (ImageListBtnBrowse); KeepImage leaves them as they are.
enum ButtonImage { KeepImage = -2, NoImage = -1, EdgeImage = 0, ChromeImage = 1, ProgramImage = 2 };

// A browser program looked up, or why none was found: the text the window reports.
struct BrowserFound {
    QString program;
    QString failure; // empty when nothing is to be reported
};

struct BrowserShown {
    std::optional<QString> browserName1; // the new BrowserName1, when the choice sets it
    int buttonImage = NoImage;
    QIcon slot2Icon;                   // replaces slot 2 when not null
    std::optional<QString> statusText; // the status bar's second panel
    std::optional<QString> label4;     // Label4 beside "任意のブラウザ"
    bool checkElse = false;            // check rbBrowserElse without its handler
    QString failure;                   // reported to the user before anything else is shown
};

// The desktop's program for web pages, as a path; empty with "FindExecutable Failed.
// Result=N" when there is none.
BrowserFound GetDefaultBrowser(const platform::Services &services);
// "Microsoft Edge" or "Google Chrome" (any other name is looked for as a program of
// that name); empty with "ブラウザを見付けられませんでした" when it is not installed.
BrowserFound GetBrowserExePath(const platform::Services &services, const QString &clientName);
QString clientName(KnownBrowser browser);

BrowserShown chooseDefaultBrowser(const platform::Services &services);
BrowserShown chooseKnownBrowser(const platform::Services &services, KnownBrowser browser);
// Reuses the remembered program; asks for one (pickOtherBrowser) when none is. With
// none chosen the page goes to the desktop's program for web pages, and nothing of the
// previous browser stays on show.
BrowserShown chooseOtherBrowser(const platform::Services &services, QWidget *parent,
                                QString &browserName2);
// "変更" beside "任意のブラウザ": asks for a program and chooses it. Cancelling keeps
// everything as it was, the remembered program included.
BrowserShown changeOtherBrowser(const platform::Services &services, QWidget *parent,
                                const QString &browserName1, QString &browserName2,
                                bool elseChecked);
// Asks for a program. Empty result when cancelled, browserName2 then unchanged.
std::optional<BrowserShown> pickOtherBrowser(const platform::Services &services, QWidget *parent,
                                             QString &browserName2);
// Opens the desktop's settings for default applications.
void changeDefaultBrowser(const platform::Services &services);

// "ブラウザで開く": the page file is recreated when missing so the default-browser
// lookup keeps working; with no browser chosen the desktop's program for web pages is
// used.
void openInBrowser(const platform::Services &services, const QString &browserName1,
                   const QString &imagePath, const QString &pageFile);

// A program's short name in parentheses: "/usr/bin/chrome" gives "(Chrome)",
// "MyBrowser.EXE" gives "(Mybrowser)", an empty path "()"; a desktop entry gives the
// program it runs ("(Firefox)" for a snap or Flatpak launcher of it).
QString browserShortName(const QString &programPath);
QString browserLabel(const QString &programPath);
// Label2 and Label4 when the "ファイル" tab is shown.
QString defaultBrowserLabel(const BrowserFound &defaultBrowser);
QString otherBrowserLabel(bool elseChecked, const QString &browserName1,
                          const QString &browserName2);

// True for a program that only starts other programs (env, flatpak, snap). A browser
// setting naming one was saved when launchers were read word by word; it opens nothing
// and is best replaced by GetDefaultBrowser() when the settings are read.
bool isLauncherWrapper(const QString &programPath);

// The page buttons' image for a browser program: Edge 0, Chrome 1, any other 2.
int browserButtonImage(const QString &browserName1);

// Small icons for the image lists (SetProgramIcon, SetFileTypeIcon); null when none.
QIcon programIcon(const platform::Services &services, const QString &programPath);
QIcon fileTypeIcon(const platform::Services &services, const QString &filePath);

} // namespace pelmaris::gallery
