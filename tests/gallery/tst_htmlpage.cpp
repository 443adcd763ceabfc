#include "gallery/htmlpage.h"
#include "gallery/pageconstants.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <QUrl>

using namespace pelmaris::gallery;

namespace {

PageInput baseInput(const QStringList &paths)
{
    PageInput in;
    in.paths = paths;
    in.layout.layout = Layout::RangeView;
    in.workArea = QSize(1920, 1040);
    in.colors.background = QColor(0xf0, 0xf0, 0xf0);
    in.colors.text = Qt::black;
    in.pageIconPath = "/tmp/tmpAB12.ico";
    in.driveIconPath = "/tmp/tmpAB12.icon";
    in.title = "  /home/u/Photos\t";
    in.folderPath = "/home/u";
    in.generated = QDateTime(QDate(2025, 3, 14), QTime(9, 5, 7));
    in.programFileName = "Pelmaris";
    in.locale = QLocale::c();
    return in;
}

qsizetype indexStarting(const QStringList &lines, const QString &prefix)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines.at(i).startsWith(prefix))
            return i;
    return -1;
}

} // namespace

class TestHtmlPage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholePageForOnePath();
    void headerForManyPaths_data();
    void headerForManyPaths();
    void styleBlock_data();
    void styleBlock();
    void folderLinks_data();
    void folderLinks();
    void diffNumber_data();
    void diffNumber();
    void titles_data();
    void titles();
    void hostileNamesStayInsideTheirLine();
    void fileUrls_data();
    void fileUrls();
    void colorToHtml();
    void thumbnailLines();
    void thumbnailRule_data();
    void thumbnailRule();
};

// One path, light mode: every line of the page exactly.
void TestHtmlPage::wholePageForOnePath()
{
    const QStringList lines = buildPageLines(baseInput({"/home/u/a.jpg"}));
    const QStringList expected = {
        "<!DOCTYPE html>",
        "<!--",
        "Generated 2025/03/14 09:05:07 By Pelmaris V1.6",
        MakerCopyright,
        MakerHomePage,
        "-->",
        "<html>",
        "<head>",
        "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">",
        "<link rel=\"icon\" type=\"image/vnd.microsoft.icon\" href=\"file:///tmp/tmpAB12.ico\" />",
        "<title>/home/u/Photos</title>",
        "<style type=\"text/css\">",
        "#top img {width: 16px; height: 16px; object-fit: contain; margin: 0;}",
        "#main img {width: 223px; height: 223px; object-fit: contain; margin: 2;}",
        "body {background: #f0f0f0; color: #000000} a {color: #000000}",
        "</style>",
        "</head>",
        "<body>",
        "<div id=\"button\" align=\"right\">",
        "<button onclick=\"window.print(); return false;\">&emsp;Print&emsp;</button>",
        "</div>",
        "<div id=\"top\">",
        "<p>",
        "<a href=\"file:///home/u/a.jpg\" target=\"_blank\"><img src=\"file:///home/u/a.jpg\"></a>"
        "&nbsp;<a href=\"file:///home/u/a.jpg\" target=\"_blank\">/home/u/a.jpg</a> (1) "
        "RangeView<br>",
        "<img src=\"file:///tmp/tmpAB12.icon\">",
        "[<a href=\"file:///\" target=\"_blank\">/</a>]",
        "[<a href=\"file:///home\" target=\"_blank\">home</a>]",
        "[<a href=\"file:///home/u\" target=\"_blank\">u</a>]",
        "</p>",
        "</div>",
        "<div id=\"main\">",
        "<p>",
        "<a href=\"file:///home/u/a.jpg\" target=\"_blank\"><img src=\"file:///home/u/a.jpg\" "
        "title=\"a.jpg\"></a>",
        "</p>",
        "</div>",
        "<div id=\"bottom\">",
        "<p>",
        "[<a href=\"#\">View Top</a>]",
        "[<a href=\"#!\" onclick=\"window.close();\">Close Page</a>]",
        "[<a href=\"" + MakerDonationPage + "\" target=\"_blank\">Donation</a>]",
        "[<a href=\"" + MakerHomePage + "\" target=\"_blank\">Home</a>]",
        "</p>",
        "</div>",
        "</body>",
        "</html>",
    };
    QCOMPARE(lines, expected);
}

