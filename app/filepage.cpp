#include "app/filepage.h"

#include "app/widgetnames.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pelmaris::app {

FilePage::FilePage(FormControls &ui, QWidget *parent) : QWidget(parent)
{
    ui.TabSheetFile = named(static_cast<QWidget *>(this), "TabSheetFile");
    auto *grid = new QGridLayout(this);
    grid->setObjectName(QStringLiteral("GridPanel4"));

    ui.GbShortCut1 = named(new QGroupBox(QStringLiteral("起動ショートカット")), "GbShortCut1");
    auto *shortcuts = new QVBoxLayout(ui.GbShortCut1);
    ui.btnSendTo = namedButton(QStringLiteral("「送る」に登録・削除"), "btnSendTo");
    ui.btnDeskTop = namedButton(QStringLiteral("デスクトップに登録・削除"), "btnDeskTop");
    ui.btnStartMenu = namedButton(QStringLiteral("スタートメニューに登録・削除"), "btnStartMenu");
    ui.btnStartUp = namedButton(QStringLiteral("スタートアップに登録・削除"), "btnStartUp");
    for (QPushButton *b : {ui.btnSendTo, ui.btnDeskTop, ui.btnStartMenu, ui.btnStartUp}) {
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        shortcuts->addWidget(b);
    }

    ui.GbColorMode = named(new QGroupBox(QStringLiteral("カラーモード")), "GbColorMode");
    auto *colours = new QGridLayout(ui.GbColorMode);
    ui.rbBrowserLight = named(new QRadioButton(QStringLiteral("ライトモード")), "rbBrowserLight");
    ui.rbbrowserDark = named(new QRadioButton(QStringLiteral("ダークモード")), "rbbrowserDark");
    ui.rbBrowserLight->setChecked(true);
    colours->addWidget(ui.rbBrowserLight, 0, 0);
    colours->addWidget(ui.rbbrowserDark, 0, 1);
    colours->addWidget(new QWidget, 0, 2);
    for (int c = 0; c < 3; ++c)
        colours->setColumnStretch(c, 1);

    ui.GbBrowser = named(new QGroupBox(QStringLiteral("ブラウザ設定")), "GbBrowser");
    auto *browsers = new QGridLayout(ui.GbBrowser);
    ui.rbBrowserDefault =
        named(new QRadioButton(QStringLiteral("既定のブラウザ")), "rbBrowserDefault");
    ui.Label2 = named(new QLabel(QStringLiteral("()")), "Label2");
    ui.BtnChangeDefaultBrowser1 = namedButton(QStringLiteral("変更"), "BtnChangeDefaultBrowser1");
    ui.rbBrowserEdge = named(new QRadioButton(QStringLiteral("Microsoft Edge")), "rbBrowserEdge");
    ui.rbBrowserChrome =
        named(new QRadioButton(QStringLiteral("Google Chrome")), "rbBrowserChrome");
    ui.rbBrowserElse = named(new QRadioButton(QStringLiteral("任意のブラウザ")), "rbBrowserElse");
    ui.Label4 = named(new QLabel(QStringLiteral("()")), "Label4");
    ui.btnChangeOtherBrowser1 = namedButton(QStringLiteral("変更"), "btnChangeOtherBrowser1");
    ui.rbBrowserDefault->setChecked(true);
    browsers->addWidget(ui.rbBrowserDefault, 0, 0);
    browsers->addWidget(ui.Label2, 0, 1);
    browsers->addWidget(ui.BtnChangeDefaultBrowser1, 0, 2);
    browsers->addWidget(ui.rbBrowserEdge, 1, 0);
    browsers->addWidget(ui.rbBrowserChrome, 1, 1);
    browsers->addWidget(ui.rbBrowserElse, 2, 0);
    browsers->addWidget(ui.Label4, 2, 1);
    browsers->addWidget(ui.btnChangeOtherBrowser1, 2, 2);
    for (int i = 0; i < 3; ++i) {
        browsers->setColumnStretch(i, 1);
        browsers->setRowStretch(i, 1);
    }

    ui.GbSetting3 = named(new QGroupBox(QStringLiteral("その他設定")), "GbSetting3");
    auto *others = new QVBoxLayout(ui.GbSetting3);
    ui.ChkBxSpreadTree =
        named(new QCheckBox(QStringLiteral("起動時に前回フォルダ位置を復元")), "ChkBxSpreadTree");
    ui.ChkBxShowHidden = named(new QCheckBox(QStringLiteral("隠し属性のフォルダ・ファイルも対象")),
                               "ChkBxShowHidden");
    ui.ChkBxCloseQuery = named(new QCheckBox(QStringLiteral("終了時に確認")), "ChkBxCloseQuery");
    ui.ChkBxSaveStatus =
        named(new QCheckBox(QStringLiteral("終了時の状態を保存")), "ChkBxSaveStatus");
    ui.ChkBxThumbnailCache =
        named(new QCheckBox(QStringLiteral("サムネイルキャッシュを使う")), "ChkBxThumbnailCache");
    ui.ChkBxThumbnailCache->setChecked(true);
    ui.ChkBxPageThumbnails =
        named(new QCheckBox(QStringLiteral("表示ページにサムネイルを使う")), "ChkBxPageThumbnails");
    for (QCheckBox *box : {ui.ChkBxSpreadTree, ui.ChkBxShowHidden, ui.ChkBxCloseQuery,
                           ui.ChkBxSaveStatus, ui.ChkBxThumbnailCache, ui.ChkBxPageThumbnails})
        others->addWidget(box);

    grid->addWidget(ui.GbShortCut1, 0, 0, 8, 1);
    grid->addWidget(ui.GbColorMode, 0, 1, 1, 1);
    grid->addWidget(ui.GbBrowser, 1, 1, 3, 1);
    grid->addWidget(ui.GbSetting3, 4, 1, 4, 1);
    for (int r = 0; r < 8; ++r)
        grid->setRowStretch(r, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
}

} // namespace pelmaris::app
