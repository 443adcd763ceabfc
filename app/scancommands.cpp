#include "app/scancommands.h"

#include "app/activity.h"
#include "app/countcaptions.h"
#include "app/currentoptions.h"
#include "app/foldertree.h"
#include "app/listviewstate.h"
#include "app/menucommands.h"
#include "app/menurules.h"
#include "app/pagebuttons.h"
#include "app/windowroutines.h"
#include "platform/clipboard.h"
#include "platform/pathtext.h"
#include "platform/styles.h"
#include "scan/imagelistmodel.h"
#include "scan/leftout.h"
#include "scan/listchecks.h"
#include "scan/listtexts.h"
#include "scan/scancontroller.h"
#include "shell/shellroutines.h"

#include <QAction>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTreeView>

namespace pelmaris::app {

ScanCommands::ScanCommands(const FormContext &context, QObject *parent)
    : QObject(parent), m_c(context)
{
    scan::ScanController *scanner = &m_c.scanner;
    connect(scanner, &scan::ScanController::scanProgress, this, &ScanCommands::onScanProgress);
    connect(scanner, &scan::ScanController::scanFinished, this, &ScanCommands::onScanFinished);
    connect(scanner, &scan::ScanController::buildProgress, this, &ScanCommands::onBuildProgress);
    connect(scanner, &scan::ScanController::buildFinished, this, &ScanCommands::onBuildFinished);

    MenuCommands &menus = m_c.menus;
    menus.claim(Command::Pm3StartDetect, [this] { ShellTreeView1DblClick(); });
    menus.claim(Command::pm3AddDetect, [this] { pm3AddDetectClick(); });
    menus.claim(Command::pm1RebuildListview, [this] { pm1RebuildListviewClick(); });
    // The output order is a check mark the next scan or rebuild reads.
    menus.claim(Command::pm3NumSortA, [this] { pm3NumSortAClick(); });
    menus.claim(Command::pm3NumSortD, [this] { pm3NumSortDClick(); });
    menus.claim(Command::pm3DicSortA, [this] { pm3DicSortAClick(); });
    menus.claim(Command::pm3DicSortD, [this] { pm3DicSortDClick(); });
    menus.claim(Command::pm3RandomOut, [this] { pm3RandomOutClick(); });
    for (Command order : {Command::pm3NumSortA, Command::pm3NumSortD, Command::pm3DicSortA,
                          Command::pm3DicSortD, Command::pm3RandomOut})
        menus.action(order)->setEnabled(true);
}

// Each order entry only becomes the checked one of its group; ScanList is put into that
// order at the next scan or rebuild.
void ScanCommands::pm3NumSortAClick()
{
    m_c.menus.action(Command::pm3NumSortA)->setChecked(true);
}

void ScanCommands::pm3NumSortDClick()
{
    m_c.menus.action(Command::pm3NumSortD)->setChecked(true);
}

void ScanCommands::pm3DicSortAClick()
{
    m_c.menus.action(Command::pm3DicSortA)->setChecked(true);
}

void ScanCommands::pm3DicSortDClick()
{
    m_c.menus.action(Command::pm3DicSortD)->setChecked(true);
}

void ScanCommands::pm3RandomOutClick()
{
    m_c.menus.action(Command::pm3RandomOut)->setChecked(true);
}

void ScanCommands::ShellTreeView1DblClick()
{
    startScanOf(m_c.tree.selectedPath(), false);
}

void ScanCommands::pm3AddDetectClick()
{
    startScanOf(m_c.tree.selectedPath(), true);
}

void ScanCommands::startScanOf(const QString &folder, bool additive)
{
    FormControls &ui = m_c.ui;
    FormState &st = m_c.state;
    // One scan, list build or list load at a time; a further request is refused.
    if (m_c.activity.isScanning() || m_c.activity.fillsList())
        return;
    m_c.routines.setTaskbarProgress(0, 0);
    m_c.captions.plainCounts();
    st.PrevCount1 = 0;
    m_c.routines.EnableListControls(false);
    m_c.routines.setBusyCursor(true);
    st.DblClickPath1 = folder;
    // A folder with no path (the computer in the tree) is scanned as one that cannot be
    // read: a delimiter alone would name a root.
    st.CurrentDir1 = folder.isEmpty() ? QString() : pathtext::withDelimiter(folder);

    ui.ListView1->setEnabled(false);
    m_c.activity.set(Work::Scanning);
    st.CancelFlag3 = false;
    ui.btnBrowse1->setEnabled(false);
    m_c.captions.scanRunning();
    ui.btnBrowse3->setEnabled(false);
    if (additive) {
        st.PrevCount1 = m_c.model.rowCount();
    } else {
        m_c.model.clearRows(true);
        st.PrevCount1 = 0;
    }
    m_c.list.setAllChecked(true);
    m_c.routines.SetCloseEnabled(false);
    st.TotalListUp1 = 0;
    ui.StatusPanel1->setText(scan::scanCountText(0));
    m_c.scanner.startScan(st.CurrentDir1, m_c.options.scanOrder());
}

void ScanCommands::onScanProgress(qint64 found)
{
    m_c.state.TotalListUp1 = int(found);
    m_c.ui.StatusPanel1->setText(m_c.state.CancelFlag3
                                     ? scan::scanCancelledText(found + m_c.state.PrevCount1)
                                     : scan::scanCountText(found));
}

void ScanCommands::onScanFinished(bool cancelled)
{
    FormControls &ui = m_c.ui;
    const qint64 found = m_c.scanner.scanList().size();
    const bool detail = m_c.options.values().treeViewScanDetail;
    // After a cancel the cancel text stays until the list building replaces it; without a
    // list building nothing would, so every scan then ends with its count.
    ui.StatusPanel1->setText(cancelled && detail
                                 ? scan::scanCancelledText(found + m_c.state.PrevCount1)
                                 : scan::scanFoundText(found));
    ui.btnBrowse3->setEnabled(true);
    ui.GridPanel1->setEnabled(true);
    for (QWidget *w : ui.GridPanel1->findChildren<QWidget *>())
        w->setEnabled(true);
    m_c.captions.filesFound(found);
    m_c.pageButtons.showBrowser(m_c.state.BrowserName1);

    m_c.activity.set(detail ? Work::Building : Work::Idle);
    m_c.routines.SetCloseEnabled(true);
    ui.ListView1->setEnabled(true);
    if (detail) {
        RunImageListBuild();
    } else {
        m_c.routines.setBusyCursor(false);
        showLeftOut();
    }
}

void ScanCommands::showLeftOut()
{
    // Only when something could not be listed: the usual texts stand alone otherwise.
    const QString leftOut = scan::leftOutText(m_c.scanner.leftOut());
    QLabel *status = m_c.ui.StatusPanel1;
    status->setToolTip({});
    if (leftOut.isEmpty())
        return;
    // The names make the text longer than the panel: the panel shows its beginning, the
    // tooltip all of it.
    status->setText(status->text() + QStringLiteral("  ") + leftOut);
    status->setToolTip(status->text());
}

QColor ScanCommands::thumbnailBackground() const
{
    return m_c.options.values().browserDark
               ? m_c.services.styles->color(platform::StyleColor::ListView)
               : QColor(Qt::white);
}

void ScanCommands::RunImageListBuild()
{
    FormControls &ui = m_c.ui;
    m_c.routines.setBusyCursor(true);
    m_c.activity.set(Work::Building);
    m_c.routines.SetCloseEnabled(false);
    ui.ListView1->setEnabled(false);
    m_c.state.CancelFlag1 = false;
    m_c.state.ScanCount1 = 0;
    m_c.routines.setTaskbarProgress(0, m_c.scanner.scanList().size());
    scan::BuildSettings settings;
    settings.background = thumbnailBackground();
    settings.useThumbnailCache = m_c.options.values().thumbnailCache;
    if (!m_c.scanner.startBuild(settings))
        onBuildFinished(false);
}

void ScanCommands::onBuildProgress(qint64 tried, qint64 total)
{
    const int previous = m_c.state.PrevCount1;
    m_c.state.ScanCount1 = int(tried);
    m_c.routines.setTaskbarProgress(tried, total);
    const int rows = m_c.model.rowCount();
    // The tree stays at the folder the user chose: following each row's folder would
    // expand every folder on the way and leave the selection on the last of them.
    if (rows > previous)
        m_c.ui.StatusPanel1->setText(
            scan::buildProgressText(rows, tried + previous, total + previous));
}

void ScanCommands::onBuildFinished(bool)
{
    FormControls &ui = m_c.ui;
    m_c.activity.set(Work::Idle);
    m_c.routines.SetCloseEnabled(true);
    ui.ListView1->setEnabled(true);
    m_c.routines.setTaskbarProgress(0, 0);
    const int rows = m_c.model.rowCount();
    ui.StatusPanel1->setText(
        scan::buildDoneText(rows, m_c.scanner.scanList().size() + m_c.state.PrevCount1));
    showLeftOut();
    m_c.routines.EnableListControls(true);
    m_c.captions.rowCounts(rows);
    m_c.captions.checkedCount(rows);
    ui.btnBrowse1->setEnabled(true);
    ui.btnBrowse3->setEnabled(true);
    m_c.tree.showSelected();
    m_c.list.setAllChecked(true);
    m_c.routines.checkAllRows(true);
    if (rows > 0)
        m_c.routines.selectRow(0);
    m_c.routines.setBusyCursor(false);
    if (!m_c.window->isActiveWindow())
        shell::FlashTaskbarButton(m_c.services, m_c.window, 10, 500);
}

void ScanCommands::btnCancel3Click()
{
    m_c.state.CancelFlag3 = true;
    m_c.scanner.cancelScan();
    m_c.routines.SetCloseEnabled(true);
}

void ScanCommands::btnCancel1Click()
{
    m_c.state.CancelFlag1 = true;
    m_c.scanner.cancelBuild();
    m_c.routines.SetCloseEnabled(true);
}

void ScanCommands::pm1RebuildListviewClick()
{
    if (m_c.activity.isScanning() || m_c.activity.fillsList())
        return;
    m_c.captions.plainCounts();
    m_c.state.PrevCount1 = 0;
    m_c.routines.EnableListControls(false);
    m_c.model.clearRows(true);
    m_c.scanner.SortScanList(m_c.options.scanOrder());
    RunImageListBuild();
}

void ScanCommands::PopupMenu3Popup()
{
    TreeMenuState s;
    s.work = m_c.activity.work();
    s.rows = m_c.model.rowCount();
    s.scanListEmpty = m_c.scanner.scanList().isEmpty();
    s.clipboardHasText = !m_c.services.clipboard->text().isEmpty();
    m_c.menus.enable(Menu::Tree, [&s](Command c) { return treeMenuEnables(c, s); });
}

void ScanCommands::ShellTreeView1Click()
{
    if (!m_c.shown)
        return;
    FormControls &ui = m_c.ui;
    FormState &st = m_c.state;
    m_c.routines.setBusyCursor(true);
    m_c.list.setAllChecked(false);
    m_c.routines.checkAllRows(false);
    st.CurrentDir1 = m_c.tree.selectedPath();
    int n = 0;
    if (m_c.model.rowCount() > 0 && !m_c.activity.fillsList()) {
        n = scan::checkRowsInsideFolder(m_c.model, st.CurrentDir1);
        if (st.ListViewSortCol1 != 0) {
            st.ListViewSortCol1 = 0;
            m_c.model.ResetColumnCaptions();
        }
        scan::moveCheckedFirst(m_c.model);
        m_c.routines.scrollToTop();
    }
    m_c.captions.checkedCount(n);
    QStatusBar *bar = m_c.window->statusBar();
    const int width = bar->width() - ui.StatusPanel0->width() - 80;
    ui.StatusPanel1->setText(
        QFontMetrics(bar->font()).elidedText(st.CurrentDir1, Qt::ElideLeft, qMax(0, width)));
    m_c.routines.setBusyCursor(false);
}

} // namespace pelmaris::app
