// Which entries of the list menu and the tree menu are on, by the state the menu opens in.

#include "app/menurules.h"

#include <QTest>

using namespace pelmaris::app;
using C = Command;

Q_DECLARE_METATYPE(pelmaris::app::Work)

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
    QTest::addColumn<Work>("work");
    QTest::addColumn<bool>("scanListEmpty");
    QTest::addColumn<QList<Command>>("on");
    QTest::addColumn<QList<Command>>("off");

    const QList<Command> rowCommands = {C::pm1Open, C::pm1Paint, C::pm1DeleteFile, C::pm1CopyFile};
    const QList<Command> listAsAWhole = {C::pm1OpenList, C::pm1PasteList, C::pm1Shuffle, C::pm1Open,
                                         C::pm1SaveListAs};
    for (Work work : {Work::Building, Work::LoadingList, Work::ReadingClipboard, Work::SavingList})
        QTest::addRow("busy %d: everything off", int(work))
            << 5 << 2 << work << false << QList<Command>{} << listAsAWhole;
    QTest::newRow("scanning: nothing replaces or writes the list")
        << 5 << 2 << Work::Scanning << false << QList<Command>{C::pm1Shuffle, C::pm1Open}
        << QList<Command>{C::pm1OpenList, C::pm1PasteList, C::pm1SaveListAs, C::pm1RebuildListview,
                          C::pm1RebuildListviewFileNameOnly};
    QTest::newRow("empty list, no scan")
        << 0 << -1 << Work::Idle << true << QList<Command>{C::pm1OpenList, C::pm1PasteList}
        << QList<Command>{C::pm1RebuildListview, C::pm1SaveListAs, C::pm1Shuffle, C::pm1Open};
    QTest::newRow("empty list after a scan")
        << 0 << -1 << Work::Idle << false
        << QList<Command>{C::pm1RebuildListview, C::pm1RebuildListviewFileNameOnly,
                          C::pm1SaveListAs, C::pm1OpenList}
        << QList<Command>{C::pm1Clear, C::pm1CopyList, C::pm1ShowTop};
    QTest::newRow("rows, none selected")
        << 5 << -1 << Work::Idle << false
        << QList<Command>{C::pm1Shuffle, C::pm1Clear, C::pm1ShowTop, C::pm1CopyList}
        << (QList<Command>{C::pm1ToTop, C::pm1MoveUp, C::pm1MoveDown, C::pm1ToBottom} +
            rowCommands);
    QTest::newRow("first row selected")
        << 5 << 0 << Work::Idle << false
        << (QList<Command>{C::pm1MoveDown, C::pm1ToBottom} + rowCommands)
        << QList<Command>{C::pm1ToTop, C::pm1MoveUp};
    QTest::newRow("last row selected")
        << 5 << 4 << Work::Idle << false << QList<Command>{C::pm1ToTop, C::pm1MoveUp, C::pm1Shuffle}
        << QList<Command>{C::pm1MoveDown, C::pm1ToBottom};
    QTest::newRow("single row selected")
        << 1 << 0 << Work::Idle << false << rowCommands
        << QList<Command>{C::pm1ToTop, C::pm1MoveUp, C::pm1MoveDown, C::pm1ToBottom};
}

void TestMenuRules::listMenu()
{
    QFETCH(int, rows);
    QFETCH(int, selected);
    QFETCH(Work, work);
    QFETCH(bool, scanListEmpty);
    QFETCH(QList<Command>, on);
    QFETCH(QList<Command>, off);
    ListMenuState s;
    s.rows = rows;
    s.selectedRow = selected;
    s.work = work;
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
    QTest::addColumn<Work>("work");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("clipboard");
    QTest::addColumn<QList<Command>>("on");
    QTest::addColumn<QList<Command>>("off");

    const QList<Command> scanAndOrder = {C::Pm3StartDetect, C::pm3AddDetect, C::pm3NumSortA,
                                         C::pm3RandomOut};
    QTest::newRow("scanning: everything off")
        << Work::Scanning << 3 << true << QList<Command>{}
        << QList<Command>{C::pm3PasteFolderPath, C::Pm3StartDetect, C::pm3CopyPath};
    for (Work work : {Work::Building, Work::LoadingList, Work::ReadingClipboard})
        QTest::addRow("filling the list %d: no scan, no order, no save", int(work))
            << work << 3 << true
            << QList<Command>{C::pm3CopyPath, C::pm3OpenFolder, C::pm3CopyFileList}
            << (scanAndOrder + QList<Command>{C::pm3SaveFileList});
    QTest::newRow("saving: no second save")
        << Work::SavingList << 3 << true << (scanAndOrder + QList<Command>{C::pm3CopyFileList})
        << QList<Command>{C::pm3SaveFileList};
    QTest::newRow("idle with rows")
        << Work::Idle << 3 << true
        << (scanAndOrder + QList<Command>{C::pm3PasteFolderPath, C::pm3SaveFileList})
        << QList<Command>{};
    QTest::newRow("no rows: no additive scan, no text to paste")
        << Work::Idle << 0 << false << QList<Command>{C::Pm3StartDetect}
        << QList<Command>{C::pm3AddDetect, C::pm3PasteFolderPath};
}

void TestMenuRules::treeMenu()
{
    QFETCH(Work, work);
    QFETCH(int, rows);
    QFETCH(bool, clipboard);
    QFETCH(QList<Command>, on);
    QFETCH(QList<Command>, off);
    TreeMenuState s;
    s.work = work;
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
