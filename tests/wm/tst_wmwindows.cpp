// The viewer and the about box under a real window manager (run by with_openbox.sh in
// Xvfb): the pointer and the mouse buttons come from the X server through xdotool, and
// the manager frames, places and resizes the windows as it does for a user.

#include "app/aboutbox.h"
#include "app/tform4.h"
#include "fakeservices.h"

#include <QAction>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using pelmaris::app::TAboutBox;
using pelmaris::app::TForm4;

namespace {

// One xdotool command; the window's event loop runs meanwhile and a little after, so
// that the program sees each step as it would from a hand on the mouse.
void xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 0);
    QTest::qWait(60);
}

// The window's bounds once the manager has stopped changing them.
QRect settled(QWidget *window)
{
    QRect last;
    for (int i = 0; i < 40; ++i) {
        QTest::qWait(50);
        const QRect now = window->geometry();
        if (now == last)
            return now;
        last = now;
    }
    return last;
}

} // namespace

class TestWmWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void viewerStaysWhereItIsResized_data();
    void viewerStaysWhereItIsResized();
    void aboutBoxPointerOnOk();

private:
    QTemporaryDir m_dir;
};

void TestWmWindows::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(m_dir.isValid());
}

void TestWmWindows::viewerStaysWhereItIsResized_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QString>("mode");
    QTest::newRow("wide, Adjust") << QSize(1000, 500) << QStringLiteral("Adjust2");
    QTest::newRow("wide, Expand") << QSize(1000, 500) << QStringLiteral("Expand2");
    QTest::newRow("tall, Adjust") << QSize(500, 1000) << QStringLiteral("Adjust2");
}

// The manager resizes the window by its border; when the button is let go, the window
// keeps the new size where the manager left it. It used to move on by the whole drag.
void TestWmWindows::viewerStaysWhereItIsResized()
{
    QFETCH(QSize, picture);
    QFETCH(QString, mode);
    pelmaris::fakes::FakePlatform platform;
    platform.system.area = QGuiApplication::primaryScreen()->availableGeometry();
    QImage image(picture, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString path = m_dir.filePath(QStringLiteral("picture.png"));
    QVERIFY(image.save(path));

    TForm4 form(platform.services());
    QSignalSpy shown(&form, &TForm4::pictureShown);
    form.openFile(path);
    QVERIFY(shown.wait(10000));
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.findChild<QAction *>(mode)->trigger();
    const QRect start = settled(&form);
    QCOMPARE(start, form.GetFitRect());

    // Grab the right border halfway down and drag it 200 pixels to the left.
    const QPoint grip(start.right() - 2, start.center().y());
    xdotool({"mousemove", QString::number(grip.x()), QString::number(grip.y())});
    xdotool({"mousedown", "1"});
    for (int step = 1; step <= 10; ++step)
        xdotool({"mousemove", QString::number(grip.x() - 20 * step), QString::number(grip.y())});
    xdotool({"mouseup", "1"});
    // The pointer moves on after the release, as a hand would.
    xdotool({"mousemove", QString::number(grip.x() - 150), QString::number(grip.y() + 40)});
    const QRect after = settled(&form);

    QCOMPARE(after.topLeft(), start.topLeft());
    QVERIFY2(qAbs(after.width() - (start.width() - 200)) <= 4,
             qPrintable(QStringLiteral("width %1 from %2").arg(after.width()).arg(start.width())));
    QCOMPARE(after.height(), start.height());
    form.Close1->trigger();
}

// The pointer goes to the OK button once the manager has framed and placed the box.
void TestWmWindows::aboutBoxPointerOnOk()
{
    pelmaris::fakes::FakePlatform platform;
    pelmaris::scan::RandomEngine random(3);
    xdotool({"mousemove", "5", "5"});
    TAboutBox box(platform.services(), QStringLiteral("line 1\r\nline 2\r\nline 3\r\n"), true,
                  random);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    settled(&box);
    QTest::qWait(300);
    // Framed by the manager: the client area lies below its title bar.
    QVERIFY(box.frameGeometry().top() < box.geometry().top());
    const QRect ok(box.OkButton->mapToGlobal(QPoint(0, 0)), box.OkButton->size());
    QVERIFY2(ok.contains(QCursor::pos()),
             qPrintable(QStringLiteral("pointer (%1, %2), OK button (%3, %4) %5 x %6")
                            .arg(QCursor::pos().x())
                            .arg(QCursor::pos().y())
                            .arg(ok.x())
                            .arg(ok.y())
                            .arg(ok.width())
                            .arg(ok.height())));
    box.accept();
}

QTEST_MAIN(TestWmWindows)
#include "tst_wmwindows.moc"
