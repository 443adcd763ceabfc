#include "app/pelmarisform.h"

#include "app/pagecontrol.h"
#include "gallery/browserchoice.h"
#include "platform/dialogs.h"
#include "platform/inifile.h"
#include "platform/shell.h"
#include "platform/specialfolders.h"
#include "platform/systeminfo.h"
#include "scan/foldertreemodel.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace pelmaris::app {

namespace {

const QString VersionLabel = QStringLiteral("V1.6");

// Sets a group of radio buttons the way reading the settings does: each key read as true
// checks its button (the last one wins); when none is true, none stays checked.
void applyRadioGroup(const QList<QAbstractButton *> &buttons, const QList<bool> &values)
{
    bool any = false;
    for (int i = 0; i < buttons.size(); ++i) {
        if (values[i]) {
            buttons[i]->setChecked(true);
            any = true;
        }
    }
    if (!any) {
        for (QAbstractButton *b : buttons) {
            const bool exclusive = b->autoExclusive();
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(exclusive);
        }
    }
}

void applyActionGroup(const QList<QAction *> &actions, const QList<bool> &values)
{
    QActionGroup *group = actions.first()->actionGroup();
    const auto policy = group->exclusionPolicy();
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (int i = 0; i < actions.size(); ++i)
        actions[i]->setChecked(false);
    group->setExclusionPolicy(policy);
    for (int i = 0; i < actions.size(); ++i)
        if (values[i])
            actions[i]->setChecked(true);
}

QString withDelimiter(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

} // namespace

QString TPelmarisForm::GetSpecialFolderPath(platform::SpecialFolder id) const
{
    return withDelimiter(m_services.folders->path(id));
}

QString TPelmarisForm::settingsFileToRead() const
{
    return iniFileToRead(m_services.folders->path(platform::SpecialFolder::AppData),
                         m_services.system->executablePath());
}

QString TPelmarisForm::settingsFileToWrite() const
{
    return iniFileToWrite(m_services.folders->path(platform::SpecialFolder::AppData),
                          m_services.system->executablePath());
}

void TPelmarisForm::FormCreate()
{
    IsTaskBarShowing = true;
    setWindowTitle(QApplication::applicationName());

    m_placement = currentPlacement();
    ReadContext context;
    context.workArea = m_services.system->workArea().size();
    context.current = m_placement;
    context.desktopPath = GetSpecialFolderPath(platform::SpecialFolder::Desktop);
    applySettings(readSettings(platform::IniFile::load(settingsFileToRead()), context));

    buildTree();
    MakeTempFileNames();
    if (BrowserName1.isEmpty())
        BrowserName1 = gallery::GetDefaultBrowser(m_services);

    StatusPanel1->setText(treeSelectedPath());
    CenterCancelButton(btnCancel1, PnListView);
    btnCancel1->hide();
    PageControl1->setCurrentWidget(TabSheetSearch);
    setWindowTitle(QStringLiteral("ペルマリス"));
    BtnShuffle1->setEnabled(false);
    Timer1Timer();
}

WindowPlacement TPelmarisForm::currentPlacement() const
{
    WindowPlacement p = m_placement;
    const QPoint origin = m_services.system->workArea().topLeft();
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    p.left = normal.left() - origin.x();
    p.top = normal.top() - origin.y();
    p.right = p.left + normal.width();
    p.bottom = p.top + normal.height();
    p.state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    return p;
}

void TPelmarisForm::applySettings(const Settings &settings)
{
    m_placement = settings.placement;
    const WindowPlacement &p = settings.placement;
    const QPoint origin = m_services.system->workArea().topLeft();
    setGeometry(QRect(origin + QPoint(p.left, p.top),
                      QSize(qMax(1, p.right - p.left), qMax(1, p.bottom - p.top))));
    setWindowState(p.state == 2   ? Qt::WindowMaximized
                   : p.state == 1 ? Qt::WindowMinimized
                                  : Qt::WindowNoState);

    const Options &o = settings.options;
    ChkBxSpreadTree->setChecked(o.spreadTree);
    ChkBxShowHidden->setChecked(o.showHidden);
    ChkBxCloseQuery->setChecked(o.closeQuery);
    ChkBxSaveStatus->setChecked(o.saveStatus);
    CurrentDir1 = o.currentDir;
    Splitter1->setSizes({qMax(0, o.treeViewWidth), qMax(1, width() - o.treeViewWidth)});
    applyActionGroup(
        {action(QStringLiteral("pm3ScanDetail")), action(QStringLiteral("pm3ScanNameOnly"))},
        {o.treeViewScanDetail, o.treeViewScanNameOnly});
    ScrollPos = o.scrollPos;
    applyActionGroup({action(QStringLiteral("pm3NumSortA")), action(QStringLiteral("pm3NumSortD")),
                      action(QStringLiteral("pm3DicSortA")), action(QStringLiteral("pm3DicSortD")),
                      action(QStringLiteral("pm3RandomOut"))},
                     {o.numSortA, o.numSortD, o.dicSortA, o.dicSortD, o.randomOut});
    ListView1->setCurrentWidget(ListView1Icons);

    applyRadioGroup({RadioButton11}, {o.autoSized});
    applyRadioGroup({RadioButton12}, {o.rangeView});
    NumberBox12->setValue(o.rangeVal);
    applyRadioGroup({RadioButton21}, {o.fixedWidth});
    NumberBox21->setValue(o.horizVal);
    applyRadioGroup({RadioButton31}, {o.fixedHeight});
    NumberBox31->setValue(o.vertVal);
    applyRadioGroup({RadioButton41}, {o.setWidth});
    NumberBox41->setValue(o.widthVal);
    applyRadioGroup({RadioButton51}, {o.asIs});
    if (!(o.autoSized || o.rangeView || o.fixedWidth || o.fixedHeight || o.setWidth || o.asIs))
        applyRadioGroup({RadioButton11, RadioButton12, RadioButton21, RadioButton31, RadioButton41,
                         RadioButton51},
                        {false, false, false, false, false, false});

    applyRadioGroup({rbBrowserDefault, rbBrowserEdge, rbBrowserChrome, rbBrowserElse},
                    {o.browserDefault, o.browserEdge, o.browserChrome, o.browserElse});
    BrowserName1 = o.browserName;
    BrowserName2 = o.browserName2;
    applyRadioGroup({rbBrowserLight, rbbrowserDark}, {o.browserLight, o.browserDark});
}

Settings TPelmarisForm::collectSettings() const
{
    Settings s;
    s.placement = currentPlacement();
    Options &o = s.options;
    o.spreadTree = ChkBxSpreadTree->isChecked();
    o.showHidden = ChkBxShowHidden->isChecked();
    o.closeQuery = ChkBxCloseQuery->isChecked();
    o.saveStatus = ChkBxSaveStatus->isChecked();
    o.currentDir = o.spreadTree ? CurrentDir1 : QString();
    o.treeViewWidth = Splitter1->sizes().value(0);
    o.treeViewScanDetail = action(QStringLiteral("pm3ScanDetail"))->isChecked();
    o.treeViewScanNameOnly = action(QStringLiteral("pm3ScanNameOnly"))->isChecked();
    o.numSortA = action(QStringLiteral("pm3NumSortA"))->isChecked();
    o.numSortD = action(QStringLiteral("pm3NumSortD"))->isChecked();
    o.dicSortA = action(QStringLiteral("pm3DicSortA"))->isChecked();
    o.dicSortD = action(QStringLiteral("pm3DicSortD"))->isChecked();
    o.randomOut = action(QStringLiteral("pm3RandomOut"))->isChecked();
    o.scrollPos = ShellTreeView1 ? ShellTreeView1->horizontalScrollBar()->value() : ScrollPos;
    o.autoSized = RadioButton11->isChecked();
    o.rangeView = RadioButton12->isChecked();
    o.rangeVal = NumberBox12->value();
    o.fixedWidth = RadioButton21->isChecked();
    o.horizVal = NumberBox21->value();
    o.fixedHeight = RadioButton31->isChecked();
    o.vertVal = NumberBox31->value();
    o.setWidth = RadioButton41->isChecked();
    o.widthVal = NumberBox41->value();
    o.asIs = RadioButton51->isChecked();
    o.browserDefault = rbBrowserDefault->isChecked();
    o.browserEdge = rbBrowserEdge->isChecked();
    o.browserChrome = rbBrowserChrome->isChecked();
    o.browserElse = rbBrowserElse->isChecked();
    o.browserName = BrowserName1;
    o.browserName2 = BrowserName2;
    o.browserLight = rbBrowserLight->isChecked();
    o.browserDark = rbbrowserDark->isChecked();
    return s;
}

void TPelmarisForm::buildTree()
{
    // Folders only, listed off the UI thread: a folder of many files costs the tree nothing.
    ShellTreeModel = new scan::FolderTreeModel(*m_services.fileSystem, this);
    ShellTreeModel->setObjectName(QStringLiteral("ShellTreeModel"));
    ChkBxShowHiddenClick();

    ShellTreeView1 = new QTreeView(PnTreeView);
    ShellTreeView1->setObjectName(QStringLiteral("ShellTreeView1"));
    ShellTreeView1->setModel(ShellTreeModel);
    for (int c = 1; c < ShellTreeModel->columnCount(); ++c)
        ShellTreeView1->hideColumn(c);
    ShellTreeView1->header()->hide();
    ShellTreeView1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    ShellTreeView1->header()->setStretchLastSection(false);
    ShellTreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ShellTreeView1->setFrameShape(QFrame::StyledPanel);
    ShellTreeView1->setRootIsDecorated(true);
    ShellTreeView1->setTabKeyNavigation(false);
    ShellTreeView1->setFocusPolicy(Qt::ClickFocus);
    ShellTreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    ShellTreeView1->setExpandsOnDoubleClick(false);
    auto *layout = static_cast<QVBoxLayout *>(PnTreeView->layout());
    layout->insertWidget(0, ShellTreeView1, 1);
    delete layout->takeAt(1); // the stretch that held the tree's place

    connect(ShellTreeView1, &QTreeView::clicked, this, &TPelmarisForm::ShellTreeView1Click);
    connect(ShellTreeView1, &QTreeView::doubleClicked, this,
            &TPelmarisForm::ShellTreeView1DblClick);
    connect(ShellTreeView1, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        // A right click selects the node under the pointer before the menu opens.
        const QModelIndex index = ShellTreeView1->indexAt(pos);
        if (index.isValid())
            ShellTreeView1->setCurrentIndex(index);
        PopupMenu3->popup(ShellTreeView1->viewport()->mapToGlobal(pos));
    });
    connect(ShellTreeModel, &scan::FolderTreeModel::folderLoaded, this,
            &TPelmarisForm::keepTreeSelectionInView);
    // The saved scroll position can only be applied once the tree has content to scroll.
    auto *once = new QMetaObject::Connection;
    *once = connect(ShellTreeModel, &scan::FolderTreeModel::folderLoaded, this, [this, once] {
        if (ShellTreeView1->horizontalScrollBar()->maximum() >= ScrollPos) {
            ShellTreeView1->horizontalScrollBar()->setValue(ScrollPos);
            disconnect(*once);
            delete once;
        }
    });
}

