// Check-mark commands over the whole list: the tree click's check and reorder, and the
// shuffle drawing from the program's generator.

#include "scan/imagelistmodel.h"
#include "scan/listchecks.h"

#include <QTest>

using namespace pelmaris::scan;

namespace {

void fill(ImageListModel &model, const QStringList &paths)
{
    std::vector<ListItem> rows;
    for (const QString &p : paths) {
        ListItem item;
        item.caption = p;
        rows.push_back(item);
    }
    model.appendRows(std::move(rows), std::vector<QByteArray>(size_t(paths.size())));
}

QStringList captions(const ImageListModel &model)
{
    QStringList out;
    for (const ListItem &item : model.items())
        out << item.caption;
    return out;
}

} // namespace

class TestListChecks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void treeClickChecksFolderAndMovesItFirst();
    void shuffleKeepsCheckedFirstAndDrawsFromTheGenerator();
};

void TestListChecks::treeClickChecksFolderAndMovesItFirst()
{
    ImageListModel model;
    // "/mnt/d/a" holds the clicked folder's text but lies elsewhere.
    fill(model, {"/d/x.png", "/d/a/1.png", "/mnt/d/a/5.png", "/d/ab/2.png", "/d/a/deep/3.png",
                 "/d/A/4.png"});
    QCOMPARE(checkRowsInsideFolder(model, "/d/a"), 2);
    moveCheckedFirst(model);
    QCOMPARE(captions(model), QStringList({"/d/a/1.png", "/d/a/deep/3.png", "/d/x.png",
                                           "/mnt/d/a/5.png", "/d/ab/2.png", "/d/A/4.png"}));
    QCOMPARE(model.checkedCount(), 2);
}

void TestListChecks::shuffleKeepsCheckedFirstAndDrawsFromTheGenerator()
{
    QStringList paths;
    for (int i = 0; i < 30; ++i)
        paths << QStringLiteral("/p/%1.png").arg(i, 2, 10, QLatin1Char('0'));
    const auto shuffled = [&paths](RandomEngine &engine) {
        ImageListModel model;
        fill(model, paths);
        model.setCheckedWhere([](int row, const ListItem &) { return row % 3 == 0; });
        shuffleCheckedFirst(model, engine);
        return captions(model);
    };
    RandomEngine engine(7);
    const QStringList first = shuffled(engine);
    const QStringList second = shuffled(engine);

    QStringList checked;
    QStringList unchecked;
    for (int i = 0; i < 30; ++i)
        (i % 3 == 0 ? checked : unchecked) << paths[i];
    for (const QStringList &order : {first, second}) {
        QStringList head = order.mid(0, 10);
        QStringList tail = order.mid(10);
        QVERIFY(head != checked); // moved, not merely partitioned
        QVERIFY(tail != unchecked);
        head.sort();
        tail.sort();
        QCOMPARE(head, checked);
        QCOMPARE(tail, unchecked);
    }
    // Each shuffle draws afresh from the one generator; the same seed gives the same order.
    QVERIFY(first != second);
    RandomEngine again(7);
    QCOMPARE(shuffled(again), first);
}

QTEST_GUILESS_MAIN(TestListChecks)
#include "tst_listchecks.moc"
