#pragma once

#include <QImage>
#include <QImageIOHandler>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace pelmaris::app {

// A picture stretched to the whole control, centred, drawn over the window's own
// background. Without a picture it shows a short notice in the middle. Sizes are device
// pixels: a picture drawn at its own size covers as many pixels of the screen, whatever
// the display's scale.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    // `image` as stored with the turn that shows it upright, and optionally an upright
    // copy of it no larger than the screen (drawn from whenever the picture is shown no
    // larger than that).
    void setPicture(const QImage &image, QImageIOHandler::Transformations turn = {},
                    const QImage &preview = QImage());
    void clearPicture() { setPicture(QImage()); }
    const QImage &image() const { return m_image; }
    // The picture upright, in pixels; empty without one.
    QSize uprightSize() const;
    // Keep the picture's aspect ratio (true) or fill the control (false).
    void setProportional(bool proportional);
    bool proportional() const { return m_proportional; }
    void setEmptyText(const QString &text);
    QString emptyText() const { return m_emptyText; }

    // Where the picture is drawn inside a control of the given size (logical pixels).
    QRect pictureRect(QSize control) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    QImageIOHandler::Transformations m_turn;
    QImage m_preview;
    QPixmap m_scaled; // a reduced, upright copy at the drawn size, made once per size
    bool m_proportional = true;
    QString m_emptyText;
};

} // namespace pelmaris::app
