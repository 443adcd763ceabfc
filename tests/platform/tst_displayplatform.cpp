#include "platform/linux/displayplatform.h"

#include <QTest>

using pelmaris::platform::preferredDisplayPlatform;

class TestDisplayPlatform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void choice_data();
    void choice();
};

void TestDisplayPlatform::choice_data()
{
    QTest::addColumn<QByteArray>("qpa");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArray>("session");
    QTest::addColumn<QByteArray>("x11");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("wayland with XWayland")
        << QByteArray() << QByteArray("wayland-0") << QByteArray("wayland") << QByteArray(":0")
        << QByteArray("xcb");
    QTest::newRow("session type only") << QByteArray() << QByteArray() << QByteArray("wayland")
                                       << QByteArray(":1") << QByteArray("xcb");
    QTest::newRow("wayland without X11") << QByteArray() << QByteArray("wayland-0")
                                         << QByteArray("wayland") << QByteArray() << QByteArray();
    QTest::newRow("plain X11") << QByteArray() << QByteArray() << QByteArray("x11")
                               << QByteArray(":0") << QByteArray();
    QTest::newRow("the user's choice stands")
        << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray("wayland")
        << QByteArray(":0") << QByteArray();
}

void TestDisplayPlatform::choice()
{
    QFETCH(QByteArray, qpa);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, session);
    QFETCH(QByteArray, x11);
    QFETCH(QByteArray, expected);
    QCOMPARE(preferredDisplayPlatform(qpa, wayland, session, x11), expected);
}

QTEST_GUILESS_MAIN(TestDisplayPlatform)
#include "tst_displayplatform.moc"
