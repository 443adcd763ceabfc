#include "app/aboutbox.h"
#include "app/abouttexts.h"
#include "fakeservices.h"
#include "platform/programinfo.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

using namespace pelmaris::app;

namespace {
QDateTime utc(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), Qt::UTC);
}
} // namespace

class TestAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ukraineTime_data();
    void ukraineTime();
    void screenLine_data();
    void screenLine();
    void aboutLines();
    void gradient_data();
    void gradient();
    void pointer_data();
    void pointer();
    void dialog();
    void lightModePaintsNewGradients();
    void partialRepaintKeepsTheColour();
    void darkModeIsPlain();
};

void TestAbout::ukraineTime_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("expected");
    const QString summer = QStringLiteral("Peace for Ukraine\r\n");
    const QString winter = QStringLiteral("Peace For Ukraine\r\n");
    const QString standard = QStringLiteral(", Ukraine Standard Time");
    const QString saving = QStringLiteral(", Ukraine Standard Time (in Daylight Saving Time)");
    QTest::newRow("July") << utc(2025, 7, 15, 12, 0)
                          << summer + QStringLiteral("15 липня 2025 вівторок 15:00") + saving;
    QTest::newRow("January") << utc(2025, 1, 15, 12, 0)
                             << winter + QStringLiteral("15 січня 2025 середа 14:00") + standard;
    // 2025: summer time from Sunday 30 March, 01:00 UTC, to Sunday 26 October, 01:00 UTC.
    QTest::newRow("March, just before")
        << utc(2025, 3, 30, 0, 59, 59, 999)
        << winter + QStringLiteral("30 березня 2025 неділя 02:59") + standard;
    QTest::newRow("March, at the change")
        << utc(2025, 3, 30, 1, 0)
        << summer + QStringLiteral("30 березня 2025 неділя 04:00") + saving;
    QTest::newRow("October, last summer minute")
        << utc(2025, 10, 26, 0, 59)
        << summer + QStringLiteral("26 жовтня 2025 неділя 03:59") + saving;
    // The clocks go back from 04:00 summer time to 03:00 at 01:00 UTC, not an hour later.
    QTest::newRow("October, at the change")
        << utc(2025, 10, 26, 1, 0)
        << winter + QStringLiteral("26 жовтня 2025 неділя 03:00") + standard;
    QTest::newRow("October, 01:30 UTC")
        << utc(2025, 10, 26, 1, 30)
        << winter + QStringLiteral("26 жовтня 2025 неділя 03:30") + standard;
    QTest::newRow("new year in Kyiv first")
        << utc(2025, 12, 31, 23, 0)
        << winter + QStringLiteral("1 січня 2026 четвер 01:00") + standard;
}

void TestAbout::ukraineTime()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, expected);
    QCOMPARE(GetUkraineTimeText(moment), expected);
    // The same moment given in another time zone reads the same.
    QCOMPARE(GetUkraineTimeText(moment.toOffsetFromUtc(-5 * 3600)), expected);
}

void TestAbout::screenLine_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QString>("expected");
    QTest::newRow("96") << 96 << "CurrentScreen 2560 x 1440 / 96dpi x 100%";
    QTest::newRow("120") << 120 << "CurrentScreen 2560 x 1440 / 120dpi x 125%";
    QTest::newRow("144") << 144 << "CurrentScreen 2560 x 1440 / 144dpi x 150%";
    // 100.52 % rounds down, 101.04 % too; 168 is 175 % exactly.
    QTest::newRow("97") << 97 << "CurrentScreen 2560 x 1440 / 97dpi x 101%";
    QTest::newRow("168") << 168 << "CurrentScreen 2560 x 1440 / 168dpi x 175%";
}

void TestAbout::screenLine()
{
    QFETCH(int, dpi);
    QFETCH(QString, expected);
    QCOMPARE(currentScreenText(QSize(2560, 1440), dpi), expected);
}

void TestAbout::aboutLines()
{
    AboutFacts facts;
    facts.executablePath = QStringLiteral("/opt/ペル マリス/Pelmaris");
    facts.fileVersion = GetFileVersionText();
    facts.screen = QSize(1920, 1080);
    facts.dpi = 96;
    facts.utcNow = utc(2025, 1, 15, 12, 0);
    const QString text = aboutText(facts);
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    const QStringList lines = text.chopped(2).split(QStringLiteral("\r\n"));
    using namespace pelmaris;
    QCOMPARE(lines, (QStringList{
                        "Pelmaris V1.6 (" + program::FileVersion + ") Release Build",
                        "/opt/ペル マリス/Pelmaris",
                        "CurrentScreen 1920 x 1080 / 96dpi x 100%",
                        "",
                        program::MakerCopyright,
                        program::MakerMail,
                        program::MakerHomePage,
                        "made in Japan",
                        "",
                        "Peace For Ukraine",
                        "15 січня 2025 середа 14:00, Ukraine Standard Time",
                    }));
    QCOMPARE(GetFileVersionText(), program::FileVersion);
}

void TestAbout::gradient_data()
{
    QTest::addColumn<quint32>("number");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("leftToRight");
    QTest::newRow("zero") << 0u << QColor(0, 0, 0) << false;
    QTest::newRow("red in the low byte") << 0x0000ffu << QColor(255, 0, 0) << true;
    QTest::newRow("blue in the high byte") << 0xff0000u << QColor(0, 0, 255) << false;
    QTest::newRow("largest") << 16777214u << QColor(254, 255, 255) << false;
}

