#include "scan/listorder.h"

#include "scan/listtexts.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace pelmaris::scan {

namespace {

constexpr int kColumns = 6;

std::vector<int> identity(size_t n)
{
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// The collation of compareNumeric, built once for a whole sort: numbers by value,
// letter case ignored, the English collation standing in for the C locale.
QCollator numericCollator()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator{locale};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    collator.setIgnorePunctuation(false);
    return collator;
}

const QString &columnText(const ListItem &row, int column)
{
    return column == 0 ? row.caption : row.subItems[size_t(column - 1)];
}

// Length first, then code units: "#,0" numbers by value, fixed-width times by time.
bool shorterOrLess(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return a.size() < b.size();
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

} // namespace

int nextSortColumn(int sortColumn, int column)
{
    if (std::abs(sortColumn) == column + 1)
        return -sortColumn;
    return -(column + 1);
}

QStringList sortedColumnCaptions(int sortColumn)
{
    QStringList captions = columnCaptions();
    const int column = std::abs(sortColumn) - 1;
    if (column >= 0 && column < kColumns)
        captions[column] += sortColumn > 0 ? QStringLiteral(" ^") : QStringLiteral(" v");
    return captions;
}

int ListView1Compare(const ListItem &row1, const ListItem &row2, int sortColumn)
{
    const int column = std::abs(sortColumn) - 1;
    if (column < 0 || column >= kColumns)
        return 0;
    int result;
    if (column == 0) {
        result = compareNumeric(row1.caption, row2.caption);
    } else {
        const QString &t1 = columnText(row1, column);
        const QString &t2 = columnText(row2, column);
        if (t1.size() != t2.size())
            result = t1.size() > t2.size() ? 2 : -2;
        else
            result = QString::compare(t1, t2, Qt::CaseSensitive) > 0 ? 2 : -2;
    }
    return sortColumn < 0 ? -result : result;
}

std::vector<int> columnSortOrder(const std::vector<ListItem> &rows, int sortColumn)
{
    std::vector<int> order = identity(rows.size());
    const int column = std::abs(sortColumn) - 1;
    if (column < 0 || column >= kColumns || rows.size() < 2)
        return order;
    const bool descending = sortColumn < 0;
    if (column == 0) {
        // One collation key per path: collating pairwise costs far more.
        const QCollator collator = numericCollator();
        std::vector<QCollatorSortKey> keys;
        keys.reserve(rows.size());
        for (const ListItem &row : rows)
            keys.push_back(collator.sortKey(row.caption));
        const auto compare = [&](int i, int j) {
            int c = keys[size_t(i)].compare(keys[size_t(j)]);
            if (c == 0)
                c = QString::compare(rows[size_t(i)].caption, rows[size_t(j)].caption,
                                     Qt::CaseSensitive);
            return sign(c);
        };
        std::stable_sort(order.begin(), order.end(), [&](int i, int j) {
            return descending ? compare(j, i) < 0 : compare(i, j) < 0;
        });
        return order;
    }
    std::stable_sort(order.begin(), order.end(), [&](int i, int j) {
        const QString &a = columnText(rows[size_t(i)], column);
        const QString &b = columnText(rows[size_t(j)], column);
        return descending ? shorterOrLess(b, a) : shorterOrLess(a, b);
    });
    return order;
}

bool canMove(int rowCount, int selected, MoveCommand command)
{
    if (selected < 0 || selected >= rowCount)
        return false;
    switch (command) {
    case MoveCommand::ToTop:
    case MoveCommand::Up:
        return selected > 0;
    case MoveCommand::Down:
    case MoveCommand::ToBottom:
        return selected < rowCount - 1;
    }
    return false;
}

std::vector<int> moveKeys(int rowCount, int selected, MoveCommand command)
{
    std::vector<int> keys = identity(size_t(std::max(0, rowCount)));
    if (!canMove(rowCount, selected, command))
        return keys;
    const size_t i = size_t(selected);
    switch (command) {
    case MoveCommand::ToTop:
        keys[i] = -1;
        break;
    case MoveCommand::ToBottom:
        keys[i] = rowCount;
        break;
    case MoveCommand::Up:
        keys[i - 1] = selected;
        keys[i] = selected - 1;
        break;
    case MoveCommand::Down:
        keys[i] = selected + 1;
        keys[i + 1] = selected;
        break;
    }
    return keys;
}

int DataKeyCompare(const ListItem &row1, const ListItem &row2)
{
    return (row1.data > row2.data) - (row1.data < row2.data);
}

std::vector<int> dataKeyOrder(const std::vector<ListItem> &rows)
{
    std::vector<int> order = identity(rows.size());
    std::stable_sort(order.begin(), order.end(), [&](int i, int j) {
        return DataKeyCompare(rows[size_t(i)], rows[size_t(j)]) < 0;
    });
    return order;
}

HitArea hitArea(QPoint point, const std::optional<RowRects> &rects)
{
    if (!rects || !rects->row.contains(point))
        return HitArea::Nowhere;
    if (rects->checkBox.contains(point))
        return HitArea::CheckBox;
    if (rects->icon.contains(point))
        return HitArea::Icon;
    return HitArea::Label;
}

bool acceptsDrop(bool fromThisList, bool rowSelected, HitArea hit)
{
    return fromThisList && rowSelected && (hit == HitArea::Icon || hit == HitArea::WholeRow);
}

int dropInsertPosition(int selected, int target)
{
    return target < selected ? target : target + 1;
}

std::vector<int> dropOrder(int rowCount, int selected, int target, int *moved)
{
    std::vector<int> order = identity(size_t(std::max(0, rowCount)));
    const bool valid = selected >= 0 && selected < rowCount && target >= 0 && target < rowCount;
    if (!valid) {
        if (moved)
            *moved = selected;
        return order;
    }
    // Insert a copy at the position, then remove the original: the original sits
    // below the copy when the copy went in above it.
    const int position = dropInsertPosition(selected, target);
    order.insert(order.begin() + position, selected);
    const int original = position <= selected ? selected + 1 : selected;
    order.erase(order.begin() + original);
    if (moved)
        *moved = position <= selected ? position : position - 1;
    return order;
}

int CheckedFirstCompare(const ListItem &row1, const ListItem &row2)
{
    return (row1.checked ? 0 : 1) - (row2.checked ? 0 : 1);
}

std::vector<int> checkedFirstOrder(const std::vector<ListItem> &rows)
{
    std::vector<int> order = identity(rows.size());
    std::stable_partition(order.begin(), order.end(),
                          [&](int i) { return rows[size_t(i)].checked; });
    return order;
}

std::vector<int> shuffleOrder(const std::vector<ListItem> &rows, RandomEngine &engine)
{
    std::vector<int> order = checkedFirstOrder(rows);
    const auto firstUnchecked =
        std::find_if(order.begin(), order.end(), [&](int i) { return !rows[size_t(i)].checked; });
    std::shuffle(order.begin(), firstUnchecked, engine);
    std::shuffle(firstUnchecked, order.end(), engine);
    return order;
}

} // namespace pelmaris::scan
