#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QKeySequence;
class QMenu;
class QWidget;

namespace pelmaris::app {

// Every entry of the three popup menus, under its name. Separators are entries too: the
// list menu's groups and the tables below refer to them by name like any other entry.
enum class Command {
    // PopupMenu1, the list's menu
    pm1RebuildListview,
    pm1RebuildListviewFileNameOnly,
    N12,
    pm1vsIcon,
    pm1vsSmallIcon,
    pm1vsList,
    pm1vsReport,
    N5,
    pm1ShowTop,
    pm1ToTop,
    pm1MoveUp,
    pm1MoveDown,
    pm1ToBottom,
    pm1ShowBottom,
    N9,
    pm1Shuffle,
    pm1Clear,
    N8,
    pm1OpenList,
    pm1SaveListAs,
    N4,
    pm1CopyList,
    pm1PasteList,
    N7,
    pm1Open,
    pm1Browse,
    pm1Paint,
    pm1Notepad,
    pm1OpenBy,
    pm1OpenByMirelLite,
    pm1SendToCorvindale,
    pm1SendTo,
    SendTo3,
    N6,
    pm1CopyFile,
    pm1CopyPath,
    pm1CopyImage,
    N3,
    pm1DeskTop,
    pm1Properties,
    pm1OpenFolder,
    N1,
    pm1MoveTo,
    pm1DeleteFile,
    // PopupMenu2, the browser choice on the page buttons
    pm2Default,
    pm2ChangeDefaultBrowser1,
    pm2Edge,
    pm2Chrome,
    pm2Else,
    pm2ChangeOtherBrowser1,
    // PopupMenu3, the folder tree's menu
    pm3PasteFolderPath,
    Pm3StartDetect,
    pm3AddDetect,
    N15,
    pm3ScanDetail,
    pm3ScanNameOnly,
    N10,
    pm3NumSortA,
    pm3NumSortD,
    pm3DicSortA,
    pm3DicSortD,
    pm3RandomOut,
    N2,
    pm3CopyFileList,
    pm3SaveFileList,
    N11,
    pm3CopyPath,
    pm3OpenFolder,
    pm3SendTo,
};

enum class Menu { List = 1, Browser = 2, Tree = 3 };

// The entry's place in the table: which menu, which group of the list menu (1: the list
// as a whole, 2: the selected row), its name.
Menu menuOf(Command command);
int groupOf(Command command);
QString nameOf(Command command);

// Builds the three menus from one table and hands out their entries. An entry works
// only once a controller has claimed it; until then it exists, disabled.
class MenuCommands : public QObject {
    Q_OBJECT

public:
    explicit MenuCommands(QWidget *owner);

    QMenu *menu(Menu which) const;
    QAction *action(Command command) const;

    // Runs `handler` when the entry is chosen and counts it as working.
    void claim(Command command, const std::function<void()> &handler);
    bool claimed(Command command) const;

    // Enables each claimed entry of the menu as `rule` decides; unclaimed ones stay off.
    void enable(Menu which, const std::function<bool(Command)> &rule);

    // Switches off, in every menu, the entries that are on and that `refused` names, so
    // that neither a click nor a key reaches them; release() puts back those it switched
    // off that no opening of their menu has decided on since.
    void holdOff(const std::function<bool(Command)> &refused);
    void release();

    // Makes the menu's keys work while `widget` (or a child) has the focus.
    void attachShortcuts(Menu which, QWidget *widget);
    // Whether a key press is the key of one of the menu's entries.
    bool isShortcut(Menu which, const QKeySequence &key) const;

private:
    std::vector<QAction *> m_actions; // by Command
    std::vector<bool> m_claimed;
    std::vector<bool> m_held; // switched off by holdOff
    QMenu *m_menus[3] = {};
};

} // namespace pelmaris::app
