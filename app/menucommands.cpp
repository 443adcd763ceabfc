#include "app/menucommands.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>

namespace pelmaris::app {

namespace {

enum Flag { Plain = 0, Hidden = 1, Radio = 2, Checked = 4 };

struct Entry {
    Command command;
    const char *name;
    const char *caption; // nullptr for a separator
    int group = 1;
    int flags = Plain;
    const char *shortcut = nullptr;
    int radioGroup = 0; // entries with the same number exclude each other
};

using C = Command;

// The three menus, in menu order.
constexpr Entry Table[] = {
    {C::pm1RebuildListview, "pm1RebuildListview", "リストを再構築"},
    {C::pm1RebuildListviewFileNameOnly, "pm1RebuildListviewFileNameOnly",
     "リストを再構築(ファイル名)", 1, Hidden},
    {C::N12, "N12", nullptr},
    {C::pm1vsIcon, "pm1vsIcon", "プレビュー表示", 1, Radio | Checked, nullptr, 1},
    {C::pm1vsSmallIcon, "pm1vsSmallIcon", "並べて表示", 1, Hidden | Radio, nullptr, 1},
    {C::pm1vsList, "pm1vsList", "リスト表示", 1, Hidden | Radio, nullptr, 1},
    {C::pm1vsReport, "pm1vsReport", "詳細表示", 1, Radio, nullptr, 1},
    {C::N5, "N5", nullptr},
    {C::pm1ShowTop, "pm1ShowTop", "先頭を表示"},
    {C::pm1ToTop, "pm1ToTop", "先頭に移動"},
    {C::pm1MoveUp, "pm1MoveUp", "ひとつ上に移動"},
    {C::pm1MoveDown, "pm1MoveDown", "ひとつ下に移動"},
    {C::pm1ToBottom, "pm1ToBottom", "末尾に移動"},
    {C::pm1ShowBottom, "pm1ShowBottom", "末尾を表示"},
    {C::N9, "N9", nullptr},
    {C::pm1Shuffle, "pm1Shuffle", "シャッフル"},
    {C::pm1Clear, "pm1Clear", "全件クリア"},
    {C::N8, "N8", nullptr},
    {C::pm1OpenList, "pm1OpenList", "リストを読込み", 1, Plain, "Ctrl+O"},
    {C::pm1SaveListAs, "pm1SaveListAs", "リストに名前を付けて保存", 1, Plain, "Ctrl+S"},
    {C::N4, "N4", nullptr},
    {C::pm1CopyList, "pm1CopyList", "リストをコピー", 1, Plain, "Ctrl+C"},
    {C::pm1PasteList, "pm1PasteList", "リストを貼付け", 1, Plain, "Ctrl+V"},
    {C::N7, "N7", nullptr, 2, Hidden},
    // Ctrl+O opens a list file; the selected row opens with Enter (and a double-click).
    {C::pm1Open, "pm1Open", "既定のアプリケーションで開く", 2, Plain, "Return"},
    {C::pm1Browse, "pm1Browse", "ブラウザで開く", 2},
    {C::pm1Paint, "pm1Paint", "ペイントで開く", 2},
    {C::pm1Notepad, "pm1Notepad", "メモ帳で開く", 2},
    {C::pm1OpenBy, "pm1OpenBy", "プログラムを選択して開く...", 2},
    {C::pm1OpenByMirelLite, "pm1OpenByMirelLite", "ミレルLiteで開く", 2},
    {C::pm1SendToCorvindale, "pm1SendToCorvindale", "コルヴィンに送る", 2},
    {C::pm1SendTo, "pm1SendTo", "「送る」先を指定して開く...", 2},
    {C::SendTo3, "SendTo3", "「送る」先を選択して開く...", 2, Hidden},
    {C::N6, "N6", nullptr, 2},
    {C::pm1CopyFile, "pm1CopyFile", "ファイルをコピー", 2},
    {C::pm1CopyPath, "pm1CopyPath", "ファイルのフルパス名をコピー", 2},
    {C::pm1CopyImage, "pm1CopyImage", "画像データイメージをコピー", 2},
    {C::N3, "N3", nullptr, 2},
    {C::pm1DeskTop, "pm1DeskTop", "デスクトップにショートカットを作る", 2},
    {C::pm1Properties, "pm1Properties", "ファイルのプロパティを表示", 2},
    {C::pm1OpenFolder, "pm1OpenFolder", "ファイルのフォルダを開く", 2},
    {C::N1, "N1", nullptr, 2},
    {C::pm1MoveTo, "pm1MoveTo", "ファイルを移動", 2, Hidden},
    {C::pm1DeleteFile, "pm1DeleteFile", "削除", 2, Plain, "Delete"},

    {C::pm2Default, "pm2Default", "既定のブラウザ", 1, Radio, nullptr, 2},
    {C::pm2ChangeDefaultBrowser1, "pm2ChangeDefaultBrowser1", "(既定のブラウザを変更)", 1, Radio,
     nullptr, 2},
    {C::pm2Edge, "pm2Edge", "Microsoft Edge", 1, Radio, nullptr, 2},
    {C::pm2Chrome, "pm2Chrome", "Google Chrome", 1, Radio, nullptr, 2},
    {C::pm2Else, "pm2Else", "任意のブラウザ", 1, Radio, nullptr, 2},
    {C::pm2ChangeOtherBrowser1, "pm2ChangeOtherBrowser1", "(任意のブラウザを変更)", 1, Radio,
     nullptr, 2},

    {C::pm3PasteFolderPath, "pm3PasteFolderPath", "フォルダ フルパスを貼付け"},
    {C::Pm3StartDetect, "Pm3StartDetect", "フォルダをスキャン｜DoubleClick"},
    {C::pm3AddDetect, "pm3AddDetect", "追加でフォルダスキャン"},
    {C::N15, "N15", nullptr, 1, Hidden},
    {C::pm3ScanDetail, "pm3ScanDetail", "ファイル名+詳細情報", 1, Hidden | Radio | Checked, nullptr,
     3},
    {C::pm3ScanNameOnly, "pm3ScanNameOnly", "ファイル名のみ", 1, Hidden | Radio, nullptr, 3},
    {C::N10, "N10", nullptr},
    {C::pm3NumSortA, "pm3NumSortA", "数値順・昇順(1,2,10,..)で出力", 1, Radio | Checked, nullptr,
     4},
    {C::pm3NumSortD, "pm3NumSortD", "数値順・降順(..,10,2,1)で出力", 1, Radio, nullptr, 4},
    {C::pm3DicSortA, "pm3DicSortA", "辞書順・昇順(1,10,2,..)で出力", 1, Radio, nullptr, 4},
    {C::pm3DicSortD, "pm3DicSortD", "辞書順・降順(..,2,10,1)で出力", 1, Radio, nullptr, 4},
    {C::pm3RandomOut, "pm3RandomOut", "乱順に撹拌して出力", 1, Radio, nullptr, 4},
    {C::N2, "N2", nullptr},
    {C::pm3CopyFileList, "pm3CopyFileList", "ファイルリストをコピー"},
    {C::pm3SaveFileList, "pm3SaveFileList", "ファイルリストを保存"},
    {C::N11, "N11", nullptr},
    {C::pm3CopyPath, "pm3CopyPath", "フォルダ フルパスをコピー", 1, Plain, "Ctrl+C"},
    {C::pm3OpenFolder, "pm3OpenFolder", "エクスプローラで開く"},
    {C::pm3SendTo, "pm3SendTo", "「送る」先を指定して開く"},
};

constexpr int EntryCount = int(std::size(Table));

// Entries are found by their command's number: the table must list every command once,
// in the order of the enumeration, ending with the last one.
constexpr bool tableFollowsTheEnumeration()
{
    for (int i = 0; i < EntryCount; ++i)
        if (int(Table[i].command) != i)
            return false;
    return Table[EntryCount - 1].command == Command::pm3SendTo;
}
static_assert(tableFollowsTheEnumeration(), "the menu table is out of the enumeration's order");

const Entry &entryOf(Command command)
{
    return Table[int(command)];
}

} // namespace

Menu menuOf(Command command)
{
    if (command >= C::pm3PasteFolderPath)
        return Menu::Tree;
    return command >= C::pm2Default ? Menu::Browser : Menu::List;
}

int groupOf(Command command)
{
    return entryOf(command).group;
}

QString nameOf(Command command)
{
    return QString::fromLatin1(entryOf(command).name);
}

MenuCommands::MenuCommands(QWidget *owner)
    : QObject(owner), m_actions(size_t(EntryCount)), m_claimed(size_t(EntryCount), false),
      m_held(size_t(EntryCount), false)
{
    static const char *const menuNames[] = {"PopupMenu1", "PopupMenu2", "PopupMenu3"};
    for (int m = 0; m < 3; ++m) {
        m_menus[m] = new QMenu(owner);
        m_menus[m]->setObjectName(QString::fromLatin1(menuNames[m]));
    }
    QHash<int, QActionGroup *> radioGroups;
    for (int i = 0; i < EntryCount; ++i) {
        const Entry &e = Table[i];
        QMenu *menu = m_menus[int(menuOf(e.command)) - 1];
        QAction *a =
            e.caption ? menu->addAction(QString::fromUtf8(e.caption)) : menu->addSeparator();
        a->setObjectName(QString::fromLatin1(e.name));
        if (e.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        a->setVisible(!(e.flags & Hidden));
        a->setEnabled(false);
        if (e.flags & Radio) {
            a->setCheckable(true);
            QActionGroup *&group = radioGroups[e.radioGroup];
            if (!group)
                group = new QActionGroup(menu);
            group->addAction(a);
            a->setChecked(e.flags & Checked);
        }
        m_actions[size_t(i)] = a;
    }
    m_menus[int(Menu::Tree) - 1]->setDefaultAction(action(C::Pm3StartDetect));
}

QMenu *MenuCommands::menu(Menu which) const
{
    return m_menus[int(which) - 1];
}

QAction *MenuCommands::action(Command command) const
{
    return m_actions[size_t(command)];
}

void MenuCommands::claim(Command command, const std::function<void()> &handler)
{
    m_claimed[size_t(command)] = true;
    connect(action(command), &QAction::triggered, this, [handler] { handler(); });
}

bool MenuCommands::claimed(Command command) const
{
    return m_claimed[size_t(command)];
}

void MenuCommands::enable(Menu which, const std::function<bool(Command)> &rule)
{
    for (int i = 0; i < EntryCount; ++i) {
        const auto command = Command(i);
        if (menuOf(command) == which) {
            action(command)->setEnabled(claimed(command) && rule(command));
            m_held[size_t(i)] = false;
        }
    }
}

void MenuCommands::holdOff(const std::function<bool(Command)> &refused)
{
    for (int i = 0; i < EntryCount; ++i) {
        QAction *a = action(Command(i));
        if (a->isEnabled() && refused(Command(i))) {
            a->setEnabled(false);
            m_held[size_t(i)] = true;
        }
    }
}

void MenuCommands::release()
{
    for (int i = 0; i < EntryCount; ++i) {
        if (m_held[size_t(i)])
            action(Command(i))->setEnabled(true);
        m_held[size_t(i)] = false;
    }
}

void MenuCommands::attachShortcuts(Menu which, QWidget *widget)
{
    for (int i = 0; i < EntryCount; ++i) {
        QAction *a = action(Command(i));
        if (menuOf(Command(i)) != which || a->shortcut().isEmpty())
            continue;
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        widget->addAction(a);
    }
}

bool MenuCommands::isShortcut(Menu which, const QKeySequence &key) const
{
    for (int i = 0; i < EntryCount; ++i)
        if (menuOf(Command(i)) == which && action(Command(i))->shortcut() == key)
            return true;
    return false;
}

} // namespace pelmaris::app
