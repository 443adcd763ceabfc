#include "app/picturebox.h"

#include <QPainter>

namespace pelmaris::app {

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    // Transparent: the window's background shows in the bands beside the picture.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(false);
}

void PictureBox::setImage(const QImage &image)
{
    m_image = image;
    m_scaled = QPixmap();
    update();
}

void PictureBox::setProportional(bool proportional)
{
    if (m_proportional == proportional)
        return;
    m_proportional = proportional;
    m_scaled = QPixmap();
    update();
}

void PictureBox::setEmptyText(const QString &text)
{
    m_emptyText = text;
    update();
}

QRect PictureBox::pictureRect(QSize control) const
{
    if (m_image.isNull() || control.isEmpty())
        return QRect();
    if (!m_proportional)
        return QRect(QPoint(0, 0), control);
    const QSize drawn = m_image.size().scaled(control, Qt::KeepAspectRatio);
    return QRect(
        QPoint((control.width() - drawn.width()) / 2, (control.height() - drawn.height()) / 2),
        drawn);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_image.isNull()) {
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_emptyText);
        return;
    }
    const QRect target = pictureRect(size());
    if (target.isEmpty())
        return;
    // Reducing is done once per size with area sampling; enlarging is drawn directly, so
    // a window far larger than the screen never holds a pixmap of its own size.
    if (target.width() <= m_image.width() && target.height() <= m_image.height()) {
        if (m_scaled.size() != target.size())
            m_scaled = QPixmap::fromImage(
                m_image.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        painter.drawPixmap(target.topLeft(), m_scaled);
        return;
    }
    m_scaled = QPixmap();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_image);
}

} // namespace pelmaris::app
