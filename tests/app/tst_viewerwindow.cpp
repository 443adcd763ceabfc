#include "app/tform4.h"
#include "app/viewercommands.h"
#include "rowwindow.h"

#include <QSignalSpy>

using namespace rowwindow;
using pelmaris::app::TForm4;

// The viewer over the real main window: it follows the list whether a row is clicked or
// chosen with the keyboard, and its own keys move through the list.
class TestViewerWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void followsTheListsKeys();
    void viewerKeysMoveThroughTheList();
};

void TestViewerWindow::followsTheListsKeys()
{
    Window w;
    QVERIFY(w.ready());
    w.form.Viewer->createViewer();
    TForm4 *viewer = w.form.Viewer->Form4();
    const QStringList rows = w.captions();
    QCOMPARE(w.selectedRow(), 0);

    // Hidden, the viewer does not open on a row chosen in the list.
    QTest::keyClick(w.form.ui().ListView1Icons, Qt::Key_Right);
    QCOMPARE(w.selectedRow(), 1);
    QTest::qWait(50);
    QVERIFY(!viewer->isVisible());
    QVERIFY(viewer->path().isEmpty());

    QSignalSpy shown(viewer, &TForm4::pictureShown);
    w.choose(Command::pm1OpenByMirelLite);
    QVERIFY(shown.wait(10000));
    QCOMPARE(viewer->path(), rows[1]);

    QTest::keyClick(w.form.ui().ListView1Icons, Qt::Key_Right);
    QCOMPARE(w.selectedRow(), 2);
    QTRY_COMPARE(viewer->path(), rows[2]);
    QVERIFY(shown.wait(10000));
    QTest::keyClick(w.form.ui().ListView1Icons, Qt::Key_Home);
    QTRY_COMPARE(viewer->path(), rows[0]);
    QVERIFY(shown.wait(10000));
    QCOMPARE(shown.size(), 3);
    // A click on the row on show does not decode it again.
    w.select(QFileInfo(rows[0]).fileName());
    QTest::qWait(50);
    QVERIFY(!viewer->isLoading());
    QCOMPARE(shown.size(), 3);
}

void TestViewerWindow::viewerKeysMoveThroughTheList()
{
    Window w;
    QVERIFY(w.ready());
    w.form.Viewer->createViewer();
    TForm4 *viewer = w.form.Viewer->Form4();
    const QStringList rows = w.captions();
    QSignalSpy shown(viewer, &TForm4::pictureShown);
    w.choose(Command::pm1OpenByMirelLite);
    QVERIFY(shown.wait(10000));
    QCOMPARE(viewer->path(), rows[0]);

    const QList<QPair<Qt::Key, int>> steps = {
        {Qt::Key_Right, 1}, {Qt::Key_Space, 2},  {Qt::Key_PageDown, 2}, // the last stays
        {Qt::Key_Left, 1},  {Qt::Key_PageUp, 0}, {Qt::Key_Left, 0},     // the first stays
        {Qt::Key_End, 2},   {Qt::Key_Home, 0},
    };
    for (const auto &[key, row] : steps) {
        QTest::keyClick(viewer, key);
        QCOMPARE(w.selectedRow(), row);
        QTRY_COMPARE(viewer->path(), rows[row]);
        QTRY_VERIFY(!viewer->isLoading());
        QVERIFY(viewer->isVisible());
    }

    // The viewer's own keys keep their meaning.
    QTest::keyClick(viewer, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(viewer->Expand2->isChecked());
    QTest::keyClick(viewer, Qt::Key_Escape);
    QVERIFY(!viewer->isVisible());
    QCOMPARE(w.selectedRow(), 0);
}

QTEST_MAIN(TestViewerWindow)
#include "tst_viewerwindow.moc"
