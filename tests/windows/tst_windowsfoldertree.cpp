#include "app/pelmarisform.h"
#include "fakeservices.h"
#include "platform/filesystem.h"
#include "platform/pathtext.h"
#include "platform/windows/windowsspecialfolders.h"
#include "scan/foldertreemodel.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using pelmaris::platform::FileSystem;
using pelmaris::platform::SpecialFolder;
using pelmaris::scan::FolderTreeModel;

// The folder tree on the real Windows file system: the desktop at the top, holding the
// computer with the drives Wine maps (its own C: and the host's "/" as Z:). What Wine
// cannot show: a network share (no UNC server answers here), a drive without its medium,
// and the shell's names of a real Windows (Wine's differ).
class TestWindowsFolderTree : public QObject {
    Q_OBJECT

    static bool load(FolderTreeModel &model, const QModelIndex &index)
    {
        model.fetchMore(index);
        return QTest::qWaitFor([&] { return model.isLoaded(index); }, 10000);
    }

    static QString desktop()
    {
        return pelmaris::platform::WindowsSpecialFolders().path(SpecialFolder::Desktop);
    }

    // The node at the top of the tree that holds `index`.
    static QModelIndex topOf(QModelIndex index)
    {
        while (index.parent().isValid())
            index = index.parent();
        return index;
    }

private Q_SLOTS:
    void topIsTheDesktopHoldingTheDrives()
    {
        const std::unique_ptr<FileSystem> fs = pelmaris::platform::makeSystemFileSystem();
        const std::vector<pelmaris::platform::FolderRoot> roots = fs->roots();
        QCOMPARE(roots.size(), size_t(1));
        QCOMPARE(roots[0].path, desktop() + u'\\');
        QVERIFY(!roots[0].label.isEmpty());
        QCOMPARE(roots[0].children.size(), size_t(1));
        const pelmaris::platform::FolderRoot &computer = roots[0].children[0];
        QVERIFY(computer.path.isEmpty());
        QVERIFY(!computer.label.isEmpty());
        QStringList paths;
        for (const auto &drive : computer.children) {
            QVERIFY2(drive.path.size() == 3 && drive.path.endsWith(QLatin1String(":\\")),
                     qPrintable(drive.path));
            QVERIFY(!drive.label.isEmpty());
            paths << drive.path;
        }
        QVERIFY(paths.contains("C:\\"));
        QVERIFY(paths.contains("Z:\\"));

        FolderTreeModel model(*fs);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 1);
        const QModelIndex top = model.index(0, 0, {});
        QCOMPARE(model.filePath(top), desktop());
        QCOMPARE(top.data().toString(), roots[0].label);
        const QModelIndex pc = model.index(0, 0, top);
        QCOMPARE(pc.data().toString(), computer.label);
        QCOMPARE(model.filePath(pc), QString());
        QVERIFY(!model.canFetchMore(pc));
        QCOMPARE(model.rowCount(pc), paths.size());
        const QModelIndex c = model.index(int(paths.indexOf("C:\\")), 0, pc);
        QCOMPARE(model.filePath(c), QStringLiteral("C:\\"));
        QVERIFY(load(model, c));
        QVERIFY(model.rowCount(c) > 0); // Wine's C: holds "windows", "users" and more
        // The desktop's own folders follow the computer.
        QVERIFY(load(model, top));
        QCOMPARE(model.index(0, 0, top), pc);
    }

    // A folder on the desktop opens under the desktop, not under the drive that holds
    // the desktop.
    void desktopFoldersOpenUnderTheDesktop()
    {
        QVERIFY(QDir().mkpath(desktop()));
        QTemporaryDir dir(desktop() + QStringLiteral("/pelmaris-tree-XXXXXX"));
        QVERIFY(dir.isValid());
        QVERIFY(QDir().mkpath(dir.path() + "/Sub"));
        const std::unique_ptr<FileSystem> fs = pelmaris::platform::makeSystemFileSystem();
        FolderTreeModel model(*fs);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QModelIndex sub = model.index(dir.path() + "/Sub");
        QVERIFY(sub.isValid());
        QCOMPARE(sub.parent().parent(), model.index(0, 0, {}));
        QCOMPARE(model.filePath(sub), QDir::toNativeSeparators(dir.path() + "/Sub"));
    }

    // At a first start the tree is at the desktop, its top node selected.
    void firstStartSelectsTheDesktop()
    {
        pelmaris::fakes::FakePlatform fake;
        fake.folders.paths[int(SpecialFolder::Desktop)] = desktop();
        pelmaris::app::TPelmarisForm form(fake.services(), {});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.treeSelectedPath(), desktop());
        const QModelIndex current = form.ui().ShellTreeView1->currentIndex();
        QCOMPARE(current, form.ui().ShellTreeView1->model()->index(0, 0));
    }

    // A folder given in any spelling (forward slashes, other case, a trailing
    // delimiter) opens under its drive, once, and takes the system's spelling.
    void pathsOpenUnderTheirDrive()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir().mkpath(dir.path() + "/Tree/Sub"));
        const QString native = QDir::toNativeSeparators(dir.path());
        QCOMPARE(native.mid(1, 2), QStringLiteral(":\\"));

        const std::unique_ptr<FileSystem> fs = pelmaris::platform::makeSystemFileSystem();
        FolderTreeModel model(*fs);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QPersistentModelIndex sub = model.index(dir.path().toLower() + "/tree/sub/");
        QVERIFY(sub.isValid());
        QCOMPARE(model.index(native + "\\Tree\\Sub"), QModelIndex(sub));
        QModelIndex drive = sub;
        while (drive.isValid() && !model.filePath(drive.parent()).isEmpty())
            drive = drive.parent();
        QCOMPARE(model.filePath(drive), native.left(3).toUpper());
        QCOMPARE(topOf(sub), model.index(0, 0, {})); // inside the computer on the desktop

        QVERIFY(load(model, sub.parent().parent()));
        QVERIFY(load(model, sub.parent()));
        QCOMPARE(model.rowCount(sub.parent()), 1);
        // The folders listed took the system's spelling; those above kept the typed one.
        QVERIFY(model.filePath(sub).endsWith("\\Tree\\Sub"));
        QCOMPARE(model.filePath(sub).compare(native + "\\Tree\\Sub", Qt::CaseInsensitive), 0);
        QCOMPARE(sub.data().toString(), QStringLiteral("Sub"));

        QVERIFY(!model.index(native + "\\Tree\\none").isValid());
        QVERIFY(!model.index("Tree").isValid());
    }

    void rootsOfPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("root");
        QTest::newRow("drive") << "C:\\Users\\a"
                               << "C:\\";
        QTest::newRow("drive root") << "d:\\"
                                    << "d:\\";
        QTest::newRow("share") << "\\\\server\\share\\a\\b"
                               << "\\\\server\\share\\";
        QTest::newRow("share itself") << "\\\\server\\share"
                                      << "\\\\server\\share\\";
        QTest::newRow("server only") << "\\\\server"
                                     << "";
        QTest::newRow("long form") << "\\\\?\\C:\\a"
                                   << "";
        QTest::newRow("device") << "\\\\.\\pipe\\x"
                                << "";
        QTest::newRow("drive-relative") << "C:a"
                                        << "";
        QTest::newRow("rooted without drive") << "\\a"
                                              << "";
        QTest::newRow("relative") << "a\\b"
                                  << "";
    }

    void rootsOfPaths()
    {
        QFETCH(QString, path);
        QFETCH(QString, root);
        QCOMPARE(pelmaris::pathtext::rootOf(path), root);
        QCOMPARE(pelmaris::pathtext::nameCase(), Qt::CaseInsensitive);
    }
};

QTEST_MAIN(TestWindowsFolderTree)
#include "tst_windowsfoldertree.moc"
