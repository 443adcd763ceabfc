// The main window's folder commands when the tree's selected node is a folder of the
// shell with no path (the computer): nothing is scanned from a root or the current
// folder, the page writes no folder links, and the tree menu's folder commands do
// nothing. The tree here starts as on Windows, from a desktop holding the computer.

#include "app/scancommands.h"
#include "fakeservices.h"
#include "testfiles.h"
#include "windowfixture.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTreeView>

using pelmaris::fakes::FakePlatform;
using pelmaris::testwindow::Command;
using pelmaris::testwindow::WindowFixture;

namespace {

struct Window : WindowFixture {
    Window()
        : WindowFixture({}, [](FakePlatform &platform, pelmaris::platform::Services &) {
              const QString desk = platform.root() + QStringLiteral("/desk");
              QDir().mkpath(desk + QStringLiteral("/pics"));
              for (const char *name : {"a.png", "b.png"}) {
                  QImage image(8, 8, QImage::Format_RGB32);
                  image.fill(Qt::red);
                  image.save(desk + QStringLiteral("/pics/") + QLatin1String(name));
              }
              platform.fileSystem.treeRoots = {
                  {desk + u'/', "Desk", {{"", "Computer", {{"/", "/"}}}}}};
          })
    {
    }
    QString pics() const { return fake.root() + QStringLiteral("/desk/pics"); }
    bool listThePictures()
    {
        form.navigateTree(pics());
        form.Scan->ShellTreeView1DblClick();
        return waitIdle() && form.ListModel->rowCount() == 2;
    }
    bool selectTheComputer()
    {
        const QAbstractItemModel *tree = form.ui().ShellTreeView1->model();
        form.ui().ShellTreeView1->setCurrentIndex(tree->index(0, 0, tree->index(0, 0)));
        return form.treeSelectedPath().isEmpty() &&
               form.ui().ShellTreeView1->currentIndex().data() == QStringLiteral("Computer");
    }
    QStringList folderLinks() const
    {
        QStringList out;
        const QStringList lines =
            QString::fromUtf8(pelmaris::testfiles::readFile(form.state().TempHtmlFileName1))
                .split(QStringLiteral("\r\n"));
        for (const QString &line : lines)
            if (line.startsWith(QStringLiteral("[<a href=\"file:")))
                out << line;
        return out;
    }
};

} // namespace

class TestShellFolderWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // A scan of the computer finds nothing, as a folder that cannot be read: the list
    // is emptied, the counts say so, no message, and the list is usable again.
    void scanOfTheComputerFindsNothing()
    {
        Window w;
        QVERIFY(w.show());
        QVERIFY(w.listThePictures());
        QVERIFY(w.selectTheComputer());
        w.form.Scan->ShellTreeView1DblClick();
        QVERIFY(w.waitIdle());
        QVERIFY(w.form.ScanList().isEmpty());
        QCOMPARE(w.form.ListModel->rowCount(), 0);
        QCOMPARE(w.form.ui().StatusPanel1->text(), QStringLiteral("0 / 0 該当ありません"));
        QCOMPARE(w.form.state().DblClickPath1, QString());
        QCOMPARE(w.form.state().CurrentDir1, QString());
        QVERIFY(w.form.ui().ListView1->isEnabled());
        QVERIFY(w.form.ui().btnBrowse3->isEnabled());
        QVERIFY(w.fake.dialogs.calls.isEmpty());
    }

    void otherFolderCommandsLeaveItAlone()
    {
        Window w;
        QVERIFY(w.show());
        QVERIFY(w.listThePictures());
        w.form.ui().btnBrowse3->click();
        QCOMPARE(w.folderLinks().size(), w.pics().count(u'/') + 1); // "/" and each folder
        QVERIFY(w.selectTheComputer());

        // The click checks no row: none lies inside a folder with no path.
        w.form.Scan->ShellTreeView1Click();
        QCOMPARE(w.form.ListModel->checkedCount(), 0);
        QCOMPARE(w.form.ui().btnBrowse1->text(), QStringLiteral("選択表示(0)"));

        // The page of the scanned pictures, with no folder links above them.
        w.form.ui().btnBrowse3->click();
        QCOMPARE(w.form.ScanList().size(), 2);
        QVERIFY(w.folderLinks().isEmpty());

        w.fake.shell.calls.clear();
        w.trigger(Command::pm3OpenFolder);
        w.trigger(Command::pm3SendTo);
        QVERIFY(w.fake.shell.calls.isEmpty());
        QVERIFY(w.fake.dialogs.calls.isEmpty());
    }
};

QTEST_MAIN(TestShellFolderWindow)
#include "tst_shellfolderwindow.moc"
