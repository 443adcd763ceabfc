#include "app/pelmarisform.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace pelmaris::app {

namespace {

struct Entry {
    const char *name;
    const char *caption; // nullptr for a separator
    const char *shortcut = nullptr;
    bool hidden = false;
};

// Builds a menu from its table; every entry starts disabled until its command is wired.
QMenu *buildMenu(QWidget *owner, const char *name, std::initializer_list<Entry> entries)
{
    auto *menu = new QMenu(owner);
    menu->setObjectName(QString::fromLatin1(name));
    for (const Entry &e : entries) {
        QAction *a =
            e.caption ? menu->addAction(QString::fromUtf8(e.caption)) : menu->addSeparator();
        a->setObjectName(QString::fromLatin1(e.name));
        if (e.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        a->setVisible(!e.hidden);
        a->setEnabled(false);
    }
    return menu;
}

} // namespace

QAction *TPelmarisForm::action(const QString &name) const
{
    for (QMenu *menu : {PopupMenu1, PopupMenu2, PopupMenu3})
        if (menu)
            if (auto *a = menu->findChild<QAction *>(name, Qt::FindDirectChildrenOnly))
                return a;
    return nullptr;
}

void TPelmarisForm::buildMenus()
{
    PopupMenu1 = buildMenu(
        this, "PopupMenu1",
        {
            {"pm1RebuildListview", "リストを再構築"},
            {"pm1RebuildListviewFileNameOnly", "リストを再構築(ファイル名)", nullptr, true},
            {"N12", nullptr},
            {"pm1vsIcon", "プレビュー表示"},
            {"pm1vsSmallIcon", "並べて表示", nullptr, true},
            {"pm1vsList", "リスト表示", nullptr, true},
            {"pm1vsReport", "詳細表示"},
            {"N5", nullptr},
            {"pm1ShowTop", "先頭を表示"},
            {"pm1ToTop", "先頭に移動"},
            {"pm1MoveUp", "ひとつ上に移動"},
            {"pm1MoveDown", "ひとつ下に移動"},
            {"pm1ToBottom", "末尾に移動"},
            {"pm1ShowBottom", "末尾を表示"},
            {"N9", nullptr},
            {"pm1Shuffle", "シャッフル"},
            {"pm1Clear", "全件クリア"},
            {"N8", nullptr},
            {"pm1OpenList", "リストを読込み", "Ctrl+O"},
            {"pm1SaveListAs", "リストに名前を付けて保存", "Ctrl+S"},
            {"N4", nullptr},
            {"pm1CopyList", "リストをコピー", "Ctrl+C"},
            {"pm1PasteList", "リストを貼付け", "Ctrl+V"},
            {"N7", nullptr, nullptr, true},
            {"pm1Open", "既定のアプリケーションで開く", "Ctrl+O"},
            {"pm1Browse", "ブラウザで開く"},
            {"pm1Paint", "ペイントで開く"},
            {"pm1Notepad", "メモ帳で開く"},
            {"pm1OpenBy", "プログラムを選択して開く..."},
            {"pm1OpenByMirelLite", "ミレルLiteで開く"},
            {"pm1SendToCorvindale", "コルヴィンに送る"},
            {"pm1SendTo", "「送る」先を指定して開く..."},
            {"SendTo3", "「送る」先を選択して開く...", nullptr, true},
            {"N6", nullptr},
            {"pm1CopyFile", "ファイルをコピー"},
            {"pm1CopyPath", "ファイルのフルパス名をコピー"},
            {"pm1CopyImage", "画像データイメージをコピー"},
            {"N3", nullptr},
            {"pm1DeskTop", "デスクトップにショートカットを作る"},
            {"pm1Properties", "ファイルのプロパティを表示"},
            {"pm1OpenFolder", "ファイルのフォルダを開く"},
            {"N1", nullptr},
            {"pm1MoveTo", "ファイルを移動", nullptr, true},
            {"pm1DeleteFile", "削除", "Delete"},
        });
    auto *views = new QActionGroup(PopupMenu1);
    for (const char *name : {"pm1vsIcon", "pm1vsSmallIcon", "pm1vsList", "pm1vsReport"}) {
        QAction *a = action(QString::fromLatin1(name));
        a->setCheckable(true);
        views->addAction(a);
    }
    action(QStringLiteral("pm1vsIcon"))->setChecked(true);

    PopupMenu2 = buildMenu(this, "PopupMenu2",
                           {
                               {"pm2Default", "既定のブラウザ"},
                               {"pm2ChangeDefaultBrowser1", "(既定のブラウザを変更)"},
                               {"pm2Edge", "Microsoft Edge"},
                               {"pm2Chrome", "Google Chrome"},
                               {"pm2Else", "任意のブラウザ"},
                               {"pm2ChangeOtherBrowser1", "(任意のブラウザを変更)"},
                           });
    auto *browsers = new QActionGroup(PopupMenu2);
    for (QAction *a : PopupMenu2->actions()) {
        a->setCheckable(true);
        browsers->addAction(a);
    }

    PopupMenu3 = buildMenu(this, "PopupMenu3",
                           {
                               {"pm3PasteFolderPath", "フォルダ フルパスを貼付け"},
                               {"Pm3StartDetect", "フォルダをスキャン｜DoubleClick"},
                               {"pm3AddDetect", "追加でフォルダスキャン"},
                               {"N15", nullptr, nullptr, true},
                               {"pm3ScanDetail", "ファイル名+詳細情報", nullptr, true},
                               {"pm3ScanNameOnly", "ファイル名のみ", nullptr, true},
                               {"N10", nullptr},
                               {"pm3NumSortA", "数値順・昇順(1,2,10,..)で出力"},
                               {"pm3NumSortD", "数値順・降順(..,10,2,1)で出力"},
                               {"pm3DicSortA", "辞書順・昇順(1,10,2,..)で出力"},
                               {"pm3DicSortD", "辞書順・降順(..,2,10,1)で出力"},
                               {"pm3RandomOut", "乱順に撹拌して出力"},
                               {"N2", nullptr},
                               {"pm3CopyFileList", "ファイルリストをコピー"},
                               {"pm3SaveFileList", "ファイルリストを保存"},
                               {"N11", nullptr},
                               {"pm3CopyPath", "フォルダ フルパスをコピー", "Ctrl+C"},
                               {"pm3OpenFolder", "エクスプローラで開く"},
                               {"pm3SendTo", "「送る」先を指定して開く"},
                           });
    PopupMenu3->setDefaultAction(action(QStringLiteral("Pm3StartDetect")));
    auto *scanKinds = new QActionGroup(PopupMenu3);
    for (const char *name : {"pm3ScanDetail", "pm3ScanNameOnly"}) {
        QAction *a = action(QString::fromLatin1(name));
        a->setCheckable(true);
        scanKinds->addAction(a);
    }
    action(QStringLiteral("pm3ScanDetail"))->setChecked(true);
    auto *orders = new QActionGroup(PopupMenu3);
    for (const char *name :
         {"pm3NumSortA", "pm3NumSortD", "pm3DicSortA", "pm3DicSortD", "pm3RandomOut"}) {
        QAction *a = action(QString::fromLatin1(name));
        a->setCheckable(true);
        a->setEnabled(true); // the output order can be chosen at any time
        orders->addAction(a);
    }
    action(QStringLiteral("pm3NumSortA"))->setChecked(true);
}

} // namespace pelmaris::app
