#include "scan/imagelistmodel.h"

#include "platform/pathtext.h"
#include "scan/listtexts.h"
#include "scan/thumbnail.h"

#include <QMimeDatabase>

#include <algorithm>

namespace pelmaris::scan {

namespace {
// A screenful of preview cells several times over; about 37 KB each.
constexpr int kPixmapCacheCells = 600;
} // namespace

ImageListModel::ImageListModel(QObject *parent)
    : QAbstractTableModel(parent), m_captions(columnCaptions()), m_pixmaps(kPixmapCacheCells)
{
}

int ImageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

int ImageListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ImageListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ListItem &row = m_items[size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return column == FileName ? row.caption : row.subItems[size_t(column - 1)];
    case Qt::CheckStateRole:
        if (column == FileName)
            return row.checked ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::DecorationRole:
        if (column != FileName)
            return {};
        if (m_decoration == Decoration::Thumbnail)
            return thumbnail(row.imageIndex);
        return smallIcon(row.caption);
    case Qt::TextAlignmentRole:
        if (column == ByteSize || column == Width || column == Height)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case ThumbnailRole:
        return thumbnail(row.imageIndex);
    case SmallIconRole:
        return smallIcon(row.caption);
    case PathRole:
        return row.caption;
    case DataKeyRole:
        return row.data;
    default:
        return {};
    }
}

bool ImageListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != FileName ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    ListItem &row = m_items[size_t(index.row())];
    const bool checked = value.toInt() == Qt::Checked;
    if (row.checked != checked) {
        row.checked = checked;
        Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    }
    return true;
}

QVariant ImageListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_captions.at(section);
    if (role == Qt::TextAlignmentRole) {
        const bool number = section == ByteSize || section == Width || section == Height;
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

bool ImageListModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                                   int role)
{
    if (orientation != Qt::Horizontal || role != Qt::EditRole || section < 0 ||
        section >= ColumnCount)
        return false;
    m_captions[section] = value.toString();
    Q_EMIT headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags ImageListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags f =
        Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren | Qt::ItemIsDragEnabled;
    if (index.column() == FileName)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

void ImageListModel::setDecoration(Decoration decoration)
{
    if (m_decoration == decoration)
        return;
    // Every row changes its size with its picture: a layout change makes the views measure
    // them again (a data change leaves a view's cached row size, taken while the other
    // decoration was on, in place).
    Q_EMIT layoutAboutToBeChanged();
    m_decoration = decoration;
    Q_EMIT layoutChanged();
}

void ImageListModel::ResetColumnCaptions()
{
    m_captions = columnCaptions();
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void ImageListModel::appendRows(std::vector<ListItem> rows, std::vector<QByteArray> thumbnails)
{
    if (rows.empty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + int(rows.size()) - 1);
    // No exact reserve here: rows arrive in many small batches, and reserving the exact
    // size each time would copy the whole list per batch; the vector's own growth is
    // amortized.
    for (size_t i = 0; i < rows.size(); ++i) {
        ListItem &row = rows[i];
        row.imageIndex = int(m_images.size());
        m_images.push_back(i < thumbnails.size() ? std::move(thumbnails[i]) : QByteArray());
        row.data = m_nextDataKey++;
        m_items.push_back(std::move(row));
    }
    endInsertRows();
}

void ImageListModel::clearRows(bool clearImages)
{
    beginResetModel();
    m_items.clear();
    m_items.shrink_to_fit();
    if (clearImages) {
        m_images.clear();
        m_images.shrink_to_fit();
        m_pixmaps.clear();
        m_nextDataKey = 0;
    }
    endResetModel();
}

bool ImageListModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_items.erase(m_items.begin() + row, m_items.begin() + row + count);
    endRemoveRows();
    return true;
}

void ImageListModel::reorder(const std::vector<int> &order)
{
    Q_ASSERT(order.size() == m_items.size());
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> newRowOf(order.size());
    std::vector<ListItem> moved;
    moved.reserve(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        moved.push_back(std::move(m_items[size_t(order[i])]));
        newRowOf[size_t(order[i])] = int(i);
    }
    m_items = std::move(moved);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after.append(index(newRowOf[size_t(old.row())], old.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ImageListModel::sortByColumn(int sortColumn)
{
    if (m_items.size() > 1 && sortColumn != 0)
        reorder(columnSortOrder(m_items, sortColumn));
}

void ImageListModel::showSortMark(int sortColumn)
{
    m_captions = sortedColumnCaptions(sortColumn);
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

int ImageListModel::moveRow(int row, MoveCommand command)
{
    const std::vector<int> keys = moveKeys(rowCount(), row, command);
    for (size_t i = 0; i < keys.size(); ++i)
        m_items[i].data = keys[i];
    if (!canMove(rowCount(), row, command))
        return row;
    const std::vector<int> order = dataKeyOrder(m_items);
    reorder(order);
    return int(std::find(order.begin(), order.end(), row) - order.begin());
}

int ImageListModel::dropRow(int selected, int target)
{
    int moved = selected;
    const std::vector<int> order = dropOrder(rowCount(), selected, target, &moved);
    if (moved != selected)
        reorder(order);
    return moved;
}

void ImageListModel::emitCheckColumnChanged()
{
    if (!m_items.empty())
        Q_EMIT dataChanged(index(0, FileName), index(rowCount() - 1, FileName),
                           {Qt::CheckStateRole});
}

void ImageListModel::setAllChecked(bool checked)
{
    for (ListItem &row : m_items)
        row.checked = checked;
    emitCheckColumnChanged();
}

int ImageListModel::setCheckedWhere(const std::function<bool(int, const ListItem &)> &accept)
{
    int n = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        m_items[i].checked = accept(int(i), m_items[i]);
        n += m_items[i].checked ? 1 : 0;
    }
    emitCheckColumnChanged();
    return n;
}

int ImageListModel::checkedCount() const
{
    return int(std::count_if(m_items.begin(), m_items.end(),
                             [](const ListItem &row) { return row.checked; }));
}

QStringList ImageListModel::checkedPaths() const
{
    QStringList paths;
    for (const ListItem &row : m_items) {
        if (row.checked)
            paths.append(row.caption);
    }
    return paths;
}

const QByteArray &ImageListModel::storedThumbnail(int imageIndex) const
{
    static const QByteArray none;
    if (imageIndex < 0 || size_t(imageIndex) >= m_images.size())
        return none;
    return m_images[size_t(imageIndex)];
}

QPixmap ImageListModel::thumbnail(int imageIndex) const
{
    if (QPixmap *cached = m_pixmaps.object(imageIndex))
        return *cached;
    const QByteArray &stored = storedThumbnail(imageIndex);
    if (stored.isEmpty())
        return QPixmap();
    auto *pixmap = new QPixmap(QPixmap::fromImage(thumbnailImage(stored)));
    const QPixmap copy = *pixmap;
    m_pixmaps.insert(imageIndex, pixmap);
    return copy;
}

QIcon ImageListModel::smallIcon(const QString &path) const
{
    const QString name = pathtext::fileNameOf(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot >= 0 ? name.mid(dot + 1).toLower() : QString();
    auto it = m_iconsBySuffix.constFind(suffix);
    if (it != m_iconsBySuffix.cend())
        return *it;
    static const QMimeDatabase mimes;
    const QMimeType type = mimes.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    const QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    m_iconsBySuffix.insert(suffix, icon);
    return icon;
}

} // namespace pelmaris::scan
