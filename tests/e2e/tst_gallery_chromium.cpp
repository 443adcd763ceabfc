#include "fakeservices.h"
#include "gallery/htmlpage.h"
#include "gallery/pagethumbnails.h"
#include "gallery/pagewriter.h"
#include "platform/filesystem.h"
#include "scan/thumbnailcache.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QUrl>

#include <algorithm>

using namespace pelmaris;
using namespace pelmaris::gallery;

namespace {

const QString Chromium = QStringLiteral("/usr/bin/chromium");

// Added before </body> of a copy of the page: lists every image with its natural width
// and every link, once the page and its images have loaded.
const QString Probe = QStringLiteral(
    "<script>window.addEventListener('load', () => {"
    "const r = {title: document.title,"
    " images: [...document.images].map(i => ({src: i.src, width: i.naturalWidth,"
    "   title: i.getAttribute('title')})),"
    " top: [...document.querySelectorAll('#top a')].map(a => ({href: a.href, text: "
    "a.textContent})),"
    " main: [...document.querySelectorAll('#main a')].map(a => a.href)};"
    "const pre = document.createElement('pre'); pre.id = 'probe';"
    "pre.textContent = JSON.stringify(r); document.body.appendChild(pre);});</script>");

// The same for a long page: which pictures the browser was given by the time the page
// had loaded, and after a scroll to its end. (The browser's own scroll event needs it to
// draw frames, which a headless dump does not do reliably: the probe sends one.)
const QString LongPageProbe = QStringLiteral(
    "<script>window.addEventListener('load', () => {"
    "const given = () => [...document.querySelectorAll('#main img')].map(i => i.src !== '');"
    "const r = {atLoad: given(), firstWidth: document.querySelector('#main img').naturalWidth};"
    "window.scrollTo(0, document.body.scrollHeight);"
    "window.dispatchEvent(new Event('scroll'));"
    "r.atEnd = given();"
    "const pre = document.createElement('pre'); pre.id = 'probe';"
    "pre.textContent = JSON.stringify(r); document.body.appendChild(pre);});"
    "</script>");

QString localPath(const QString &href)
{
    return QUrl(href).toLocalFile();
}

} // namespace

class TestGalleryChromium : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void pageLoads_data();
    void pageLoads();
    void farPicturesAreHeldBack();

private:
    QJsonObject loadInChromium(const QString &page, const QString &probe = Probe);

    QTemporaryDir m_dir;
    QString m_folder;
    QStringList m_images;
};

void TestGalleryChromium::initTestCase()
{
    if (!QFileInfo(Chromium).isExecutable())
        QSKIP("Chromium is not installed");
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.path() + QStringLiteral("/写真 #1 & 100%/a \"b\" 'c'");
    QVERIFY(QDir().mkpath(m_folder));
    const QStringList names = {"plain.png",    "with blank.png", "hash#1.png", "pct 100%.png",
                               "amp&amp;.png", "quote\"d.png",   "it's.png",   "日本語の画像.png",
                               "q?x=1.png",    "<b>bold<i>.png"};
    int hue = 0;
    for (const QString &name : names) {
        QImage image(24 + hue / 10, 16, QImage::Format_RGB32);
        image.fill(QColor::fromHsv(hue, 200, 200));
        hue += 30;
        const QString path = m_folder + '/' + name;
        QVERIFY2(image.save(path, "PNG"), qPrintable(path));
        m_images << path;
    }
}