void TestAbout::gradient()
{
    QFETCH(quint32, number);
    QFETCH(QColor, colour);
    QFETCH(bool, leftToRight);
    const AboutGradient g = aboutGradient(number);
    QCOMPARE(g.colour, colour);
    QCOMPARE(g.leftToRight, leftToRight);
}

void TestAbout::pointer_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("client");
    QTest::addColumn<QPoint>("expected");
    const QRect button(100, 200, 75, 30);
    // Side frames of 8 pixels, 31 above with the caption and 12 below: the sum lands on
    // the button, two thirds across and just below its top.
    QTest::newRow("thick frame") << QRect(300, 100, 416, 304) << QRect(308, 131, 400, 261)
                                 << QPoint(300 + 16 + 100 + 50, 100 + 43 + 200 - 10);
    // No frame at all: the sum would be above the button; it is kept on it.
    QTest::newRow("no frame") << QRect(300, 100, 400, 261) << QRect(300, 100, 400, 261)
                              << QPoint(300 + 100 + 50, 100 + 200);
}

void TestAbout::pointer()
{
    QFETCH(QRect, frame);
    QFETCH(QRect, client);
    QFETCH(QPoint, expected);
    QCOMPARE(okButtonPointer(frame, client, QRect(100, 200, 75, 30)), expected);
}

void TestAbout::dialog()
{
    pelmaris::fakes::FakePlatform platform;
    pelmaris::scan::RandomEngine random(1);
    TAboutBox box(platform.services(), QStringLiteral("line 1\r\nline 2\r\n"), true, random);
    QCOMPARE(box.windowTitle(), QStringLiteral("ペルマリス"));
    QVERIFY(box.windowFlags() & Qt::Tool);
    QVERIFY(!(box.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(box.Message->text(), QStringLiteral("line 1\nline 2\n"));
    QCOMPARE(box.OkButton->text(), QStringLiteral("OK"));
    QCOMPARE(box.OkButton->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(box.IconImage->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(box.IconImage->toolTip(), pelmaris::program::DownloadPage);
    QVERIFY(!box.IconImage->pixmap().isNull());

    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QRect ok(box.OkButton->mapToGlobal(QPoint(0, 0)), box.OkButton->size());
    QTRY_VERIFY(ok.contains(QCursor::pos()));

    QTest::mouseClick(box.IconImage, Qt::LeftButton);
    QCOMPARE(platform.shell.calls.size(), 1);
    QCOMPARE(platform.shell.calls[0].kind, QStringLiteral("open"));
    QCOMPARE(platform.shell.calls[0].target, pelmaris::program::DownloadPage);

    QTest::mouseClick(box.OkButton, Qt::LeftButton);
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

void TestAbout::lightModePaintsNewGradients()
{
    pelmaris::fakes::FakePlatform platform;
    pelmaris::scan::RandomEngine random(20250715);
    pelmaris::scan::RandomEngine expected(20250715);
    TAboutBox box(platform.services(), QStringLiteral("text"), true, random);
    for (int i = 0; i < 3; ++i) {
        const AboutGradient g = aboutGradient(drawAboutColour(expected));
        const QImage shot = box.grab().toImage();
        QCOMPARE(box.gradient().colour, g.colour);
        // White where the gradient starts, the drawn colour where it ends.
        const QPoint far = g.leftToRight ? QPoint(shot.width() - 1, shot.height() / 2)
                                         : QPoint(shot.width() / 2, shot.height() - 1);
        const QColor start = shot.pixelColor(0, 0);
        const QColor end = shot.pixelColor(far);
        QVERIFY2(start.red() >= 250 && start.green() >= 250 && start.blue() >= 250,
                 qPrintable(start.name()));
        QVERIFY2(std::abs(end.red() - g.colour.red()) <= 3 &&
                     std::abs(end.green() - g.colour.green()) <= 3 &&
                     std::abs(end.blue() - g.colour.blue()) <= 3,
                 qPrintable(end.name() + " " + g.colour.name()));
    }
}

// A repaint of a part of the box (the button on hover, a strip another window uncovered)
// keeps the colour: a new one there would leave a patch of another colour.
void TestAbout::partialRepaintKeepsTheColour()
{
    pelmaris::fakes::FakePlatform platform;
    pelmaris::scan::RandomEngine random(11);
    TAboutBox box(platform.services(), QStringLiteral("text\r\nmore text\r\n"), true, random);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.repaint();
    const QColor whole = box.gradient().colour;
    box.repaint(QRect(0, 0, box.width() / 2, box.height()));
    QCOMPARE(box.gradient().colour, whole);
    box.repaint(box.OkButton->geometry());
    QCOMPARE(box.gradient().colour, whole);
    box.repaint();
    QVERIFY(box.gradient().colour != whole);
}

void TestAbout::darkModeIsPlain()
{
    pelmaris::fakes::FakePlatform platform;
    pelmaris::scan::RandomEngine random(7);
    pelmaris::scan::RandomEngine untouched(7);
    TAboutBox box(platform.services(), QStringLiteral("text"), false, random);
    const QImage shot = box.grab().toImage();
    QCOMPARE(shot.pixelColor(0, 0), box.palette().color(QPalette::Window));
    // No colour was drawn.
    QCOMPARE(random(), untouched());
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