void TestHtmlPage::headerForManyPaths_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("countText");
    QTest::newRow("two") << 2 << "C"
                         << "(2)";
    QTest::newRow("1,234") << 1234 << "C"
                           << "(1,234)";
    QTest::newRow("1,234 ja") << 1234 << "ja_JP"
                              << "(1,234)";
    QTest::newRow("1.234 de") << 1234 << "de_DE"
                              << "(1.234)";
}

void TestHtmlPage::headerForManyPaths()
{
    QFETCH(int, count);
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << QStringLiteral("/p/%1.jpg").arg(i);
    PageInput in = baseInput(paths);
    QFETCH(QString, locale);
    QFETCH(QString, countText);
    in.locale = QLocale(locale);
    in.layout.layout = Layout::AutoScaled;
    const QStringList lines = buildPageLines(in);

    const qsizetype first =
        indexStarting(lines, "<a href=\"file:///p/0.jpg\" target=\"_blank\"><img src");
    QVERIFY(first > 0);
    QCOMPARE(lines.at(first - 1), "<p>");
    QVERIFY(lines.at(first).endsWith("\">/p/0.jpg</a> ..<br>"));
    const QString last = QStringLiteral("/p/%1.jpg").arg(count - 1);
    QCOMPARE(lines.at(first + 1),
             "<a href=\"file://" + last + "\" target=\"_blank\"><img src=\"file://" + last +
                 "\"></a>&nbsp;<a href=\"file://" + last + "\" target=\"_blank\">" + last +
                 "</a> " + countText + " AutoScaled<br>");
    // one image line per path, in order
    const qsizetype main = lines.indexOf("<div id=\"main\">");
    QCOMPARE(lines.at(main + 2).left(28), "<a href=\"file:///p/0.jpg\" ta");
    QCOMPARE(lines.at(main + 1 + count + 1), "</p>");
}

void TestHtmlPage::styleBlock_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("realSize");
    QTest::addColumn<QStringList>("block"); // between <style ...> and </style>
    const QString top = "#top img {width: 16px; height: 16px; object-fit: contain; margin: 0;}";
    const QString main = "#main img {width: 999px; height: 999px; object-fit: contain; margin: 2;}";
    QTest::newRow("light") << false << false
                           << QStringList{
                                  top, main,
                                  "body {background: #f0f0f0; color: #000000} a {color: #000000}"};
    QTest::newRow("dark") << true << false
                          << QStringList{
                                 top, main, "#button button {background: #373737; color: #ffffff}",
                                 "body {background: #272727; color: #ffffff} a {color: #ffffff}"};
    QTest::newRow("light real size")
        << false << true
        << QStringList{top, "body {background: #f0f0f0; color: #000000} a {color: #000000}"};
    QTest::newRow("dark real size")
        << true << true
        << QStringList{top, "#button button {background: #373737; color: #ffffff}",
                       "body {background: #272727; color: #ffffff} a {color: #ffffff}"};
}

void TestHtmlPage::styleBlock()
{
    QFETCH(bool, dark);
    QFETCH(bool, realSize);
    QFETCH(QStringList, block);
    PageInput in = baseInput({"/a.jpg"});
    in.layout.layout = realSize ? Layout::RealSize : Layout::AutoScaled;
    if (dark)
        in.colors = {QColor(0x272727), QColor(0xffffff), QColor(0x373737), true};
    const QStringList lines = buildPageLines(in);
    const qsizetype open = lines.indexOf("<style type=\"text/css\">");
    const qsizetype close = lines.indexOf("</style>");
    QCOMPARE(lines.mid(open + 1, close - open - 1), block);
}

