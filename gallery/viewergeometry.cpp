#include "gallery/viewergeometry.h"

#include <algorithm>
#include <cmath>

namespace pelmaris::gallery {

namespace {

bool isEmpty(QSize picture)
{
    return picture.width() <= 0 || picture.height() <= 0;
}

// Half the difference, floating-point, rounded half up and then truncated toward zero:
// the centring rule of the wheel steps.
int centred(int origin, qint64 oldExtent, qint64 newExtent)
{
    return int(std::trunc(origin + double(oldExtent - newExtent) / 2.0 + 0.5));
}

} // namespace

QSize logicalSize(QSize devicePixels, qreal ratio)
{
    if (isEmpty(devicePixels))
        return QSize(0, 0);
    if (ratio <= 0)
        ratio = 1;
    return QSize(std::max(1, int(std::lround(devicePixels.width() / ratio))),
                 std::max(1, int(std::lround(devicePixels.height() / ratio))));
}

QRect realSizeRect(QSize picture, const QRect &workArea)
{
    const int w = std::max(0, picture.width());
    const int h = std::max(0, picture.height());
    return QRect(workArea.x() + (workArea.width() - w) / 2,
                 workArea.y() + (workArea.height() - h) / 2, w, h);
}

QRect GetFitRect(QSize picture, const QRect &workArea)
{
    if (isEmpty(picture))
        return realSizeRect(QSize(0, 0), workArea);
    const int W = workArea.width();
    const int H = workArea.height();
    const double r = double(picture.height()) / double(picture.width());
    const double s = double(H) / double(W);
    int width = W;
    int height = H;
    if (r > s)
        width = int(std::trunc(H / r + 0.5));
    else
        height = int(std::trunc(W * r + 0.5));
    return QRect(workArea.x() + (W - width) / 2, workArea.y() + (H - height) / 2, width, height);
}

QRect zoomRect(const QRect &window, int percent, QSize picture, const QRect &workArea, bool fitMode)
{
    const qint64 fw = window.width();
    const qint64 fh = window.height();
    const qint64 W = workArea.width();
    qint64 width = fw * percent / 100;
    width = std::max(width, W / 20);
    // Each step moves at least one pixel. The loop ends because the width grows with the
    // percentage: by 200 % at the latest it differs from any positive width.
    if (fw > 0) {
        while (width == fw) {
            ++percent;
            width = fw * percent / 100;
        }
    }
    if (fitMode && width > W)
        width = W;
    width = std::max<qint64>(width, 1);
    const qint64 height =
        isEmpty(picture)
            ? fh
            : qint64(std::trunc(double(width) * picture.height() / picture.width() + 0.5));
    return QRect(centred(window.x(), fw, width), centred(window.y(), fh, height), int(width),
                 int(height));
}

QRect limitWindowSize(const QRect &window, qint64 maxPixels, int maxSide)
{
    const qint64 w = window.width();
    const qint64 h = window.height();
    if (w <= 0 || h <= 0 || (w * h <= maxPixels && w <= maxSide && h <= maxSide))
        return window;
    double scale = std::sqrt(double(maxPixels) / (double(w) * double(h)));
    scale = std::min({scale, double(maxSide) / double(w), double(maxSide) / double(h)});
    const qint64 width = std::max<qint64>(1, qint64(w * scale));
    const qint64 height = std::max<qint64>(1, qint64(h * scale));
    return QRect(centred(window.x(), w, width), centred(window.y(), h, height), int(width),
                 int(height));
}

QRect resizedRect(const QRect &start, Qt::Edges edges, QPoint delta, int minimum)
{
    int left = start.left();
    int top = start.top();
    int right = start.x() + start.width();
    int bottom = start.y() + start.height();
    if (edges & Qt::LeftEdge)
        left = std::min(left + delta.x(), right - minimum);
    if (edges & Qt::RightEdge)
        right = std::max(right + delta.x(), left + minimum);
    if (edges & Qt::TopEdge)
        top = std::min(top + delta.y(), bottom - minimum);
    if (edges & Qt::BottomEdge)
        bottom = std::max(bottom + delta.y(), top + minimum);
    return QRect(left, top, right - left, bottom - top);
}

int takeWheelNotches(int &pending, int delta)
{
    if ((delta > 0 && pending < 0) || (delta < 0 && pending > 0))
        pending = 0;
    pending += delta;
    const int notches = pending / 120; // toward zero: what is left keeps its sign
    pending -= notches * 120;
    return notches;
}

QTransform uprightTransform(QSize stored, QImageIOHandler::Transformations turn,
                            const QRectF &target)
{
    QTransform t;
    if (turn.testFlag(QImageIOHandler::TransformationMirror))
        t.scale(-1, 1);
    if (turn.testFlag(QImageIOHandler::TransformationFlip))
        t.scale(1, -1);
    if (turn.testFlag(QImageIOHandler::TransformationRotate90))
        t = t * QTransform().rotate(90);
    // The turned picture moved back to the origin, as a turned copy would lie.
    t = QImage::trueMatrix(t, stored.width(), stored.height());
    const QSizeF upright = t.mapRect(QRectF(QPointF(0, 0), QSizeF(stored))).size();
    if (upright.isEmpty())
        return t;
    return t *
           QTransform::fromScale(target.width() / upright.width(),
                                 target.height() / upright.height()) *
           QTransform::fromTranslate(target.x(), target.y());
}

QColor AverageLineColor(const QImage &bitmap, LineDirection direction, int index)
{
    const bool column = direction == LineDirection::Column;
    const int limit = column ? bitmap.width() : bitmap.height();
    const int count = column ? bitmap.height() : bitmap.width();
    if (index < 0 || index >= limit || count <= 0)
        return QColor();
    qint64 red = 0;
    qint64 green = 0;
    qint64 blue = 0;
    for (int i = 0; i < count; ++i) {
        const QRgb p = column ? bitmap.pixel(index, i) : bitmap.pixel(i, index);
        red += qRed(p);
        green += qGreen(p);
        blue += qBlue(p);
    }
    const auto mean = [count](qint64 sum) { return int(std::trunc(double(sum) / count + 0.5)); };
    return QColor(mean(red), mean(green), mean(blue));
}

QColor MixColors(const QColor &a, const QColor &b)
{
    const auto mix = [](int x, int y) { return int(std::trunc((x + y) / 2.0 + 0.5)); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

QColor EdgeBackgroundColor(const QImage &picture, QSize screen, bool sideways)
{
    if (picture.isNull() || screen.width() <= 0)
        return QColor();
    const QSize upright = sideways ? picture.size().transposed() : picture.size();
    const double r = double(upright.height()) / double(upright.width());
    const double s = double(screen.height()) / double(screen.width());
    // Upright columns are stored columns, or stored rows when the picture lies on its side.
    if ((r >= s) != sideways)
        return MixColors(AverageLineColor(picture, LineDirection::Column, 0),
                         AverageLineColor(picture, LineDirection::Column, picture.width() - 1));
    return MixColors(AverageLineColor(picture, LineDirection::Row, 0),
                     AverageLineColor(picture, LineDirection::Row, picture.height() - 1));
}

} // namespace pelmaris::gallery
