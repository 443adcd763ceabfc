#include "app/statuslabel.h"

#include <QPainter>
#include <QStyle>

namespace pelmaris::app {

QString StatusLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void StatusLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QString shown = shownText();
    // A text that fits keeps the panel's own alignment; a cut one starts at the left edge
    // so that its beginning is read.
    const Qt::Alignment align =
        shown == text() ? alignment() : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter);
    style()->drawItemText(&painter, contentsRect(), int(align), palette(), isEnabled(), shown,
                          foregroundRole());
}

} // namespace pelmaris::app
