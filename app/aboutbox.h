#pragma once

#include "app/abouttexts.h"
#include "platform/services.h"
#include "scan/pathorder.h"

#include <QDialog>
#include <QPoint>

#include <optional>

class QLabel;
class QPushButton;

namespace pelmaris::app {

// The about box: the program's icon (a link to its download page), the message and one
// OK button. In light mode its background is a gradient from white to a colour drawn
// anew at every full repaint.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    TAboutBox(const platform::Services &services, const QString &text, bool lightMode,
              scan::RandomEngine &random, QWidget *parent = nullptr);

    QLabel *IconImage = nullptr;
    QLabel *Message = nullptr;
    QPushButton *OkButton = nullptr;

    // The gradient of the last repaint; only meaningful in light mode.
    AboutGradient gradient() const { return m_gradient; }

    // How long after showing the box the pointer follows it while the window manager
    // frames and places it.
    static constexpr int FramingTime = 1000;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void AboutBoxPaint(QPaintEvent *event);
    void movePointerToOk();

    platform::Services m_services;
    bool m_lightMode = false;
    scan::RandomEngine &m_random;
    AboutGradient m_gradient;
    bool m_painted = false;
    // Until the framing time is over: where the pointer was put, while it is still there.
    std::optional<QPoint> m_pointerPlaced;
};

// What the about box reports about this run: the executable, the version compiled in,
// the primary screen, the time.
AboutFacts currentAboutFacts(const platform::Services &services);

// The about box of the help page, shown modally. `lightMode` is the colour mode chosen
// on the settings page; `random` draws the background colours.
void showAboutBox(const platform::Services &services, QWidget *parent, bool lightMode,
                  scan::RandomEngine &random);

} // namespace pelmaris::app
