#include "platform/linux/linuxsysteminfo.h"

#include <QTest>

using pelmaris::platform::LinuxSystemInfo;

class TestMemInfo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void memoryLoad_data();
    void memoryLoad();
};

void TestMemInfo::memoryLoad_data()
{
    QTest::addColumn<QByteArray>("meminfo");
    QTest::addColumn<int>("expected");

    QTest::newRow("typical") << QByteArray("MemTotal:       16303428 kB\n"
                                           "MemFree:         1234567 kB\n"
                                           "MemAvailable:    4075857 kB\n"
                                           "Buffers:          123456 kB\n")
                             << 75;
    QTest::newRow("rounds down") << QByteArray("MemTotal: 1000 kB\nMemAvailable: 1 kB\n") << 99;
    QTest::newRow("all free") << QByteArray("MemTotal: 1000 kB\nMemAvailable: 1000 kB\n") << 0;
    QTest::newRow("available first")
        << QByteArray("MemAvailable: 250 kB\nMemTotal: 1000 kB\n") << 75;
    QTest::newRow("no MemAvailable") << QByteArray("MemTotal: 1000 kB\nMemFree: 10 kB\n") << 0;
    QTest::newRow("zero total") << QByteArray("MemTotal: 0 kB\nMemAvailable: 0 kB\n") << 0;
    QTest::newRow("available above total")
        << QByteArray("MemTotal: 10 kB\nMemAvailable: 20 kB\n") << 0;
    QTest::newRow("garbage") << QByteArray("MemTotal: lots\n\0\xff", 18) << 0;
    QTest::newRow("empty") << QByteArray() << 0;
}

void TestMemInfo::memoryLoad()
{
    QFETCH(QByteArray, meminfo);
    QFETCH(int, expected);
    QCOMPARE(LinuxSystemInfo::memoryLoadFromMeminfo(meminfo), expected);
}

QTEST_GUILESS_MAIN(TestMemInfo)
#include "tst_meminfo.moc"
