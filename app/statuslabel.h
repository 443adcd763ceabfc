#pragma once

#include <QLabel>

namespace pelmaris::app {

// A status panel whose text may be longer than the panel: it shows the beginning that
// fits, elided at the end, rather than a centred text cut at both ends. text() stays the
// whole text.
class StatusLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    // What the panel shows of its text at its present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace pelmaris::app