QJsonObject TestGalleryChromium::loadInChromium(const QString &page, const QString &probe)
{
    QFile in(page);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QString html = QString::fromUtf8(in.readAll());
    html.replace(QStringLiteral("</body>\r\n"), probe + QStringLiteral("\r\n</body>\r\n"));
    const QString probed = page + QStringLiteral(".probe.html");
    QFile out(probed);
    if (!out.open(QIODevice::WriteOnly))
        return {};
    out.write(html.toUtf8());
    out.close();

    QTemporaryDir profile;
    QProcess chromium;
    chromium.setProcessChannelMode(QProcess::SeparateChannels);
    chromium.start(Chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                              "--disable-background-networking", "--disable-component-update",
                              "--disable-sync", "--user-data-dir=" + profile.path(),
                              "--allow-file-access-from-files", "--virtual-time-budget=5000",
                              "--dump-dom", QUrl::fromLocalFile(probed).toString()});
    if (!chromium.waitForFinished(60000)) {
        chromium.kill();
        chromium.waitForFinished();
        return {};
    }
    const QString dom = QString::fromUtf8(chromium.readAllStandardOutput());
    static const QRegularExpression re(QStringLiteral("<pre id=\"probe\">(.*)</pre>"),
                                       QRegularExpression::DotMatchesEverythingOption |
                                           QRegularExpression::InvertedGreedinessOption);
    const QRegularExpressionMatch m = re.match(dom);
    if (!m.hasMatch()) {
        qWarning("%s", chromium.readAllStandardError().right(2000).constData());
        return {};
    }
    const QString json = QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText();
    return QJsonDocument::fromJson(json.toUtf8()).object();
}

void TestGalleryChromium::pageLoads_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<int>("layout");
    QTest::addColumn<bool>("duplicate");
    QTest::addColumn<bool>("thumbnails");
    QTest::newRow("light, range view") << false << int(Layout::RangeView) << false << false;
    QTest::newRow("dark, real size, a path twice")
        << true << int(Layout::RealSize) << true << false;
    // The cache's own folder has a troublesome name too.
    QTest::newRow("from thumbnails, fixed width")
        << false << int(Layout::FixedWidth) << false << true;
    QTest::newRow("from thumbnails, real size, a path twice")
        << true << int(Layout::RealSize) << true << true;
}

void TestGalleryChromium::pageLoads()
{
    QFETCH(bool, dark);
    QFETCH(int, layout);
    QFETCH(bool, duplicate);
    QFETCH(bool, thumbnails);
    fakes::FakePlatform fp;
    fp.styles.setDark(dark);
    QPixmap pm(16, 16);
    pm.fill(Qt::darkGreen);
    fp.shell.icon = QIcon(pm);

    PageRequest r;
    r.paths = m_images;
    if (duplicate)
        r.paths << m_images.first();
    r.layout.layout = Layout(layout);
    r.light = !dark;
    const QString stem = m_dir.path() + QStringLiteral("/tmp%1").arg(layout);
    r.files = {stem + ".html", stem + ".ico", stem + ".icon"};
    r.title = m_folder;
    r.folderPath = m_folder;
    r.programIcon = QIcon(pm);
    QStringList shown = r.paths; // what each gallery image shows
    if (thumbnails) {
        const auto fileSystem = pelmaris::platform::makeSystemFileSystem();
        const pelmaris::scan::ThumbnailCache cache(
            *fileSystem, m_dir.path() + QStringLiteral("/キャッシュ #1 \"100%\"/thumbnails"));
        for (qsizetype i = 0; i < r.paths.size(); ++i) {
            r.thumbnails << pageThumbnail(*fileSystem, cache, r.paths.at(i), 256);
            QVERIFY(r.thumbnails.last().file.contains("/large/"));
            shown[i] = r.thumbnails.last().file;
        }
    }
    QVERIFY(writeHtmlFile(fp.services(), r).ok());
    QVERIFY(fp.dialogs.calls.isEmpty());

    const QJsonObject result = loadInChromium(r.files.html);
    QVERIFY2(!result.isEmpty(), "Chromium gave no result");
    QCOMPARE(result["title"].toString(), m_folder);

    // Every image, in the header and the gallery, the drive icon included, has loaded.
    const QJsonArray images = result["images"].toArray();
    QCOMPARE(images.size(), 2 + 1 + r.paths.size());
    for (const QJsonValue &v : images) {
        const QJsonObject image = v.toObject();
        QVERIFY2(image["width"].toInt() > 0, qPrintable(image["src"].toString()));
    }
    const QStringList titles = imageTitles(r.paths);
    for (qsizetype i = 0; i < r.paths.size(); ++i) {
        const QJsonObject image = images.at(3 + i).toObject();
        QCOMPARE(localPath(image["src"].toString()), shown.at(i));
        QCOMPARE(image["title"].toString(), titles.at(i));
        QCOMPARE(localPath(result["main"].toArray().at(i).toString()), r.paths.at(i));
    }

    // The header: first and last image links, then one link per folder from the root.
    const QJsonArray top = result["top"].toArray();
    const QStringList walk = folderWalk(m_folder);
    QCOMPARE(top.size(), 4 + walk.size());
    QCOMPARE(localPath(top.at(1)["href"].toString()), r.paths.first());
    QCOMPARE(top.at(1)["text"].toString(), r.paths.first());
    QCOMPARE(top.at(3)["text"].toString(), r.paths.last());
    for (qsizetype i = 0; i < walk.size(); ++i) {
        const QJsonObject link = top.at(4 + i).toObject();
        QString folder = localPath(link["href"].toString());
        if (folder.size() > 1 && folder.endsWith('/'))
            folder.chop(1);
        QCOMPARE(folder, walk.at(i));
        QCOMPARE(link["text"].toString(), folderLinkText(walk.at(i)));
    }
    QCOMPARE(top.last()["text"].toString(), "a \"b\" 'c'");
}

