#include "app/pelmarisform.h"

#include "gallery/browserchoice.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/styles.h"
#include "scan/imagelistmodel.h"
#include "scan/listtexts.h"
#include "scan/scancontroller.h"
#include "shell/shellroutines.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTreeView>

#include <algorithm>
#include <random>

namespace pelmaris::app {

QString folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

namespace {

scan::ScanOrder orderOf(const TPelmarisForm &form)
{
    const std::pair<const char *, scan::ScanOrder> orders[] = {
        {"pm3NumSortA", scan::ScanOrder::NumericAscending},
        {"pm3NumSortD", scan::ScanOrder::NumericDescending},
        {"pm3DicSortA", scan::ScanOrder::DictionaryAscending},
        {"pm3DicSortD", scan::ScanOrder::DictionaryDescending},
        {"pm3RandomOut", scan::ScanOrder::Random},
    };
    for (const auto &[name, order] : orders)
        if (form.action(QString::fromLatin1(name))->isChecked())
            return order;
    return scan::ScanOrder::None;
}

} // namespace

const QStringList &TPelmarisForm::ScanList() const
{
    return Scanner->scanList();
}

void TPelmarisForm::buildListViews()
{
    ListModel = new scan::ImageListModel(this);
    ListModel->setObjectName(QStringLiteral("ListModel"));
    Scanner = new scan::ScanController(*ListModel, this);
    Scanner->setObjectName(QStringLiteral("Scanner"));

    ListView1Icons->setModel(ListModel);
    ListView1Icons->setIconSize(QSize(96, 96));
    ListView1Icons->setGridSize(QSize(150, 124));
    ListView1Icons->setWordWrap(
        false); // one line, elided at the left: the file name stays readable
    ListView1Icons->setTextElideMode(Qt::ElideLeft);
    ListView1Icons->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1Icons->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1Icons->setMouseTracking(true);
    ListView1Icons->setBatchSize(1000);

    ListView1Details->setModel(ListModel);
    ListView1Details->setSelectionModel(ListView1Icons->selectionModel());
    ListView1Details->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1Details->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1Details->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1Details->setTextElideMode(Qt::ElideMiddle);
    ListView1Details->header()->setStretchLastSection(false);

    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(ListView1Icons),
                                    static_cast<QAbstractItemView *>(ListView1Details)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint &pos) {
            PopupMenu1Popup();
            PopupMenu1->popup(view->viewport()->mapToGlobal(pos));
        });
        connect(view, &QAbstractItemView::clicked, this, &TPelmarisForm::ListView1Click);
    }
    PnListView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PnListView, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        PopupMenu1Popup();
        PopupMenu1->popup(PnListView->mapToGlobal(pos));
    });
    ListModel->ResetColumnCaptions();
}

void TPelmarisForm::wireScan()
{
    m_wiredActions << QStringLiteral("Pm3StartDetect") << QStringLiteral("pm3AddDetect")
                   << QStringLiteral("pm3NumSortA") << QStringLiteral("pm3NumSortD")
                   << QStringLiteral("pm3DicSortA") << QStringLiteral("pm3DicSortD")
                   << QStringLiteral("pm3RandomOut") << QStringLiteral("pm1RebuildListview")
                   << QStringLiteral("pm1vsIcon") << QStringLiteral("pm1vsReport")
                   << QStringLiteral("pm1ShowTop") << QStringLiteral("pm1ShowBottom")
                   << QStringLiteral("pm1Shuffle") << QStringLiteral("pm1Clear");

    connect(Scanner, &scan::ScanController::scanProgress, this, &TPelmarisForm::onScanProgress);
    connect(Scanner, &scan::ScanController::scanFinished, this, &TPelmarisForm::onScanFinished);
    connect(Scanner, &scan::ScanController::buildProgress, this, &TPelmarisForm::onBuildProgress);
    connect(Scanner, &scan::ScanController::buildFinished, this, &TPelmarisForm::onBuildFinished);

    connect(btnCancel3, &QPushButton::clicked, this, &TPelmarisForm::btnCancel3Click);
    connect(btnCancel1, &QPushButton::clicked, this, &TPelmarisForm::btnCancel1Click);
    connect(CheckBoxAll1, &QCheckBox::toggled, this, &TPelmarisForm::CheckBoxAll1Click);
    connect(CheckBoxTop10, &QCheckBox::toggled, this, &TPelmarisForm::CheckBoxTop10Click);
    connect(BtnShuffle1, &QPushButton::clicked, this, &TPelmarisForm::BtnShuffle1Click);
    connect(RbPreView, &QRadioButton::clicked, this, &TPelmarisForm::RbPreViewClick);
    connect(RbReport, &QRadioButton::clicked, this, &TPelmarisForm::RbReportClick);
    connect(PopupMenu3, &QMenu::aboutToShow, this, &TPelmarisForm::PopupMenu3Popup);

    const auto bind = [this](const char *name, void (TPelmarisForm::*slot)()) {
        connect(action(QString::fromLatin1(name)), &QAction::triggered, this, slot);
    };
    bind("Pm3StartDetect", &TPelmarisForm::ShellTreeView1DblClick);
    bind("pm3AddDetect", &TPelmarisForm::pm3AddDetectClick);
    bind("pm1RebuildListview", &TPelmarisForm::pm1RebuildListviewClick);
    bind("pm1vsIcon", &TPelmarisForm::pm1vsIconClick);
    bind("pm1vsReport", &TPelmarisForm::pm1vsReportClick);
    bind("pm1ShowTop", &TPelmarisForm::pm1ShowTopClick);
    bind("pm1ShowBottom", &TPelmarisForm::pm1ShowBottomClick);
    bind("pm1Shuffle", &TPelmarisForm::BtnShuffle1Click);
    bind("pm1Clear", &TPelmarisForm::pm1ClearClick);
}

