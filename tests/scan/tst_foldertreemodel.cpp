#include "scan/foldertreemodel.h"

#include "fakeservices.h"
#include "fixtures.h"

#include <QAbstractItemModelTester>
#include <QPixmap>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using pelmaris::fakes::FakeFileSystem;
using pelmaris::scan::FolderTreeModel;

// Each model lists only the sandbox: the rest of the machine's tree reads as empty.
class TestFolderTreeModel : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_root;

    static QStringList names(const FolderTreeModel &model, const QModelIndex &parent)
    {
        QStringList out;
        for (int row = 0; row < model.rowCount(parent); ++row)
            out << model.index(row, 0, parent).data().toString();
        return out;
    }

    // Lists a folder as a view expanding it would, and waits for the listing.
    static bool load(FolderTreeModel &model, const QModelIndex &index)
    {
        model.fetchMore(index);
        return QTest::qWaitFor([&] { return model.isLoaded(index); }, 5000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_root = m_dir.path() + "/tree";
        for (const char *folder : {"10", "9", "B", "a/x/y/z", ".hid/inner"})
            QVERIFY(QDir().mkpath(m_root + u'/' + QLatin1String(folder)));
        QVERIFY(fixtures::writeFile(m_root + "/file.txt", "not a folder"));
        QVERIFY(fixtures::writeFile(m_root + "/a/photo.jpg", "not a folder"));
        QVERIFY(QFile::link(m_root + "/a", m_root + "/link"));
    }

    void listsFoldersOnlyInNameOrder()
    {
        FakeFileSystem fs;
        fs.confineTo = m_dir.path();
        FolderTreeModel model(fs);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QModelIndex root = model.index(m_root);
        QVERIFY(root.isValid());
        QCOMPARE(model.filePath(root), m_root);
        QVERIFY(model.hasChildren(root)); // not listed yet: may have some
        QVERIFY(load(model, root));
        QCOMPARE(names(model, root), QStringList({"9", "10", "a", "B", "link"}));
        // The listing passed over the files without looking at them.
        QVERIFY(fs.calls().contains("read " + m_root + " (folders)"));
        QVERIFY(fs.calls().filter("file.txt").isEmpty());

        const QModelIndex empty = model.index(0, 0, root);
        QVERIFY(load(model, empty));
        QCOMPARE(model.rowCount(empty), 0);
        QVERIFY(!model.hasChildren(empty));

        QIcon icon{QPixmap(16, 16)};
        model.setFolderIcon(icon);
        const QModelIndex b = model.index(3, 0, root);
        QCOMPARE(b.data(Qt::DecorationRole).value<QIcon>().cacheKey(), icon.cacheKey());
        QCOMPARE(b.data(FolderTreeModel::FilePathRole).toString(), m_root + "/B");
    }

    // The window opens the tree at a folder before any of it is listed: the node is
    // there at once, and the listings arrive around it later, off the UI thread.
    void pathBeforeItsFoldersAreListed()
    {
        FakeFileSystem fs;
        fs.confineTo = m_dir.path();
        QSemaphore gate;
        fs.beforeRead = [&](const QString &folder) {
            if (folder == m_root)
                gate.acquire();
        };
        FolderTreeModel model(fs);
        // Never leave the listing waiting: the model waits for it when it goes.
        const auto open = qScopeGuard([&] { gate.release(); });
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QString deep = m_root + "/a/x/y/z";
        const QPersistentModelIndex node = model.index(deep + "/");
        QVERIFY(node.isValid());
        QCOMPARE(model.filePath(node), deep);
        const QModelIndex root = model.index(m_root);
        QCOMPARE(names(model, root), QStringList({"a"}));

        QSignalSpy loaded(&model, &FolderTreeModel::folderLoaded);
        model.fetchMore(root); // held in the listing until the gate opens
        QTest::qWait(50);
        QCOMPARE(names(model, root), QStringList({"a"}));
        gate.release();
        QTRY_VERIFY(model.isLoaded(root));
        QCOMPARE(names(model, root), QStringList({"9", "10", "a", "B", "link"}));
        QCOMPARE(std::count_if(loaded.begin(), loaded.end(),
                               [&](const QList<QVariant> &s) { return s.at(0) == m_root; }),
                 1);
        QVERIFY(node.isValid());
        QCOMPARE(model.filePath(node), deep);
        QCOMPARE(model.index(deep), QModelIndex(node));
    }

    void hiddenFoldersFollowTheSwitch()
    {
        FakeFileSystem fs;
        fs.confineTo = m_dir.path();
        FolderTreeModel model(fs);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QModelIndex root = model.index(m_root);
        QVERIFY(load(model, root));
        QVERIFY(!model.index(m_root + "/.hid/inner").isValid());

        model.setShowHidden(true);
        QCOMPARE(names(model, root), QStringList({".hid", "9", "10", "a", "B", "link"}));
        const QPersistentModelIndex inner = model.index(m_root + "/.hid/inner");
        QVERIFY(inner.isValid());

        model.setShowHidden(false);
        QCOMPARE(names(model, root), QStringList({"9", "10", "a", "B", "link"}));
        QVERIFY(!inner.isValid());

        model.setShowHidden(true);
        const QModelIndex again = model.index(m_root + "/.hid/inner");
        QVERIFY(again.isValid());
        QCOMPARE(model.filePath(again), m_root + "/.hid/inner");
    }

    // A hidden folder's listing that arrives after hidden folders were switched off
    // is kept out of view, and shows when they are switched on again.
    void listingArrivesAfterItsFolderWasHidden()
    {
        FakeFileSystem fs;
        fs.confineTo = m_dir.path();
        QSemaphore gate;
        fs.beforeRead = [&](const QString &folder) {
            if (folder.endsWith("/.hid"))
                gate.acquire();
        };
        FolderTreeModel model(fs);
        const auto open = qScopeGuard([&] { gate.release(); });
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setShowHidden(true);
        const QModelIndex hid = model.index(m_root + "/.hid");
        QVERIFY(hid.isValid());
        model.fetchMore(hid);
        model.setShowHidden(false);
        QSignalSpy loaded(&model, &FolderTreeModel::folderLoaded);
        gate.release();
        QTRY_VERIFY(loaded.contains({m_root + "/.hid"}));
        QVERIFY(!model.index(m_root + "/.hid").isValid());
        model.setShowHidden(true);
        QCOMPARE(names(model, model.index(m_root + "/.hid")), QStringList({"inner"}));
    }

    // The top level is the file system's roots, in its order and under its names; a
    // path opens under the root it lies in, and one outside them all brings its own.
    void startsAtTheFileSystemsRoots()
    {
        FakeFileSystem fs;
        fs.confineTo = m_dir.path();
        fs.treeRoots = {{m_root + "/B/", "Disk B"}, {m_root + "/a/", "Disk A"}};
        FolderTreeModel model(fs);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(names(model, {}), QStringList({"Disk B", "Disk A"}));
        const QModelIndex diskA = model.index(1, 0);
        QCOMPARE(model.filePath(diskA), m_root + "/a");
        QCOMPARE(model.index(m_root + "/a"), diskA);

        const QModelIndex y = model.index(m_root + "/a/x/y");
        QVERIFY(y.isValid());
        QCOMPARE(model.filePath(y), m_root + "/a/x/y");
        QCOMPARE(y.parent().parent(), diskA);
        QVERIFY(load(model, diskA));
        QCOMPARE(names(model, diskA), QStringList({"x"}));

        const QModelIndex nine = model.index(m_root + "/9");
        QVERIFY(nine.isValid());
        QCOMPARE(model.filePath(nine), m_root + "/9");
        QCOMPARE(names(model, {}), QStringList({"Disk B", "Disk A", "/"}));
    }

    // The desktop at the top holds the computer, a folder with no path, and then its own
    // sub-folders; the computer holds the drives. A path opens under the deepest root
    // that holds it, so the desktop's folders are found under the desktop, not under
    // the drive the desktop lies on.
    void desktopHoldsTheComputerThenItsOwnFolders()
    {
        const QString desk = m_dir.path() + "/desk";
        // A folder named as the computer is shown is a folder like any other.
        for (const char *folder : {"Computer", "sub/inner"})
            QVERIFY(QDir().mkpath(desk + u'/' + QLatin1String(folder)));
        FakeFileSystem fs;
        fs.confineTo = m_dir.path();
        fs.treeRoots = {
            {desk + "/", "Desk", {{"", "Computer", {{"/", "System"}, {m_root + "/B/", "Data"}}}}}};
        FolderTreeModel model(fs);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(names(model, {}), QStringList({"Desk"}));
        const QPersistentModelIndex top = model.index(0, 0, {});
        QCOMPARE(model.filePath(top), desk);
        QCOMPARE(model.index(desk + "/"), QModelIndex(top));
        QCOMPARE(names(model, top), QStringList({"Computer"}));
        QVERIFY(load(model, top));
        QCOMPARE(names(model, top), QStringList({"Computer", "Computer", "sub"}));

        const QPersistentModelIndex computer = model.index(0, 0, top);
        QCOMPARE(model.filePath(computer), QString());
        QCOMPARE(computer.data(FolderTreeModel::FilePathRole).toString(), QString());
        QVERIFY(!model.canFetchMore(computer));
        QVERIFY(model.hasChildren(computer));
        QCOMPARE(names(model, computer), QStringList({"System", "Data"})); // the system's order
        QCOMPARE(model.filePath(model.index(0, 0, computer)), QStringLiteral("/"));
        QCOMPARE(model.filePath(model.index(1, 0, computer)), m_root + "/B");
        QCOMPARE(model.filePath(model.index(1, 0, top)), desk + "/Computer");

        const QModelIndex inner = model.index(desk + "/sub/inner");
        QVERIFY(inner.isValid());
        QCOMPARE(inner.parent().parent(), QModelIndex(top));
        QCOMPARE(model.filePath(inner), desk + "/sub/inner");
        const QModelIndex nine = model.index(m_root + "/9");
        QVERIFY(nine.isValid());
        QCOMPARE(model.filePath(nine), m_root + "/9");
        QModelIndex drive = nine;
        while (drive.isValid() && drive.parent() != computer)
            drive = drive.parent();
        QCOMPARE(drive.data().toString(), QStringLiteral("System"));
        QCOMPARE(model.index(m_root + "/B").parent(), QModelIndex(computer));
        QVERIFY(!model.index(QString()).isValid());

        model.setShowHidden(true);
        QCOMPARE(names(model, computer), QStringList({"System", "Data"}));
        QCOMPARE(names(model, {}), QStringList({"Desk"}));
    }

    // Linux: the one root "/", unnamed beyond its path.
    void systemRootIsTheSlash()
    {
        FakeFileSystem fs;
        fs.confineTo = m_dir.path();
        FolderTreeModel model(fs);
        QCOMPARE(names(model, {}), QStringList({"/"}));
        QCOMPARE(model.filePath(model.index(0, 0, {})), QStringLiteral("/"));
        QModelIndex top = model.index(m_root);
        while (top.parent().isValid())
            top = top.parent();
        QCOMPARE(top, model.index(0, 0, {}));
    }

    void pathsThatAreNoFolders_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("file") << "/file.txt";
        QTest::newRow("missing") << "/nothing";
        QTest::newRow("relative") << "tree";
        QTest::newRow("empty") << "";
    }

    void pathsThatAreNoFolders()
    {
        QFETCH(QString, path);
        FakeFileSystem fs;
        fs.confineTo = m_dir.path();
        FolderTreeModel model(fs);
        const QString full = path.startsWith(u'/') ? m_root + path : path;
        QVERIFY(!model.index(full).isValid());
        QCOMPARE(model.filePath(model.index(QStringLiteral("/"))), QStringLiteral("/"));
    }

    void unreadableFolderEndsEmpty()
    {
        FakeFileSystem fs;
        fs.confineTo = m_dir.path();
        fs.failOpen << m_root + "/B";
        FolderTreeModel model(fs);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QModelIndex b = model.index(m_root + "/B");
        QVERIFY(load(model, b));
        QCOMPARE(model.rowCount(b), 0);
        QVERIFY(!model.hasChildren(b));
    }
};

QTEST_MAIN(TestFolderTreeModel)
#include "tst_foldertreemodel.moc"