void TPelmarisForm::keepTreeSelectionInView(const QString &loadedFolder)
{
    // The folders beside the path the tree was opened at arrive later and push the
    // selected node down; it stays in view while its own ancestors are being listed.
    const QString selected = treeSelectedPath();
    const QString prefix = loadedFolder.endsWith(u'/') ? loadedFolder : loadedFolder + u'/';
    if (selected.startsWith(prefix))
        ShellTreeView1->scrollTo(ShellTreeView1->currentIndex());
}

QString TPelmarisForm::treeSelectedPath() const
{
    if (!ShellTreeView1)
        return {};
    const QModelIndex index = ShellTreeView1->currentIndex();
    return index.isValid() ? ShellTreeModel->filePath(index) : QString();
}

void TPelmarisForm::navigateTree(const QString &folder)
{
    if (!ShellTreeView1)
        return;
    QString path = QDir::cleanPath(folder);
    const QModelIndex index = ShellTreeModel->index(path);
    if (!index.isValid())
        return;
    ShellTreeView1->setCurrentIndex(index);
    ShellTreeView1->expand(index);
    ShellTreeView1->scrollTo(index);
}

void TPelmarisForm::ChkBxShowHiddenClick()
{
    if (!ShellTreeModel)
        return;
    ShellTreeModel->setShowHidden(ChkBxShowHidden->isChecked());
}

