#pragma once

#include <QColor>
#include <QImage>
#include <QImageIOHandler>
#include <QRect>
#include <QSize>
#include <QTransform>

// Window bounds and background of the picture viewer. Sizes are the picture's own
// pixel size; a work area is the primary screen without its panels. Bounds are placed
// relative to the work area's top-left corner.
namespace pelmaris::gallery {

// A size in device pixels as the window system's logical pixels at the given ratio of the
// two, at least one pixel each way for a picture that has any.
QSize logicalSize(QSize devicePixels, qreal ratio);

// Real size: the window as large as the picture, centred in the work area. A picture
// larger than the work area reaches past its edges (negative positions).
QRect realSizeRect(QSize picture, const QRect &workArea);

// Fit: the picture's aspect ratio, touching two opposite edges of the work area, centred.
// Small pictures are enlarged as well. An empty picture gives an empty rectangle at the
// work area's centre.
QRect GetFitRect(QSize picture, const QRect &workArea);

// One wheel step of `percent` (101 up, 99 down) about the window's centre. Every step
// changes the width by at least one pixel and never goes below a twentieth of the work
// area's width; in the fit modes the width stops at the work area's width. The height
// follows the picture's aspect ratio.
QRect zoomRect(const QRect &window, int percent, QSize picture, const QRect &workArea,
               bool fitMode);

// A window no larger than maxPixels in area and maxSide on either side: a larger one is
// reduced about its centre to the same shape. Every window costs its area in memory for
// its drawing, in the program and again in a compositing window manager.
QRect limitWindowSize(const QRect &window, qint64 maxPixels, int maxSide);

// A window dragged by its sizing border: the given edges follow the mouse's movement,
// the others stay; no side becomes shorter than `minimum`.
QRect resizedRect(const QRect &start, Qt::Edges edges, QPoint delta, int minimum);

// The wheel's notches in `delta` (angleDelta units, 120 a notch) together with what is
// left over from earlier events; what is left of a notch is kept in `pending`. Turning the
// other way starts afresh, so a step back is never swallowed by a part step forward.
int takeWheelNotches(int &pending, int delta);

// Maps a picture as stored onto its upright form (the EXIF turn: mirror first, then a
// quarter turn clockwise) and that onto `target`: drawing the stored picture through it
// shows it upright without a turned copy in memory.
QTransform uprightTransform(QSize stored, QImageIOHandler::Transformations turn,
                            const QRectF &target);

enum class LineDirection {
    Column, // all rows of one pixel column
    Row,    // all columns of one pixel row
};

// Each channel the rounded mean over the line; an invalid colour when the line lies
// outside the picture.
QColor AverageLineColor(const QImage &bitmap, LineDirection direction, int index);

// Each channel the rounded mean of the two (halves round up).
QColor MixColors(const QColor &a, const QColor &b);

// The colour of the bands beside a fitted picture: the mix of its left and right edge
// columns when it is relatively taller than the screen (the bands lie left and right),
// else of its top and bottom rows. Invalid for an empty picture. `sideways`: the picture
// is stored a quarter turn from upright, so its upright columns are its stored rows (which
// of the two ends up left does not matter to the mix).
QColor EdgeBackgroundColor(const QImage &picture, QSize screen, bool sideways = false);

} // namespace pelmaris::gallery
