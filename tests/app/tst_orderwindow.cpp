// The list's order in the main window: the column sort by a header click with its marks,
// the four move commands from the list menu, and the drag-and-drop move of one row in
// both views, with positions taken from the views' own geometry.

#include "app/listcommands.h"
#include "app/listfilecommands.h"
#include "app/ordercommands.h"
#include "app/pelmarisform.h"
#include "app/scancommands.h"
#include "fakeservices.h"
#include "listio/listloader.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUrl>

using pelmaris::app::TPelmarisForm;
using pelmaris::fakes::FakePlatform;
using pelmaris::testwindow::Command;
using pelmaris::testwindow::nameOf;
using pelmaris::testwindow::WindowFixture;

namespace {

using pelmaris::testfiles::writeFile;

QByteArray png(int width, int height)
{
    return pelmaris::testfiles::encodeImage(QSize(width, height), Qt::darkCyan, "png");
}

struct Window : WindowFixture {
    Window() { form.resize(900, 700); }
    bool scan(const QString &folder)
    {
        return WindowFixture::scan(folder) && form.ListModel->rowCount() > 0;
    }
    // The rows by the name of their file.
    QStringList names() const
    {
        QStringList out;
        for (const auto &item : form.ListModel->items())
            out << QFileInfo(item.caption).fileName();
        return out;
    }
    QStringList headers() const
    {
        QStringList out;
        for (int c = 0; c < form.ListModel->columnCount(); ++c)
            out << form.ListModel->headerData(c, Qt::Horizontal).toString();
        return out;
    }
    int selected() const
    {
        const QModelIndex current = form.ui().ListView1Icons->currentIndex();
        return form.ui().ListView1Icons->selectionModel()->isSelected(current) ? current.row() : -1;
    }
    void select(int row)
    {
        form.ui().ListView1Icons->selectionModel()->setCurrentIndex(
            form.ListModel->index(row, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    QAbstractItemView *view() const
    {
        return qobject_cast<QAbstractItemView *>(form.ui().ListView1->currentWidget());
    }
};

} // namespace

class TestOrderWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void columnClicks_data();
    void columnClicks();
    void columnSortRechecksTheFirstTenth();
    void moves_data();
    void moves();
    void dragOver_data();
    void dragOver();
    void drops_data();
    void drops();
    void dropsFromElsewhereChangeNothing();

private:
    QString at(const QString &relative) const { return m_dir.filePath(relative); }
    // Five rows in the order a, b, c, d, e with the details given per column.
    QString detailText() const;

    QTemporaryDir m_dir;
};

void TestOrderWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    for (const char *name : {"a.png", "b.png", "c.png", "d.png", "e.png"})
        QVERIFY(writeFile(at(QStringLiteral("rows/") + QLatin1String(name)), png(4, 3)));
    // Pictures of different sizes for the views' geometry.
    for (int i = 0; i < 6; ++i)
        QVERIFY(writeFile(at(QStringLiteral("pics/%1.png").arg(i)), png(20 + 10 * i, 30)));
}

QString TestOrderWindow::detailText() const
{
    // Sizes "999" and "1,000": the shorter text is the smaller number. b and d share
    // their width, the time column runs backwards.
    const char *lines[] = {
        R"("%1/a.png","png","1,000","1,920","20","2024/05/06 07:08:09")",
        R"("%1/b.png","jpeg","999","640","10","2023/01/01 00:00:00")",
        R"("%1/c.png","gif","12","3,000","30","2022/12/31 23:59:59")",
        R"("%1/d.png","bmp","1,000,000","640","50","2021/01/01 00:00:00")",
        R"("%1/e.png","tiff","5","80","40","2020/01/01 00:00:00")",
    };
    QString text;
    for (const char *line : lines)
        text += QString::fromLatin1(line).arg(at("rows")) + QStringLiteral("\r\n");
    return text;
}

void TestOrderWindow::columnClicks_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<int>("sortState");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QStringList>("headers");

