#include "app/listcommands.h"

#include "app/activity.h"
#include "app/countcaptions.h"
#include "app/foldertree.h"
#include "app/formstate.h"
#include "app/listpage.h"
#include "app/listviewstate.h"
#include "app/menucommands.h"
#include "app/menurules.h"
#include "app/scanview.h"
#include "app/settings.h"
#include "gallery/browserchoice.h"
#include "platform/pathtext.h"
#include "platform/specialfolders.h"
#include "scan/imagelistmodel.h"
#include "scan/listchecks.h"
#include "scan/listtexts.h"
#include "scan/scancontroller.h"

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QTreeView>

namespace pelmaris::app {

ListCommands::ListCommands(const platform::Services &services, MenuCommands &menus,
                           const Activity &activity, ListViewState &list, FormState &state,
                           scan::ImageListModel &model, const scan::ScanController &scanner,
                           scan::RandomEngine &random, FolderTree &tree, CountCaptions &captions,
                           ListPage &page, ScanView &view, const ListControls &controls,
                           QObject *parent)
    : QObject(parent), m_services(services), m_menus(menus), m_activity(activity), m_list(list),
      m_state(state), m_model(model), m_scanner(scanner), m_random(random), m_tree(tree),
      m_captions(captions), m_page(page), m_view(view), m_controls(controls)
{
    menus.claim(Command::pm1vsIcon, [this] { pm1vsIconClick(); });
    menus.claim(Command::pm1vsReport, [this] { pm1vsReportClick(); });
    menus.claim(Command::pm1ShowTop, [this] { pm1ShowTopClick(); });
    menus.claim(Command::pm1ShowBottom, [this] { pm1ShowBottomClick(); });
    menus.claim(Command::pm1Shuffle, [this] { BtnShuffle1Click(); });
    menus.claim(Command::pm1Clear, [this] { pm1ClearClick(); });
    m_detailsViewport = m_controls.details->viewport();
    m_controls.details->viewport()->installEventFilter(this);

    // Until a scan has run the list would be a blank area; it says where to begin.
    QWidget *preview = m_controls.preview->viewport();
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
        connect(&m_model, rowsChanged, this, &ListCommands::updateHint);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &ListCommands::updateHint);
    connect(&m_activity, &Activity::changed, this, &ListCommands::updateHint);
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
    const QWidget *preview = m_controls.preview->viewport();
    m_hint->setGeometry(preview->rect());
    m_hint->setVisible(m_model.rowCount() == 0 && m_activity.isIdle() &&
                       m_scanner.scanList().isEmpty());
}

void ListCommands::fitPathColumn()
{
    // The path column takes what the five details leave, so that they stay in view in a
    // narrow window; the path is elided in its middle.
    QTreeView *details = m_controls.details;
    QHeaderView *header = details->header();
    int others = 0;
    for (int column = 1; column < header->count(); ++column)
        others += header->sectionSize(column);
    header->resizeSection(0, qMax(100, details->viewport()->width() - others));
}

void ListCommands::CheckBoxAll1Click()
{
    m_page.checkAllRows(m_list.allChecked());
}

void ListCommands::CheckBoxTop10Click()
{
    if (m_list.topTenthChecked()) {
        const qint64 k = scan::tenthOf(m_model.rowCount());
        m_model.setCheckedWhere([k](int row, const scan::ListItem &) { return row < k; });
        m_list.setAllChecked(false);
        m_captions.checkedCount(k);
    } else {
        m_list.setAllChecked(false);
        CheckBoxAll1Click();
        m_captions.noneChecked();
    }
}

void ListCommands::BtnShuffle1Click()
{
    const int n = m_model.rowCount();
    if (n == 0)
        return;
    m_controls.shuffle->setEnabled(false);
    if (m_state.ListViewSortCol1 != 0) {
        m_state.ListViewSortCol1 = 0;
        m_model.ResetColumnCaptions();
    }
    scan::shuffleCheckedFirst(m_model, m_random);
    m_captions.rowCounts(n);
    m_controls.shuffle->setEnabled(true);
    m_page.selectRow(0);
    if (m_list.topTenthChecked())
        CheckBoxTop10Click();
}