void TPelmarisForm::MakeTempFileNames()
{
    platform::TempFileNames names;
    QString error;
    if (!platform::makeTempFileNames(m_services.system->tempPath(), &names, &error)) {
        m_services.dialogs->error(this, error);
        return;
    }
    TempFileName1 = names.stem;
    TempHtmlFileName1 = names.html;
    TempIconFileName1 = names.ico;
    TempIconFileName4 = names.icon;
}

void TPelmarisForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        ShowingChanged();
    }
}

void TPelmarisForm::ShowingChanged()
{
    setEnabled(true);
    if (!m_launchParameters.isEmpty()) {
        repaint();
        HandleLaunchParameter();
        return;
    }
    if (ShellTreeView1)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    RestoreStartFolder();
    if (ShellTreeView1)
        QApplication::restoreOverrideCursor();
}

void TPelmarisForm::RestoreStartFolder()
{
    QString folder;
    if (!ChkBxSpreadTree->isChecked())
        folder = GetSpecialFolderPath(platform::SpecialFolder::Desktop);
    else if (!CurrentDir1.isEmpty() && QFileInfo(CurrentDir1).isDir())
        folder = withDelimiter(CurrentDir1);
    else
        folder = GetSpecialFolderPath(platform::SpecialFolder::Desktop);
    navigateTree(folder);
    EnableListControls(false);
    ListView1->setEnabled(true);
    StatusPanel1->setText(CurrentDir1);
}

