#include "app/picturebox.h"
#include "app/tform4.h"
#include "fakeservices.h"
#include "gallery/viewerpicture.h"

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QLoggingCategory>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using pelmaris::app::TForm4;

namespace {

// 400 x 300 in one colour: every edge gives it as the background. (Which edges are
// sampled is a matter of the screen's shape, tested with the colour rule itself.)
QString writePicture(const QString &path)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(qRgb(100, 0, 50));
    image.save(path, "png");
    return path;
}

// A JPEG whose frame header claims the given size over the scan data of a 16 x 16 one.
QString writeClaimedJpeg(const QString &path, QSize claimed)
{
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    small.save(&buffer, "jpeg");
    const qsizetype sof = bytes.indexOf(QByteArray("\xff\xc0", 2));
    const int values[] = {claimed.height(), claimed.width()};
    for (int i = 0; i < 2; ++i) {
        bytes[sof + 5 + 2 * i] = char(values[i] >> 8);
        bytes[sof + 6 + 2 * i] = char(values[i] & 0xff);
    }
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

void sendMouse(QWidget *target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons held)
{
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void sendWheel(QWidget *target, int delta)
{
    const QPoint pos(10, 10);
    QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

class TestTForm4 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void createdHiddenAndApart();
    void opensInRealSize();
    void modesAndFollowingTheList();
    void menuShowsTheRealSize();
    void shortcutsAndEscape();
    void wheelZoomsAboutTheCentre();
    void dragMovesTheWindow();
    void sizingBorderOnlyInFitModes();
    void undecodableShowsNotice();
    void hugePictureKeepsTheWindowSmall();

private:
    QTemporaryDir m_dir;
    QString m_picture;
    std::unique_ptr<pelmaris::fakes::FakePlatform> m_platform;
    std::unique_ptr<TForm4> m_form;
};

void TestTForm4::init()
{
    m_picture = writePicture(m_dir.filePath("a b#1.png"));
    m_platform = std::make_unique<pelmaris::fakes::FakePlatform>();
    m_form = std::make_unique<TForm4>(m_platform->services());
}

void TestTForm4::cleanup()
{
    m_form.reset();
    m_platform.reset();
}

void TestTForm4::createdHiddenAndApart()
{
    QVERIFY(!m_form->isVisible());
    QVERIFY(m_form->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!m_form->parentWidget());
    // Closing the main window must end the program even while the viewer shows.
    QVERIFY(!m_form->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(m_form->RealSize2->isChecked());
    QCOMPARE(m_form->RealSize2->text(), QStringLiteral("RealSize (0x0)"));
    QCOMPARE(m_form->palette().color(QPalette::Window), m_platform->styles.lightFace);
}

void TestTForm4::opensInRealSize()
{
    QVERIFY(m_form->openFile(m_picture));
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->windowTitle(), QStringLiteral("a b#1.png"));
    QCOMPARE(m_form->geometry(), QRect(760, 370, 400, 300));
    QCOMPARE(m_form->palette().color(QPalette::Window), QColor(100, 0, 50));
    QCOMPARE(m_form->pictureSize(), QSize(400, 300));
    QVERIFY(!m_form->sizingBorder());
}

void TestTForm4::modesAndFollowingTheList()
{
    m_form->openFile(m_picture);
    m_form->Adjust2->trigger();
    QCOMPARE(m_form->geometry(), QRect(266, 0, 1387, 1040));
    QVERIFY(m_form->sizingBorder());
    QVERIFY(m_form->Image2->proportional());
    m_form->Expand2->trigger();
    QCOMPARE(m_form->geometry(), QRect(266, 0, 1387, 1040));
    QVERIFY(!m_form->Image2->proportional());

    // The next picture of the list keeps the mode.
    const QString wide = m_dir.filePath("wide.png");
    QImage(1000, 200, QImage::Format_RGB32).save(wide);
    QVERIFY(m_form->openFile(wide));
    QVERIFY(m_form->Expand2->isChecked());
    QCOMPARE(m_form->geometry(), QRect(0, 328, 1920, 384));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("wide.png"));

    // Closing resets to real size for the next opening.
    m_form->Close1->trigger();
    QVERIFY(!m_form->isVisible());
    QVERIFY(m_form->RealSize2->isChecked());
    m_form->openFile(m_picture);
    QCOMPARE(m_form->geometry(), QRect(760, 370, 400, 300));
}

void TestTForm4::menuShowsTheRealSize()
{
    m_form->openFile(m_picture);
    Q_EMIT m_form->PopupMenu2->aboutToShow();
    QCOMPARE(m_form->RealSize2->text(), QStringLiteral("Real Size (400x300)"));
    const QStringList captions = [&] {
        QStringList out;
        for (QAction *a : m_form->PopupMenu2->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }();
    QCOMPARE(captions, (QStringList{"Real Size (400x300)", "Adjust Proportional", "Expand Stretch",
                                    "-", "Close"}));
}

void TestTForm4::shortcutsAndEscape()
{
    m_form->openFile(m_picture);
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(m_form.get(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(m_form->Adjust2->isChecked());
    QCOMPARE(m_form->geometry(), QRect(266, 0, 1387, 1040));
    QTest::keyClick(m_form.get(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(m_form->Expand2->isChecked());
    QTest::keyClick(m_form.get(), Qt::Key_Escape);
    QVERIFY(!m_form->isVisible());
    QVERIFY(m_form->RealSize2->isChecked());
}

void TestTForm4::wheelZoomsAboutTheCentre()
{
    m_form->openFile(m_picture);
    m_form->Adjust2->trigger();
    sendWheel(m_form->Image2, 120);
    QCOMPARE(m_form->geometry(), QRect(260, -4, 1400, 1050));
    sendWheel(m_form->Image2, -120);
    QCOMPARE(m_form->geometry(), QRect(267, 1, 1386, 1040));
}

void TestTForm4::dragMovesTheWindow()
{
    m_form->openFile(m_picture);
    const QPoint start = m_form->pos();
    sendMouse(m_form->Image2, QEvent::MouseButtonPress, QPoint(50, 40), Qt::LeftButton,
              Qt::LeftButton);
    QCOMPARE(m_form->XX, 50);
    QCOMPARE(m_form->YY, 40);
    sendMouse(m_form->Image2, QEvent::MouseMove, QPoint(70, 55), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(m_form->pos(), start + QPoint(20, 15));
    QCOMPARE(m_form->size(), QSize(400, 300));
    // Without the left button held the window stays.
    sendMouse(m_form->Image2, QEvent::MouseButtonRelease, QPoint(70, 55), Qt::LeftButton,
              Qt::NoButton);
    sendMouse(m_form->Image2, QEvent::MouseMove, QPoint(90, 90), Qt::NoButton, Qt::NoButton);
    QCOMPARE(m_form->pos(), start + QPoint(20, 15));
}

void TestTForm4::sizingBorderOnlyInFitModes()
{
    m_form->openFile(m_picture);
    const QPoint edge(m_form->width() - 2, 100);

    // Real size: the edge is picture like any other place, so it drags.
    sendMouse(m_form->Image2, QEvent::MouseButtonPress, edge, Qt::LeftButton, Qt::LeftButton);
    sendMouse(m_form->Image2, QEvent::MouseMove, edge + QPoint(30, 0), Qt::NoButton,
              Qt::LeftButton);
    sendMouse(m_form->Image2, QEvent::MouseButtonRelease, edge + QPoint(30, 0), Qt::LeftButton,
              Qt::NoButton);
    QCOMPARE(m_form->size(), QSize(400, 300));

    m_form->Adjust2->trigger();
    const QRect fitted = m_form->geometry();
    const QPoint right(fitted.width() - 2, 100);
    sendMouse(m_form->Image2, QEvent::MouseButtonPress, right, Qt::LeftButton, Qt::LeftButton);
    sendMouse(m_form->Image2, QEvent::MouseMove, right - QPoint(30, 0), Qt::NoButton,
              Qt::LeftButton);
    QCOMPARE(m_form->geometry(), fitted.adjusted(0, 0, -30, 0));
}

void TestTForm4::undecodableShowsNotice()
{
    const QString broken = m_dir.filePath("broken.jpg");
    QFile file(broken);
    file.open(QIODevice::WriteOnly);
    file.write("not a picture");
    file.close();

    m_form->openFile(m_picture);
    QVERIFY(!m_form->openFile(broken));
    QVERIFY(m_form->isVisible());
    QVERIFY(m_form->Image2->image().isNull());
    QCOMPARE(m_form->windowTitle(), QStringLiteral("broken.jpg"));
    QCOMPARE(m_form->palette().color(QPalette::Window), m_platform->styles.lightFace);
    QCOMPARE(m_form->geometry(), QRect(760, 370, 400, 300));
    Q_EMIT m_form->PopupMenu2->aboutToShow();
    QCOMPARE(m_form->RealSize2->text(), QStringLiteral("Real Size (0x0)"));
    // The fit modes do not blow the notice up to the whole screen.
    m_form->Adjust2->trigger();
    QCOMPARE(m_form->size(), TForm4::NoticeSize);
    sendWheel(m_form->Image2, 120);
    QCOMPARE(m_form->size(), QSize(404, 303));
}

void TestTForm4::hugePictureKeepsTheWindowSmall()
{
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    const QString path = writeClaimedJpeg(m_dir.filePath("huge.jpg"), QSize(9000, 7000));
    QVERIFY(m_form->openFile(path));
    Q_EMIT m_form->PopupMenu2->aboutToShow();
    QCOMPARE(m_form->RealSize2->text(), QStringLiteral("Real Size (9000x7000)"));
    // Real size would be 63 megapixels of window; it keeps the shape at a bounded area.
    const QRect bounds = m_form->geometry();
    QVERIFY(qint64(bounds.width()) * bounds.height() <= pelmaris::gallery::ViewerMaxPixels);
    QVERIFY(bounds.width() > 5000);
    QVERIFY(qAbs(qRound(bounds.width() * 7.0 / 9.0) - bounds.height()) <= 1);
    QVERIFY((bounds.center() - QPoint(960, 520)).manhattanLength() <= 2);
    sendWheel(m_form->Image2, 120);
    QVERIFY(qint64(m_form->width()) * m_form->height() <= pelmaris::gallery::ViewerMaxPixels);
    // The fit modes are not affected.
    m_form->Adjust2->trigger();
    QCOMPARE(m_form->geometry(), QRect(291, 0, 1337, 1040));
}

QTEST_MAIN(TestTForm4)
#include "tst_tform4.moc"
