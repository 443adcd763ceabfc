#include "gallery/viewergeometry.h"
#include "scan/picturedecoder.h"

#include <QPainter>
#include <QTest>

using namespace pelmaris::gallery;

namespace {
const QRect kWorkArea(0, 0, 1920, 1040);

// Bounds as left, top, right, bottom with the far edges exclusive, the way the window
// system reports them.
QList<int> edges(const QRect &r)
{
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

QImage filled(QSize size, QRgb colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}
} // namespace

class TestViewerGeometry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void logical_data();
    void logical();
    void realSize_data();
    void realSize();
    void fit_data();
    void fit();
    void zoom_data();
    void zoom();
    void zoomStepsEnd();
    void limited_data();
    void limited();
    void resized_data();
    void resized();
    void lineColour_data();
    void lineColour();
    void mix_data();
    void mix();
    void edgeColour_data();
    void edgeColour();
    void wheelNotches_data();
    void wheelNotches();
    void upright_data();
    void upright();
    void uprightScaled();
};

void TestViewerGeometry::logical_data()
{
    QTest::addColumn<QSize>("device");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("unscaled") << QSize(50, 50) << 1.0 << QSize(50, 50);
    QTest::newRow("200 %") << QSize(50, 50) << 2.0 << QSize(25, 25);
    QTest::newRow("200 %, odd rounds half up") << QSize(51, 3) << 2.0 << QSize(26, 2);
    QTest::newRow("150 %") << QSize(4000, 3000) << 1.5 << QSize(2667, 2000);
    QTest::newRow("one pixel stays one") << QSize(1, 1) << 3.0 << QSize(1, 1);
    QTest::newRow("empty") << QSize(0, 0) << 2.0 << QSize(0, 0);
}

void TestViewerGeometry::logical()
{
    QFETCH(QSize, device);
    QFETCH(qreal, ratio);
    QFETCH(QSize, expected);
    QCOMPARE(logicalSize(device, ratio), expected);
}

void TestViewerGeometry::realSize_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("50 x 50 centred")
        << QSize(50, 50) << kWorkArea << QList<int>{935, 495, 985, 545};
    QTest::newRow("wider than the screen")
        << QSize(4000, 3000) << kWorkArea << QList<int>{-1040, -980, 2960, 2020};
    // Odd differences truncate toward zero, also when negative.
    QTest::newRow("odd overhang") << QSize(1923, 1043) << kWorkArea
                                  << QList<int>{-1, -1, 1922, 1042};
    QTest::newRow("panel above the work area")
        << QSize(100, 100) << QRect(0, 32, 1920, 1008) << QList<int>{910, 486, 1010, 586};
}

void TestViewerGeometry::realSize()
{
    QFETCH(QSize, picture);
    QFETCH(QRect, area);
    QFETCH(QList<int>, expected);
    QCOMPARE(edges(realSizeRect(picture, area)), expected);
}

void TestViewerGeometry::fit_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("taller than the screen") << QSize(4000, 3000) << QList<int>{266, 0, 1653, 1040};
    QTest::newRow("wide") << QSize(1000, 200) << QList<int>{0, 328, 1920, 712};
    QTest::newRow("small is enlarged") << QSize(50, 50) << QList<int>{440, 0, 1480, 1040};
    QTest::newRow("same shape as the screen") << QSize(960, 520) << QList<int>{0, 0, 1920, 1040};
    QTest::newRow("one pixel high") << QSize(20000, 1) << QList<int>{0, 520, 1920, 520};
    QTest::newRow("empty picture") << QSize(0, 0) << QList<int>{960, 520, 960, 520};
}

void TestViewerGeometry::fit()
{
    QFETCH(QSize, picture);
    QFETCH(QList<int>, expected);
    QCOMPARE(edges(GetFitRect(picture, kWorkArea)), expected);
}

void TestViewerGeometry::zoom_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("fitMode");
    QTest::addColumn<QRect>("expected");
    const QRect fitted(266, 0, 1387, 1040);
    QTest::newRow("fitted, up") << fitted << 101 << QSize(4000, 3000) << true
                                << QRect(260, -4, 1400, 1050);
    QTest::newRow("fitted, down") << fitted << 99 << QSize(4000, 3000) << true
                                  << QRect(273, 5, 1373, 1030);
    // Below 100 pixels one percent is less than a pixel; the step still grows the window,
    // and the minimum of a twentieth of the work area comes first.
    QTest::newRow("50 x 50 up jumps to the minimum")
        << QRect(935, 495, 50, 50) << 101 << QSize(50, 50) << false << QRect(912, 472, 96, 96);
    QTest::newRow("down at the minimum ends above it")
        << QRect(912, 472, 96, 96) << 99 << QSize(50, 50) << false << QRect(912, 472, 97, 97);
    QTest::newRow("fit mode stops at the work area's width")
        << QRect(0, 100, 1920, 840) << 101 << QSize(1920, 840) << true << QRect(0, 100, 1920, 840);
    QTest::newRow("fit mode caps the width, height still follows")
        << QRect(5, 100, 1910, 1000) << 101 << QSize(1910, 1000) << true
        << QRect(0, 98, 1920, 1005);
    QTest::newRow("real size has no upper limit")
        << QRect(0, 100, 1920, 840) << 101 << QSize(1920, 840) << false << QRect(-9, 96, 1939, 848);
}