void TestHtmlPage::folderLinks_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("walk");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("root") << "/" << QStringList{"/"} << QStringList{"/"};
    QTest::newRow("deeper") << "/a/b" << QStringList{"/", "/a", "/a/b"}
                            << QStringList{"/", "a", "b"};
    QTest::newRow("trailing delimiter")
        << "/a/b/" << QStringList{"/", "/a", "/a/b"} << QStringList{"/", "a", "b"};
    QTest::newRow("no folder") << "" << QStringList{} << QStringList{};
    QTest::newRow("backslash is a name character")
        << "/x\\y:z" << QStringList{"/", "/x\\y:z"} << QStringList{"/", "x\\y:z"};
}

void TestHtmlPage::folderLinks()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, walk);
    QCOMPARE(folderWalk(folder), walk);
    QStringList texts;
    for (const QString &f : walk)
        texts << folderLinkText(f);
    QTEST(texts, "texts");

    PageInput in = baseInput({"/a.jpg"});
    in.folderPath = folder;
    const QStringList lines = buildPageLines(in);
    const qsizetype drive = indexStarting(lines, "<img src=\"file:///tmp/tmpAB12.icon\">");
    QCOMPARE(lines.at(drive + 1 + walk.size()), "</p>");
    if (!walk.isEmpty())
        QCOMPARE(lines.at(drive + 1), "[<a href=\"file:///\" target=\"_blank\">/</a>]");
}

void TestHtmlPage::diffNumber_data()
{
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("number");
    QTest::newRow("years") << "/photos/2019/img.jpg"
                           << "/photos/2020/img.jpg"
                           << "2020";
    QTest::newRow("9 then 10") << "/trip/day9/a.jpg"
                               << "/trip/day10/a.jpg"
                               << "10";
    QTest::newRow("10 then 9") << "/trip/day10/a.jpg"
                               << "/trip/day9/a.jpg"
                               << "9";
    QTest::newRow("windows paths") << "C:\\photos\\2019\\img.jpg"
                                   << "C:\\photos\\2020\\img.jpg"
                                   << "2020";
    QTest::newRow("no digit differs") << "/a/x.jpg"
                                      << "/b/x.jpg"
                                      << "";
    QTest::newRow("same path") << "/a/x.jpg"
                               << "/a/x.jpg"
                               << "";
}

void TestHtmlPage::diffNumber()
{
    QFETCH(QString, previous);
    QFETCH(QString, current);
    QTEST(ExtractDiffNumber(previous, current), "number");
}

void TestHtmlPage::titles_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("numbered folders")
        << QStringList{"/photos/2019/img.jpg", "/photos/2020/img.jpg", "/photos/2020/b.jpg"}
        << QStringList{"img.jpg", "2020", "b.jpg"};
    QTest::newRow("duplicated path keeps each line, file name as title")
        << QStringList{"/a/x.jpg", "/a/x.jpg", "/a/x.jpg"}
        << QStringList{"x.jpg", "x.jpg", "x.jpg"};
    QTest::newRow("same name, no digit")
        << QStringList{"/a/x.jpg", "/b/x.jpg"} << QStringList{"x.jpg", "x.jpg"};
    QTest::newRow("only the path just before counts")
        << QStringList{"/1/x.jpg", "/y.jpg", "/2/x.jpg"} << QStringList{"x.jpg", "y.jpg", "x.jpg"};
}

void TestHtmlPage::titles()
{
    QFETCH(QStringList, paths);
    QFETCH(QStringList, titles);
    QCOMPARE(imageTitles(paths), titles);
    const QStringList lines = buildPageLines(baseInput(paths));
    const qsizetype main = lines.indexOf("<div id=\"main\">");
    for (qsizetype i = 0; i < paths.size(); ++i)
        QVERIFY(lines.at(main + 2 + i).endsWith(" title=\"" + titles.at(i) + "\"></a>"));
}

