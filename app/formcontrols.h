#pragma once

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListView;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QSplitter;
class QStackedWidget;
class QTimer;
class QTreeView;
class QWidget;

namespace pelmaris::app {

class PageControl;

// The main window's controls under the names the program is designed around. The pages
// build them and fill these pointers; each control's object name is its member name.
struct FormControls {
    QLabel *StatusPanel0 = nullptr; // clock and memory load
    QLabel *StatusPanel1 = nullptr; // the message and path line
    PageControl *PageControl1 = nullptr;
    QWidget *TabSheetFile = nullptr;
    QWidget *TabSheetSearch = nullptr;
    QWidget *TabSheetHelp = nullptr;

    // "ファイル"
    QGroupBox *GbShortCut1 = nullptr;
    QPushButton *btnSendTo = nullptr;
    QPushButton *btnDeskTop = nullptr;
    QPushButton *btnStartMenu = nullptr;
    QPushButton *btnStartUp = nullptr;
    QGroupBox *GbColorMode = nullptr;
    QRadioButton *rbBrowserLight = nullptr;
    QRadioButton *rbbrowserDark = nullptr;
    QGroupBox *GbBrowser = nullptr;
    QRadioButton *rbBrowserDefault = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *BtnChangeDefaultBrowser1 = nullptr;
    QRadioButton *rbBrowserEdge = nullptr;
    QRadioButton *rbBrowserChrome = nullptr;
    QRadioButton *rbBrowserElse = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *btnChangeOtherBrowser1 = nullptr;
    QGroupBox *GbSetting3 = nullptr;
    QCheckBox *ChkBxSpreadTree = nullptr;
    QCheckBox *ChkBxShowHidden = nullptr;
    QCheckBox *ChkBxCloseQuery = nullptr;
    QCheckBox *ChkBxSaveStatus = nullptr;
    QCheckBox *ChkBxThumbnailCache = nullptr; // rescans reuse the desktop's thumbnails
    QCheckBox *ChkBxPageThumbnails = nullptr; // pages show the cache's thumbnails

    // "フォルダ"
    QWidget *Panel2 = nullptr;
    QSplitter *Splitter1 = nullptr;
    QWidget *PnTreeView = nullptr;
    QTreeView *ShellTreeView1 = nullptr; // made at start-up, after the settings are read
    QPushButton *btnCancel3 = nullptr;
    QPushButton *btnBrowse3 = nullptr;
    QWidget *PnListView = nullptr;
    QFrame *Bevel1 = nullptr;
    QWidget *GridPanel2 = nullptr;
    QCheckBox *CheckBoxAll1 = nullptr;
    QCheckBox *CheckBoxTop10 = nullptr;
    QRadioButton *RbPreView = nullptr;
    QRadioButton *RbReport = nullptr;
    QPushButton *BtnShuffle1 = nullptr;
    QStackedWidget *ListView1 = nullptr; // one model, shown by the two views below
    QListView *ListView1Icons = nullptr;
    QTreeView *ListView1Details = nullptr;
    QPushButton *btnCancel1 = nullptr;
    QPushButton *btnBrowse1 = nullptr;
    QWidget *GridPanel1 = nullptr;
    QRadioButton *RadioButton11 = nullptr;
    QRadioButton *RadioButton12 = nullptr;
    QSpinBox *NumberBox12 = nullptr;
    QRadioButton *RadioButton21 = nullptr;
    QSpinBox *NumberBox21 = nullptr;
    QRadioButton *RadioButton31 = nullptr;
    QSpinBox *NumberBox31 = nullptr;
    QRadioButton *RadioButton41 = nullptr;
    QSpinBox *NumberBox41 = nullptr;
    QRadioButton *RadioButton51 = nullptr;

    // "ヘルプ"
    QWidget *GrdPnlHelp = nullptr;
    QPushButton *btnHelp = nullptr;
    QPushButton *bnAbout = nullptr;
    QPushButton *btnProperties = nullptr;
    QPushButton *btnDonation = nullptr;
    QPushButton *btnHomeSite = nullptr;
    QPlainTextEdit *Memo1 = nullptr;

    QTimer *Timer1 = nullptr;

    // Popup menus: the list's, the page buttons' (browser choice), the folder tree's.
    QMenu *PopupMenu1 = nullptr;
    QMenu *PopupMenu2 = nullptr;
    QMenu *PopupMenu3 = nullptr;
};

} // namespace pelmaris::app
