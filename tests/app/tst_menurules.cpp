// Which entries of the list menu and the tree menu are on, by the state the menu opens in.

#include "app/menurules.h"

#include <QTest>

using namespace pelmaris::app;
using C = Command;

class TestMenuRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listMenu_data();
    void listMenu();
    void treeMenu_data();
    void treeMenu();
};

void TestMenuRules::listMenu_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("scanListEmpty");
    QTest::addColumn<QList<Command>>("on");
    QTest::addColumn<QList<Command>>("off");

    const QList<Command> rowCommands = {C::pm1Open, C::pm1Paint, C::pm1DeleteFile, C::pm1CopyFile};
    QTest::newRow("busy: everything off")
        << 5 << 2 << true << false << QList<Command>{}
        << QList<Command>{C::pm1OpenList, C::pm1PasteList, C::pm1Shuffle, C::pm1Open};
    QTest::newRow("empty list, no scan")
        << 0 << -1 << false << true << QList<Command>{C::pm1OpenList, C::pm1PasteList}
        << QList<Command>{C::pm1RebuildListview, C::pm1SaveListAs, C::pm1Shuffle, C::pm1Open};
    QTest::newRow("empty list after a scan")
        << 0 << -1 << false << false
        << QList<Command>{C::pm1RebuildListview, C::pm1RebuildListviewFileNameOnly,
                          C::pm1SaveListAs, C::pm1OpenList}
        << QList<Command>{C::pm1Clear, C::pm1CopyList, C::pm1ShowTop};
    QTest::newRow("rows, none selected")
        << 5 << -1 << false << false
        << QList<Command>{C::pm1Shuffle, C::pm1Clear, C::pm1ShowTop, C::pm1CopyList}
        << (QList<Command>{C::pm1ToTop, C::pm1MoveUp, C::pm1MoveDown, C::pm1ToBottom} +
            rowCommands);
    QTest::newRow("first row selected")
        << 5 << 0 << false << false
        << (QList<Command>{C::pm1MoveDown, C::pm1ToBottom} + rowCommands)
        << QList<Command>{C::pm1ToTop, C::pm1MoveUp};
    QTest::newRow("last row selected")
        << 5 << 4 << false << false << QList<Command>{C::pm1ToTop, C::pm1MoveUp, C::pm1Shuffle}
        << QList<Command>{C::pm1MoveDown, C::pm1ToBottom};
    QTest::newRow("single row selected")
        << 1 << 0 << false << false << rowCommands
        << QList<Command>{C::pm1ToTop, C::pm1MoveUp, C::pm1MoveDown, C::pm1ToBottom};
}

void TestMenuRules::listMenu()
{
    QFETCH(int, rows);
    QFETCH(int, selected);
    QFETCH(bool, busy);
    QFETCH(bool, scanListEmpty);
    QFETCH(QList<Command>, on);
    QFETCH(QList<Command>, off);
    ListMenuState s;
    s.rows = rows;
    s.selectedRow = selected;
    s.busy = busy;
    s.scanListEmpty = scanListEmpty;
    s.siblingFound = true;
    for (Command c : on)
        QVERIFY2(listMenuEnables(c, s), qPrintable(nameOf(c)));
    for (Command c : off)
        QVERIFY2(!listMenuEnables(c, s), qPrintable(nameOf(c)));
    s.siblingFound = false;
    QVERIFY(!listMenuEnables(C::pm1SendToCorvindale, s));
}

void TestMenuRules::treeMenu_data()
{
    QTest::addColumn<bool>("scanning");
    QTest::addColumn<bool>("building");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("clipboard");
    QTest::addColumn<QList<Command>>("on");
    QTest::addColumn<QList<Command>>("off");

    const QList<Command> scanAndOrder = {C::Pm3StartDetect, C::pm3AddDetect, C::pm3NumSortA,
                                         C::pm3RandomOut};
    QTest::newRow("scanning: everything off")
        << true << false << 3 << true << QList<Command>{}
        << QList<Command>{C::pm3PasteFolderPath, C::Pm3StartDetect, C::pm3CopyPath};
    QTest::newRow("building: no scan, no order")
        << false << true << 3 << true
        << QList<Command>{C::pm3CopyPath, C::pm3OpenFolder, C::pm3CopyFileList}
        << (scanAndOrder + QList<Command>{C::pm3SaveFileList});
    QTest::newRow("idle with rows")
        << false << false << 3 << true
        << (scanAndOrder + QList<Command>{C::pm3PasteFolderPath, C::pm3SaveFileList})
        << QList<Command>{};
    QTest::newRow("no rows: no additive scan, no text to paste")
        << false << false << 0 << false << QList<Command>{C::Pm3StartDetect}
        << QList<Command>{C::pm3AddDetect, C::pm3PasteFolderPath};
}

void TestMenuRules::treeMenu()
{
    QFETCH(bool, scanning);
    QFETCH(bool, building);
    QFETCH(int, rows);
    QFETCH(bool, clipboard);
    QFETCH(QList<Command>, on);
    QFETCH(QList<Command>, off);
    TreeMenuState s;
    s.scanning = scanning;
    s.building = building;
    s.rows = rows;
    s.scanListEmpty = false;
    s.clipboardHasText = clipboard;
    for (Command c : on)
        QVERIFY2(treeMenuEnables(c, s), qPrintable(nameOf(c)));
    for (Command c : off)
        QVERIFY2(!treeMenuEnables(c, s), qPrintable(nameOf(c)));
    s.scanListEmpty = true;
    QVERIFY(!treeMenuEnables(C::pm3CopyFileList, s));
    QVERIFY(!treeMenuEnables(C::pm3SaveFileList, s));
}

QTEST_GUILESS_MAIN(TestMenuRules)
#include "tst_menurules.moc"