    const QStringList plain = {"ファイル名", "形式", "バイト数", "横幅", "高さ", "更新日時"};
    auto marked = [&](int column, const char *mark) {
        QStringList h = plain;
        h[column] += QLatin1String(mark);
        return h;
    };
    QTest::newRow("size: largest first")
        << QList<int>{2} << -3 << QStringList{"d.png", "a.png", "b.png", "c.png", "e.png"}
        << marked(2, " v");
    QTest::newRow("size again: smallest first, 999 before 1,000")
        << QList<int>{2, 2} << 3 << QStringList{"e.png", "c.png", "b.png", "a.png", "d.png"}
        << marked(2, " ^");
    QTest::newRow("another column starts descending, the first loses its mark")
        << QList<int>{2, 4} << -5 << QStringList{"d.png", "e.png", "c.png", "a.png", "b.png"}
        << marked(4, " v");
    QTest::newRow("equal widths keep their order")
        << QList<int>{3, 3} << 4 << QStringList{"e.png", "b.png", "d.png", "a.png", "c.png"}
        << marked(3, " ^");
    QTest::newRow("format by length of its name")
        << QList<int>{1, 1} << 2 << QStringList{"d.png", "c.png", "a.png", "b.png", "e.png"}
        << marked(1, " ^");
    QTest::newRow("time") << QList<int>{5, 5} << 6
                          << QStringList{"e.png", "d.png", "c.png", "b.png", "a.png"}
                          << marked(5, " ^");
    QTest::newRow("name, descending")
        << QList<int>{0} << -1 << QStringList{"e.png", "d.png", "c.png", "b.png", "a.png"}
        << marked(0, " v");
}

void TestOrderWindow::columnClicks()
{
    QFETCH(QList<int>, clicks);
    QFETCH(int, sortState);
    QFETCH(QStringList, order);
    QFETCH(QStringList, headers);

    Window w;
    QVERIFY(w.show());
    // A click on an empty list does nothing.
    w.form.Order->ListView1ColumnClick(2);
    QCOMPARE(w.form.state().ListViewSortCol1, 0);

    QVERIFY(w.load(detailText()));
    w.form.ui().RbReport->click();
    QHeaderView *header = w.form.ui().ListView1Details->header();
    for (int column : clicks) {
        const QPoint centre(header->sectionViewportPosition(column) +
                                header->sectionSize(column) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    }
    QCOMPARE(w.form.state().ListViewSortCol1, sortState);
    QCOMPARE(w.names(), order);
    QCOMPARE(w.headers(), headers);
}

void TestOrderWindow::columnSortRechecksTheFirstTenth()
{
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.load(detailText()));
    w.form.ui().CheckBoxTop10->click(); // five rows: the first one
    QCOMPARE(w.form.ListModel->checkedCount(), 1);
    QVERIFY(w.form.ListModel->item(0).checked);

    w.form.Order->ListView1ColumnClick(2);
    QCOMPARE(w.names().first(), QStringLiteral("d.png"));
    QVERIFY(w.form.ListModel->item(0).checked);
    QCOMPARE(w.form.ListModel->checkedCount(), 1);
    QCOMPARE(w.form.ui().btnBrowse1->text(), QStringLiteral("選択表示(1)"));
}

void TestOrderWindow::moves_data()
{
    QTest::addColumn<QList<Command>>("commands");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("selectedAfter");

    QTest::newRow("to the top") << QList<Command>{Command::pm1ToTop} << 3
                                << QStringList{"d.png", "a.png", "b.png", "c.png", "e.png"} << 0;
    QTest::newRow("to the bottom") << QList<Command>{Command::pm1ToBottom} << 1
                                   << QStringList{"a.png", "c.png", "d.png", "e.png", "b.png"} << 4;
    QTest::newRow("one up") << QList<Command>{Command::pm1MoveUp} << 2
                            << QStringList{"a.png", "c.png", "b.png", "d.png", "e.png"} << 1;
    QTest::newRow("one down") << QList<Command>{Command::pm1MoveDown} << 2
                              << QStringList{"a.png", "b.png", "d.png", "c.png", "e.png"} << 3;
    QTest::newRow("first down and up again")
        << QList<Command>{Command::pm1MoveDown, Command::pm1MoveUp} << 0
        << QStringList{"a.png", "b.png", "c.png", "d.png", "e.png"} << 0;
}