// A page of many pictures from thumbnails holds only those near the window: the browser
// is given the first screens' pictures, not the far ones.
void TestGalleryChromium::farPicturesAreHeldBack()
{
    const QString folder = m_dir.path() + QStringLiteral("/long");
    QVERIFY(QDir().mkpath(folder));
    QStringList photos;
    for (int i = 0; i < 10; ++i) {
        QImage image(600, 400, QImage::Format_RGB32);
        image.fill(QColor::fromHsv(i * 36, 200, 200));
        photos << folder + QStringLiteral("/%1.png").arg(i);
        QVERIFY(image.save(photos.last(), "PNG"));
    }
    fakes::FakePlatform fp;
    PageRequest r;
    for (int i = 0; i < 30; ++i)
        r.paths << photos;
    r.layout.layout = Layout::RealSize;
    r.light = true;
    const QString stem = folder + QStringLiteral("/page");
    r.files = {stem + ".html", stem + ".ico", stem + ".icon"};
    r.title = folder;
    r.folderPath = folder;
    const auto fileSystem = pelmaris::platform::makeSystemFileSystem();
    const pelmaris::scan::ThumbnailCache cache(*fileSystem, folder + QStringLiteral("/thumbnails"));
    for (const QString &path : r.paths)
        r.thumbnails << pageThumbnail(*fileSystem, cache, path, 256);
    QVERIFY(writeHtmlFile(fp.services(), r).ok());

    const QJsonObject result = loadInChromium(r.files.html, LongPageProbe);
    QVERIFY2(!result.isEmpty(), "Chromium gave no result");
    const QJsonArray atLoad = result["atLoad"].toArray();
    QCOMPARE(atLoad.size(), r.paths.size());
    QVERIFY(atLoad.first().toBool());
    QVERIFY(result["firstWidth"].toInt() > 0);
    const auto given =
        std::count_if(atLoad.begin(), atLoad.end(), [](const QJsonValue &v) { return v.toBool(); });
    QVERIFY2(given < r.paths.size() / 4, qPrintable(QString::number(given)));
    QVERIFY(!atLoad.last().toBool());

    // Scrolled to the end, the last pictures are given; those of the middle, more than
    // a screen above the window, are still held back.
    const QJsonArray atEnd = result["atEnd"].toArray();
    QCOMPARE(atEnd.size(), r.paths.size());
    QVERIFY(atEnd.first().toBool());
    QVERIFY(atEnd.last().toBool());
    QVERIFY(!atEnd.at(r.paths.size() / 2).toBool());
}

QTEST_MAIN(TestGalleryChromium)
#include "tst_gallery_chromium.moc"