void ListCommands::pm1vsIconClick()
{
    m_model.setDecoration(scan::ImageListModel::Decoration::Thumbnail);
    m_list.setShownForm(ListForm::Preview);
    m_menus.action(Command::pm1vsIcon)->setChecked(true);
}

void ListCommands::pm1vsReportClick()
{
    m_model.setDecoration(scan::ImageListModel::Decoration::SmallIcon);
    QTreeView *details = m_controls.details;
    m_list.setShownForm(ListForm::Detail);
    m_menus.action(Command::pm1vsReport)->setChecked(true);
    // Detail columns take their widths from the first row's texts.
    QHeaderView *header = details->header();
    if (m_model.rowCount() > 0) {
        const QFontMetrics metrics(details->font());
        const scan::ListItem &first = m_model.item(0);
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
    if (!index.isValid() || m_model.rowCount() == 0)
        return;
    const scan::ListItem &item = m_model.item(index.row());
    m_page.selectRow(index.row());
    const QString folder = pathtext::folderOf(item.caption);
    m_tree.navigate(folder);
    using S = scan::ListItem;
    m_page.setStatus(pathtext::fileNameOf(item.caption) + QStringLiteral("  ( ") +
                     item.subItems[S::ByteSize] + QStringLiteral(" Bytes / ") +
                     item.subItems[S::Width] + QStringLiteral(" x ") + item.subItems[S::Height] +
                     QStringLiteral(" ) ") + item.subItems[S::Modified]);
    m_state.CurrentDir1 = folder;
}

void ListCommands::pm1ShowTopClick()
{
    if (m_model.rowCount() > 0)
        m_page.selectRow(0);
}

void ListCommands::pm1ShowBottomClick()
{
    if (m_model.rowCount() > 0)
        m_page.selectRow(m_model.rowCount() - 1);
}

void ListCommands::pm1ClearClick()
{
    m_model.clearRows(false);
    m_captions.plainCounts();
    m_captions.noneChecked();
    m_controls.shuffle->setEnabled(false);
    m_view.EnableListControls(false);
    m_view.setListEnabled(true);
    m_model.ResetColumnCaptions();
    m_state.ListViewSortCol1 = 0;
    m_page.setStatus({});
}

void ListCommands::PopupMenu1Popup()
{
    const int row = updateMenuEnabling();
    if (row < 0)
        return;
    // "既定のアプリケーションで開く" shows the file type's icon, "ブラウザで開く" the
    // browser's.
    const QIcon typeIcon = gallery::fileTypeIcon(m_services, m_model.item(row).caption);
    if (!typeIcon.isNull())
        m_menus.action(Command::pm1Open)->setIcon(typeIcon);
    const QIcon browserIcon = gallery::programIcon(m_services, m_state.BrowserName1);
    if (!browserIcon.isNull())
        m_menus.action(Command::pm1Browse)->setIcon(browserIcon);
}

int ListCommands::updateMenuEnabling()
{
    ListMenuState s;
    s.work = m_activity.work();
    const bool busy = m_activity.fillsList();
    s.rows = m_model.rowCount();
    s.selectedRow = s.rows > 0 ? m_page.selectedRow() : -1;
    s.scanListEmpty = m_scanner.scanList().isEmpty();
    if (busy)
        m_controls.optionRow->setEnabled(false);
    if (!busy && s.selectedRow >= 0) {
        m_state.CorvindaleExeName1 =
            FindCorvindaleExe(m_services.folders->path(platform::SpecialFolder::AppData));
        s.siblingFound = !m_state.CorvindaleExeName1.isEmpty();
    }
    m_menus.enable(Menu::List, [&s](Command c) { return listMenuEnables(c, s); });
    return busy ? -1 : s.selectedRow;
}

} // namespace pelmaris::app