void TestOrderWindow::moves()
{
    QFETCH(QList<Command>, commands);
    QFETCH(int, selected);
    QFETCH(QStringList, order);
    QFETCH(int, selectedAfter);

    Window w;
    QVERIFY(w.show());
    QVERIFY(w.load(detailText()));
    w.form.Order->ListView1ColumnClick(0);
    w.form.Order->ListView1ColumnClick(0); // by name, ascending: a to e
    w.select(selected);
    for (Command name : commands) {
        // Through the menu, as the user reaches them: enabled when it opens.
        w.form.List->PopupMenu1Popup();
        QAction *entry = w.entry(name);
        QVERIFY2(entry->isEnabled(), qPrintable(nameOf(name)));
        entry->trigger();
    }
    QCOMPARE(w.names(), order);
    QCOMPARE(w.selected(), selectedAfter);
    // The moves keep the column sort and its mark.
    QCOMPARE(w.form.state().ListViewSortCol1, 1);
    QCOMPARE(w.headers().first(), QStringLiteral("ファイル名 ^"));
}

void TestOrderWindow::dragOver_data()
{
    QTest::addColumn<bool>("details");
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("ownDrag");
    QTest::addColumn<bool>("rowSelected");
    QTest::addColumn<bool>("accepted");

    for (bool details : {false, true}) {
        const QByteArray view = details ? "details: " : "preview: ";
        QTest::newRow(view + "over an icon") << details << "icon" << true << true << true;
        QTest::newRow(view + "over a label") << details << "label" << true << true << false;
        QTest::newRow(view + "over a check box") << details << "check" << true << true << false;
        QTest::newRow(view + "over empty space") << details << "empty" << true << true << false;
        QTest::newRow(view + "from elsewhere") << details << "icon" << false << true << false;
        QTest::newRow(view + "no row selected") << details << "icon" << true << false << false;
    }
}

void TestOrderWindow::dragOver()
{
    QFETCH(bool, details);
    QFETCH(QString, where);
    QFETCH(bool, ownDrag);
    QFETCH(bool, rowSelected);
    QFETCH(bool, accepted);

    Window w;
    QVERIFY(w.show());
    QVERIFY(w.scan(at("pics")));
    if (details)
        w.form.ui().RbReport->click();
    QAbstractItemView *view = w.view();
    QCOMPARE(view, details ? static_cast<QAbstractItemView *>(w.form.ui().ListView1Details)
                           : static_cast<QAbstractItemView *>(w.form.ui().ListView1Icons));
    QTest::qWait(50); // laid out

    const QModelIndex second = w.form.ListModel->index(1, 0);
    const QRect item = view->visualRect(second);
    const std::optional<pelmaris::scan::RowRects> rects = w.form.Order->rectsOfRowAt(item.center());
    QVERIFY(rects);
    QVERIFY(item.contains(rects->icon.center()));
    QPoint pos;
    if (where == "icon") {
        pos = rects->icon.center();
    } else if (where == "check") {
        // The spot is the check box indeed: a click there takes the mark off.
        pos = rects->checkBox.center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, pos);
        QVERIFY(!w.form.ListModel->item(1).checked);
    } else if (where == "label") {
        pos = details ? view->visualRect(w.form.ListModel->index(1, 2)).center()
                      : QPoint(item.center().x(), item.bottom() - 2);
        QVERIFY(!rects->icon.contains(pos));
    } else {
        pos = view->viewport()->rect().bottomRight() - QPoint(3, 3);
        QVERIFY(!view->indexAt(pos).isValid());
    }
    if (rowSelected)
        w.select(4);
    else
        view->selectionModel()->clearSelection();

    const QObject *source = ownDrag ? view : static_cast<QObject *>(&w.form);
    QCOMPARE(w.form.Order->ListView1DragOver(source, pos), accepted);
}

