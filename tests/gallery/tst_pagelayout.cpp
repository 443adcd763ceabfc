#include "gallery/pagelayout.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QTest>

using namespace pelmaris::gallery;

class TestPageLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rule_data();
    void rule();
    void rangeGuard_data();
    void rangeGuard();
    void widthGuard_data();
    void widthGuard();
    void rowWidths();
};

Q_DECLARE_METATYPE(Layout)

void TestPageLayout::rule_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<int>("number"); // the number box of the layout
    QTest::addColumn<int>("paths");
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("label");

    const QString sq = "#main img {width: %1px; height: %1px; object-fit: contain; margin: 2;}";
    QTest::newRow("auto 20 paths") << Layout::AutoScaled << 0 << 20 << sq.arg(223) << "AutoScaled";
    QTest::newRow("auto 1 path") << Layout::AutoScaled << 0 << 1 << sq.arg(999) << "AutoScaled";
    QTest::newRow("auto more paths than pixels")
        << Layout::AutoScaled << 0 << 2000000 << sq.arg(0) << "AutoScaled";
    QTest::newRow("range 20") << Layout::RangeView << 20 << 7 << sq.arg(223) << "RangeView";
    QTest::newRow("range 1") << Layout::RangeView << 1 << 7 << sq.arg(999) << "RangeView";
    QTest::newRow("range 0 counts as 1")
        << Layout::RangeView << 0 << 7 << sq.arg(999) << "RangeView";
    QTest::newRow("range negative") << Layout::RangeView << -5 << 7 << sq.arg(999) << "RangeView";
    const QString fw =
        "#main img {width: %1px; object-fit: contain; margin: 4; vertical-align: middle;}";
    QTest::newRow("columns 10") << Layout::FixedWidth << 10 << 3 << fw.arg(153) << "FixedWidth";
    QTest::newRow("columns 0") << Layout::FixedWidth << 0 << 3 << fw.arg(1536) << "FixedWidth";
    const QString fh = "#main img {height: %1px; object-fit: contain; margin: 4;}";
    QTest::newRow("rows 5") << Layout::FixedHeight << 5 << 3 << fh.arg(166) << "FixedHeight";
    QTest::newRow("rows -1") << Layout::FixedHeight << -1 << 3 << fh.arg(832) << "FixedHeight";
    QTest::newRow("width 100") << Layout::WidthPercent << 100 << 3 << "#main img {width: 100%;}"
                               << "Width 100%";
    QTest::newRow("width 35") << Layout::WidthPercent << 35 << 3 << "#main img {width: 35%;}"
                              << "Width 35%";
    QTest::newRow("real size") << Layout::RealSize << 0 << 3 << QString() << "RealSize";
}

void TestPageLayout::rule()
{
    QFETCH(Layout, layout);
    QFETCH(int, number);
    QFETCH(int, paths);
    LayoutChoice c;
    c.layout = layout;
    c.rangeCount = c.columns = c.rows = c.widthPercent = number;
    QTEST(mainImageRule(c, QSize(1920, 1040), paths), "rule");
    QTEST(layoutLabel(c), "label");
}

void TestPageLayout::rangeGuard_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("expected");
    QTest::newRow("zero") << 0 << 120 << 1;
    QTest::newRow("negative") << -7 << 120 << 1;
    QTest::newRow("inside") << 50 << 120 << 50;
    QTest::newRow("above the list") << 500 << 120 << 120;
    QTest::newRow("empty list keeps the value") << 20 << 0 << 20;
    QTest::newRow("empty list, zero") << 0 << 0 << 1;
}

void TestPageLayout::rangeGuard()
{
    QFETCH(int, value);
    QFETCH(int, items);
    QTEST(guardRangeCount(value, items), "expected");
}

void TestPageLayout::widthGuard_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("150") << 150 << 100;
    QTest::newRow("100") << 100 << 100;
    QTest::newRow("0") << 0 << 1;
    QTest::newRow("-3") << -3 << 1;
    QTest::newRow("42") << 42 << 42;
}

void TestPageLayout::widthGuard()
{
    QFETCH(int, value);
    QTEST(guardWidthPercent(value), "expected");
}

void TestPageLayout::rowWidths()
{
    QCOMPARE(numberBoxWidth(100), 66);
    QCOMPARE(numberBoxWidth(0), 0);
    const QFontMetrics fm(QGuiApplication::font());
    QCOMPARE(layoutButtonWidth(fm, "表示数(個)"), fm.horizontalAdvance("表示数(個)    "));
}

QTEST_MAIN(TestPageLayout)
#include "tst_pagelayout.moc"
