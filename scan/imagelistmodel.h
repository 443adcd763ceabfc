#pragma once

#include "scan/listitem.h"
#include "scan/listorder.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QCache>
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QStringList>

#include <functional>
#include <vector>

namespace pelmaris::scan {

// The image list: one row per ListItem, six columns (path and the five details).
// The preview (icon) view and the detail view share it. Thumbnails live in an image
// list of their own, as compact JPEG, and are decoded into a small pixmap cache only
// when a view asks for them; rows keep their image index when rows are removed.
class ImageListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { FileName, Format, ByteSize, Width, Height, Modified, ColumnCount };
    enum Role {
        ThumbnailRole = Qt::UserRole + 1, // QPixmap of the 96 x 96 cell
        SmallIconRole,                    // QIcon of the file's type
        PathRole,                         // QString, the row's caption
        DataKeyRole,                      // int, the move commands' key
    };
    // What Qt::DecorationRole of column 0 shows: the preview view wants thumbnails,
    // the detail view the file type's small icon.
    enum class Decoration { Thumbnail, SmallIcon };

    explicit ImageListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void setDecoration(Decoration decoration);
    Decoration decoration() const { return m_decoration; }

    // Writes the six plain captions, removing any sort mark.
    void ResetColumnCaptions();

    const ListItem &item(int row) const { return m_items[size_t(row)]; }
    const std::vector<ListItem> &items() const { return m_items; }

    // Appends rows in one insertion; each row's thumbnail (empty for none) joins the
    // image list and the row's image index points at it. Data keys continue upwards.
    void appendRows(std::vector<ListItem> rows, std::vector<QByteArray> thumbnails);
    // Removes every row; the image list is kept unless told otherwise.
    void clearRows(bool clearImages);
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    // Replaces the order of the rows: `order[i]` is the old row that becomes row i.
    void reorder(const std::vector<int> &order);

    // The column sort of a sort state (see listorder.h), stable; the captions are not
    // touched, showSortMark writes them.
    void sortByColumn(int sortColumn);
    // The plain captions with the sort state's mark, " ^" or " v".
    void showSortMark(int sortColumn);
    // A move command on one row through the data keys, which it rewrites; returns the
    // row's new index (unchanged when the command cannot move it).
    int moveRow(int row, MoveCommand command);
    // Drops row `selected` on row `target`; returns the moved row's new index.
    int dropRow(int selected, int target);

    // Check marks, each a single dataChanged over the whole check column.
    void setAllChecked(bool checked);
    // Checks the rows the predicate accepts and unchecks the rest; returns the count.
    int setCheckedWhere(const std::function<bool(int row, const ListItem &)> &accept);
    int checkedCount() const;
    QStringList checkedPaths() const;

    int imageCount() const { return int(m_images.size()); }
    const QByteArray &storedThumbnail(int imageIndex) const;

private:
    QPixmap thumbnail(int imageIndex) const;
    QIcon smallIcon(const QString &path) const;
    void emitCheckColumnChanged();

    std::vector<ListItem> m_items;
    std::vector<QByteArray> m_images;
    QStringList m_captions;
    Decoration m_decoration = Decoration::Thumbnail;
    int m_nextDataKey = 0;
    mutable QCache<int, QPixmap> m_pixmaps;
    mutable QHash<QString, QIcon> m_iconsBySuffix;
};

} // namespace pelmaris::scan