void TestOrderWindow::drops_data()
{
    QTest::addColumn<bool>("details");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("selectedAfter");

    for (bool details : {false, true}) {
        const QByteArray view = details ? "details: " : "preview: ";
        QTest::newRow(view + "onto the row above")
            << details << 2 << 1 << QStringList{"0", "2", "1", "3", "4", "5"} << 1;
        QTest::newRow(view + "onto the row below")
            << details << 2 << 3 << QStringList{"0", "1", "3", "2", "4", "5"} << 3;
        QTest::newRow(view + "first onto the last")
            << details << 0 << 5 << QStringList{"1", "2", "3", "4", "5", "0"} << 5;
        QTest::newRow(view + "onto itself")
            << details << 3 << 3 << QStringList{"0", "1", "2", "3", "4", "5"} << 3;
        QTest::newRow(view + "onto empty space")
            << details << 3 << -1 << QStringList{"0", "1", "2", "3", "4", "5"} << 3;
    }
}

void TestOrderWindow::drops()
{
    QFETCH(bool, details);
    QFETCH(int, selected);
    QFETCH(int, target);
    QFETCH(QStringList, order);
    QFETCH(int, selectedAfter);

    Window w;
    QVERIFY(w.show());
    QVERIFY(w.scan(at("pics")));
    w.form.Order->ListView1ColumnClick(0);
    w.form.Order->ListView1ColumnClick(0); // 0 to 5, with a mark the drop takes away
    if (details)
        w.form.ui().RbReport->click();
    QTest::qWait(50);
    QAbstractItemView *view = w.view();
    w.select(selected);

    const QPoint pos = target >= 0 ? view->visualRect(w.form.ListModel->index(target, 0)).center()
                                   : view->viewport()->rect().bottomRight() - QPoint(3, 3);
    w.form.Order->ListView1DragDrop(pos);

    QStringList names = w.names();
    for (QString &name : names)
        name.chop(4);
    QCOMPARE(names, order);
    QCOMPARE(w.selected(), selectedAfter);
    QCOMPARE(w.form.state().ListViewSortCol1, 0);
    QCOMPARE(w.headers().first(), QStringLiteral("ファイル名"));
    QCOMPARE(w.form.ListModel->rowCount(), 6);
}

void TestOrderWindow::dropsFromElsewhereChangeNothing()
{
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.scan(at("pics")));
    QTest::qWait(50);
    const QStringList before = w.names();
    w.select(0);
    QWidget *viewport = w.form.ui().ListView1Icons->viewport();
    const QPoint pos =
        w.form.ui().ListView1Icons->visualRect(w.form.ListModel->index(3, 0)).center();

    // Without a drag of the list's own, the events carry no source: refused, nothing moves
    // and the view does not take rows in by itself.
    QMimeData mime;
    mime.setData(QStringLiteral("application/x-qabstractitemmodeldatalist"), QByteArray());
    QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    QVERIFY(!enter.isAccepted());
    QDragMoveEvent move(pos, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &move);
    QVERIFY(!move.isAccepted());
    QDropEvent drop(pos, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &drop);
    QVERIFY(!drop.isAccepted());
    QCOMPARE(w.names(), before);

    // Files dragged from a file manager pass the list on to the window, which scans them.
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(at("pics"))});
    QDragEnterEvent fileEnter(pos, Qt::CopyAction, &files, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &fileEnter);
    QVERIFY(fileEnter.isAccepted());
}

QTEST_MAIN(TestOrderWindow)
#include "tst_orderwindow.moc"
