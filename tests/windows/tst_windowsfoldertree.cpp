#include "platform/filesystem.h"
#include "platform/pathtext.h"
#include "scan/foldertreemodel.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using pelmaris::platform::FileSystem;
using pelmaris::scan::FolderTreeModel;

// The folder tree on the real Windows file system: Wine maps its own C: and the host's
// "/" as Z:. What Wine cannot show: a network share (no UNC server answers here), a
// drive without its medium, and the shell's names of a real Windows (Wine's differ).
class TestWindowsFolderTree : public QObject {
    Q_OBJECT

    static bool load(FolderTreeModel &model, const QModelIndex &index)
    {
        model.fetchMore(index);
        return QTest::qWaitFor([&] { return model.isLoaded(index); }, 10000);
    }

private Q_SLOTS:
    void topLevelIsTheDrives()
    {
        const std::unique_ptr<FileSystem> fs = pelmaris::platform::makeSystemFileSystem();
        QStringList paths;
        for (const auto &root : fs->roots()) {
            QVERIFY2(root.path.size() == 3 && root.path.endsWith(QLatin1String(":\\")),
                     qPrintable(root.path));
            QVERIFY(!root.label.isEmpty());
            paths << root.path;
        }
        QVERIFY(paths.contains("C:\\"));
        QVERIFY(paths.contains("Z:\\"));

        FolderTreeModel model(*fs);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), paths.size());
        const QModelIndex c = model.index(int(paths.indexOf("C:\\")), 0);
        QCOMPARE(model.filePath(c), QStringLiteral("C:\\"));
        QVERIFY(load(model, c));
        QVERIFY(model.rowCount(c) > 0); // Wine's C: holds "windows", "users" and more
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
        QModelIndex top = sub;
        while (top.parent().isValid())
            top = top.parent();
        QCOMPARE(model.filePath(top), native.left(3).toUpper());

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
