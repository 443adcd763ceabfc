#include "scan/imagelistmodel.h"
#include "scan/listorder.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace pelmaris::scan;

namespace {

ListItem row(const QString &path, const QString &size = {}, bool checked = true)
{
    ListItem item;
    item.caption = path;
    item.subItems[ListItem::ByteSize] = size;
    item.checked = checked;
    return item;
}

std::vector<ListItem> rowsOf(const QStringList &paths)
{
    std::vector<ListItem> rows;
    for (const QString &p : paths)
        rows.push_back(row(p, p));
    return rows;
}

QStringList captionsIn(const std::vector<ListItem> &rows, const std::vector<int> &order)
{
    QStringList out;
    for (int i : order)
        out << rows[size_t(i)].caption;
    return out;
}

QStringList captionsOf(const ImageListModel &model)
{
    QStringList out;
    for (const ListItem &item : model.items())
        out << item.caption;
    return out;
}

void fill(ImageListModel &model, const QStringList &paths)
{
    model.appendRows(rowsOf(paths), {});
}

} // namespace

class TestListOrder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sortStateFollowsClicks_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("next");
        QTest::newRow("first click starts descending") << 0 << 2 << -3;
        QTest::newRow("same column reverses") << -3 << 2 << 3;
        QTest::newRow("and back") << 3 << 2 << -3;
        QTest::newRow("another column starts descending") << 3 << 0 << -1;
    }
    void sortStateFollowsClicks()
    {
        QFETCH(int, state);
        QFETCH(int, column);
        QFETCH(int, next);
        QCOMPARE(nextSortColumn(state, column), next);
    }

    void captionsCarryOneMark()
    {
        QCOMPARE(sortedColumnCaptions(-3).at(2), QStringLiteral("バイト数 v"));
        QCOMPARE(sortedColumnCaptions(3).at(2), QStringLiteral("バイト数 ^"));
        const QStringList moved = sortedColumnCaptions(-1);
        QCOMPARE(moved.at(0), QStringLiteral("ファイル名 v"));
        QCOMPARE(moved.at(2), QStringLiteral("バイト数"));
        QCOMPARE(sortedColumnCaptions(0).join(u'|'),
                 QStringLiteral("ファイル名|形式|バイト数|横幅|高さ|更新日時"));
    }

    // Sub-item columns sort by length first, so "#,0" numbers sort by value.
    void columnSortOrdersRows_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("state");
        QTest::addColumn<QStringList>("sorted");
        const QStringList sizes = {"1,000", "999", "12", "1,000,000", "998"};
        QTest::newRow("size ascending")
            << sizes << 3 << QStringList{"12", "998", "999", "1,000", "1,000,000"};
        QTest::newRow("size descending")
            << sizes << -3 << QStringList{"1,000,000", "1,000", "999", "998", "12"};
        QTest::newRow("formats by length, then name")
            << QStringList{"wmphoto", "jpeg", "png", "other", "bmp", "tiff", "gif"} << 3
            << QStringList{"bmp", "gif", "png", "jpeg", "tiff", "other", "wmphoto"};
        QTest::newRow("no sort keeps the order") << sizes << 0 << sizes;
    }
    void columnSortOrdersRows()
    {
        QFETCH(QStringList, texts);
        QFETCH(int, state);
        QFETCH(QStringList, sorted);
        const std::vector<ListItem> rows = rowsOf(texts);
        QCOMPARE(captionsIn(rows, columnSortOrder(rows, state)), sorted);
    }

    void nameColumnSortsNumbersByValue()
    {
        const std::vector<ListItem> rows =
            rowsOf({"/p/img10.png", "/p/IMG2.png", "/p/img1.png", "/p/b.png", "/p/A.png"});
        QCOMPARE(
            captionsIn(rows, columnSortOrder(rows, 1)),
            QStringList({"/p/A.png", "/p/b.png", "/p/img1.png", "/p/IMG2.png", "/p/img10.png"}));
        QCOMPARE(captionsIn(rows, columnSortOrder(rows, -1)).constFirst(),
                 QStringLiteral("/p/img10.png"));
    }

    // The comparison answers -2 for equal texts; the sort must still keep equal rows
    // in their order and agree with the comparison everywhere else.
    void sortIsStableAndAgreesWithTheComparison()
    {
        std::vector<ListItem> rows;
        for (int i = 0; i < 300; ++i)
            rows.push_back(row(QStringLiteral("/p/%1").arg(i), QString::number((i * 7) % 13)));
        for (int state : {3, -3, 1, -1}) {
            const std::vector<int> order = columnSortOrder(rows, state);
            for (size_t i = 1; i < order.size(); ++i) {
                const ListItem &a = rows[size_t(order[i - 1])];
                const ListItem &b = rows[size_t(order[i])];
                if (a.subItems[1] == b.subItems[1] && std::abs(state) == 3)
                    QVERIFY2(order[i - 1] < order[i], "equal rows changed places");
                else
                    QVERIFY(ListView1Compare(a, b, state) < 0);
            }
        }
        const ListItem same = row("/p/x", "5");
        QCOMPARE(ListView1Compare(same, same, 3), -2);
        QCOMPARE(ListView1Compare(same, same, -3), 2);
        QCOMPARE(ListView1Compare(same, row("/p/y", "10"), 0), 0);
    }

    void movesFollowTheDataKeys_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("order");
        QTest::addColumn<int>("movedTo");
        QTest::newRow("to top") << 2 << int(MoveCommand::ToTop) << "cabde" << 0;
        QTest::newRow("to bottom") << 1 << int(MoveCommand::ToBottom) << "acdeb" << 4;
        QTest::newRow("up") << 2 << int(MoveCommand::Up) << "acbde" << 1;
        QTest::newRow("down") << 2 << int(MoveCommand::Down) << "abdce" << 3;
        QTest::newRow("first cannot go up") << 0 << int(MoveCommand::Up) << "abcde" << 0;
        QTest::newRow("last cannot go down") << 4 << int(MoveCommand::Down) << "abcde" << 4;
        QTest::newRow("no selection") << -1 << int(MoveCommand::ToTop) << "abcde" << -1;
    }
    void movesFollowTheDataKeys()
    {
        QFETCH(int, selected);
        QFETCH(int, command);
        QFETCH(QString, order);
        QFETCH(int, movedTo);
        ImageListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(model, {"a", "b", "c", "d", "e"});
        QCOMPARE(model.moveRow(selected, MoveCommand(command)), movedTo);
        QCOMPARE(captionsOf(model).join(QString()), order);
    }

    void downThenUpRestoresTheOrder()
    {
        ImageListModel model;
        fill(model, {"a", "b", "c"});
        const int moved = model.moveRow(0, MoveCommand::Down);
        QCOMPARE(model.moveRow(moved, MoveCommand::Up), 0);
        QCOMPARE(captionsOf(model), QStringList({"a", "b", "c"}));
    }

    void dropMovesOneRow_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("order");
        QTest::addColumn<int>("movedTo");
        QTest::newRow("onto the row above takes its place") << 2 << 1 << "acbde" << 1;
        QTest::newRow("onto the row below goes after it") << 2 << 3 << "abdce" << 3;
        QTest::newRow("to the first row") << 4 << 0 << "eabcd" << 0;
        QTest::newRow("to the last row") << 0 << 4 << "bcdea" << 4;
        QTest::newRow("onto itself") << 2 << 2 << "abcde" << 2;
        QTest::newRow("no target") << 2 << -1 << "abcde" << 2;
    }
    void dropMovesOneRow()
    {
        QFETCH(int, selected);
        QFETCH(int, target);
        QFETCH(QString, order);
        QFETCH(int, movedTo);
        ImageListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(model, {"a", "b", "c", "d", "e"});
        const QPersistentModelIndex dragged(model.index(selected < 0 ? 0 : selected, 0));
        QCOMPARE(model.dropRow(selected, target), movedTo);
        QCOMPARE(captionsOf(model).join(QString()), order);
        QCOMPARE(dragged.row(), selected < 0 ? 0 : movedTo); // the selection follows
    }

    void dropIsAcceptedOverIconsOnly_data()
    {
        QTest::addColumn<bool>("fromThisList");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("hit");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("icon") << true << true << int(HitArea::Icon) << true;
        QTest::newRow("whole row") << true << true << int(HitArea::WholeRow) << true;
        QTest::newRow("label") << true << true << int(HitArea::Label) << false;
        QTest::newRow("check box") << true << true << int(HitArea::CheckBox) << false;
        QTest::newRow("nowhere") << true << true << int(HitArea::Nowhere) << false;
        QTest::newRow("nothing selected") << true << false << int(HitArea::Icon) << false;
        QTest::newRow("another source") << false << true << int(HitArea::Icon) << false;
    }
    void dropIsAcceptedOverIconsOnly()
    {
        QFETCH(bool, fromThisList);
        QFETCH(bool, selected);
        QFETCH(int, hit);
        QFETCH(bool, accepted);
        QCOMPARE(acceptsDrop(fromThisList, selected, HitArea(hit)), accepted);
    }

    void hitTestOverOneRow()
    {
        const RowRects rects{QRect(0, 0, 300, 20), QRect(2, 2, 16, 16), QRect(20, 2, 16, 16)};
        QCOMPARE(hitArea(QPoint(5, 5), rects), HitArea::CheckBox);
        QCOMPARE(hitArea(QPoint(25, 5), rects), HitArea::Icon);
        QCOMPARE(hitArea(QPoint(200, 5), rects), HitArea::Label);
        QCOMPARE(hitArea(QPoint(200, 50), rects), HitArea::Nowhere);
        QCOMPARE(hitArea(QPoint(25, 5), std::nullopt), HitArea::Nowhere);
    }

    void checkedRowsComeFirst()
    {
        std::vector<ListItem> rows;
        for (int i = 0; i < 10; ++i)
            rows.push_back(row(QString::number(i), {}, i == 3 || i == 5 || i == 8));
        QCOMPARE(captionsIn(rows, checkedFirstOrder(rows)),
                 QStringList({"3", "5", "8", "0", "1", "2", "4", "6", "7", "9"}));
        QCOMPARE(CheckedFirstCompare(rows[0], rows[3]), 1);
        QCOMPARE(CheckedFirstCompare(rows[3], rows[5]), 0);

        RandomEngine engine(7);
        const std::vector<int> shuffled = shuffleOrder(rows, engine);
        QCOMPARE(shuffled.size(), rows.size());
        for (size_t i = 0; i < shuffled.size(); ++i)
            QCOMPARE(rows[size_t(shuffled[i])].checked, i < 3);
        std::vector<int> sorted = shuffled;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(std::unique(sorted.begin(), sorted.end()), sorted.end());
    }

    void modelSortsAndMarksColumns()
    {
        ImageListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(model, {"10", "9", "100"});
        const QPersistentModelIndex first(model.index(0, 0));
        model.sortByColumn(-3);
        model.showSortMark(-3);
        QCOMPARE(captionsOf(model), QStringList({"100", "10", "9"}));
        QCOMPARE(first.row(), 1);
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("バイト数 v"));
    }
};

QTEST_MAIN(TestListOrder)
#include "tst_listorder.moc"