void TestViewerGeometry::zoom()
{
    QFETCH(QRect, window);
    QFETCH(int, percent);
    QFETCH(QSize, picture);
    QFETCH(bool, fitMode);
    QFETCH(QRect, expected);
    QCOMPARE(zoomRect(window, percent, picture, kWorkArea, fitMode), expected);
}

void TestViewerGeometry::zoomStepsEnd()
{
    // Widths the loop could never leave if it waited for a change that cannot come: an
    // empty window on a work area too narrow for a minimum, and a tiny one.
    const QRect tiny(0, 0, 10, 10);
    QCOMPARE(zoomRect(QRect(0, 0, 0, 0), 99, QSize(1, 1), tiny, false).width(), 1);
    QCOMPARE(zoomRect(QRect(0, 0, 1, 1), 99, QSize(1, 1), tiny, false).width(), 1);
    QCOMPARE(zoomRect(QRect(0, 0, 1, 1), 101, QSize(1, 1), tiny, true).width(), 2);
}

void TestViewerGeometry::limited_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<qint64>("maxPixels");
    QTest::addColumn<int>("maxSide");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("within") << QRect(-5, -5, 100, 100) << qint64(10000) << 100
                            << QRect(-5, -5, 100, 100);
    QTest::newRow("area, about the centre") << QRect(-1040, -980, 4000, 3000) << qint64(3000000)
                                            << 32767 << QRect(-39, -229, 2000, 1500);
    QTest::newRow("side") << QRect(0, 0, 40000, 100) << (qint64(1) << 40) << 20000
                          << QRect(10000, 25, 20000, 50);
}

void TestViewerGeometry::limited()
{
    QFETCH(QRect, window);
    QFETCH(qint64, maxPixels);
    QFETCH(int, maxSide);
    QFETCH(QRect, expected);
    QCOMPARE(limitWindowSize(window, maxPixels, maxSide), expected);
}

void TestViewerGeometry::resized_data()
{
    QTest::addColumn<int>("edges");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");
    const int right = Qt::RightEdge;
    const int topLeft = Qt::TopEdge | Qt::LeftEdge;
    QTest::newRow("right edge out") << right << QPoint(30, 99) << QRect(100, 100, 230, 100);
    QTest::newRow("top-left corner in") << topLeft << QPoint(20, 10) << QRect(120, 110, 180, 90);
    QTest::newRow("never below the minimum")
        << topLeft << QPoint(500, 500) << QRect(287, 187, 13, 13);
}

void TestViewerGeometry::resized()
{
    QFETCH(int, edges);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);
    QCOMPARE(resizedRect(QRect(100, 100, 200, 100), Qt::Edges(edges), delta, 13), expected);
}

void TestViewerGeometry::lineColour_data()
{
    QTest::addColumn<bool>("column");
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("expected");
    // Column 0 holds red 10 and 11 (mean 10.5 rounds up), column 2 holds 0 and 255.
    QTest::newRow("column, half rounds up") << true << 0 << QColor(11, 20, 30);
    QTest::newRow("column, mixed") << true << 2 << QColor(128, 128, 128);
    QTest::newRow("row of three, thirds") << false << 1 << QColor(89, 97, 95);
    QTest::newRow("outside") << true << 3 << QColor();
}

void TestViewerGeometry::lineColour()
{
    QFETCH(bool, column);
    QFETCH(int, index);
    QFETCH(QColor, expected);
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(10, 20, 30));
    image.setPixel(0, 1, qRgb(11, 20, 30));
    image.setPixel(1, 0, qRgb(0, 0, 0));
    image.setPixel(1, 1, qRgb(1, 15, 0));
    image.setPixel(2, 0, qRgb(0, 0, 0));
    image.setPixel(2, 1, qRgb(255, 255, 255));
    QCOMPARE(AverageLineColor(image, column ? LineDirection::Column : LineDirection::Row, index),
             expected);
}

void TestViewerGeometry::mix_data()
{
    QTest::addColumn<QColor>("a");
    QTest::addColumn<QColor>("b");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("halves round up") << QColor(0, 1, 254) << QColor(1, 2, 255) << QColor(1, 2, 255);
    QTest::newRow("black and white")
        << QColor(0, 0, 0) << QColor(255, 255, 255) << QColor(128, 128, 128);
    QTest::newRow("same") << QColor(7, 8, 9) << QColor(7, 8, 9) << QColor(7, 8, 9);
}

