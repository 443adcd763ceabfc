#pragma once

// The orders a user gives the image list: the column sort, the move commands, drag and
// drop of one row, checked rows first and the shuffle. Each order is computed as a
// permutation (`order[i]` is the old row that becomes row i), which
// ImageListModel::reorder applies in one layout change.
//
// Every sort here is stable: rows the order cannot tell apart keep their places. The
// list's own comparison of sub-item texts never answers "equal" (it is no strict weak
// order), so it is never handed to a sort; the sorts use keys that order the rows the
// same way and compare equal texts as equal.

#include "scan/listitem.h"
#include "scan/pathorder.h"

#include <QPoint>
#include <QRect>
#include <QStringList>

#include <optional>
#include <vector>

namespace pelmaris::scan {

// ---- column sort ----
// The sort state ListViewSortCol1: 0 none, +k column k - 1 ascending, -k descending.

// The state after a click on `column` (0 to 5): the same column reverses the
// direction, another column starts descending.
int nextSortColumn(int sortColumn, int column);

// The six captions with " ^" (ascending) or " v" (descending) after the sorted one.
QStringList sortedColumnCaptions(int sortColumn);

// The list's comparison of two rows under a sort state: the name column numbers by
// value with letter case ignored (negative, 0 or positive); the other columns by
// length first, then code units, answering +2 or -2 and -2 for equal texts; negated
// when descending. Kept as the reference the sort below follows.
int ListView1Compare(const ListItem &row1, const ListItem &row2, int sortColumn);

// The rows in the order of a sort state, stable; the identity for state 0.
std::vector<int> columnSortOrder(const std::vector<ListItem> &rows, int sortColumn);

// ---- move commands ----
enum class MoveCommand { ToTop, Up, Down, ToBottom };

// Whether the command may move the row (the menu enables it only then): up and to the
// top need a row below the first, down and to the bottom one above the last.
bool canMove(int rowCount, int selected, MoveCommand command);

// The data keys a move gives: every row its index, then the moved rows' new keys
// (to the top -1, to the bottom n, one up or down swaps the keys of two neighbours).
std::vector<int> moveKeys(int rowCount, int selected, MoveCommand command);

// Key of row1 minus key of row2, as a sign (the keys never overflow a difference).
int DataKeyCompare(const ListItem &row1, const ListItem &row2);

// The rows ordered by their data keys, stable.
std::vector<int> dataKeyOrder(const std::vector<ListItem> &rows);

// ---- drag and drop of one row inside the list ----
// Where a point lies relative to the list's rows, as the list's hit test reports it.
enum class HitArea {
    Nowhere,  // empty space
    Icon,     // a row's thumbnail (preview) or small icon (detail view)
    WholeRow, // a row as a whole, as some platforms report it
    Label,    // a row's text, or a sub-item's in the detail view
    CheckBox, // a row's check box
};

// The parts of one row on screen, in the view's coordinates.
struct RowRects {
    QRect row;
    QRect checkBox;
    QRect icon;
};

// The hit test over one row's rectangles: the check box, then the icon; the rest of
// the row is text. A point outside the row, or no row, is nowhere.
HitArea hitArea(QPoint point, const std::optional<RowRects> &rects);

// A drag is accepted only from this list itself, with a row selected, over a row's
// icon (or the row as a whole where the platform reports that).
bool acceptsDrop(bool fromThisList, bool rowSelected, HitArea hit);

// Where the dragged row is inserted before it is removed from its old place: the
// target's index when the target lies above it, else the index after the target.
int dropInsertPosition(int selected, int target);

// The rows after dropping `selected` on `target`; the moved row's new index in *moved.
// Dropping a row on itself changes nothing.
std::vector<int> dropOrder(int rowCount, int selected, int target, int *moved = nullptr);

// ---- check marks and the shuffle ----
// 1 if row1 is unchecked, else 0, minus the same of row2: checked rows first.
int CheckedFirstCompare(const ListItem &row1, const ListItem &row2);

// Checked rows first, then the unchecked ones, each group in its present order.
std::vector<int> checkedFirstOrder(const std::vector<ListItem> &rows);

// Checked rows first, then the unchecked ones, each group in a uniform random order.
std::vector<int> shuffleOrder(const std::vector<ListItem> &rows, RandomEngine &engine);

} // namespace pelmaris::scan