// Markup characters, quotes and line breaks in names, title and folders are escaped, so
// the page has exactly as many lines as it would for harmless names.
void TestHtmlPage::hostileNamesStayInsideTheirLine()
{
    const QString evil = "/d/<script>alert('x')</script>\r\n\"&\x01.jpg";
    PageInput in = baseInput({evil, "/d/b.jpg"});
    in.title = "<b>\nT";
    in.folderPath = "/d/\"<i>\n";
    in.programFileName = "x--><b>&\n.exe";
    const QStringList lines = buildPageLines(in);
    PageInput plain = baseInput({"/d/a.jpg", "/d/b.jpg"});
    plain.folderPath = "/d/i";
    QCOMPARE(lines.size(), buildPageLines(plain).size());
    for (const QString &line : lines) {
        QVERIFY2(!line.contains(u'\n') && !line.contains(u'\r') && !line.contains(u'\x01'),
                 qPrintable(line));
        QVERIFY2(!line.contains("<script") && !line.contains("<b>") && !line.contains("<i>"),
                 qPrintable(line));
    }
    QVERIFY(lines.contains("<title>&lt;b&gt;&#xa;T</title>"));
    // The program's name cannot end the comment it stands in.
    QCOMPARE(lines.at(2), "Generated 2025/03/14 09:05:07 By x--&gt;&lt;b&gt;&amp;&#xa;.exe V1.6");
    QCOMPARE(lines.filter("-->").size(), 1);
    const qsizetype main = lines.indexOf("<div id=\"main\">");
    QCOMPARE(lines.at(main + 2),
             "<a href=\"file:///d/%3Cscript%3Ealert%28%27x%27%29%3C/script%3E%0D%0A%22%26%01.jpg\" "
             "target=\"_blank\"><img src=\"file:///d/%3Cscript%3Ealert%28%27x%27%29%3C/script%3E"
             "%0D%0A%22%26%01.jpg\" title=\"script&gt;&#xd;&#xa;&quot;&amp;&#x1;.jpg\"></a>");
}

void TestHtmlPage::fileUrls_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("url");
    QTest::newRow("plain") << "/a/b.jpg"
                           << "file:///a/b.jpg";
    QTest::newRow("blank hash percent question") << "/a b/#1 100%?.jpg"
                                                 << "file:///a%20b/%231%20100%25%3F.jpg";
    QTest::newRow("ampersand quotes") << "/x&y/\"q\"'s.png"
                                      << "file:///x%26y/%22q%22%27s.png";
    QTest::newRow("japanese") << "/写真/猫.jpg"
                              << "file:///%E5%86%99%E7%9C%9F/%E7%8C%AB.jpg";
    QTest::newRow("relative gets a root") << "a.jpg"
                                          << "file:///a.jpg";
    // "C:\\写真\\a b.jpg" on Windows, "C:/写真/a b.jpg" elsewhere: the same address.
    const QChar d = QDir::separator();
    QTest::newRow("drive, system's delimiters")
        << QString("C:%1写真%1a b.jpg").arg(d) << "file:///C:/%E5%86%99%E7%9C%9F/a%20b.jpg";
}

void TestHtmlPage::fileUrls()
{
    QFETCH(QString, path);
    QFETCH(QString, url);
    QCOMPARE(fileUrl(path), url);
    if (!path.startsWith("C:"))
        QCOMPARE(QUrl(url).toLocalFile(), path.startsWith('/') ? path : '/' + path);
}

void TestHtmlPage::colorToHtml()
{
    QCOMPARE(ColorToHtml(QColor(0x27, 0x27, 0x27)), "#272727");
    QCOMPARE(ColorToHtml(QColor(0xAB, 0x0C, 0xFF)), "#ab0cff");
}

