#include "app/ordercommands.h"

#include "app/listpage.h"
#include "app/listviewstate.h"
#include "app/menucommands.h"
#include "scan/imagelistmodel.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QListView>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeView>

namespace pelmaris::app {

namespace {

// The item views keep the options they paint with, and their handling of drag events,
// to themselves; these open them up without changing the views' kind.
struct ViewAccess : QAbstractItemView {
    using QAbstractItemView::initViewItemOption;
    using QAbstractItemView::viewportEvent;
};

// The default delegate both views paint with, asked for the same option.
class OptionProbe : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::initStyleOption;
};

QAbstractItemView *asView(QWidget *widget)
{
    return qobject_cast<QAbstractItemView *>(widget);
}

} // namespace

OrderCommands::OrderCommands(MenuCommands &menus, const ListViewState &list, int &sortColumn,
                             scan::ImageListModel &model, ListPage &page, QListView *preview,
                             QTreeView *details, QObject *parent)
    : QObject(parent), m_list(list), m_sortColumn(sortColumn), m_model(model), m_page(page),
      m_preview(preview), m_details(details)
{
    menus.claim(Command::pm1ToTop, [this] { pm1ToTopClick(); });
    menus.claim(Command::pm1MoveUp, [this] { pm1MoveUpClick(); });
    menus.claim(Command::pm1MoveDown, [this] { pm1MoveDownClick(); });
    menus.claim(Command::pm1ToBottom, [this] { pm1ToBottomClick(); });

    // Both views start a drag of the selected row by themselves; the drops are taken here
    // before the views see them, so no view moves or removes a row on its own.
    for (QAbstractItemView *view : {asView(m_preview), asView(m_details)}) {
        view->setDragEnabled(true);
        view->setDragDropMode(QAbstractItemView::DragDrop);
        view->setDefaultDropAction(Qt::CopyAction);
        view->setDropIndicatorShown(false); // a drop lands on a row, never between rows
        view->viewport()->setAcceptDrops(true);
        view->viewport()->installEventFilter(this);
    }
    QHeaderView *header = m_details->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
}

QAbstractItemView *OrderCommands::shownView() const
{
    if (m_list.shownForm() == ListForm::Detail)
        return m_details;
    return m_preview;
}

void OrderCommands::ListView1ColumnClick(int column)
{
    if (m_model.rowCount() == 0)
        return;
    int &sort = m_sortColumn;
    sort = scan::nextSortColumn(sort, column);
    m_page.setBusyCursor(true);
    m_model.showSortMark(sort);
    m_model.sortByColumn(sort);
    m_page.scrollToTop();
    m_page.setBusyCursor(false);
    if (m_list.topTenthChecked())
        Q_EMIT topTenthToRecheck();
}

std::optional<scan::RowRects> OrderCommands::rectsOfRowAt(const QPoint &pos) const
{
    QAbstractItemView *view = shownView();
    const QModelIndex hit = view ? view->indexAt(pos) : QModelIndex();
    if (!hit.isValid())
        return std::nullopt;
    const QModelIndex first = hit.siblingAtColumn(0);
    QStyleOptionViewItem option;
    (view->*&ViewAccess::initViewItemOption)(&option);
    // The place of the thumbnail or small icon counts, also for a row that has none
    // (rows read from a list file carry no picture).
    const QSize iconSlot = option.decorationSize;
    option.rect = view->visualRect(first);
    OptionProbe().initStyleOption(&option, first);
    option.features |= QStyleOptionViewItem::HasDecoration;
    option.decorationSize = iconSlot;

    const QStyle *style = view->style();
    scan::RowRects rects;
    rects.row = option.rect;
    if (view == m_details)
        rects.row = QRect(0, option.rect.top(), view->viewport()->width(), option.rect.height());
    if (option.features & QStyleOptionViewItem::HasCheckIndicator)
        rects.checkBox =
            style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
    rects.icon = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, view);
    return rects;
}

bool OrderCommands::ListView1DragOver(const QObject *source, const QPoint &pos) const
{
    const bool fromThisList = source && (source == m_preview || source == m_details);
    return scan::acceptsDrop(fromThisList, m_page.selectedRow() >= 0,
                             scan::hitArea(pos, rectsOfRowAt(pos)));
}

void OrderCommands::ListView1DragDrop(const QPoint &pos)
{
    m_model.ResetColumnCaptions();
    m_sortColumn = 0;
    const int selected = m_page.selectedRow();
    QAbstractItemView *view = shownView();
    const QModelIndex target = view ? view->indexAt(pos) : QModelIndex();
    if (!target.isValid() || selected < 0)
        return;
    m_page.selectRow(m_model.dropRow(selected, target.row()));
}

void OrderCommands::move(scan::MoveCommand command)
{
    const int row = m_page.selectedRow();
    if (row < 0)
        return;
    m_page.setBusyCursor(true);
    m_page.selectRow(m_model.moveRow(row, command));
    m_page.setBusyCursor(false);
}

void OrderCommands::pm1ToTopClick()
{
    move(scan::MoveCommand::ToTop);
}

void OrderCommands::pm1MoveUpClick()
{
    move(scan::MoveCommand::Up);
}

void OrderCommands::pm1MoveDownClick()
{
    move(scan::MoveCommand::Down);
}

void OrderCommands::pm1ToBottomClick()
{
    move(scan::MoveCommand::ToBottom);
}

bool OrderCommands::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::DragLeave &&
        type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    QAbstractItemView *view = asView(static_cast<QWidget *>(watched)->parentWidget());
    if (type == QEvent::DragLeave) {
        (view->*&ViewAccess::viewportEvent)(event);
        return true;
    }
    auto *drop = static_cast<QDropEvent *>(event);
    const QPoint pos = drop->position().toPoint();
    if (type == QEvent::Drop) {
        if (!ListView1DragOver(drop->source(), pos)) {
            drop->ignore();
            return true;
        }
        // A copy as far as the dragging view knows: it must not remove the row itself.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        ListView1DragDrop(pos);
        return true;
    }
    // The view follows the drag as it would (the dragged picture, scrolling at the
    // edges); whether the drop is taken is decided here.
    (view->*&ViewAccess::viewportEvent)(event);
    const bool ownDrag = drop->source() == m_preview || drop->source() == m_details;
    // Entering is allowed for the list's own drags, so that the moves over it are asked.
    const bool accept =
        type == QEvent::DragEnter ? ownDrag : ListView1DragOver(drop->source(), pos);
    accept ? drop->acceptProposedAction() : drop->ignore();
    return true;
}

} // namespace pelmaris::app
