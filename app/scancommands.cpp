#include "app/scancommands.h"

#include "app/activity.h"
#include "app/countcaptions.h"
#include "app/currentoptions.h"
#include "app/foldertree.h"
#include "app/formstate.h"
#include "app/listpage.h"
#include "app/listviewstate.h"
#include "app/menucommands.h"
#include "app/menurules.h"
#include "app/scanview.h"
#include "platform/clipboard.h"
#include "platform/pathtext.h"
#include "platform/styles.h"
#include "scan/imagelistmodel.h"
#include "scan/leftout.h"
#include "scan/listchecks.h"
#include "scan/listtexts.h"
#include "scan/scancontroller.h"

#include <QAction>

namespace pelmaris::app {

ScanCommands::ScanCommands(const platform::Services &services, MenuCommands &menus,
                           Activity &activity, const CurrentOptions &options, ListViewState &list,
                           FormState &state, scan::ImageListModel &model,
                           scan::ScanController &scanner, FolderTree &tree, CountCaptions &captions,
                           ListPage &page, ScanView &view, const bool &shown, QObject *parent)
    : QObject(parent), m_services(services), m_menus(menus), m_activity(activity),
      m_options(options), m_list(list), m_state(state), m_model(model), m_scanner(scanner),
      m_tree(tree), m_captions(captions), m_page(page), m_view(view), m_shown(shown)
{
    connect(&scanner, &scan::ScanController::scanProgress, this, &ScanCommands::onScanProgress);
    connect(&scanner, &scan::ScanController::scanFinished, this, &ScanCommands::onScanFinished);
    connect(&scanner, &scan::ScanController::buildProgress, this, &ScanCommands::onBuildProgress);
    connect(&scanner, &scan::ScanController::buildFinished, this, &ScanCommands::onBuildFinished);

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
    m_menus.action(Command::pm3NumSortA)->setChecked(true);
}

void ScanCommands::pm3NumSortDClick()
{
    m_menus.action(Command::pm3NumSortD)->setChecked(true);
}

void ScanCommands::pm3DicSortAClick()
{
    m_menus.action(Command::pm3DicSortA)->setChecked(true);
}

void ScanCommands::pm3DicSortDClick()
{
    m_menus.action(Command::pm3DicSortD)->setChecked(true);
}

void ScanCommands::pm3RandomOutClick()
{
    m_menus.action(Command::pm3RandomOut)->setChecked(true);
}

void ScanCommands::ShellTreeView1DblClick()
{
    startScanOf(m_tree.selectedPath(), false);
}

void ScanCommands::pm3AddDetectClick()
{
    startScanOf(m_tree.selectedPath(), true);
}

void ScanCommands::startScanOf(const QString &folder, bool additive)
{
    FormState &st = m_state;
    // One scan, list build or list load at a time; a further request is refused.
    if (m_activity.isScanning() || m_activity.fillsList())
        return;
    m_view.setTaskbarProgress(0, 0);
    m_captions.plainCounts();
    st.PrevCount1 = 0;
    m_view.EnableListControls(false);
    m_page.setBusyCursor(true);
    st.DblClickPath1 = folder;
    // A folder with no path (the computer in the tree) is scanned as one that cannot be
    // read: a delimiter alone would name a root.
    st.CurrentDir1 = folder.isEmpty() ? QString() : pathtext::withDelimiter(folder);

    m_view.showScanRunning();
    m_activity.set(Work::Scanning);
    st.CancelFlag3 = false;
    if (additive) {
        st.PrevCount1 = m_model.rowCount();
    } else {
        m_model.clearRows(true);
        st.PrevCount1 = 0;
    }
    m_list.setAllChecked(true);
    m_view.SetCloseEnabled(false);
    st.TotalListUp1 = 0;
    m_page.setStatus(scan::scanCountText(0));
    m_scanner.startScan(st.CurrentDir1, m_options.scanOrder());
}

void ScanCommands::onScanProgress(qint64 found)
{
    m_state.TotalListUp1 = int(found);
    m_page.setStatus(m_state.CancelFlag3 ? scan::scanCancelledText(found + m_state.PrevCount1)
                                         : scan::scanCountText(found));
}

void ScanCommands::onScanFinished(bool cancelled)
{
    const qint64 found = m_scanner.scanList().size();
    const bool detail = m_options.values().treeViewScanDetail;
    // After a cancel the cancel text stays until the list building replaces it; without a
    // list building nothing would, so every scan then ends with its count.
    m_page.setStatus(cancelled && detail ? scan::scanCancelledText(found + m_state.PrevCount1)
                                         : scan::scanFoundText(found));
    m_view.showScanDone(found);

    m_activity.set(detail ? Work::Building : Work::Idle);
    m_view.SetCloseEnabled(true);
    m_view.setListEnabled(true);
    if (detail) {
        RunImageListBuild();
    } else {
        m_page.setBusyCursor(false);
        showLeftOut();
    }
}

void ScanCommands::showLeftOut()
{
    // Only when something could not be listed: the usual texts stand alone otherwise.
    m_view.showLeftOut(scan::leftOutText(m_scanner.leftOut()));
}

QColor ScanCommands::thumbnailBackground() const
{
    return m_options.values().browserDark ? m_services.styles->color(platform::StyleColor::ListView)
                                          : QColor(Qt::white);
}

void ScanCommands::RunImageListBuild()
{
    m_page.setBusyCursor(true);
    m_activity.set(Work::Building);
    m_view.SetCloseEnabled(false);
    m_view.setListEnabled(false);
    m_state.CancelFlag1 = false;
    m_state.ScanCount1 = 0;
    m_view.setTaskbarProgress(0, m_scanner.scanList().size());
    scan::BuildSettings settings;
    settings.background = thumbnailBackground();
    settings.useThumbnailCache = m_options.values().thumbnailCache;
    if (!m_scanner.startBuild(settings))
        onBuildFinished(false);
}

void ScanCommands::onBuildProgress(qint64 tried, qint64 total)
{
    const int previous = m_state.PrevCount1;
    m_state.ScanCount1 = int(tried);
    m_view.setTaskbarProgress(tried, total);
    const int rows = m_model.rowCount();
    // The tree stays at the folder the user chose: following each row's folder would
    // expand every folder on the way and leave the selection on the last of them.
    if (rows > previous)
        m_page.setStatus(scan::buildProgressText(rows, tried + previous, total + previous));
}

void ScanCommands::onBuildFinished(bool)
{
    m_activity.set(Work::Idle);
    m_view.SetCloseEnabled(true);
    m_view.setListEnabled(true);
    m_view.setTaskbarProgress(0, 0);
    const int rows = m_model.rowCount();
    m_page.setStatus(scan::buildDoneText(rows, m_scanner.scanList().size() + m_state.PrevCount1));
    showLeftOut();
    m_view.showBuildDone(rows);
    m_tree.showSelected();
    m_list.setAllChecked(true);
    m_page.checkAllRows(true);
    if (rows > 0)
        m_page.selectRow(0);
    m_page.setBusyCursor(false);
    m_view.flashWhenInBackground();
}

void ScanCommands::btnCancel3Click()
{
    m_state.CancelFlag3 = true;
    m_scanner.cancelScan();
    m_view.SetCloseEnabled(true);
}

void ScanCommands::btnCancel1Click()
{
    m_state.CancelFlag1 = true;
    m_scanner.cancelBuild();
    m_view.SetCloseEnabled(true);
}

void ScanCommands::pm1RebuildListviewClick()
{
    if (m_activity.isScanning() || m_activity.fillsList())
        return;
    m_captions.plainCounts();
    m_state.PrevCount1 = 0;
    m_view.EnableListControls(false);
    m_model.clearRows(true);
    m_scanner.SortScanList(m_options.scanOrder());
    RunImageListBuild();
}

void ScanCommands::PopupMenu3Popup()
{
    TreeMenuState s;
    s.work = m_activity.work();
    s.rows = m_model.rowCount();
    s.scanListEmpty = m_scanner.scanList().isEmpty();
    s.clipboardHasText = !m_services.clipboard->text().isEmpty();
    m_menus.enable(Menu::Tree, [&s](Command c) { return treeMenuEnables(c, s); });
}

void ScanCommands::ShellTreeView1Click()
{
    if (!m_shown)
        return;
    FormState &st = m_state;
    m_page.setBusyCursor(true);
    m_list.setAllChecked(false);
    m_page.checkAllRows(false);
    st.CurrentDir1 = m_tree.selectedPath();
    int n = 0;
    if (m_model.rowCount() > 0 && !m_activity.fillsList()) {
        n = scan::checkRowsInsideFolder(m_model, st.CurrentDir1);
        if (st.ListViewSortCol1 != 0) {
            st.ListViewSortCol1 = 0;
            m_model.ResetColumnCaptions();
        }
        scan::moveCheckedFirst(m_model);
        m_page.scrollToTop();
    }
    m_captions.checkedCount(n);
    m_view.showFolder(st.CurrentDir1);
    m_page.setBusyCursor(false);
}

} // namespace pelmaris::app
