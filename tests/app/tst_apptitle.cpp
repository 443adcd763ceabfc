#include "app/apptitle.h"

#include <QTest>

using pelmaris::app::applicationTitle;

class TestAppTitle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void title_data();
    void title();
};

void TestAppTitle::title_data()
{
    QTest::addColumn<QString>("exe");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << "/x/Pelmaris"
                           << "Pelmaris";
    QTest::newRow("extension cut") << "/x/Foo.exe"
                                   << "Foo";
    QTest::newRow("rest lowered") << "/opt/PELMARIS.bin"
                                  << "Pelmaris";
    QTest::newRow("first char kept") << "/x/pELMARIS"
                                     << "pelmaris";
    QTest::newRow("cut at first full stop") << "/x/Pel.maris.exe"
                                            << "Pel";
    QTest::newRow("folder dots ignored") << "/x.y/Z.d/Pelmaris"
                                         << "Pelmaris";
    QTest::newRow("Japanese name") << "/x/ペルマリス.exe"
                                   << "ペルマリス";
    QTest::newRow("leading dot") << "/x/.hidden"
                                 << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestAppTitle::title()
{
    QFETCH(QString, exe);
    QFETCH(QString, expected);
    QCOMPARE(applicationTitle(exe), expected);
}

QTEST_GUILESS_MAIN(TestAppTitle)
#include "tst_apptitle.moc"
