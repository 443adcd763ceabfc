#include "scan/listtexts.h"
#include "scan/thumbnail.h"

#include <QTest>

#include <cstdlib>
#include <ctime>

using namespace pelmaris::scan;

class TestListTexts : public QObject {
    Q_OBJECT

    const QLocale c = QLocale::c();

private Q_SLOTS:
    void counts_data()
    {
        QTest::addColumn<qint64>("n");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "0";
        QTest::newRow("three digits") << qint64(999) << "999";
        QTest::newRow("grouped") << qint64(1234567) << "1,234,567";
        QTest::newRow("beyond 32 bits") << qint64(5000000000) << "5,000,000,000";
    }

    void counts()
    {
        QFETCH(qint64, n);
        QFETCH(QString, text);
        QCOMPARE(formatCount(n, c), text);
        QCOMPARE(formatByteSize(n, c), text);
    }

    void usesTheLocaleSeparator()
    {
        QCOMPARE(formatCount(1234567, QLocale(QLocale::German)), QStringLiteral("1.234.567"));
    }

    void tenth_data()
    {
        QTest::addColumn<qint64>("rows");
        QTest::addColumn<QString>("caption");
        QTest::newRow("0") << qint64(0) << "10%(0)";
        QTest::newRow("4") << qint64(4) << "10%(0)";
        QTest::newRow("5 rounds up") << qint64(5) << "10%(1)";
        QTest::newRow("14") << qint64(14) << "10%(1)";
        QTest::newRow("15 rounds up") << qint64(15) << "10%(2)";
        QTest::newRow("12345") << qint64(12345) << "10%(1,235)";
    }

    void tenth()
    {
        QFETCH(qint64, rows);
        QFETCH(QString, caption);
        QCOMPARE(topTenCaption(rows, c), caption);
    }

    void statusTexts()
    {
        QCOMPARE(buildProgressText(12, 40, 100, c), QStringLiteral("12 / 40 / 100"));
        QCOMPARE(buildDoneText(12, 40, c), QStringLiteral("12 / 40 発見しました"));
        QCOMPARE(buildDoneText(0, 0, c), QStringLiteral("0 / 0 該当ありません"));
        QCOMPARE(buildDoneText(0, 1500, c), QStringLiteral("0 / 1,500 該当ありません"));
        QCOMPARE(scanCountText(1234, c), QStringLiteral("1,234"));
        QCOMPARE(scanFoundText(0, c), QStringLiteral("0 発見しました"));
        QCOMPARE(
            scanCancelledText(1234, c),
            QStringLiteral(" フォルダスキャンを打切りました 1,234 アイテムリスト作成準備中.."));
        QCOMPARE(checkAllCaption(12, c), QStringLiteral("全選択(12)"));
        QCOMPARE(browseCheckedCaption(0, c), QStringLiteral("選択表示(0)"));
        QCOMPARE(browseAllCaption(40, c), QStringLiteral("一括表示(40)"));
        QCOMPARE(columnCaptions().size(), 6);
    }

    void fileTime()
    {
        const QByteArray saved = qgetenv("TZ");
        qputenv("TZ", "UTC");
        tzset();
        const auto fs = pelmaris::platform::makeSystemFileSystem();
        QCOMPARE(formatFileTime(fs->localTime(1714979289)), QStringLiteral("2024/05/06 07:08:09"));
        qputenv("TZ", "JST-9");
        tzset();
        QCOMPARE(formatFileTime(fs->localTime(1714979289)), QStringLiteral("2024/05/06 16:08:09"));
        QCOMPARE(formatFileTime(std::nullopt), QString());
        if (saved.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", saved);
        tzset();
    }
};

QTEST_GUILESS_MAIN(TestListTexts)
#include "tst_listtexts.moc"
