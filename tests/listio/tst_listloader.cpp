#include "deeptree.h"
#include "listio/listfile.h"
#include "listio/listloader.h"
#include "listio/listsaver.h"
#include "platform/filesystem.h"
#include "scan/imagelistmodel.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
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

const QStringList kJapanese = {QStringLiteral("/写真/一.jpg"), QStringLiteral("/写真/二.jpg")};

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

    const std::unique_ptr<pelmaris::platform::FileSystem> m_fs =
        pelmaris::platform::makeSystemFileSystem();

private Q_SLOTS:
    void loadReplacesRowsInOrder()
    {
        ImageListModel model;
        model.appendRows({row("/old")}, {QByteArray("thumb")});
        ListLoader loader(model, *m_fs);
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
        QVERIFY(last.at(3).toBool());            // counted
        QVERIFY(!loader.isLoading());
    }

    // Only a line other than a comment makes the count worth showing.
    void countShownOnceALineIsRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("counted");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("comments only") << ";a\r\n;b\r\n" << false;
        QTest::newRow("a blank line") << ";a\r\n\r\n" << true;
        QTest::newRow("a path") << "/p/1" << true;
    }

    void countShownOnceALineIsRead()
    {
        QFETCH(QString, text);
        QFETCH(bool, counted);
        ImageListModel model;
        model.appendRows({row("/old")}, {});
        ListLoader loader(model, *m_fs);
        loader.setFileTest(evenExists);
        QSignalSpy progress(&loader, &ListLoader::loadProgress);
        QSignalSpy finished(&loader, &ListLoader::loadFinished);
        QVERIFY(loader.LoadListFromText(text));
        QVERIFY(finished.wait(5000));
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(progress.constLast().at(3).toBool(), counted);
    }

    // Without a byte-order mark the encoding is judged from the bytes: UTF-16 by its
    // NULs, and a UTF-8 file with one line of another encoding stays UTF-8, that line
    // left unread and counted.
    void encodingJudgedFromTheBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("unread");
        const QString text = kJapanese.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        QTest::newRow("UTF-8 with a Latin-1 line")
            << kJapanese[0].toUtf8() + "\r\n/caf\xE9.jpg\n" + kJapanese[1].toUtf8() << qint64(1);
        QTest::newRow("UTF-16LE") << QByteArray(
                                         QStringEncoder(QStringEncoder::Utf16LE).encode(text))
                                  << qint64(0);
        QTest::newRow("UTF-16BE") << QByteArray(
                                         QStringEncoder(QStringEncoder::Utf16BE).encode(text))
                                  << qint64(0);
        QTest::newRow("Shift_JIS")
            << QByteArray(QStringEncoder("Shift_JIS").encode(text)) << qint64(0);
        QTest::newRow("UTF-8 with a BOM") << "\xEF\xBB\xBF" + text.toUtf8() << qint64(0);
    }

    void encodingJudgedFromTheBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, unread);
        ImageListModel model;
        ListLoader loader(model, *m_fs);
        loader.setFileTest([](const QString &path) { return kJapanese.contains(path); });
        QVERIFY(loader.loadList(ListSource::fromBytes(bytes)));
        loader.waitForDone();
        QCOMPARE(captionsOf(model), kJapanese);
        QCOMPARE(loader.unreadLines(), unread);
    }

    // The text is read where it lies: a list of line breaks costs about its own size,
    // not a string per line (that took 25 times the file).
    void memoryFollowsTheRowsNotTheLines()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the sanitizer's own bookkeeping outweighs the figure; the normal build measures it");
#endif
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("breaks.txt"));
        constexpr qint64 kBytes = 16 << 20;
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.write(QByteArray(kBytes, '\n')) == kBytes);
        f.close();
        QProcess probe;
        probe.start(QStringLiteral(LIST_PROBE), {path});
        QVERIFY(probe.waitForFinished(120000));
        QCOMPARE(probe.exitCode(), 0);
        const QList<QByteArray> words = probe.readAllStandardOutput().simplified().split(' ');
        QCOMPARE(words.size(), 8);
        QCOMPARE(words[1], QByteArray("0"));
        QCOMPARE(words[3].toLongLong(), kBytes);
        const qint64 grewKb = words[5].toLongLong();
        QVERIFY2(grewKb < 2 * kBytes / 1024,
                 qPrintable(QStringLiteral("grew by %1 kB").arg(grewKb)));
    }

    // The cancel is heard at the next line; rows found before it stay.
    void cancelKeepsTheRowsFoundSoFar()
    {
        ImageListModel model;
        ListLoader loader(model, *m_fs);
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
        QVERIFY2(result.outcome.ok(), qPrintable(result.outcome.text()));
        QCOMPARE(result.lines, 3);
        const QByteArray bytes = readAll(csv);
        QVERIFY(bytes.startsWith('"' + QFile::encodeName(paths.at(0)) + "\",\"png\",\"1,234\""));
        QVERIFY(bytes.endsWith("\"2024/05/06 07:08:09\"\r\n"));

        // Save, open, load: the same rows in the same order, all checked.
        ImageListModel model;
        ListLoader loader(model, *m_fs);
        auto read = readListFile(csv);
        QVERIFY(read.ok());
        loader.loadList(*read);
        loader.waitForDone();
        QCOMPARE(captionsOf(model), paths);
        QCOMPARE(model.item(2).subItems, rows[2].subItems);

        const QString txt = dir.filePath(QStringLiteral("list.txt"));
        result = saveList({txt, ListForm::Path}, rows, paths.mid(0, 2));
        QVERIFY(result.outcome.ok());
        QCOMPARE(readAll(txt), QFile::encodeName(paths.at(0) + "\r\n" + paths.at(1) + "\r\n"));
    }

    // A row as deep as the scan lists comes back from its list file: the file test
    // reaches it folder by folder.
    void deepRowsComeBack()
    {
        QTemporaryDir dir;
        const QByteArray name(200, 'd');
        constexpr int depth = 25;
        const QString bottom = fixtures::makeDeepChain(dir.path(), depth, name, "x.jpg", depth);
        QVERIFY(QFile::encodeName(bottom).size() > PATH_MAX);
        const QStringList paths = {dir.filePath(QStringLiteral("a.jpg")),
                                   bottom + QStringLiteral("/x.jpg")};
        QFile shallow(paths.at(0));
        QVERIFY(shallow.open(QIODevice::WriteOnly));
        shallow.close();
        const QString txt = dir.filePath(QStringLiteral("list.txt"));
        QVERIFY(saveList({txt, ListForm::Path}, {}, paths).outcome.ok());
        ImageListModel model;
        ListLoader loader(model, *m_fs);
        auto read = readListFile(txt);
        QVERIFY(read.ok());
        loader.loadList(*read);
        loader.waitForDone();
        QCOMPARE(captionsOf(model), paths);
        fixtures::removeDeepChain(dir.path(), depth, name, "x.jpg");
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
        if (result.outcome.ok())
            QSKIP("running with rights that ignore permissions");
        QVERIFY(result.outcome.text().endsWith(QStringLiteral("\r\n") + old));
        QCOMPARE(readAll(old), QByteArray("old contents\r\n"));

        const QString fifo = dir.filePath(QStringLiteral("fifo.txt"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!saveList({fifo, ListForm::Path}, {}, {"/new"}).outcome.ok());
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
        QVERIFY(reported->outcome.ok());
        QCOMPARE(reported->lines, 2);
        QVERIFY(!saver.isSaving());
        QCOMPARE(readAll(path), QByteArray("/a\r\n/b\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestListLoader)
#include "tst_listloader.moc"
