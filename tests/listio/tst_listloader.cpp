#include "listio/listfile.h"
#include "listio/listloader.h"
#include "listio/listsaver.h"
#include "scan/imagelistmodel.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace pelmaris::listio;
using pelmaris::scan::ImageListModel;
using pelmaris::scan::ListItem;

namespace {

// Paths "/p/<n>" exist when n is even.
bool evenExists(const QString &path)
{
    return path.startsWith(QStringLiteral("/p/")) && path.mid(3).toInt() % 2 == 0;
}

QString numberedLines(int n)
{
    QString text;
    for (int i = 0; i < n; ++i)
        text += QStringLiteral("/p/%1\r\n").arg(i);
    return text;
}

QStringList captionsOf(const ImageListModel &model)
{
    QStringList out;
    for (const ListItem &item : model.items())
        out << item.caption;
    return out;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ListItem row(const QString &path)
{
    ListItem item;
    item.caption = path;
    item.subItems = {"png", "1,234", "40", "30", "2024/05/06 07:08:09"};
    return item;
}

} // namespace

class TestListLoader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadReplacesRowsInOrder()
    {
        ImageListModel model;
        model.appendRows({row("/old")}, {QByteArray("thumb")});
        ListLoader loader(model);
        loader.setFileTest(evenExists);
        QSignalSpy progress(&loader, &ListLoader::loadProgress);
        QSignalSpy finished(&loader, &ListLoader::loadFinished);
        QVERIFY(loader.LoadListFromText(QStringLiteral(";comment\n") + numberedLines(2000)));
        QVERIFY(loader.isLoading());
        QVERIFY(!loader.LoadListFromText(QStringLiteral("/p/0"))); // busy: refused
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.constFirst().at(0).toBool(), false);
        QCOMPARE(model.rowCount(), 1000);
        QCOMPARE(model.imageCount(), 1000); // the old thumbnails went with the old rows
        QCOMPARE(model.item(0).caption, QStringLiteral("/p/0"));
        QCOMPARE(model.item(999).caption, QStringLiteral("/p/1998"));
        QVERIFY(model.item(5).checked);
        const QList<QVariant> last = progress.constLast();
        QCOMPARE(last.at(0).toLongLong(), 2001); // line
        QCOMPARE(last.at(1).toLongLong(), 2001); // lines
        QCOMPARE(last.at(2).toLongLong(), 1000); // rows
        QVERIFY(!loader.isLoading());
    }

    void emptyTextLeavesAnEmptyList()
    {
        ImageListModel model;
        model.appendRows({row("/old")}, {});
        ListLoader loader(model);
        QSignalSpy finished(&loader, &ListLoader::loadFinished);
        QVERIFY(loader.LoadListFromText(QString()));
        QVERIFY(finished.wait(5000));
        QCOMPARE(model.rowCount(), 0);
    }

    // The cancel is heard at the next line; rows found before it stay.
    void cancelKeepsTheRowsFoundSoFar()
    {
        ImageListModel model;
        ListLoader loader(model);
        loader.setFileTest([&loader](const QString &path) {
            if (path == QStringLiteral("/p/299"))
                loader.cancel(); // as if the button were pressed while line 300 is read
            return true;
        });
        QSignalSpy finished(&loader, &ListLoader::loadFinished);
        QVERIFY(loader.LoadListFromText(numberedLines(1000)));
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.constFirst().at(0).toBool(), true);
        QCOMPARE(model.rowCount(), 300);
        QCOMPARE(model.item(299).caption, QStringLiteral("/p/299"));
    }

    void saveWritesTheChosenFormAndReadsBack()
    {
        QTemporaryDir dir;
        QStringList paths;
        std::vector<ListItem> rows;
        for (const char *name : {"a b.jpg", "c,d.png", "写真.gif"}) {
            const QString p = dir.filePath(QString::fromUtf8(name));
            QFile f(p);
            QVERIFY(f.open(QIODevice::WriteOnly));
            paths << p;
            rows.push_back(row(p));
        }
        const QString csv = dir.filePath(QStringLiteral("list.csv"));
        SaveResult result = saveList({csv, ListForm::Detail}, rows, paths);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.lines, 3);
        const QByteArray bytes = readAll(csv);
        QVERIFY(bytes.startsWith('"' + QFile::encodeName(paths.at(0)) + "\",\"png\",\"1,234\""));
        QVERIFY(bytes.endsWith("\"2024/05/06 07:08:09\"\r\n"));

        // Save, open, load: the same rows in the same order, all checked.
        ImageListModel model;
        ListLoader loader(model);
        ListFileText read = readListFile(csv);
        QVERIFY(read.ok);
        loader.LoadListFromText(read.text);
        loader.waitForDone();
        QCOMPARE(captionsOf(model), paths);
        QCOMPARE(model.item(2).subItems, rows[2].subItems);

        const QString txt = dir.filePath(QStringLiteral("list.txt"));
        result = saveList({txt, ListForm::Path}, rows, paths.mid(0, 2));
        QVERIFY(result.ok);
        QCOMPARE(readAll(txt), QFile::encodeName(paths.at(0) + "\r\n" + paths.at(1) + "\r\n"));
    }

    // A save that cannot be written reports the system's reason and leaves the old
    // file byte for byte.
    void failedSaveLeavesTheOldFile()
    {
        QTemporaryDir dir;
        const QString sub = dir.filePath(QStringLiteral("ro"));
        QVERIFY(QDir().mkpath(sub));
        const QString old = sub + QStringLiteral("/list.txt");
        QFile f(old);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old contents\r\n");
        f.close();
        QVERIFY(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
        const SaveResult result = saveList({old, ListForm::Path}, {}, {"/new"});
        QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (result.ok)
            QSKIP("running with rights that ignore permissions");
        QVERIFY(result.error.endsWith(QStringLiteral("\r\n") + old));
        QCOMPARE(readAll(old), QByteArray("old contents\r\n"));

        const QString fifo = dir.filePath(QStringLiteral("fifo.txt"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!saveList({fifo, ListForm::Path}, {}, {"/new"}).ok);
    }

    void saverReportsWhenWritten()
    {
        QTemporaryDir dir;
        ListSaver saver;
        std::optional<SaveResult> reported;
        connect(&saver, &ListSaver::saveFinished, this, [&](const SaveResult &r) { reported = r; });
        const QString path = dir.filePath(QStringLiteral("list.txt"));
        QVERIFY(saver.start({path, ListForm::Path}, {}, {"/a", "/b"}));
        QVERIFY(saver.isSaving());
        QVERIFY(!saver.start({path, ListForm::Path}, {}, {"/c"}));
        QTRY_VERIFY(reported.has_value());
        QVERIFY(reported->ok);
        QCOMPARE(reported->lines, 2);
        QVERIFY(!saver.isSaving());
        QCOMPARE(readAll(path), QByteArray("/a\r\n/b\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestListLoader)
#include "tst_listloader.moc"
