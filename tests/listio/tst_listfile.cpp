#include "listio/listfile.h"
#include "listio/listiotexts.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace pelmaris::listio;
using pelmaris::platform::FileDialogAnswer;

namespace {

const QString Japanese = QStringLiteral("/写真/夏 1.jpg\r\n");
const QString Korean = QStringLiteral("/사진/a.jpg\r\n");

bool hasShiftJis()
{
    return QStringEncoder("Shift_JIS").isValid();
}

} // namespace

class TestListFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writtenInTheLocaleCharsetWithoutMark()
    {
        const EncodedList encoded = encodeListFile(Japanese);
        QVERIFY(!encoded.utf8WithBom);
        QCOMPARE(encoded.bytes, Japanese.toUtf8());
        QCOMPARE(decodeListFile(encoded.bytes), Japanese);
    }

    // A legacy character set that cannot hold a name must not cost the row: the file
    // is written as UTF-8 with a byte-order mark instead.
    void charsetThatCannotHoldANameFallsBackToUtf8WithMark()
    {
        const EncodedList latin = encodeListFile(Japanese, "ISO-8859-1");
        QVERIFY(latin.utf8WithBom);
        QVERIFY(latin.bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(decodeListFile(latin.bytes), Japanese);
        QCOMPARE(encodeListFile(QStringLiteral("/a.jpg\r\n"), "ISO-8859-1").bytes,
                 QByteArray("/a.jpg\r\n"));

        if (!hasShiftJis())
            QSKIP("no Shift_JIS converter");
        const EncodedList sjis = encodeListFile(Japanese, "Shift_JIS");
        QVERIFY(!sjis.utf8WithBom);
        QCOMPARE(sjis.bytes, QStringEncoder("Shift_JIS").encode(Japanese));
        QCOMPARE(decodeListFile(sjis.bytes), Japanese);
        const EncodedList mixed = encodeListFile(Japanese + Korean, "Shift_JIS");
        QVERIFY(mixed.utf8WithBom);
        QCOMPARE(decodeListFile(mixed.bytes), Japanese + Korean);
    }

    void readerTakesMarksUtf8AndShiftJis()
    {
        QCOMPARE(decodeListFile("\xEF\xBB\xBF/a\r\n"), QStringLiteral("/a\r\n"));
        QCOMPARE(decodeListFile(QByteArray("\xFF\xFE/\0a\0", 6)), QStringLiteral("/a"));
        QCOMPARE(decodeListFile(QByteArray("\xFE\xFF\0/\0a", 6)), QStringLiteral("/a"));
        if (!hasShiftJis())
            QSKIP("no Shift_JIS converter");
        QCOMPARE(decodeListFile(QStringEncoder("Shift_JIS").encode(Japanese)), Japanese);
        // Bytes that are neither: decoded without a crash, nothing more promised.
        QVERIFY(!decodeListFile(QByteArray("\x81\xFF\xFF\x00\x80", 5)).isNull());
    }

    void readingRefusesWhatIsNoRegularFile()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("list.csv"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        auto read = readListFile(fifo); // would block if it were opened to read
        QVERIFY(!read.ok());
        QCOMPARE(read.outcome().text(), QStringLiteral("Not a regular file\r\n") + fifo);
        QVERIFY(!readListFile(dir.path()).ok());
        read = readListFile(dir.filePath(QStringLiteral("gone.csv")));
        QVERIFY(!read.ok());
        QVERIFY(read.outcome().text().endsWith(QStringLiteral("\r\n") + dir.filePath("gone.csv")));

        const QString big = dir.filePath(QStringLiteral("big.txt"));
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(100, 'a'));
        f.close();
        QVERIFY(!readListFile(big, 99).ok());
        read = readListFile(big, 100);
        QVERIFY(read.ok());
        QCOMPARE(wholeText(*read), QString(100, u'a'));
    }

    void suggestedNamesCountRowsOrThousands_data()
    {
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("name");
        QTest::newRow("0") << qint64(0) << "Pelmaris(0)-20250102-030405";
        QTest::newRow("999") << qint64(999) << "Pelmaris(999)-20250102-030405";
        QTest::newRow("1000") << qint64(1000) << "Pelmaris(1K)-20250102-030405";
        QTest::newRow("1999") << qint64(1999) << "Pelmaris(1K)-20250102-030405";
        QTest::newRow("12345") << qint64(12345) << "Pelmaris(12K)-20250102-030405";
    }
    void suggestedNamesCountRowsOrThousands()
    {
        QFETCH(qint64, count);
        QFETCH(QString, name);
        const QDateTime now(QDate(2025, 1, 2), QTime(3, 4, 5));
        QCOMPARE(suggestedListName(QStringLiteral("/opt/bin/Pelmaris"), count, now), name);
    }

    void saveDialogFollowsTheView()
    {
        const QDateTime now(QDate(2025, 1, 2), QTime(3, 4, 5));
        const auto detail = saveListDialog(true, 999, 40, QStringLiteral("/b/Pelmaris"), now);
        QCOMPARE(detail.filterIndex, 0);
        QCOMPARE(detail.fileName, QStringLiteral("Pelmaris(999)-20250102-030405"));
        QVERIFY(detail.confirmOverwrite);
        QCOMPARE(detail.filters.size(), 3);
        QCOMPARE(detail.filters.at(1).name, QStringLiteral("TEXT"));
        QCOMPARE(detail.filters.at(1).pattern, QStringLiteral("*.txt"));
        const auto preview = saveListDialog(false, 999, 40, QStringLiteral("/b/Pelmaris"), now);
        QCOMPARE(preview.filterIndex, 1);
        QCOMPARE(preview.fileName, QStringLiteral("Pelmaris(40)-20250102-030405"));
        QCOMPARE(openListDialog().filterIndex, 0);
    }

    void savedNameAndFormFollowTypeAndExtension_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("detail");
        QTest::newRow("CSV type adds .csv") << "/d/list" << 0 << "/d/list.csv" << true;
        QTest::newRow(".CSV is not .csv") << "/d/list.CSV" << 0 << "/d/list.CSV" << false;
        QTest::newRow("ALL adds nothing") << "/d/list" << 2 << "/d/list" << false;
        QTest::newRow("TEXT adds .txt") << "/d/list" << 1 << "/d/list.txt" << false;
        QTest::newRow("csv typed under TEXT") << "/d/list.csv" << 1 << "/d/list.csv" << true;
        QTest::newRow("dot in the folder only") << "/d.e/list" << 1 << "/d.e/list.txt" << false;
        QTest::newRow("other extension kept") << "/d/list.lst" << 0 << "/d/list.lst" << false;
    }
    void savedNameAndFormFollowTypeAndExtension()
    {
        QFETCH(QString, chosen);
        QFETCH(int, type);
        QFETCH(QString, path);
        QFETCH(bool, detail);
        const SaveTarget target = saveTarget(FileDialogAnswer{chosen, type});
        QCOMPARE(target.path, path);
        QCOMPARE(target.form == ListForm::Detail, detail);
    }

    void statusAndCaptionTexts()
    {
        const QLocale c(QLocale::C);
        QCOMPARE(savedText(1234, QStringLiteral("/d/list.csv"), c),
                 QStringLiteral("1,234 保存しました  list.csv"));
        QCOMPARE(loadProgressText(1200, 1250, c), QStringLiteral("1,200 / 1250"));
        QCOMPARE(loadProgressText(0, 7, c), QStringLiteral(" / 7"));
        QCOMPARE(pasteTimeText(QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5))),
                 QStringLiteral("2025/01/02 03:04:05"));
        const LoadCaptions many = loadedCaptions(1200, c);
        QCOMPARE(many.checkAll, QStringLiteral("全選択(1,200)"));
        QCOMPARE(many.browse, QStringLiteral("選択表示(1,200)"));
        QCOMPARE(many.topTenth, QStringLiteral("10%(120)"));
        QCOMPARE(loadedCaptions(5, c).topTenth, QStringLiteral("10%(1)"));
        QCOMPARE(loadedCaptions(4, c).topTenth, QStringLiteral("10%(0)"));
        QCOMPARE(loadedCaptions(0, c).checkAll, QStringLiteral("全選択(0)"));
    }
};

QTEST_GUILESS_MAIN(TestListFile)
#include "tst_listfile.moc"
