#include "app/pelmarisform.h"

#include "app/clipboardcommands.h"
#include "app/countcaptions.h"
#include "app/currentoptions.h"
#include "app/fileactioncommands.h"
#include "app/filepage.h"
#include "app/folderlistcommands.h"
#include "app/folderpage.h"
#include "app/foldertree.h"
#include "app/gallerycommands.h"
#include "app/helpcommands.h"
#include "app/helppage.h"
#include "app/listcommands.h"
#include "app/listfilecommands.h"
#include "app/listviewstate.h"
#include "app/menucommands.h"
#include "app/menurules.h"
#include "app/ordercommands.h"
#include "app/pagebuttons.h"
#include "app/pagecontrol.h"
#include "app/scancommands.h"
#include "app/settingsbinding.h"
#include "app/shortcutcommands.h"
#include "app/statuslabel.h"
#include "app/viewercommands.h"
#include "app/widgetnames.h"
#include "app/windowroutines.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QTreeView>

namespace pelmaris::app {

TPelmarisForm::TPelmarisForm(const platform::Services &services, QStringList launchParameters,
                             QWidget *parent)
    : QMainWindow(parent), m_services(services), m_launchParameters(std::move(launchParameters))
{
    setObjectName(QStringLiteral("PelmarisForm"));
    setWindowTitle(QStringLiteral("Form1"));
    QFont font;
    font.setFamilies({QStringLiteral("Meiryo UI"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans JP")});
    font.setPointSize(9);
    setFont(font);
    setWindowIcon(QIcon(QStringLiteral(":/pelmaris/pelmaris.png")));
    // The window stays disabled until it is shown for the first time.
    setEnabled(false);
    buildStatusBar();

    ListModel = named(new scan::ImageListModel(this), "ListModel");
    Scanner = named(new scan::ScanController(*ListModel, *m_services.fileSystem, this), "Scanner");

    m_list = new ListViewState(this);
    m_ui.PageControl1 = named(new PageControl, "PageControl1");
    setCentralWidget(m_ui.PageControl1);
    const QStyle *st = style();
    m_ui.PageControl1->addTab(new FilePage(m_ui), st->standardIcon(QStyle::SP_DriveHDIcon),
                              QStringLiteral("ファイル"));
    m_ui.PageControl1->addTab(new FolderPage(m_ui, *m_list, ListModel),
                              st->standardIcon(QStyle::SP_DirIcon), QStringLiteral("フォルダ"));
    m_ui.PageControl1->addTab(new HelpPage(m_ui), st->standardIcon(QStyle::SP_DialogHelpButton),
                              QStringLiteral("ヘルプ"));

    m_menus = new MenuCommands(this);
    m_ui.PopupMenu1 = m_menus->menu(Menu::List);
    m_ui.PopupMenu2 = m_menus->menu(Menu::Browser);
    m_ui.PopupMenu3 = m_menus->menu(Menu::Tree);
    m_tree = new FolderTree(*m_services.fileSystem, this);
    m_captions = std::make_unique<CountCaptions>(m_ui.CheckBoxAll1, m_ui.CheckBoxTop10,
                                                 m_ui.btnBrowse1, m_ui.btnBrowse3);
    m_pageButtons = std::make_unique<PageButtons>(m_services, m_ui.btnBrowse1, m_ui.btnBrowse3);
    m_routines = std::make_unique<WindowRoutines>(m_services, this, m_ui, m_state, *m_list,
                                                  *ListModel, *m_pageButtons, *m_captions);

    // Before the controllers' handlers: a control's change is in the options when they run.
    m_options = new CurrentOptions(this);
    m_binding = std::make_unique<SettingsBinding>(m_ui, m_state, *m_menus, *m_tree, *m_options);
    m_activity = new Activity(this);
    connect(m_activity, &Activity::changed, this, &TPelmarisForm::showActivity);

    // Each controller gets what it works on: the state it reads and changes, the list as a
    // page, and the few controls that are its own.
    WindowRoutines &page = *m_routines;
    Scan =
        new ScanCommands(m_services, *m_menus, *m_activity, *m_options, *m_list, m_state,
                         *ListModel, *Scanner, *m_tree, *m_captions, page, page, m_shownOnce, this);
    List = new ListCommands(
        m_services, *m_menus, *m_activity, *m_list, m_state, *ListModel, *Scanner,
        Scanner->randomEngine(), *m_tree, *m_captions, page, page,
        ListControls{m_ui.ListView1Icons, m_ui.ListView1Details, m_ui.GridPanel2, m_ui.BtnShuffle1},
        this);
    Gallery = new GalleryCommands(
        m_services, this, *m_menus, *m_options, m_state, *ListModel, *Scanner, *m_tree,
        *m_pageButtons, page,
        GalleryControls{m_ui.rbBrowserDefault, m_ui.rbBrowserEdge, m_ui.rbBrowserChrome,
                        m_ui.rbBrowserElse, m_ui.Label2, m_ui.Label4, m_ui.GridPanel1,
                        m_ui.RadioButton11, m_ui.RadioButton12, m_ui.RadioButton21,
                        m_ui.RadioButton31, m_ui.RadioButton41, m_ui.NumberBox12, m_ui.NumberBox21,
                        m_ui.NumberBox31, m_ui.NumberBox41},
        m_shownOnce, this);
    Viewer = new ViewerCommands(m_services, *m_menus, page, this);
    Help = new HelpCommands(m_services, this, *m_options, Scanner->randomEngine(), this);
    FileActions = new FileActionCommands(m_services, this, *m_menus, page, *m_activity, *m_tree,
                                         m_state.CorvindaleExeName1, this);
    Shortcuts = new ShortcutCommands(m_services, this, *m_menus, page, this);
    Order = new OrderCommands(*m_menus, *m_list, m_state.ListViewSortCol1, *ListModel, page,
                              m_ui.ListView1Icons, m_ui.ListView1Details, this);
    ListFiles = new ListFileCommands(m_services, this, *m_menus, *m_activity, *m_list, m_state,
                                     *ListModel, *Scanner, *m_tree, *m_captions, page, page, this);
    Clipboard = new ClipboardCommands(m_services, this, *m_menus, page, *m_list, *Scanner, this);
    FolderList = new FolderListCommands(m_services, this, *m_menus, *m_tree, *Scanner, this);
    wireControls();

    m_ui.Timer1 = named(new QTimer(this), "Timer1");
    m_ui.Timer1->setInterval(1000);
    connect(m_ui.Timer1, &QTimer::timeout, this, &TPelmarisForm::Timer1Timer);
    m_ui.Timer1->start();

    setAcceptDrops(true);
    FormCreate();
}

TPelmarisForm::~TPelmarisForm() = default;

void TPelmarisForm::buildStatusBar()
{
    m_ui.StatusPanel0 = named(new QLabel, "StatusPanel0");
    m_ui.StatusPanel1 = named(new StatusLabel, "StatusPanel1");
    m_ui.StatusPanel0->setFixedWidth(160);
    m_ui.StatusPanel1->setFixedWidth(450);
    m_ui.StatusPanel0->setAlignment(Qt::AlignCenter);
    m_ui.StatusPanel1->setAlignment(Qt::AlignCenter);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(m_ui.StatusPanel0);
    statusBar()->addWidget(m_ui.StatusPanel1);
}

void TPelmarisForm::showActivity(Work work)
{
    if (work == Work::Scanning) {
        CenterCancelButton(m_ui.btnCancel3, m_ui.ShellTreeView1);
        m_ui.btnCancel3->show();
    } else {
        m_ui.btnCancel3->hide();
    }
    if (Activity::fillsList(work)) {
        CenterCancelButton(m_ui.btnCancel1, m_ui.PnListView);
        m_ui.btnCancel1->show();
    } else {
        m_ui.btnCancel1->hide();
    }
    // An entry the work refuses is off while it runs, for the keys as for the menus.
    m_menus->release();
    if (!Activity::isIdle(work))
        m_menus->holdOff([work](Command c) { return refusedWhile(c, work); });
}

// Every control's signal goes to its handler: one line each.
void TPelmarisForm::wireControls()
{
    connect(m_ui.PageControl1, &QTabWidget::currentChanged, this,
            &TPelmarisForm::PageControl1Change);
    connect(m_ui.ChkBxShowHidden, &QCheckBox::clicked, this, &TPelmarisForm::ChkBxShowHiddenClick);

    // Folder tree and scan.
    connect(m_tree, &FolderTree::clicked, Scan, &ScanCommands::ShellTreeView1Click);
    connect(m_tree, &FolderTree::doubleClicked, Scan, &ScanCommands::ShellTreeView1DblClick);
    connect(m_ui.PopupMenu3, &QMenu::aboutToShow, Scan, &ScanCommands::PopupMenu3Popup);
    connect(m_ui.btnCancel3, &QPushButton::clicked, Scan, &ScanCommands::btnCancel3Click);
    connect(m_ui.btnCancel1, &QPushButton::clicked, Scan, &ScanCommands::btnCancel1Click);
    connect(m_ui.btnCancel1, &QPushButton::clicked, ListFiles, &ListFileCommands::btnCancel1Click);

    // The list.
    connect(m_ui.CheckBoxAll1, &QCheckBox::toggled, List, &ListCommands::CheckBoxAll1Click);
    connect(m_ui.CheckBoxTop10, &QCheckBox::toggled, List, &ListCommands::CheckBoxTop10Click);
    connect(m_ui.BtnShuffle1, &QPushButton::clicked, List, &ListCommands::BtnShuffle1Click);
    connect(m_ui.RbPreView, &QRadioButton::clicked, List, &ListCommands::RbPreViewClick);
    connect(m_ui.RbReport, &QRadioButton::clicked, List, &ListCommands::RbReportClick);
    connect(ListFiles, &ListFileCommands::previewChosen, List, &ListCommands::RbPreViewClick);

    // The list's order.
    connect(m_ui.ListView1Details->header(), &QHeaderView::sectionClicked, Order,
            &OrderCommands::ListView1ColumnClick);
    connect(Order, &OrderCommands::topTenthToRecheck, List, &ListCommands::CheckBoxTop10Click);
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_ui.ListView1Icons),
                                    static_cast<QAbstractItemView *>(m_ui.ListView1Details)}) {
        connect(view, &QAbstractItemView::clicked, List, &ListCommands::ListView1Click);
        connect(view, &QAbstractItemView::clicked, Viewer, &ViewerCommands::followList);
        connect(view, &QAbstractItemView::doubleClicked, FileActions,
                &FileActionCommands::ListView1DblClick);
        // Before the menu's own line: the menu opens on the row just selected.
        connect(view, &QWidget::customContextMenuRequested, FileActions,
                [this, view](const QPoint &pos) {
                    FileActions->ListView1ContextPopup(view->indexAt(pos));
                });
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint &pos) {
            List->PopupMenu1Popup();
            m_ui.PopupMenu1->popup(view->viewport()->mapToGlobal(pos));
        });
    }
    // The menus' keys: on the list while it has the focus, on the tree while it has.
    m_menus->attachShortcuts(Menu::List, m_ui.ListView1Icons);
    m_menus->attachShortcuts(Menu::List, m_ui.ListView1Details);
    m_ui.ListView1Icons->installEventFilter(this);
    m_ui.ListView1Details->installEventFilter(this);
    connect(m_ui.PnListView, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        List->PopupMenu1Popup();
        m_ui.PopupMenu1->popup(m_ui.PnListView->mapToGlobal(pos));
    });

    // The gallery page, the browser choice, the layout row and the colour mode.
    connect(m_ui.btnBrowse1, &QPushButton::clicked, Gallery, &GalleryCommands::btnBrowse1Click);
    connect(m_ui.btnBrowse3, &QPushButton::clicked, Gallery, &GalleryCommands::btnBrowse3Click);
    for (QPushButton *b : {m_ui.btnBrowse1, m_ui.btnBrowse3}) {
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(b, &QWidget::customContextMenuRequested, this, [this, b](const QPoint &pos) {
            Gallery->PopupMenu2Popup();
            m_ui.PopupMenu2->popup(b->mapToGlobal(pos));
        });
    }
    // Radio buttons act when they become checked, also when the settings check them.
    const auto onChecked = [this](QRadioButton *button, const std::function<void()> &handler) {
        connect(button, &QRadioButton::toggled, Gallery, [handler](bool checked) {
            if (checked)
                handler();
        });
    };
    onChecked(m_ui.rbBrowserDefault, [this] { Gallery->rbBrowserDefaultClick(); });
    onChecked(m_ui.rbBrowserEdge, [this] { Gallery->rbBrowserEdgeClick(); });
    onChecked(m_ui.rbBrowserChrome, [this] { Gallery->rbBrowserChromeClick(); });
    onChecked(m_ui.rbBrowserElse, [this] { Gallery->rbBrowserElseClick(); });
    onChecked(m_ui.rbBrowserLight, [this] { Gallery->rbBrowserLightClick(); });
    onChecked(m_ui.rbbrowserDark, [this] { Gallery->rbbrowserDarkClick(); });
    connect(m_ui.btnChangeOtherBrowser1, &QPushButton::clicked, Gallery,
            &GalleryCommands::btnChangeOtherBrowser1Click);
    connect(m_ui.BtnChangeDefaultBrowser1, &QPushButton::clicked, Gallery,
            &GalleryCommands::BtnChangeDefaultBrowser1Click);
    connect(m_ui.NumberBox12, &QSpinBox::valueChanged, Gallery,
            &GalleryCommands::NumberBox12Change);
    connect(m_ui.NumberBox41, &QSpinBox::valueChanged, Gallery,
            &GalleryCommands::NumberBox41Change);

    // The shortcut buttons.
    connect(m_ui.btnSendTo, &QPushButton::clicked, Shortcuts, &ShortcutCommands::SendTo1Click);
    connect(m_ui.btnDeskTop, &QPushButton::clicked, Shortcuts, &ShortcutCommands::DeskTop1Click);
    connect(m_ui.btnStartMenu, &QPushButton::clicked, Shortcuts,
            &ShortcutCommands::StartMenu1Click);
    connect(m_ui.btnStartUp, &QPushButton::clicked, Shortcuts, &ShortcutCommands::StartUp1Click);

    // The help page.
    connect(m_ui.btnHelp, &QPushButton::clicked, Help, &HelpCommands::btnHelpClick);
    connect(m_ui.bnAbout, &QPushButton::clicked, Help, &HelpCommands::bnAboutClick);
    connect(m_ui.btnProperties, &QPushButton::clicked, Help, &HelpCommands::btnPropertiesClick);
    connect(m_ui.btnDonation, &QPushButton::clicked, Help, &HelpCommands::btnDonationClick);
    connect(m_ui.btnHomeSite, &QPushButton::clicked, Help, &HelpCommands::btnHomeSiteClick);
}

