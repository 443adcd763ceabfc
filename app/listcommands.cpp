#include "app/listcommands.h"

#include "app/activity.h"
#include "app/countcaptions.h"
#include "app/foldertree.h"
#include "app/listviewstate.h"
#include "app/menucommands.h"
#include "app/menurules.h"
#include "app/settings.h"
#include "app/windowroutines.h"
#include "gallery/browserchoice.h"
#include "platform/pathtext.h"
#include "platform/specialfolders.h"
#include "scan/imagelistmodel.h"
#include "scan/listchecks.h"
#include "scan/listtexts.h"
#include "scan/scancontroller.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTreeView>

namespace pelmaris::app {

ListCommands::ListCommands(const FormContext &context, QObject *parent)
    : QObject(parent), m_c(context)
{
    MenuCommands &menus = m_c.menus;
    menus.claim(Command::pm1vsIcon, [this] { pm1vsIconClick(); });
    menus.claim(Command::pm1vsReport, [this] { pm1vsReportClick(); });
    menus.claim(Command::pm1ShowTop, [this] { pm1ShowTopClick(); });
    menus.claim(Command::pm1ShowBottom, [this] { pm1ShowBottomClick(); });
    menus.claim(Command::pm1Shuffle, [this] { BtnShuffle1Click(); });
    menus.claim(Command::pm1Clear, [this] { pm1ClearClick(); });
    m_detailsViewport = m_c.ui.ListView1Details->viewport();
    m_c.ui.ListView1Details->viewport()->installEventFilter(this);

    // Until a scan has run the list would be a blank area; it says where to begin.
    QWidget *preview = m_c.ui.ListView1Icons->viewport();
    m_hint = new QLabel(
        QStringLiteral("フォルダツリーのフォルダをダブルクリックする（または右クリックして"
                       "「フォルダをスキャン」を選ぶ）と、その下の画像をここに一覧にします"),
        preview);
    m_hint->setObjectName(QStringLiteral("ListHint"));
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setWordWrap(true);
    m_hint->setMargin(24);
    m_hint->setForegroundRole(QPalette::PlaceholderText);
    m_hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_previewViewport = preview;
    preview->installEventFilter(this);
    for (auto rowsChanged : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&m_c.model, rowsChanged, this, &ListCommands::updateHint);
    connect(&m_c.model, &QAbstractItemModel::modelReset, this, &ListCommands::updateHint);
    connect(&m_c.activity, &Activity::changed, this, &ListCommands::updateHint);
    updateHint();
}

bool ListCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == m_detailsViewport)
        fitPathColumn();
    if (watched == m_previewViewport && event->type() == QEvent::Resize)
        updateHint();
    return QObject::eventFilter(watched, event);
}

void ListCommands::updateHint()
{
    // Not while the program works on the list (a scan, a build, a load), nor once a
    // scan found files.
    const QWidget *preview = m_c.ui.ListView1Icons->viewport();
    m_hint->setGeometry(preview->rect());
    m_hint->setVisible(m_c.model.rowCount() == 0 && m_c.activity.isIdle() &&
                       m_c.scanner.scanList().isEmpty());
}

void ListCommands::fitPathColumn()
{
    // The path column takes what the five details leave, so that they stay in view in a
    // narrow window; the path is elided in its middle.
    QTreeView *details = m_c.ui.ListView1Details;
    QHeaderView *header = details->header();
    int others = 0;
    for (int column = 1; column < header->count(); ++column)
        others += header->sectionSize(column);
    header->resizeSection(0, qMax(100, details->viewport()->width() - others));
}

void ListCommands::CheckBoxAll1Click()
{
    m_c.routines.checkAllRows(m_c.list.allChecked());
}

void ListCommands::CheckBoxTop10Click()
{
    if (m_c.list.topTenthChecked()) {
        const qint64 k = scan::tenthOf(m_c.model.rowCount());
        m_c.model.setCheckedWhere([k](int row, const scan::ListItem &) { return row < k; });
        m_c.list.setAllChecked(false);
        m_c.captions.checkedCount(k);
    } else {
        m_c.list.setAllChecked(false);
        CheckBoxAll1Click();
        m_c.captions.noneChecked();
    }
}

void ListCommands::BtnShuffle1Click()
{
    const int n = m_c.model.rowCount();
    if (n == 0)
        return;
    m_c.ui.BtnShuffle1->setEnabled(false);
    if (m_c.state.ListViewSortCol1 != 0) {
        m_c.state.ListViewSortCol1 = 0;
        m_c.model.ResetColumnCaptions();
    }
    scan::shuffleCheckedFirst(m_c.model, m_c.random);
    m_c.captions.rowCounts(n);
    m_c.ui.BtnShuffle1->setEnabled(true);
    m_c.routines.selectRow(0);
    if (m_c.list.topTenthChecked())
        CheckBoxTop10Click();
}