void TPelmarisForm::setBusyCursor(bool busy)
{
    if (busy == m_busyCursor)
        return;
    m_busyCursor = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TPelmarisForm::setTaskbarProgress(qint64 value, qint64 maximum)
{
    if (!IsTaskBarShowing)
        return;
    const int percent = maximum > 0 ? int(value * 100 / maximum) : 0;
    m_services.desktop->setTaskbarProgress(percent, maximum > 0);
}

void TPelmarisForm::ShellTreeView1DblClick()
{
    startScanOf(treeSelectedPath(), false);
}

void TPelmarisForm::pm3AddDetectClick()
{
    startScanOf(treeSelectedPath(), true);
}

void TPelmarisForm::startScanOf(const QString &folder, bool additive)
{
    // One scan or list build at a time; a further request is refused.
    if (btnCancel3->isVisible() || Scanner->isBusy())
        return;
    setTaskbarProgress(0, 0);
    CheckBoxAll1->setText(scan::checkAllPlainCaption());
    CheckBoxTop10->setText(scan::topTenPlainCaption());
    PrevCount1 = 0;
    EnableListControls(false);
    if (folder.isEmpty())
        return;
    setBusyCursor(true);
    DblClickPath1 = folder;
    CurrentDir1 = folder.endsWith(u'/') ? folder : folder + u'/';

    ListView1->setEnabled(false);
    CenterCancelButton(btnCancel3, ShellTreeView1);
    btnCancel3->show();
    CancelFlag3 = false;
    btnBrowse1->setEnabled(false);
    btnBrowse3->setText(scan::browseAllPlainCaption());
    btnBrowse3->setEnabled(false);
    m_scanAdditive = additive;
    if (additive) {
        PrevCount1 = ListModel->rowCount();
    } else {
        ListModel->clearRows(true);
        PrevCount1 = 0;
    }
    {
        const QSignalBlocker block(CheckBoxAll1);
        CheckBoxAll1->setChecked(true);
    }
    SetCloseEnabled(false);
    TotalListUp1 = 0;
    StatusPanel1->setText(scan::scanCountText(0));
    Scanner->startScan(CurrentDir1, orderOf(*this));
}

void TPelmarisForm::onScanProgress(qint64 found)
{
    TotalListUp1 = int(found);
    StatusPanel1->setText(CancelFlag3 ? scan::scanCancelledText(found + PrevCount1)
                                      : scan::scanCountText(found));
}

void TPelmarisForm::onScanFinished(bool cancelled)
{
    const qint64 found = ScanList().size();
    if (cancelled)
        StatusPanel1->setText(scan::scanCancelledText(found + PrevCount1));
    StatusPanel1->setText(scan::scanFoundText(found));
    btnBrowse3->setEnabled(true);
    GridPanel1->setEnabled(true);
    for (QWidget *w : GridPanel1->findChildren<QWidget *>())
        w->setEnabled(true);
    btnBrowse3->setText(scan::browseAllCaption(found));
    applyBrowserImage();

    btnCancel3->hide();
    SetCloseEnabled(true);
    ListView1->setEnabled(true);
    if (action(QStringLiteral("pm3ScanDetail"))->isChecked()) {
        CenterCancelButton(btnCancel1, PnListView);
        RunImageListBuild();
    } else {
        setBusyCursor(false);
    }
}

QColor TPelmarisForm::thumbnailBackground() const
{
    return rbbrowserDark->isChecked() ? m_services.styles->color(platform::StyleColor::ListView)
                                      : QColor(Qt::white);
}

void TPelmarisForm::RunImageListBuild()
{
    setBusyCursor(true);
    CenterCancelButton(btnCancel1, PnListView);
    btnCancel1->show();
    SetCloseEnabled(false);
    ListView1->setEnabled(false);
    CancelFlag1 = false;
    ScanCount1 = 0;
    m_lastBuildFolder.clear();
    setTaskbarProgress(0, ScanList().size());
    scan::BuildSettings settings;
    settings.background = thumbnailBackground();
    if (!Scanner->startBuild(settings))
        onBuildFinished(false);
}

void TPelmarisForm::onBuildProgress(qint64 tried, qint64 total)
{
    ScanCount1 = int(tried);
    setTaskbarProgress(tried, total);
    const int rows = ListModel->rowCount();
    if (rows > PrevCount1) {
        StatusPanel1->setText(
            scan::buildProgressText(rows, tried + PrevCount1, total + PrevCount1));
        // The tree follows the folder of the newest row.
        const QString folder = folderOf(ListModel->item(rows - 1).caption);
        if (folder != m_lastBuildFolder) {
            m_lastBuildFolder = folder;
            navigateTree(folder);
        }
    }
}

void TPelmarisForm::onBuildFinished(bool)
{
    btnCancel1->hide();
    SetCloseEnabled(true);
    ListView1->setEnabled(true);
    setTaskbarProgress(0, 0);
    const int rows = ListModel->rowCount();
    StatusPanel1->setText(scan::buildDoneText(rows, ScanList().size() + PrevCount1));
    EnableListControls(true);
    CheckBoxAll1->setText(scan::checkAllCaption(rows));
    btnBrowse1->setText(scan::browseCheckedCaption(rows));
    CheckBoxTop10->setText(scan::topTenCaption(rows));
    btnBrowse1->setEnabled(true);
    btnBrowse3->setEnabled(true);
    if (rows > 0)
        navigateTree(folderOf(ListModel->item(0).caption));
    {
        const QSignalBlocker block(CheckBoxAll1);
        CheckBoxAll1->setChecked(true);
    }
    CheckBoxAll1Click();
    if (rows > 0)
        selectRow(0);
    setBusyCursor(false);
    if (!isActiveWindow())
        shell::FlashTaskbarButton(m_services, this, 10, 500);
}

void TPelmarisForm::btnCancel3Click()
{
    CancelFlag3 = true;
    Scanner->cancelScan();
    SetCloseEnabled(true);
}

void TPelmarisForm::btnCancel1Click()
{
    CancelFlag1 = true;
    Scanner->cancelBuild();
    SetCloseEnabled(true);
}

void TPelmarisForm::pm1RebuildListviewClick()
{
    if (Scanner->isBusy())
        return;
    CheckBoxAll1->setText(scan::checkAllPlainCaption());
    CheckBoxTop10->setText(scan::topTenPlainCaption());
    PrevCount1 = 0;
    EnableListControls(false);
    ListModel->clearRows(true);
    Scanner->SortScanList(orderOf(*this));
    RunImageListBuild();
}

void TPelmarisForm::PopupMenu3Popup()
{
    const bool scanning = btnCancel3->isVisible() || Scanner->isScanning();
    enableWired(PopupMenu3, !scanning);
    if (scanning)
        return;
    if (ListModel->rowCount() == 0)
        action(QStringLiteral("pm3AddDetect"))->setEnabled(false);
    if (btnCancel1->isVisible() || Scanner->isBuilding())
        for (const char *name : {"Pm3StartDetect", "pm3AddDetect", "pm3NumSortA", "pm3NumSortD",
                                 "pm3DicSortA", "pm3DicSortD", "pm3RandomOut"})
            action(QString::fromLatin1(name))->setEnabled(false);
    if (ScanList().isEmpty()) {
        action(QStringLiteral("pm3CopyFileList"))->setEnabled(false);
        action(QStringLiteral("pm3SaveFileList"))->setEnabled(false);
    }
    QAction *paste = action(QStringLiteral("pm3PasteFolderPath"));
    paste->setEnabled(paste->isEnabled() && QApplication::clipboard()->text().size() > 0);
}

void TPelmarisForm::ShellTreeView1Click()
{
    if (!m_shownOnce)
        return;
    setBusyCursor(true);
    {
        const QSignalBlocker block(CheckBoxAll1);
        CheckBoxAll1->setChecked(false);
    }
    CheckBoxAll1Click();
    CurrentDir1 = treeSelectedPath();
    int n = 0;
    if (ListModel->rowCount() > 0 && !Scanner->isBuilding()) {
        const QString inside = CurrentDir1.endsWith(u'/') ? CurrentDir1 : CurrentDir1 + u'/';
        n = ListModel->setCheckedWhere(
            [&inside](int, const scan::ListItem &item) { return item.caption.contains(inside); });
        if (ListViewSortCol1 != 0) {
            ListViewSortCol1 = 0;
            ListModel->ResetColumnCaptions();
        }
        // Checked rows first, each group keeping its order.
        std::vector<int> order(size_t(ListModel->rowCount()));
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = int(i);
        std::stable_partition(order.begin(), order.end(),
                              [this](int row) { return ListModel->item(row).checked; });
        ListModel->reorder(order);
        ListView1Icons->scrollToTop();
        ListView1Details->scrollToTop();
    }
    btnBrowse1->setText(scan::browseCheckedCaption(n));
    const int width = statusBar()->width() - StatusPanel0->width() - 80;
    StatusPanel1->setText(
        QFontMetrics(statusBar()->font()).elidedText(CurrentDir1, Qt::ElideLeft, qMax(0, width)));
    setBusyCursor(false);
}

} // namespace pelmaris::app
