#pragma once

#include "app/shortcuttoggle.h"

#include <QObject>

namespace pelmaris::app {

class ListPage;
class MenuCommands;

// The four buttons of "起動ショートカット" and the list menu's desktop shortcut to the
// selected picture: each press creates the shortcut, or offers to update or delete it.
class ShortcutCommands : public QObject {
    Q_OBJECT

public:
    ShortcutCommands(const platform::Services &services, QWidget *window, MenuCommands &menus,
                     ListPage &list, QObject *parent = nullptr);

    void SendTo1Click();
    void DeskTop1Click();
    void StartMenu1Click();
    void StartUp1Click();
    void pm1DeskTopClick();
    // The word for "スタートメニューに登録" when an installed menu entry starts the program.
    static QString installedText(const QString &entry);

    // The registration behind the buttons (tests fix its clock).
    shell::ShortcutRegistration &registration() { return m_shortcuts.registration(); }

private:
    platform::Services m_services;
    QWidget *m_window;
    ListPage &m_list;
    ShortcutToggle m_shortcuts;
};

} // namespace pelmaris::app
