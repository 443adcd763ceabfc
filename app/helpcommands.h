#pragma once

// The commands of the help page, and the controller whose handlers the window wires to
// its buttons:
//
//   openHelpFile(m_services);                        // "ヘルプ表示"
//   showAboutBox(m_services, this, options.browserLight, random);  // aboutbox.h
//   showProgramProperties(m_services, this);         // "プロパティ表示"
//   openDonationPage(m_services);                    // "開発支援"
//   openHomePage(m_services);                        // "ホームページ"

#include "platform/services.h"
#include "scan/pathorder.h"

#include <QObject>

#include <QString>

class QWidget;

namespace pelmaris::app {

class CurrentOptions;

// The help page's file name: the executable's base name and ".html".
QString helpFileName(const QString &executablePath);

// The help page for an executable: beside it, else in the installed data folder
// "../share/pelmaris/", else in the nearest folder above it that holds one. Empty when
// there is none up to the root.
QString findHelpFile(const QString &executablePath);

// "HelpFile Not Found." + two line breaks + the help file's name.
QString helpNotFoundText(const QString &helpName);

// Opens the help page in the browser, or reports that there is none.
void openHelpFile(const platform::Services &services);

// The desktop's properties of the program's own executable.
void showProgramProperties(const platform::Services &services, QWidget *parent);

void openDonationPage(const platform::Services &services);
void openHomePage(const platform::Services &services);

// The help page's buttons.
class HelpCommands : public QObject {
    Q_OBJECT

public:
    HelpCommands(const platform::Services &services, QWidget *window, const CurrentOptions &options,
                 scan::RandomEngine &random, QObject *parent = nullptr);

    void btnHelpClick();
    void bnAboutClick();
    void btnPropertiesClick();
    void btnDonationClick();
    void btnHomeSiteClick();

private:
    platform::Services m_services;
    QWidget *m_window;
    const CurrentOptions &m_options;
    scan::RandomEngine &m_random;
};

} // namespace pelmaris::app
