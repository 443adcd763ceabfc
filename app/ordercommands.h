#pragma once

#include "app/formcontext.h"
#include "scan/listorder.h"

#include <QObject>
#include <QPoint>

#include <optional>

class QAbstractItemView;

namespace pelmaris::app {

// The list's order: the column sort by a click on the detail view's header, the
// drag-and-drop move of one row in either view, and the four move commands. The views
// drag a row by themselves; every drop on them comes here, so their own moves never run.
class OrderCommands : public QObject {
    Q_OBJECT

public:
    explicit OrderCommands(const FormContext &context, QObject *parent = nullptr);

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

    FormContext m_c;
};

} // namespace pelmaris::app
