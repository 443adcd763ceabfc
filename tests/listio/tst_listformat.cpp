#include "listio/listformat.h"
#include "platform/filesystem.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace pelmaris::listio;
using pelmaris::scan::ListItem;

namespace {

// Names that "exist", so the row rules need no files.
FileTest existing(const QStringList &paths)
{
    const QSet<QString> set(paths.begin(), paths.end());
    return [set](const QString &path) { return set.contains(path); };
}

ListItem item(const QString &path, const std::array<QString, 5> &details)
{
    ListItem row;
    row.caption = path;
    row.subItems = details;
    return row;
}

} // namespace

class TestListFormat : public QObject {
    Q_OBJECT

    const std::unique_ptr<pelmaris::platform::FileSystem> m_fs =
        pelmaris::platform::makeSystemFileSystem();

private Q_SLOTS:
    void fieldsSplitAsTheReaderDoes_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("quoted fields") << "\"a b\",\"c,d\",\"\"" << QStringList{"a b", "c,d", ""};
        QTest::newRow("doubled quote") << "\"say \"\"hi\"\"\",x" << QStringList{"say \"hi\"", "x"};
        QTest::newRow("blanks separate") << "a b\tc" << QStringList{"a", "b", "c"};
        QTest::newRow("blanks around a comma count once")
            << "  \"a\" ,  \"b\"  " << QStringList{"a", "b"};
        QTest::newRow("empty between commas") << "a,,b" << QStringList{"a", "", "b"};
        QTest::newRow("comma at the end") << "a," << QStringList{"a", ""};
        QTest::newRow("comma and blank at the end") << "a, " << QStringList{"a"};
        QTest::newRow("text after the closing quote") << "\"a\"b,c" << QStringList{"a", "b", "c"};
        QTest::newRow("unterminated runs to the end") << "\"a,b c" << QStringList{"a,b c"};
        QTest::newRow("quote then quote") << "\"\"x\"" << QStringList{"", "x\""};
        QTest::newRow("NUL separates outside quotes")
            << QStringLiteral("a") + QChar(0) + u'b' << QStringList{"a", "b"};
        QTest::newRow("only blanks") << " \t " << QStringList{};
    }
    void fieldsSplitAsTheReaderDoes()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QCOMPARE(parseFields(line), fields);
    }

    void linesEndWithAnyBreak_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("CR only") << "a\rb\r" << QStringList{"a", "b"};
        QTest::newRow("mixed, last unterminated")
            << "a\nb\r\nc\rd" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
        QTest::newRow("empty lines count") << "\r\n\r\n" << QStringList{"", ""};
        QTest::newRow("nothing") << "" << QStringList{};
    }
    void linesEndWithAnyBreak()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(splitLines(text), lines);
    }

    void linesMakeRows_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("caption"); // empty: no row
        QTest::addColumn<QStringList>("details");
        const QStringList none{"", "", "", "", ""};
        QTest::newRow("bare path with blank and comma") << "/My Pictures/a,b.jpg"
                                                        << "/My Pictures/a,b.jpg" << none;
        QTest::newRow("quoted path alone") << "\"/x.jpg\""
                                           << "/x.jpg" << none;
        QTest::newRow("path and format") << "\"/x.jpg\",\"png\""
                                         << "/x.jpg" << QStringList{"png", "", "", "", ""};
        QTest::newRow("detail line")
            << "\"/x.jpg\",\"jpeg\",\"1,234\",\"1,920\",\"1,080\",\"2024/05/06 07:08:09\""
            << "/x.jpg" << QStringList{"jpeg", "1,234", "1,920", "1,080", "2024/05/06 07:08:09"};
        QTest::newRow("fields past the sixth are ignored")
            << "\"/x.jpg\",\"a\",\"b\",\"c\",\"d\",\"e\",\"f\",\"g\""
            << "/x.jpg" << QStringList{"a", "b", "c", "d", "e"};
        QTest::newRow("blank after the last quote") << "\"/x.jpg\",\"png\" "
                                                    << "" << none;
        QTest::newRow("begins with a quote, ends without") << "\"/x.jpg"
                                                           << "" << none;
        QTest::newRow("comment") << ";/x.jpg"
                                 << "" << none;
        QTest::newRow("empty") << ""
                               << "" << none;
        QTest::newRow("missing file") << "/gone.jpg"
                                      << "" << none;
        QTest::newRow("lone quote") << "\""
                                    << "" << none;
        QTest::newRow("quote doubled in a path") << "\"/say \"\"hi\"\".jpg\""
                                                 << "/say \"hi\".jpg" << none;
    }
    void linesMakeRows()
    {
        QFETCH(QString, line);
        QFETCH(QString, caption);
        QFETCH(QStringList, details);
        const FileTest files =
            existing({"/My Pictures/a,b.jpg", "/x.jpg", "/say \"hi\".jpg", "/x.jpg\",\"png"});
        const std::optional<ListItem> row = rowFromLine(line, files);
        QCOMPARE(row.has_value(), !caption.isEmpty());
        if (!row)
            return;
        QCOMPARE(row->caption, caption);
        QVERIFY(row->checked);
        QCOMPARE(QStringList(row->subItems.begin(), row->subItems.end()), details);
    }

    // Both forms read back to what was written, quotes and odd characters included.
    void writtenTextReadsBack()
    {
        const std::vector<ListItem> rows = {
            item("/p/a b,c.jpg", {"jpeg", "1,234,567", "1,920", "1,080", "2024/05/06 07:08:09"}),
            item("/p/quo\"te\".png", {"png", "1", "1", "1", ""}),
            item(QStringLiteral("/p/写真 ;#%.gif"), {"gif", "", "", "", ""}),
            item("/p/tab\there.bmp", {"bmp", "", "", "", ""}),
        };
        QStringList paths;
        for (const ListItem &r : rows)
            paths << r.caption;
        const ListText detail = detailText(rows);
        QCOMPARE(detail.lines, 4);
        QVERIFY(detail.text.endsWith(QStringLiteral("\r\n")));
        QCOMPARE(detail.text.count(QStringLiteral("\r\n")), 4);
        QVERIFY(detail.text.contains(QStringLiteral("\"/p/quo\"\"te\"\".png\",\"png\"")));

        const std::vector<ListItem> back = rowsFromText(detail.text, existing(paths));
        QCOMPARE(back.size(), rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            QCOMPARE(back[i].caption, rows[i].caption);
            QCOMPARE(back[i].subItems, rows[i].subItems);
        }

        const ListText bare = pathText(paths);
        QVERIFY(bare.text.startsWith(QStringLiteral("/p/a b,c.jpg\r\n")));
        QStringList backPaths;
        for (const ListItem &r : rowsFromText(bare.text, existing(paths)))
            backPaths << r.caption;
        QCOMPARE(backPaths, paths);
    }

    // A line break inside a name would split it into other names: such entries are
    // left out and counted.
    void namesWithLineBreaksAreLeftOut()
    {
        const ListText text = pathText({"/p/a.jpg", "/p/b\n/etc/passwd", "/p/c\r.jpg", "/p/d.jpg"});
        QCOMPARE(text.text, QStringLiteral("/p/a.jpg\r\n/p/d.jpg\r\n"));
        QCOMPARE(text.lines, 2);
        QCOMPARE(text.skipped, 2);
        QCOMPARE(detailText({item("/p/x\ny.jpg", {})}).skipped, 1);
    }

    void badInputMakesNoRowAndNoCrash()
    {
        const FileTest any = [](const QString &p) { return !p.isEmpty(); };
        // A 1 MB line, a quarter million fields, a million quotes, binary garbage.
        const QString longPath = u'/' + QString(1 << 20, u'a');
        std::optional<ListItem> row = rowFromLine(longPath, any);
        QVERIFY(row && row->caption == longPath);
        const QString manyFields =
            QStringLiteral("\"/a\"") + QStringLiteral(",\"\"").repeated(1 << 18);
        row = rowFromLine(manyFields, any);
        QVERIFY(row && row->caption == QStringLiteral("/a"));
        QCOMPARE(parseFields(QString(1 << 20, u','), 6).size(), 6);
        row = rowFromLine(QString(1 << 20, u'"'), any);
        QVERIFY(row && row->caption == QString((1 << 19) - 1, u'"'));
        QByteArray garbage(1 << 16, Qt::Uninitialized);
        QRandomGenerator generator(42);
        for (char &c : garbage)
            c = char(generator.bounded(256));
        const QString text = QString::fromLatin1(garbage);
        const std::vector<ListItem> rows = rowsFromText(text, any);
        QVERIFY(rows.size() <= size_t(splitLines(text).size()));
    }

    void onlyAbsoluteRegularFilesMakeRows()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a.jpg"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(QFile::link(file, dir.filePath(QStringLiteral("link.jpg"))));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath("broken.jpg")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.jpg")));
        const QString fifo = dir.filePath(QStringLiteral("fifo.jpg"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

        QVERIFY(isListableFile(file, *m_fs));
        QVERIFY(isListableFile(dir.filePath(QStringLiteral("link.jpg")), *m_fs));
        QVERIFY(!isListableFile(dir.filePath(QStringLiteral("broken.jpg")), *m_fs));
        QVERIFY(!isListableFile(dir.filePath(QStringLiteral("folder.jpg")), *m_fs));
        QVERIFY(!isListableFile(fifo, *m_fs));
        QVERIFY(!isListableFile(QStringLiteral("a.jpg"), *m_fs)); // relative
        QVERIFY(!isListableFile(QString(), *m_fs));
        // What the system would see stops at the NUL: a name that only starts like
        // an existing file is not that file.
        QVERIFY(!isListableFile(file + QChar(0) + QStringLiteral("tail"), *m_fs));
    }
};

QTEST_GUILESS_MAIN(TestListFormat)
#include "tst_listformat.moc"
