#include "app/picturebox.h"
#include "app/tform4.h"
#include "fakeservices.h"
#include "gallery/viewergeometry.h"
#include "gallery/viewerpicture.h"
#include "hostilejpeg.h"
#include "picturefixtures.h"
#include "scan/decodebudget.h"

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QLoggingCategory>
#include <QMenu>
#include <QMouseEvent>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
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

QString writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
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
    void largePhotoAtItsRealSize();
    void reducedDecodeIsNeverEnlarged();
    void realSizeIsInDevicePixels();
    void hostilePictureNeverBlocksTheWindow();
    void slowDecodeShowsANoticeAndEscCancels();

private:
    // Opens the file and waits until the viewer shows it; false when it shows the notice.
    bool show(const QString &path);

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

bool TestTForm4::show(const QString &path)
{
    QSignalSpy shown(m_form.get(), &TForm4::pictureShown);
    m_form->openFile(path);
    if (!shown.wait(20000))
        return false;
    return shown.last().at(0).toBool();
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
    QVERIFY(show(m_picture));
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->windowTitle(), QStringLiteral("a b#1.png"));
    QCOMPARE(m_form->geometry(), QRect(760, 370, 400, 300));
    QCOMPARE(m_form->palette().color(QPalette::Window), QColor(100, 0, 50));
    QCOMPARE(m_form->pictureSize(), QSize(400, 300));
    QVERIFY(!m_form->sizingBorder());
}

void TestTForm4::modesAndFollowingTheList()
{
    QVERIFY(show(m_picture));
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
    QVERIFY(show(wide));
    QVERIFY(m_form->Expand2->isChecked());
    QCOMPARE(m_form->geometry(), QRect(0, 328, 1920, 384));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("wide.png"));

    // Closing resets to real size for the next opening.
    m_form->Close1->trigger();
    QVERIFY(!m_form->isVisible());
    QVERIFY(m_form->RealSize2->isChecked());
    QVERIFY(show(m_picture));
    QCOMPARE(m_form->geometry(), QRect(760, 370, 400, 300));
}

void TestTForm4::menuShowsTheRealSize()
{
    QVERIFY(show(m_picture));
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
    QVERIFY(show(m_picture));
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
    QVERIFY(show(m_picture));
    m_form->Adjust2->trigger();
    sendWheel(m_form->Image2, 120);
    QCOMPARE(m_form->geometry(), QRect(260, -4, 1400, 1050));
    sendWheel(m_form->Image2, -120);
    QCOMPARE(m_form->geometry(), QRect(267, 1, 1386, 1040));
    // A notch of a smooth-scrolling device comes in pieces: one step for all of them.
    for (int i = 0; i < 8; ++i)
        sendWheel(m_form->Image2, 15);
    QCOMPARE(m_form->geometry(), QRect(261, -3, 1399, 1049));
    // Two notches in one event are two steps.
    sendWheel(m_form->Image2, -240);
    QCOMPARE(m_form->width(), 1371);
}