void TPelmarisForm::Timer1Timer()
{
    StatusPanel0->setText(
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd  HH:mm:ss")) +
        QString::asprintf("  %d%%", m_services.system->memoryLoad()));
}

void TPelmarisForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TPelmarisForm::FormResize()
{
    PageControl1->pageTabBar()->setTabWidth(PageControl1->width() / (PageControl1->count() + 1));
    CenterCancelButton(btnCancel1, PnListView);
}

void TPelmarisForm::CenterCancelButton(QWidget *button, QWidget *control)
{
    if (button->parentWidget() != control) {
        const bool visible = button->isVisible();
        button->setParent(control);
        button->setVisible(visible);
    }
    const int w = control->width();
    const int h = control->height();
    const int bw = w > h ? w / 4 : w / 2;
    const int bh = h / 4;
    button->setGeometry((w - bw) / 2, (h - bh) / 2, bw, bh);
    button->raise();
}

void TPelmarisForm::SetCloseEnabled(bool enabled)
{
    m_closeEnabled = enabled;
}

void TPelmarisForm::closeEvent(QCloseEvent *event)
{
    if (!m_closeEnabled || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool TPelmarisForm::FormCloseQuery()
{
    if (ChkBxCloseQuery->isChecked() &&
        !m_services.dialogs->askYesNo(this, QStringLiteral("終了してもよいですか？")))
        return false;
    writeSettingsFile();
    removeTempFiles();
    return true;
}

void TPelmarisForm::writeSettingsFile()
{
    const QString exe = m_services.system->executablePath();
    const QString path = settingsFileToWrite();
    platform::IniFile ini = platform::IniFile::load(path);
    ProgramInfo program;
    program.name = QFileInfo(exe).fileName();
    program.path = withDelimiter(QFileInfo(exe).absolutePath());
    program.version = VersionLabel;
    program.iniFile = path;
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    program.lastClose = locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
                        locale.toString(now.time(), QLocale::LongFormat);
    Settings settings = collectSettings();
    if (!settings.options.spreadTree)
        CurrentDir1.clear();
    writeSettings(ini, settings, program);
    QString error;
    // A file that cannot be saved is reported; it must not keep the window from closing.
    if (!ini.save(path, &error))
        m_services.dialogs->error(this, error + QStringLiteral("\r\n") + path);
}

void TPelmarisForm::removeTempFiles()
{
    if (!TempHtmlFileName1.isEmpty() && QFileInfo::exists(TempHtmlFileName1))
        platform::scrubAndRemove(TempHtmlFileName1);
    for (const QString &name : {TempIconFileName1, TempIconFileName4})
        if (!name.isEmpty())
            QFile::remove(name);
}

int TPelmarisForm::listRowCount() const
{
    return ListModel ? ListModel->rowCount() : 0;
}

void TPelmarisForm::EnableListControls(bool enable)
{
    const QList<QWidget *> rowControls = {GridPanel2, CheckBoxAll1, CheckBoxTop10, RbPreView,
                                          RbReport,   BtnShuffle1,  ListView1,     GridPanel1};
    for (QWidget *w : rowControls)
        w->setEnabled(enable);
    for (QWidget *w : GridPanel1->findChildren<QWidget *>())
        w->setEnabled(enable);
    if (!enable) {
        BtnShuffle1->setIcon(QIcon());
        setPageButtonImage(-1);
    } else {
        showListState();
    }
}

void TPelmarisForm::showListState()
{
    if (listRowCount() == 0) {
        GridPanel2->setEnabled(false);
        BtnShuffle1->setIcon(QIcon());
        BtnShuffle1->setEnabled(false);
        GridPanel1->setEnabled(false);
        setPageButtonImage(-1);
        btnBrowse1->setEnabled(false);
        btnBrowse3->setEnabled(false);
    } else {
        applyBrowserImage();
        BtnShuffle1->setIcon(QIcon::fromTheme(QStringLiteral("media-playlist-shuffle")));
    }
}

void TPelmarisForm::PageControl1Change(int)
{
    QWidget *page = PageControl1->currentWidget();
    if (page == TabSheetFile) {
        refreshBrowserLabels();
    } else if (page == TabSheetSearch && m_shownOnce) {
        showListState();
    }
}

void TPelmarisForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TPelmarisForm::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    event->acceptProposedAction();
    WMDropFiles(urls.first().isLocalFile() ? urls.first().toLocalFile() : urls.first().toString());
}

void TPelmarisForm::HandleLaunchParameter()
{
    TargetFileName1 = m_launchParameters.value(0);
    actOnExternalPath(TargetFileName1, QStringLiteral("「送る」の起動パラメータが不正です"));
    IsTaskBarShowing = true;
}

QString TPelmarisForm::ResolveShortcutTarget(const QString &path) const
{
    return m_services.shell->shortcutTarget(path);
}

void TPelmarisForm::WMDropFiles(const QString &firstPath)
{
    TargetFileName1 = firstPath;
    actOnExternalPath(firstPath, QStringLiteral("ドラッグ＆ドロップに異状があります"));
}

void TPelmarisForm::actOnExternalPath(const QString &path, const QString &failureText)
{
    const QFileInfo info(path);
    QString folder;
    if (!path.isEmpty() && info.isDir()) {
        // A typed path may end in a delimiter; the folder is kept as the tree names it.
        folder = QDir::cleanPath(info.absoluteFilePath());
    } else if (!path.isEmpty() && info.exists()) {
        // A file counts by its own folder, a link or shortcut file included.
        folder = info.absolutePath();
    } else {
        m_services.dialogs->messageCentered(failureText + QStringLiteral("\r\n") + path);
        return;
    }
    navigateTree(folder);
    // The folder itself is scanned, also when the tree does not show it (a hidden one).
    startScanOf(folder, false);
}

} // namespace pelmaris::app
