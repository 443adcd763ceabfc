#include "app/pelmarisform.h"

#include "app/settings.h"
#include "gallery/browserchoice.h"
#include "scan/imagelistmodel.h"
#include "scan/listtexts.h"
#include "scan/scancontroller.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTreeView>

#include <algorithm>
#include <random>

// The image list's own commands: check marks, views, shuffle, the list click and the
// list menu's enabling.
namespace pelmaris::app {

void TPelmarisForm::selectRow(int row)
{
    const QModelIndex index = ListModel->index(row, 0);
    ListView1Icons->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
    ListView1Icons->scrollTo(index);
    ListView1Details->scrollTo(index);
}

void TPelmarisForm::CheckBoxAll1Click()
{
    const bool all = CheckBoxAll1->isChecked();
    ListModel->setAllChecked(all);
    btnBrowse1->setText(all ? scan::browseCheckedCaption(ListModel->rowCount())
                            : QStringLiteral("選択表示"));
    const QSignalBlocker block(CheckBoxTop10);
    CheckBoxTop10->setChecked(false);
}

void TPelmarisForm::CheckBoxTop10Click()
{
    if (CheckBoxTop10->isChecked()) {
        const qint64 k = scan::tenthOf(ListModel->rowCount());
        ListModel->setCheckedWhere([k](int row, const scan::ListItem &) { return row < k; });
        {
            const QSignalBlocker block(CheckBoxAll1);
            CheckBoxAll1->setChecked(false);
        }
        btnBrowse1->setText(scan::browseCheckedCaption(k));
    } else {
        {
            const QSignalBlocker block(CheckBoxAll1);
            CheckBoxAll1->setChecked(false);
        }
        CheckBoxAll1Click();
        btnBrowse1->setText(QStringLiteral("選択表示"));
    }
}

void TPelmarisForm::BtnShuffle1Click()
{
    const int n = ListModel->rowCount();
    if (n == 0)
        return;
    BtnShuffle1->setEnabled(false);
    if (ListViewSortCol1 != 0) {
        ListViewSortCol1 = 0;
        ListModel->ResetColumnCaptions();
    }
    // Checked rows first, then the unchecked ones, each group in a uniform random order.
    std::vector<int> checked;
    std::vector<int> unchecked;
    for (int row = 0; row < n; ++row)
        (ListModel->item(row).checked ? checked : unchecked).push_back(row);
    static std::mt19937_64 engine(std::random_device{}());
    std::shuffle(checked.begin(), checked.end(), engine);
    std::shuffle(unchecked.begin(), unchecked.end(), engine);
    checked.insert(checked.end(), unchecked.begin(), unchecked.end());
    ListModel->reorder(checked);
    CheckBoxAll1->setText(scan::checkAllCaption(n));
    CheckBoxTop10->setText(scan::topTenCaption(n));
    BtnShuffle1->setEnabled(true);
    selectRow(0);
    if (CheckBoxTop10->isChecked())
        CheckBoxTop10Click();
}

void TPelmarisForm::pm1vsIconClick()
{
    ListModel->setDecoration(scan::ImageListModel::Decoration::Thumbnail);
    ListView1->setCurrentWidget(ListView1Icons);
    action(QStringLiteral("pm1vsIcon"))->setChecked(true);
}

void TPelmarisForm::pm1vsReportClick()
{
    ListModel->setDecoration(scan::ImageListModel::Decoration::SmallIcon);
    ListView1->setCurrentWidget(ListView1Details);
    action(QStringLiteral("pm1vsReport"))->setChecked(true);
    // Detail columns take their widths from the first row's texts.
    QHeaderView *header = ListView1Details->header();
    int others = 0;
    if (ListModel->rowCount() > 0) {
        const QFontMetrics metrics(font());
        const scan::ListItem &first = ListModel->item(0);
        for (int column = 5; column >= 1; --column) {
            const int width = metrics.horizontalAdvance(first.subItems[size_t(column - 1)]) + 24;
            header->resizeSection(column, width);
            others += width;
        }
    }
    header->resizeSection(0, qMax(100, ListView1Details->viewport()->width() - others));
}

void TPelmarisForm::RbPreViewClick()
{
    pm1vsIconClick();
}

void TPelmarisForm::RbReportClick()
{
    pm1vsReportClick();
}

void TPelmarisForm::ListView1Click(const QModelIndex &index)
{
    if (!index.isValid() || ListModel->rowCount() == 0)
        return;
    const scan::ListItem &item = ListModel->item(index.row());
    selectRow(index.row());
    const QString folder = folderOf(item.caption);
    navigateTree(folder);
    using S = scan::ListItem;
    StatusPanel1->setText(
        QFileInfo(item.caption).fileName() + QStringLiteral("  ( ") + item.subItems[S::ByteSize] +
        QStringLiteral(" Bytes / ") + item.subItems[S::Width] + QStringLiteral(" x ") +
        item.subItems[S::Height] + QStringLiteral(" ) ") + item.subItems[S::Modified]);
    CurrentDir1 = folder;
}

void TPelmarisForm::pm1ShowTopClick()
{
    if (ListModel->rowCount() > 0)
        selectRow(0);
}

void TPelmarisForm::pm1ShowBottomClick()
{
    if (ListModel->rowCount() > 0)
        selectRow(ListModel->rowCount() - 1);
}

void TPelmarisForm::pm1ClearClick()
{
    ListModel->clearRows(false);
    CheckBoxAll1->setText(scan::checkAllPlainCaption());
    CheckBoxTop10->setText(scan::topTenPlainCaption());
    btnBrowse1->setText(QStringLiteral("選択表示"));
    BtnShuffle1->setEnabled(false);
    EnableListControls(false);
    ListView1->setEnabled(true);
    ListModel->ResetColumnCaptions();
    ListViewSortCol1 = 0;
    StatusPanel1->clear();
}

void TPelmarisForm::enableWired(QMenu *menu, bool enable)
{
    for (QAction *a : menu->actions())
        a->setEnabled(enable && m_wiredActions.contains(a->objectName()));
}

void TPelmarisForm::PopupMenu1Popup()
{
    const auto set = [this](const char *name, bool enable) {
        QAction *a = action(QString::fromLatin1(name));
        a->setEnabled(enable && m_wiredActions.contains(a->objectName()));
    };
    if (btnCancel1->isVisible() || Scanner->isBuilding()) {
        GridPanel2->setEnabled(false);
        enableWired(PopupMenu1, false);
        return;
    }
    const int rows = ListModel->rowCount();
    if (rows == 0) {
        enableWired(PopupMenu1, false);
        set("pm1OpenList", true);
        set("pm1PasteList", true);
        if (!ScanList().isEmpty()) {
            set("pm1RebuildListview", true);
            set("pm1RebuildListviewFileNameOnly", true);
            set("pm1SaveListAs", true);
        }
        return;
    }
    // Group 2 begins at the hidden separator before "既定のアプリケーションで開く".
    const QModelIndex current = ListView1Icons->selectionModel()->currentIndex();
    const bool selected =
        current.isValid() && ListView1Icons->selectionModel()->isRowSelected(current.row(), {});
    bool group2 = false;
    for (QAction *a : PopupMenu1->actions()) {
        if (a->objectName() == QStringLiteral("N7"))
            group2 = true;
        a->setEnabled((!group2 || selected) && m_wiredActions.contains(a->objectName()));
    }
    if (!selected) {
        for (const char *name : {"pm1ToTop", "pm1MoveUp", "pm1MoveDown", "pm1ToBottom"})
            set(name, false);
        set("pm1OpenList", true);
        set("pm1PasteList", true);
        return;
    }
    const int row = current.row();
    set("pm1ToTop", row != 0);
    set("pm1MoveUp", row != 0);
    set("pm1ToBottom", row != rows - 1);
    set("pm1MoveDown", row != rows - 1);
    CorvindaleExeName1 =
        FindCorvindaleExe(m_services.folders->path(platform::SpecialFolder::AppData));
    if (CorvindaleExeName1.isEmpty())
        set("pm1SendToCorvindale", false);
    // "既定のアプリケーションで開く" shows the file type's icon, "ブラウザで開く" the browser's.
    const QIcon typeIcon = gallery::fileTypeIcon(m_services, ListModel->item(row).caption);
    if (!typeIcon.isNull())
        action(QStringLiteral("pm1Open"))->setIcon(typeIcon);
    const QIcon browserIcon = gallery::programIcon(m_services, BrowserName1);
    if (!browserIcon.isNull())
        action(QStringLiteral("pm1Browse"))->setIcon(browserIcon);
}

} // namespace pelmaris::app