void TestViewerGeometry::mix()
{
    QFETCH(QColor, a);
    QFETCH(QColor, b);
    QFETCH(QColor, expected);
    QCOMPARE(MixColors(a, b), expected);
}

void TestViewerGeometry::edgeColour_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("sideways");
    QTest::addColumn<QColor>("expected");
    // Left column red, right column blue, top row green (but for its corners), bottom
    // row black (likewise): which pair is sampled shows in the result.
    QTest::newRow("tall: left and right") << QSize(10, 20) << false << QColor(128, 0, 128);
    QTest::newRow("as tall as the screen: left and right")
        << QSize(16, 9) << false << QColor(128, 0, 128);
    QTest::newRow("wide: top and bottom") << QSize(40, 10) << false << QColor(6, 121, 6);
    // Stored wide but shown on its side: upright it is tall, and its upright left and
    // right columns are the stored top and bottom rows.
    QTest::newRow("wide stored, upright tall") << QSize(40, 10) << true << QColor(6, 121, 6);
    QTest::newRow("tall stored, upright wide") << QSize(10, 20) << true << QColor(128, 0, 128);
    QTest::newRow("empty") << QSize() << false << QColor();
}

void TestViewerGeometry::edgeColour()
{
    QFETCH(QSize, picture);
    QFETCH(bool, sideways);
    QFETCH(QColor, expected);
    QImage image;
    if (picture.isValid()) {
        image = filled(picture, qRgb(0, 0, 0));
        for (int x = 0; x < picture.width(); ++x)
            image.setPixel(x, 0, qRgb(0, 255, 0));
        for (int y = 0; y < picture.height(); ++y) {
            image.setPixel(0, y, qRgb(255, 0, 0));
            image.setPixel(picture.width() - 1, y, qRgb(0, 0, 255));
        }
    }
    QCOMPARE(EdgeBackgroundColor(image, QSize(1600, 900), sideways), expected);
}

void TestViewerGeometry::wheelNotches_data()
{
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<QList<int>>("notches");
    QTest::newRow("one notch") << QList<int>{120} << QList<int>{1};
    QTest::newRow("one notch as eight smooth events")
        << QList<int>{15, 15, 15, 15, 15, 15, 15, 15} << QList<int>{0, 0, 0, 0, 0, 0, 0, 1};
    QTest::newRow("two notches at once") << QList<int>{240} << QList<int>{2};
    QTest::newRow("down") << QList<int>{-120, -60, -60} << QList<int>{-1, 0, -1};
    QTest::newRow("the rest is kept") << QList<int>{100, 100, 100} << QList<int>{0, 1, 1};
    QTest::newRow("turning back starts afresh") << QList<int>{90, -120, 30} << QList<int>{0, -1, 0};
    QTest::newRow("nothing") << QList<int>{0} << QList<int>{0};
}

void TestViewerGeometry::wheelNotches()
{
    QFETCH(QList<int>, deltas);
    QFETCH(QList<int>, notches);
    int pending = 0;
    QList<int> got;
    for (const int delta : deltas)
        got << takeWheelNotches(pending, delta);
    QCOMPARE(got, notches);
}

void TestViewerGeometry::upright_data()
{
    using T = QImageIOHandler::Transformation;
    QTest::addColumn<int>("turn");
    for (const T t :
         {QImageIOHandler::TransformationNone, QImageIOHandler::TransformationMirror,
          QImageIOHandler::TransformationFlip, QImageIOHandler::TransformationRotate180,
          QImageIOHandler::TransformationRotate90, QImageIOHandler::TransformationMirrorAndRotate90,
          QImageIOHandler::TransformationFlipAndRotate90, QImageIOHandler::TransformationRotate270})
        QTest::addRow("turn %d", int(t)) << int(t);
}

// Drawing the stored picture through the transform gives what a turned copy holds.
void TestViewerGeometry::upright()
{
    QFETCH(int, turn);
    const auto t = QImageIOHandler::Transformations(turn);
    QImage stored(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            stored.setPixel(x, y, qRgb(40 * x, 100 * y, 7));
    const QImage expected = pelmaris::scan::turnedUpright(stored, t);
    QImage drawn(expected.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    {
        QPainter painter(&drawn);
        painter.setTransform(uprightTransform(stored.size(), t, QRectF(drawn.rect())));
        painter.drawImage(0, 0, stored);
    }
    QCOMPARE(drawn, expected.convertToFormat(QImage::Format_RGB32));
}

void TestViewerGeometry::uprightScaled()
{
    const QTransform t = uprightTransform(QSize(30, 20), QImageIOHandler::TransformationRotate90,
                                          QRectF(10, 5, 4, 6));
    // The stored top-left corner ends top right once turned clockwise.
    QCOMPARE(t.map(QPointF(0, 0)), QPointF(14, 5));
    QCOMPARE(t.map(QPointF(30, 20)), QPointF(10, 11));
}

QTEST_GUILESS_MAIN(TestViewerGeometry)
#include "tst_viewergeometry.moc"
