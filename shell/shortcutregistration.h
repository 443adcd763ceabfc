#pragma once

// Shortcuts to the program in the desktop's well-known folders, and to a picture on the
// desktop. Each button is one call; a second press offers to update or delete:
//
//   void TPelmarisForm::SendTo1Click()    { m_shortcuts.toggleSendTo(); }
//   void TPelmarisForm::DeskTop1Click()   { m_shortcuts.toggleDesktop(); }
//   void TPelmarisForm::StartMenu1Click() { m_shortcuts.toggleStartMenu(); }
//   void TPelmarisForm::StartUp1Click()   { m_shortcuts.toggleStartup(); }
//   void TPelmarisForm::pm1DeskTopClick() { m_shortcuts.toggleDesktopShortcutTo(selectedPath()); }
//
// Every outcome and failure is reported here.

#include "platform/services.h"
#include "platform/specialfolders.h"

#include <QDateTime>
#include <QString>

#include <functional>

class QWidget;

namespace pelmaris::platform {
class ShortcutLink;
}

namespace pelmaris::shell {

class ShortcutRegistration {
public:
    explicit ShortcutRegistration(const platform::Services &services, QWidget *window = nullptr);

    void toggleSendTo();
    void toggleDesktop();
    void toggleStartMenu();
    void toggleStartup();
    // A shortcut to the file on the desktop; nothing for an empty path.
    void toggleDesktopShortcutTo(const QString &path);

    // Creates the shortcut to target in the folder, or asks whether to update or delete
    // the one there; reports the outcome and offers to show the folder. `label` names
    // the folder in the messages.
    void ToggleShortcut(platform::SpecialFolder folder, const QString &label,
                        const QString &target);

    // The shortcut file's name for a target: the program's title for the program itself.
    QString shortcutFileName(const QString &target) const;
    // "yyyy/MM/dd HH:mm:ss Created by <program> V1.6".
    QString description() const;

    // Where the current time comes from (tests fix it).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

private:
    platform::Services m_services;
    QWidget *m_window;
    std::function<QDateTime()> m_clock;
};

// Fills a new shortcut: target, arguments (when not empty), working folder, description,
// each checked before the next. Empty on success, else the text of the failed step.
QString ConfigureShortcut(platform::ShortcutLink &link, const QString &target,
                          const QString &arguments, const QString &workingFolder,
                          const QString &description);

} // namespace pelmaris::shell
