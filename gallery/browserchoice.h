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
//       Label4->clear();
//       const auto picked = gallery::pickOtherBrowser(m_services, this, BrowserName2);
//       if (!picked) return;
//       BrowserName1 = BrowserName2;
//       rbBrowserElse->setChecked(true);
//       Label4->setText(gallery::browserLabel(BrowserName2));
//       showBrowser(*picked);
//   }
//
// where showBrowser sets BrowserName1 (when the choice carries one), replaces slot 2 of
// ImageListBtnBrowse with a non-null icon, shows buttonImage on both page buttons, and
// puts statusText (when set) into the status bar's second panel.

#include <QIcon>
#include <QString>

#include <optional>

class QWidget;

namespace pelmaris::platform {
struct Services;
}

namespace pelmaris::gallery {

enum class KnownBrowser { Edge, Chrome };

// Images of the page buttons (ImageListBtnBrowse).
enum ButtonImage { NoImage = -1, EdgeImage = 0, ChromeImage = 1, ProgramImage = 2 };

struct BrowserShown {
    std::optional<QString> browserName1; // the new BrowserName1, when the choice sets it
    int buttonImage = NoImage;
    QIcon slot2Icon;                   // replaces slot 2 when not null
    std::optional<QString> statusText; // the status bar's second panel
};

// The desktop's program for web pages, as a path; reports a failure and gives empty.
QString GetDefaultBrowser(const platform::Services &services);
// "Microsoft Edge" or "Google Chrome" (any other name is looked for as a program of
// that name); reports a browser that is not installed and gives empty.
QString GetBrowserExePath(const platform::Services &services, const QString &clientName);
QString clientName(KnownBrowser browser);

BrowserShown chooseDefaultBrowser(const platform::Services &services);
BrowserShown chooseKnownBrowser(const platform::Services &services, KnownBrowser browser);
// Reuses the remembered program; asks for one (pickOtherBrowser) when none is.
BrowserShown chooseOtherBrowser(const platform::Services &services, QWidget *parent,
                                QString &browserName2);
// Asks for a program. Empty result when cancelled, with browserName2 then empty.
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
// "MyBrowser.EXE" gives "(Mybrowser)", an empty path "()".
QString browserShortName(const QString &programPath);
QString browserLabel(const QString &programPath);
// Label2 and Label4 when the "ファイル" tab is shown.
QString defaultBrowserLabel(const platform::Services &services);
QString otherBrowserLabel(bool elseChecked, const QString &browserName1,
                          const QString &browserName2);

// The page buttons' image for a browser program: Edge 0, Chrome 1, any other 2.
int browserButtonImage(const QString &browserName1);

// Small icons for the image lists (SetProgramIcon, SetFileTypeIcon); null when none.
QIcon programIcon(const platform::Services &services, const QString &programPath);
QIcon fileTypeIcon(const platform::Services &services, const QString &filePath);

} // namespace pelmaris::gallery
