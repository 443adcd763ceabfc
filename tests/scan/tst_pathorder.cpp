#include "scan/pathorder.h"

#include <QTest>

#include <algorithm>
#include <map>

using namespace pelmaris::scan;

Q_DECLARE_METATYPE(pelmaris::scan::ScanOrder)

class TestPathOrder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void orders_data()
    {
        QTest::addColumn<ScanOrder>("order");
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QStringList>("expected");

        const QStringList imgs{"/p/img10.png", "/p/img1.png", "/p/img2.png"};
        QTest::newRow("numeric ascending")
            << ScanOrder::NumericAscending << imgs
            << QStringList{"/p/img1.png", "/p/img2.png", "/p/img10.png"};
        QTest::newRow("numeric descending")
            << ScanOrder::NumericDescending << imgs
            << QStringList{"/p/img10.png", "/p/img2.png", "/p/img1.png"};
        QTest::newRow("dictionary ascending")
            << ScanOrder::DictionaryAscending << imgs
            << QStringList{"/p/img1.png", "/p/img10.png", "/p/img2.png"};
        QTest::newRow("dictionary descending")
            << ScanOrder::DictionaryDescending << imgs
            << QStringList{"/p/img2.png", "/p/img10.png", "/p/img1.png"};

        const QStringList cases{"/p/B.jpg", "/p/a.jpg"};
        QTest::newRow("dictionary ascending ignores case")
            << ScanOrder::DictionaryAscending << cases << QStringList{"/p/a.jpg", "/p/B.jpg"};
        QTest::newRow("dictionary descending by code unit")
            << ScanOrder::DictionaryDescending << cases << QStringList{"/p/a.jpg", "/p/B.jpg"};
        QTest::newRow("numeric ignores case")
            << ScanOrder::NumericAscending << cases << QStringList{"/p/a.jpg", "/p/B.jpg"};

        // The word sort: hyphens and apostrophes weigh almost nothing, other marks
        // keep their place before digits and letters.
        QTest::newRow("hyphen beside the bare word")
            << ScanOrder::DictionaryAscending
            << QStringList{"/p/cop", "/p/co-op", "/p/con", "/p/coop"}
            << QStringList{"/p/con", "/p/coop", "/p/co-op", "/p/cop"};
        QTest::newRow("hyphen right after its bare name")
            << ScanOrder::DictionaryAscending
            << QStringList{"/p/img2.jpg", "/p/img10.jpg", "/p/img-1.jpg", "/p/img_1.jpg",
                           "/p/img1.jpg"}
            << QStringList{"/p/img_1.jpg", "/p/img1.jpg", "/p/img-1.jpg", "/p/img10.jpg",
                           "/p/img2.jpg"};
        QTest::newRow("leading hyphen among its letter")
            << ScanOrder::DictionaryAscending
            << QStringList{"/p/b.jpg", "/p/ab.jpg", "/p/-a.jpg", "/p/_a.jpg", "/p/a.jpg"}
            << QStringList{"/p/_a.jpg", "/p/a.jpg", "/p/-a.jpg", "/p/ab.jpg", "/p/b.jpg"};
        QTest::newRow("apostrophe")
            << ScanOrder::DictionaryAscending << QStringList{"/p/donut", "/p/don't", "/p/dont"}
            << QStringList{"/p/dont", "/p/don't", "/p/donut"};
        QTest::newRow("hyphen in a folder name")
            << ScanOrder::DictionaryAscending
            << QStringList{"/p/my-photos/b.jpg", "/p/myphotos/a.jpg", "/p/my-photos/a.jpg"}
            << QStringList{"/p/myphotos/a.jpg", "/p/my-photos/a.jpg", "/p/my-photos/b.jpg"};
        QTest::newRow("case after the marks")
            << ScanOrder::DictionaryAscending << QStringList{"/p/a-b", "/p/ab", "/p/A-b"}
            << QStringList{"/p/ab", "/p/A-b", "/p/a-b"};
        QTest::newRow("descending stays by code unit")
            << ScanOrder::DictionaryDescending << QStringList{"/p/coop", "/p/co-op"}
            << QStringList{"/p/coop", "/p/co-op"};

        QTest::newRow("folders decide first")
            << ScanOrder::NumericAscending << QStringList{"/p/10/a.png", "/p/9/z.png", "/p/9/b.png"}
            << QStringList{"/p/9/b.png", "/p/9/z.png", "/p/10/a.png"};
        QTest::newRow("long digit runs compare by value")
            << ScanOrder::NumericAscending
            << QStringList{"/p/123456789012345678901.png", "/p/99999999999999999999.png"}
            << QStringList{"/p/99999999999999999999.png", "/p/123456789012345678901.png"};
        QTest::newRow("prefix comes first")
            << ScanOrder::DictionaryDescending << QStringList{"/p/ab", "/p/a"}
            << QStringList{"/p/ab", "/p/a"};
        QTest::newRow("none keeps the walk order") << ScanOrder::None << imgs << imgs;
        QTest::newRow("empty") << ScanOrder::NumericAscending << QStringList{} << QStringList{};
        QTest::newRow("single") << ScanOrder::Random << QStringList{"/p/x"} << QStringList{"/p/x"};
    }

    void orders()
    {
        QFETCH(ScanOrder, order);
        QFETCH(QStringList, input);
        QFETCH(QStringList, expected);
        RandomEngine engine(1);
        SortScanList(input, order, engine);
        QCOMPARE(input, expected);
        // The pairwise comparisons agree with the sort.
        if (order == ScanOrder::DictionaryAscending || order == ScanOrder::NumericAscending) {
            const auto compare =
                order == ScanOrder::DictionaryAscending ? compareDictionary : compareNumeric;
            for (qsizetype i = 1; i < expected.size(); ++i)
                QVERIFY(compare(expected[i - 1], expected[i]) < 0);
        }
    }

    // Names equal but for case or leading zeros must still land in one fixed order,
    // whatever order they arrive in: the comparison is a total order.
    void tiesAreResolvedTheSameWay_data()
    {
        QTest::addColumn<ScanOrder>("order");
        QTest::newRow("numeric ascending") << ScanOrder::NumericAscending;
        QTest::newRow("numeric descending") << ScanOrder::NumericDescending;
        QTest::newRow("dictionary ascending") << ScanOrder::DictionaryAscending;
        QTest::newRow("dictionary descending") << ScanOrder::DictionaryDescending;
    }

    void tiesAreResolvedTheSameWay()
    {
        QFETCH(ScanOrder, order);
        QStringList names{"/p/A01", "/p/A1", "/p/a01", "/p/a1", "/p/a-1", "/p/a2"};
        std::sort(names.begin(), names.end());
        RandomEngine engine(1);
        QStringList first;
        do {
            QStringList attempt = names;
            SortScanList(attempt, order, engine);
            if (first.isEmpty())
                first = attempt;
            QCOMPARE(attempt, first);
        } while (std::next_permutation(names.begin(), names.end()));
    }

    void randomIsAUniformPermutation()
    {
        const QStringList input{"/p/a", "/p/b", "/p/c"};
        RandomEngine engine(12345);
        std::map<QString, int> seen;
        const int rounds = 6000;
        for (int i = 0; i < rounds; ++i) {
            QStringList list = input;
            SortScanList(list, ScanOrder::Random, engine);
            seen[list.join(QLatin1Char(','))]++;
        }
        QCOMPARE(int(seen.size()), 6);
        for (const auto &[order, count] : seen) {
            QVERIFY2(count > 850 && count < 1150, qPrintable(order));
        }
    }

    void randomDiffersBetweenRuns()
    {
        QStringList input;
        for (int i = 0; i < 50; ++i)
            input << QStringLiteral("/p/%1").arg(i);
        RandomEngine engine(7);
        QStringList a = input, b = input;
        SortScanList(a, ScanOrder::Random, engine);
        SortScanList(b, ScanOrder::Random, engine);
        QVERIFY(a != b);
        std::sort(a.begin(), a.end());
        std::sort(input.begin(), input.end());
        QCOMPARE(a, input);
    }
};

QTEST_GUILESS_MAIN(TestPathOrder)
#include "tst_pathorder.moc"
