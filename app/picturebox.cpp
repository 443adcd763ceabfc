#include "app/picturebox.h"

#include "gallery/viewergeometry.h"
#include "scan/picturedecoder.h"
#include "scan/thumbnail.h"

#include <QPainter>

#include <cmath>

namespace pelmaris::app {

namespace {

bool sideways(QImageIOHandler::Transformations turn)
{
    return turn.testFlag(QImageIOHandler::TransformationRotate90);
}

} // namespace

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    // Transparent: the window's background shows in the bands beside the picture.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(false);
}

void PictureBox::setPicture(const QImage &image, QImageIOHandler::Transformations turn,
                            const QImage &preview)
{
    m_image = image;
    m_turn = image.isNull() ? QImageIOHandler::TransformationNone : turn;
    m_preview = image.isNull() ? QImage() : preview;
    m_scaled = QPixmap();
    update();
}

QSize PictureBox::uprightSize() const
{
    return sideways(m_turn) ? m_image.size().transposed() : m_image.size();
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
    const QSize drawn = uprightSize().scaled(control, Qt::KeepAspectRatio);
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
    const qreal ratio = devicePixelRatioF();
    const QSize device(int(std::lround(target.width() * ratio)),
                       int(std::lround(target.height() * ratio)));
    // Reducing is done once per size with area sampling, from the screen-sized copy when
    // that is large enough. Anything larger is drawn from the picture itself through the
    // turn, only where it is exposed: a window far larger than the screen never holds a
    // copy of its own size, and a sideways photo never a turned copy of itself.
    const bool fromPreview = !m_preview.isNull();
    const QImage &source = fromPreview ? m_preview : m_image;
    const QImageIOHandler::Transformations turn =
        fromPreview ? QImageIOHandler::TransformationNone : m_turn;
    const QSize upright = sideways(turn) ? source.size().transposed() : source.size();
    if (device.width() <= upright.width() && device.height() <= upright.height()) {
        if (m_scaled.size() != device) {
            m_scaled = QPixmap::fromImage(scan::turnedUpright(
                scan::scaledSmoothly(source, sideways(turn) ? device.transposed() : device), turn));
            m_scaled.setDevicePixelRatio(ratio);
        }
        painter.drawPixmap(target.topLeft(), m_scaled);
        return;
    }
    m_scaled = QPixmap();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setTransform(gallery::uprightTransform(m_image.size(), m_turn, QRectF(target)), true);
    painter.drawImage(QPoint(0, 0), m_image);
}

} // namespace pelmaris::app