// Pictures shown from their thumbnails, loaded as they scroll near, linked to the
// originals; a picture without a thumbnail is shown from its original.
void TestHtmlPage::thumbnailLines()
{
    const QStringList paths = {"/p/a #1.jpg", "/p/b 100%.jpg", "/p/c.jpg"};
    PageInput in = baseInput(paths);
    in.thumbnails = {{"/home/u/.cache/thumbnails/large/0a.png", QSize(256, 171)},
                     {},
                     {"/写真 \"x\"/large/0c.png", QSize(171, 256)}};
    const QStringList lines = buildPageLines(in);
    const qsizetype main = lines.indexOf("<div id=\"main\">") + 2;
    QCOMPARE(
        lines.mid(main, 3),
        (QStringList{"<a href=\"file:///p/a%20%231.jpg\" target=\"_blank\"><img "
                     "data-src=\"file:///home/u/.cache/thumbnails/large/0a.png\" width=\"256\" "
                     "height=\"171\" alt=\"\" decoding=\"async\" title=\"a #1.jpg\"></a>",
                     "<a href=\"file:///p/b%20100%25.jpg\" target=\"_blank\"><img "
                     "data-src=\"file:///p/b%20100%25.jpg\" decoding=\"async\" "
                     "title=\"b 100%.jpg\"></a>",
                     "<a href=\"file:///p/c.jpg\" target=\"_blank\"><img "
                     "data-src=\"file:///%E5%86%99%E7%9C%9F%20%22x%22/large/0c.png\" width=\"171\" "
                     "height=\"256\" alt=\"\" decoding=\"async\" title=\"c.jpg\"></a>"}));
    // The page's script shows them; the plain page has none.
    QCOMPARE(lines.at(lines.indexOf("</body>") - 1), "</script>");
    QVERIFY(!buildPageLines(baseInput(paths)).join('\n').contains("<script"));
    // The header's small pictures come from the thumbnails too; their links stay.
    QVERIFY(lines.contains("<a href=\"file:///p/a%20%231.jpg\" target=\"_blank\"><img "
                           "src=\"file:///home/u/.cache/thumbnails/large/0a.png\"></a>&nbsp;<a "
                           "href=\"file:///p/a%20%231.jpg\" target=\"_blank\">/p/a #1.jpg</a> "
                           "..<br>"));

    // Thumbnails that do not match the paths one for one give the plain page.
    in.thumbnails.removeLast();
    QCOMPARE(buildPageLines(in), buildPageLines(baseInput(paths)));
}

void TestHtmlPage::thumbnailRule_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("rule"); // after the layout's own rule line; empty: none
    QTest::newRow("range view") << int(Layout::RangeView) << QString();
    QTest::newRow("fixed width") << int(Layout::FixedWidth) << "#main img {height: auto;}";
    QTest::newRow("width percent") << int(Layout::WidthPercent) << "#main img {height: auto;}";
    QTest::newRow("fixed height") << int(Layout::FixedHeight) << "#main img {width: auto;}";
    QTest::newRow("real size") << int(Layout::RealSize) << QString();
}

// The thumbnail's size attributes give every picture its box before it loads; the
// layout's rule sets one side, so the other must follow the shape, not the attribute.
void TestHtmlPage::thumbnailRule()
{
    QFETCH(int, layout);
    QFETCH(QString, rule);
    PageInput in = baseInput({"/a.jpg"});
    in.layout.layout = Layout(layout);
    const QStringList plain = buildPageLines(in);
    in.thumbnails = {{"/t/large/a.png", QSize(256, 144)}};
    QStringList lines = buildPageLines(in);
    const qsizetype at =
        lines.indexOf("<style type=\"text/css\">") + (in.layout.layout == Layout::RealSize ? 2 : 3);
    if (rule.isEmpty()) {
        QCOMPARE(lines.indexOf("</head>"), plain.indexOf("</head>"));
    } else {
        QCOMPARE(lines.at(at), rule);
        lines.removeAt(at);
    }
    QCOMPARE(lines.mid(0, at), plain.mid(0, at));
}

QTEST_MAIN(TestHtmlPage)
#include "tst_htmlpage.moc"
