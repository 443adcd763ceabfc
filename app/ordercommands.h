#pragma once

#include "scan/listorder.h"

#include <QObject>
#include <QPoint>

#include <optional>

class QAbstractItemView;
class QListView;
class QTreeView;

namespace pelmaris::scan {
class ImageListModel;
}

namespace pelmaris::app {

class ListPage;
class ListViewState;
class MenuCommands;

// The list's order: the column sort by a click on the detail view's header, the
// drag-and-drop move of one row in either view, and the four move commands. The views
// drag a row by themselves; every drop on them comes here, so their own moves never run.
class OrderCommands : public QObject {
    Q_OBJECT

public:
    // `sortColumn` is the list's column sort (ListViewSortCol1); the two views are the
    // ones whose drops come here.
    OrderCommands(MenuCommands &menus, const ListViewState &list, int &sortColumn,
                  scan::ImageListModel &model, ListPage &page, QListView *preview,
                  QTreeView *details, QObject *parent = nullptr);

    void ListView1ColumnClick(int column);
    // Whether a drag from `source` may be dropped at `pos` (in the shown view's viewport).
    bool ListView1DragOver(const QObject *source, const QPoint &pos) const;
    void ListView1DragDrop(const QPoint &pos);
    void pm1ToTopClick();
    void pm1MoveUpClick();
    void pm1MoveDownClick();
    void pm1ToBottomClick();

    // The parts of the row under `pos` in the shown view: the whole row, its check box
    // and its thumbnail (preview) or small icon (details); none over empty space.
    std::optional<scan::RowRects> rectsOfRowAt(const QPoint &pos) const;

Q_SIGNALS:
    // A column sort ended while "10%" is checked: the first tenth is to be checked anew.
    void topTenthToRecheck();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractItemView *shownView() const;
    void move(scan::MoveCommand command);

    const ListViewState &m_list;
    int &m_sortColumn;
    scan::ImageListModel &m_model;
    ListPage &m_page;
    QListView *m_preview;
    QTreeView *m_details;
};

} // namespace pelmaris::app
