#pragma once

#include <QString>

class QItemSelectionModel;

namespace pelmaris::scan {
class ImageListModel;
}

namespace pelmaris::app {

// The image list as the commands on its rows see it: the rows, the selected one, and
// what the list shows while a command works. The commands get this, not the controls.
class ListPage {
public:
    virtual ~ListPage() = default;

    virtual const scan::ImageListModel &rows() const = 0;
    // The selected row, or -1.
    virtual int selectedRow() const = 0;
    // Selects a row and scrolls the views to it.
    virtual void selectRow(int row) = 0;
    // Takes a row out of the list and shows what is left: the counts, and the row that
    // took its place (or the new last one) selected, or an empty list's controls.
    virtual void removeRow(int row) = 0;
    // The one selection both views share: whoever follows the list watches it.
    virtual QItemSelectionModel *selection() const = 0;
    // Both views back at the first row.
    virtual void scrollToTop() = 0;
    // What "全選択" does: every row checked ("選択表示(n)") or unchecked ("選択表示"),
    // and "10%" unchecked without its own action.
    virtual void checkAllRows(bool all) = 0;
    virtual void setBusyCursor(bool busy) = 0;
    // The message and path line of the status bar.
    virtual QString status() const = 0;
    virtual void setStatus(const QString &text) = 0;
};

} // namespace pelmaris::app