void ListCommands::pm1vsIconClick()
{
    m_c.model.setDecoration(scan::ImageListModel::Decoration::Thumbnail);
    m_c.list.setShownForm(ListForm::Preview);
    m_c.menus.action(Command::pm1vsIcon)->setChecked(true);
}

void ListCommands::pm1vsReportClick()
{
    m_c.model.setDecoration(scan::ImageListModel::Decoration::SmallIcon);
    QTreeView *details = m_c.ui.ListView1Details;
    m_c.list.setShownForm(ListForm::Detail);
    m_c.menus.action(Command::pm1vsReport)->setChecked(true);
    // Detail columns take their widths from the first row's texts.
    QHeaderView *header = details->header();
    if (m_c.model.rowCount() > 0) {
        const QFontMetrics metrics(m_c.window->font());
        const scan::ListItem &first = m_c.model.item(0);
        for (int column = 5; column >= 1; --column) {
            const int width = metrics.horizontalAdvance(first.subItems[size_t(column - 1)]) + 24;
            header->resizeSection(column, width);
        }
    }
    fitPathColumn();
}

void ListCommands::RbPreViewClick()
{
    pm1vsIconClick();
}

void ListCommands::RbReportClick()
{
    pm1vsReportClick();
}

void ListCommands::ListView1Click(const QModelIndex &index)
{
    if (!index.isValid() || m_c.model.rowCount() == 0)
        return;
    const scan::ListItem &item = m_c.model.item(index.row());
    m_c.routines.selectRow(index.row());
    const QString folder = pathtext::folderOf(item.caption);
    m_c.tree.navigate(folder);
    using S = scan::ListItem;
    m_c.ui.StatusPanel1->setText(
        pathtext::fileNameOf(item.caption) + QStringLiteral("  ( ") + item.subItems[S::ByteSize] +
        QStringLiteral(" Bytes / ") + item.subItems[S::Width] + QStringLiteral(" x ") +
        item.subItems[S::Height] + QStringLiteral(" ) ") + item.subItems[S::Modified]);
    m_c.state.CurrentDir1 = folder;
}

void ListCommands::pm1ShowTopClick()
{
    if (m_c.model.rowCount() > 0)
        m_c.routines.selectRow(0);
}

void ListCommands::pm1ShowBottomClick()
{
    if (m_c.model.rowCount() > 0)
        m_c.routines.selectRow(m_c.model.rowCount() - 1);
}

void ListCommands::pm1ClearClick()
{
    m_c.model.clearRows(false);
    m_c.captions.plainCounts();
    m_c.captions.noneChecked();
    m_c.ui.BtnShuffle1->setEnabled(false);
    m_c.routines.EnableListControls(false);
    m_c.ui.ListView1->setEnabled(true);
    m_c.model.ResetColumnCaptions();
    m_c.state.ListViewSortCol1 = 0;
    m_c.ui.StatusPanel1->clear();
}

void ListCommands::PopupMenu1Popup()
{
    const int row = updateMenuEnabling();
    if (row < 0)
        return;
    // "既定のアプリケーションで開く" shows the file type's icon, "ブラウザで開く" the
    // browser's.
    const QIcon typeIcon = gallery::fileTypeIcon(m_c.services, m_c.model.item(row).caption);
    if (!typeIcon.isNull())
        m_c.menus.action(Command::pm1Open)->setIcon(typeIcon);
    const QIcon browserIcon = gallery::programIcon(m_c.services, m_c.state.BrowserName1);
    if (!browserIcon.isNull())
        m_c.menus.action(Command::pm1Browse)->setIcon(browserIcon);
}

int ListCommands::updateMenuEnabling()
{
    ListMenuState s;
    s.work = m_c.activity.work();
    const bool busy = m_c.activity.fillsList();
    s.rows = m_c.model.rowCount();
    s.selectedRow = s.rows > 0 ? m_c.routines.selectedRow() : -1;
    s.scanListEmpty = m_c.scanner.scanList().isEmpty();
    if (busy)
        m_c.ui.GridPanel2->setEnabled(false);
    if (!busy && s.selectedRow >= 0) {
        m_c.state.CorvindaleExeName1 =
            FindCorvindaleExe(m_c.services.folders->path(platform::SpecialFolder::AppData));
        s.siblingFound = !m_c.state.CorvindaleExeName1.isEmpty();
    }
    m_c.menus.enable(Menu::List, [&s](Command c) { return listMenuEnables(c, s); });
    return busy ? -1 : s.selectedRow;
}

} // namespace pelmaris::app
