#pragma once

#include "app/settings.h"
#include "platform/services.h"
#include "platform/specialfolders.h"
#include "platform/tempfiles.h"

#include <QIcon>
#include <QMainWindow>
#include <QModelIndex>
#include <QStringList>

class QAction;
class QIcon;
class QActionGroup;
class QButtonGroup;
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

namespace pelmaris::scan {
class FolderTreeModel;
class ImageListModel;
class ScanController;
} // namespace pelmaris::scan

namespace pelmaris::gallery {
struct BrowserShown;
struct LayoutChoice;
} // namespace pelmaris::gallery

namespace pelmaris::app {

class PageControl;

// The folder of a path: up to its last delimiter, without it (a root keeps it).
QString folderOf(const QString &path);

// The main window. It builds the controls, wires their signals and keeps the state
// fields; the logic behind each handler lives in the libraries it calls. Control and
// handler names are the ones the rest of the program is designed around, and each
// control's object name is its member name.
class TPelmarisForm : public QMainWindow {
    Q_OBJECT

public:
    TPelmarisForm(const platform::Services &services, QStringList launchParameters,
                  QWidget *parent = nullptr);
    ~TPelmarisForm() override;

    // Window-level routines the whole program uses.
    void SetCloseEnabled(bool enabled);
    bool closeEnabled() const { return m_closeEnabled; }
    static void CenterCancelButton(QWidget *button, QWidget *control);
    QString GetSpecialFolderPath(platform::SpecialFolder id) const;
    void EnableListControls(bool enable);
    // The folder currently selected in the tree, without a trailing delimiter.
    QString treeSelectedPath() const;
    // Opens the tree at a folder and scrolls it into view.
    void navigateTree(const QString &folder);

    // What a shortcut file or link points to; the path itself for anything else.
    QString ResolveShortcutTarget(const QString &path) const;

    // The settings file this run reads and writes.
    QString settingsFileToRead() const;
    QString settingsFileToWrite() const;

    // ---- controls ----
    QLabel *StatusPanel0 = nullptr;
    QLabel *StatusPanel1 = nullptr;
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

    // "フォルダ"
    QWidget *Panel2 = nullptr;
    QSplitter *Splitter1 = nullptr;
    QWidget *PnTreeView = nullptr;
    QTreeView *ShellTreeView1 = nullptr;
    scan::FolderTreeModel *ShellTreeModel = nullptr;
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

    // The image list: one model behind both views, and the scan that fills it.
    scan::ImageListModel *ListModel = nullptr;
    scan::ScanController *Scanner = nullptr;
    const QStringList &ScanList() const;

    // Popup menus; every entry's object name is its member name.
    QMenu *PopupMenu1 = nullptr;
    QMenu *PopupMenu2 = nullptr;
    QMenu *PopupMenu3 = nullptr;
    QAction *action(const QString &name) const;

    // Images of the two page buttons: 0 Edge, 1 Chrome, 2 the chosen program.
    QList<QIcon> ImageListBtnBrowse;
    int pageButtonImage() const { return m_pageButtonImage; }

    // ---- state fields ----
    QString BrowserName1;
    QString BrowserName2;
    bool CancelFlag1 = false;
    bool CancelFlag3 = false;
    QString CurrentDir1;
    QString DblClickPath1;
    bool IsTaskBarShowing = false;
    int ListViewSortCol1 = 0;
    int PrevCount1 = 0;
    QString CorvindaleExeName1;
    int ScanCount1 = 0;
    int ScrollPos = 0; // the tree's horizontal scroll position, kept in the settings
    QString TargetFileName1;
    QString TempFileName1;
    QString TempHtmlFileName1;
    QString TempIconFileName1;
    QString TempIconFileName4;
    int TotalListUp1 = 0;

public Q_SLOTS:
    void Timer1Timer();
    void FormResize();
    void ShellTreeView1Click();
    void ShellTreeView1DblClick();
    void pm3AddDetectClick();
    void ChkBxShowHiddenClick();
    void PageControl1Change(int index);
    void HandleLaunchParameter();
    void btnCancel3Click();
    void btnCancel1Click();
    void RunImageListBuild();
    void CheckBoxAll1Click();
    void CheckBoxTop10Click();
    void BtnShuffle1Click();
    void pm1vsIconClick();
    void pm1vsReportClick();
    void RbPreViewClick();
    void RbReportClick();
    void ListView1Click(const QModelIndex &index);
    void pm1RebuildListviewClick();
    void pm1ShowTopClick();
    void pm1ShowBottomClick();
    void pm1ClearClick();
    void PopupMenu1Popup();
    void PopupMenu3Popup();

    // Gallery page, browser choice, layout and colour options.
    void btnBrowse1Click();
    void btnBrowse3Click();
    void rbBrowserDefaultClick();
    void rbBrowserEdgeClick();
    void rbBrowserChromeClick();
    void rbBrowserElseClick();
    void btnChangeOtherBrowser1Click();
    void BtnChangeDefaultBrowser1Click();
    void PopupMenu2Popup();
    void pm1BrowseClick();
    void NumberBox12Change();
    void NumberBox41Change();
    void GridPanel1Resize();
    void rbBrowserLightClick();
    void rbbrowserDarkClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildFilePage();
    void buildSearchPage();
    void buildHelpPage();
    void buildLayoutRow();
    void buildMenus();
    void buildTree();
    void keepTreeSelectionInView(const QString &loadedFolder);

    void FormCreate();
    void ShowingChanged();
    void RestoreStartFolder();
    bool FormCloseQuery();
    void MakeTempFileNames();
    void removeTempFiles();
    void WMDropFiles(const QString &firstPath);
    void actOnExternalPath(const QString &path, const QString &failureText);

    // Scanning and list building.
    void buildListViews();
    void wireScan();
    void startScanOf(const QString &folder, bool additive);
    void onScanProgress(qint64 found);
    void onScanFinished(bool cancelled);
    void onBuildProgress(qint64 tried, qint64 total);
    void onBuildFinished(bool cancelled);
    void setBusyCursor(bool busy);
    void setTaskbarProgress(qint64 value, qint64 maximum);
    void selectRow(int row);
    void enableWired(QMenu *menu, bool enable);
    QColor thumbnailBackground() const;

    // Gallery wiring.
    void wireGallery();
    void showBrowser(const gallery::BrowserShown &shown);
    void setPageButtonImage(int image);
    void applyBrowserImage();
    // The list's controls as an empty or a filled list leaves them.
    void showListState();
    void refreshBrowserLabels();
    gallery::LayoutChoice layoutChoice() const;
    void showPage(const QStringList &paths);
    bool eventFilter(QObject *watched, QEvent *event) override;

    void applySettings(const Settings &settings);
    Settings collectSettings() const;
    void writeSettingsFile();
    WindowPlacement currentPlacement() const;
    int listRowCount() const;

    platform::Services m_services;
    QStringList m_launchParameters;
    bool m_closeEnabled = true;
    bool m_shownOnce = false;
    WindowPlacement m_placement;
    bool m_busyCursor = false;
    int m_pageButtonImage = -1;
    bool m_settingNumberBox = false;
    bool m_scanAdditive = false;
    QString m_lastBuildFolder;
    QStringList m_wiredActions; // menu entries whose commands exist in this build
};

} // namespace pelmaris::app
