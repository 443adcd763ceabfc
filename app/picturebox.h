#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace pelmaris::app {

// A picture stretched to the whole control, centred, drawn over the window's own
// background. Without a picture it shows a short notice in the middle.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }
    // Keep the picture's aspect ratio (true) or fill the control (false).
    void setProportional(bool proportional);
    bool proportional() const { return m_proportional; }
    void setEmptyText(const QString &text);

    // Where the picture is drawn inside a control of the given size.
    QRect pictureRect(QSize control) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    QPixmap m_scaled; // the picture reduced to the drawn size, made once per size
    bool m_proportional = true;
    QString m_emptyText;
};

} // namespace pelmaris::app