void TestTForm4::dragMovesTheWindow()
{
    QVERIFY(show(m_picture));
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
    QVERIFY(show(m_picture));
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

    QVERIFY(show(m_picture));
    QVERIFY(!show(broken));
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

// A camera's picture just over 24 megapixels: whole, and at real size as large as it is.
void TestTForm4::largePhotoAtItsRealSize()
{
    const QString path = m_dir.filePath("6200x4100.jpg");
    QVERIFY(picturefixtures::writeFlatJpeg(path, QSize(6200, 4100), false));
    QVERIFY(show(path));
    QCOMPARE(m_form->Image2->image().size(), QSize(6200, 4100));
    QCOMPARE(m_form->geometry(), QRect(-2140, -1530, 6200, 4100));
    Q_EMIT m_form->PopupMenu2->aboutToShow();
    QCOMPARE(m_form->RealSize2->text(), QStringLiteral("Real Size (6200x4100)"));
    sendWheel(m_form->Image2, 120);
    QCOMPARE(m_form->width(), 6262);
    m_form->Adjust2->trigger();
    QCOMPARE(m_form->geometry(), QRect(173, 0, 1573, 1040));
}

// A header that claims 9000 x 7000 over a 16 x 16 picture's data passes the list's check
// only at a quarter of its size. The window shows that decode no larger than it is.
void TestTForm4::reducedDecodeIsNeverEnlarged()
{
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    const QString path = writeClaimedJpeg(m_dir.filePath("huge.jpg"), QSize(9000, 7000));
    QVERIFY(show(path));
    QCOMPARE(m_form->Image2->image().size(), QSize(2250, 1750));
    Q_EMIT m_form->PopupMenu2->aboutToShow();
    QCOMPARE(m_form->RealSize2->text(), QStringLiteral("Real Size (9000x7000)"));
    QCOMPARE(m_form->size(), QSize(2250, 1750));
    QVERIFY((m_form->geometry().center() - QPoint(960, 520)).manhattanLength() <= 2);
    sendWheel(m_form->Image2, 120);
    QVERIFY(qint64(m_form->width()) * m_form->height() <= 2250 * 1750);
    // The fit modes are smaller than the decode anyway.
    m_form->Adjust2->trigger();
    QCOMPARE(m_form->geometry(), QRect(291, 0, 1337, 1040));
}

// At real size each pixel of the picture is one pixel of the screen, whatever the
// display's scale: the test also runs with QT_SCALE_FACTOR=2.
void TestTForm4::realSizeIsInDevicePixels()
{
    const qreal ratio = m_form->devicePixelRatioF();
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
    QImage checker(50, 50, QImage::Format_RGB32);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    const QString path = m_dir.filePath("checker.png");
    QVERIFY(checker.save(path));
    QVERIFY(show(path));
    QCOMPARE(m_form->size(), pelmaris::gallery::logicalSize(QSize(50, 50), ratio));
    // Drawn one to one: not a pixel blurred.
    QImage shot = m_form->Image2->grab().toImage().convertToFormat(QImage::Format_RGB32);
    shot.setDevicePixelRatio(1);
    QCOMPARE(shot.size(), QSize(50, 50));
    QCOMPARE(shot, checker);
}

// A few kilobytes whose decode walks an 8000 x 8000 picture 490 times. The window hands
// it to a thread of its own, through the file system service and the list's budget, and
// Esc ends it: the window never waits for it.
void TestTForm4::hostilePictureNeverBlocksTheWindow()
{
    const QByteArray bomb = hostilejpeg::arithmeticScanBomb(QSize(8000, 8000), 490);
    QVERIFY(!bomb.isEmpty());
    QVERIFY(bomb.size() < 16 * 1024);
    const QString path = writeBytes(m_dir.filePath("bomb.jpg"), bomb);
    std::atomic<int> opened{0};
    std::atomic<bool> onWindowThread{false};
    m_platform->fileSystem.beforeOpen = [&](const QString &) {
        onWindowThread = QThread::currentThread() == qApp->thread();
        ++opened;
    };
    const auto budget = pelmaris::scan::DecodeBudget::processWide();
    m_form->openFile(path);
    QTRY_VERIFY(opened.load() > 0);
    QVERIFY(!onWindowThread.load());
    m_form->Close1->trigger();
    QVERIFY(!m_form->isLoading());
    QTRY_COMPARE(budget->inUse(), qint64(0));
    QTest::qWait(TForm4::LoadingNoticeDelay + 100);
    QVERIFY(!m_form->isVisible());
    m_form.reset(); // waits for the decode's thread
    m_platform->fileSystem.beforeOpen = nullptr;
}

// A decode that takes a while: the hidden viewer shows that it is loading, and Esc
// cancels the decode, whose picture then never shows.
void TestTForm4::slowDecodeShowsANoticeAndEscCancels()
{
    QSemaphore gate;
    m_platform->fileSystem.beforeOpen = [&](const QString &) { gate.acquire(); };
    m_form->openFile(m_picture);
    QVERIFY(!m_form->isVisible());
    QTRY_VERIFY(m_form->isVisible());
    QVERIFY(m_form->Image2->image().isNull());
    QCOMPARE(m_form->Image2->emptyText(), QStringLiteral("読み込み中…\na b#1.png"));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("a b#1.png"));
    QCOMPARE(m_form->geometry(), QRect(760, 370, 400, 300));

    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(m_form.get(), Qt::Key_Escape);
    QVERIFY(!m_form->isVisible());
    gate.release(100);
    QTest::qWait(200);
    QVERIFY(!m_form->isVisible());

    // The next opening shows its picture as usual.
    QVERIFY(show(m_picture));
    QVERIFY(!m_form->Image2->image().isNull());
    m_form.reset();
    m_platform->fileSystem.beforeOpen = nullptr;
}

QTEST_MAIN(TestTForm4)
#include "tst_tform4.moc"