bool TPelmarisForm::eventFilter(QObject *watched, QEvent *event)
{
    // Before a key reaches a menu entry, the entry is switched on or off as the menu
    // would be if it opened now.
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence key(static_cast<QKeyEvent *>(event)->keyCombination());
        if (watched == m_ui.ShellTreeView1 && m_menus->isShortcut(Menu::Tree, key))
            Scan->PopupMenu3Popup();
        else if (watched != m_ui.ShellTreeView1 && m_menus->isShortcut(Menu::List, key))
            List->updateMenuEnabling();
    }
    return QMainWindow::eventFilter(watched, event);
}

const QStringList &TPelmarisForm::ScanList() const
{
    return Scanner->scanList();
}

void TPelmarisForm::SetCloseEnabled(bool enabled)
{
    m_routines->SetCloseEnabled(enabled);
}

bool TPelmarisForm::closeEnabled() const
{
    return m_routines->closeEnabled();
}

void TPelmarisForm::CenterCancelButton(QWidget *button, QWidget *control)
{
    WindowRoutines::CenterCancelButton(button, control);
}

void TPelmarisForm::EnableListControls(bool enable)
{
    m_routines->EnableListControls(enable);
}

QString TPelmarisForm::treeSelectedPath() const
{
    return m_tree->selectedPath();
}

void TPelmarisForm::navigateTree(const QString &folder)
{
    m_tree->navigate(folder);
}

int TPelmarisForm::pageButtonImage() const
{
    return m_pageButtons->image();
}

void TPelmarisForm::ChkBxShowHiddenClick()
{
    m_tree->setShowHidden(m_options->values().showHidden);
}

void TPelmarisForm::PageControl1Change(int)
{
    QWidget *page = m_ui.PageControl1->currentWidget();
    if (page == m_ui.TabSheetFile)
        Gallery->refreshBrowserLabels();
    else if (page == m_ui.TabSheetSearch && m_shownOnce)
        m_routines->showListState();
}

} // namespace pelmaris::app
