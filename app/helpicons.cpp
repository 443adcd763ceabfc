#include "app/helpicons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace pelmaris::app {

namespace {

// Drawn on a 64-unit square, then scaled to each size.
using Drawing = std::function<void(QPainter &)>;

QIcon drawnIcon(const Drawing &draw)
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(size / 64.0, size / 64.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// A letter in a filled circle.
Drawing badge(QColor fill, const QString &letter)
{
    return [fill, letter](QPainter &p) {
        p.setPen(QPen(fill.darker(130), 3));
        p.setBrush(fill);
        p.drawEllipse(QRectF(4, 4, 56, 56));
        QFont font;
        font.setBold(true);
        font.setPixelSize(40);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(4, 4, 56, 56), Qt::AlignCenter, letter);
    };
}

void sheet(QPainter &p)
{
    QPainterPath page;
    page.moveTo(12, 4);
    page.lineTo(40, 4);
    page.lineTo(52, 16);
    page.lineTo(52, 60);
    page.lineTo(12, 60);
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 100), 3));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QLineF(40, 4, 40, 16));
    p.drawLine(QLineF(40, 16, 52, 16));
    p.setPen(QPen(QColor(60, 110, 190), 4, Qt::SolidLine, Qt::RoundCap));
    for (const int y : {26, 36, 46})
        p.drawLine(QLineF(20, y, 44, y));
}

void heart(QPainter &p)
{
    QPainterPath path;
    path.moveTo(32, 58);
    path.cubicTo(4, 38, 2, 22, 12, 12);
    path.cubicTo(20, 4, 30, 8, 32, 18);
    path.cubicTo(34, 8, 44, 4, 52, 12);
    path.cubicTo(62, 22, 60, 38, 32, 58);
    p.setPen(QPen(QColor(150, 20, 40), 3));
    p.setBrush(QColor(220, 40, 70));
    p.drawPath(path);
}

void house(QPainter &p)
{
    p.setPen(QPen(QColor(110, 70, 30), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(245, 235, 210));
    p.drawRect(QRectF(14, 30, 36, 28));
    p.setBrush(QColor(200, 80, 40));
    p.drawPolygon(QPolygonF({QPointF(4, 32), QPointF(32, 6), QPointF(60, 32)}));
    p.setBrush(QColor(110, 70, 30));
    p.drawRect(QRectF(27, 42, 10, 16));
}

} // namespace

QList<QIcon> ImageList3()
{
    return {
        drawnIcon(badge(QColor(40, 110, 200), QStringLiteral("?"))),
        drawnIcon(badge(QColor(30, 150, 120), QStringLiteral("i"))),
        drawnIcon(sheet),
        drawnIcon(heart),
        drawnIcon(house),
    };
}

} // namespace pelmaris::app
