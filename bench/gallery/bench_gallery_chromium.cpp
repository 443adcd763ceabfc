// Opens gallery pages of 1,000, 3,000 and 10,000 photos in headless Chromium (a
// 1600 x 1000 window) and prints the time to the first screenshot and Chromium's peak
// memory (the proportional set size summed over its processes), with the pages shown
// from their originals and from their cache thumbnails.
//
//   bench_gallery_chromium [work folder] [counts...]
//
// The work folder (default /tmp/pelmaris-gallery-bench) keeps the photos between runs:
// 100 distinct 1920 x 1080 JPEGs of camera-like size, hard-linked under 10,000 names so
// that every page path is a file of its own for the browser and the cache. The thumbnail
// cache is the folder's own; the time to make the missing thumbnails is printed too.
// Goal: 10,000 photos from thumbnails on the first screen within 2 s, under 1 GB. The
// first row, an empty page, is Chromium's own start in the same run.

#include "gallery/htmlpage.h"
#include "gallery/pagethumbnailer.h"
#include "gallery/pagewriter.h"
#include "platform/filesystem.h"
#include "scan/thumbnailcache.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <QUrl>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace pelmaris;
using namespace pelmaris::gallery;

namespace {

const QString Chromium = QStringLiteral("/usr/bin/chromium");
constexpr int Distinct = 100;
constexpr int OffLimitSeconds = 120;

// Noise over gradients and shapes: compresses like a photo (some 600 KB at quality 90).
QImage photo(int seed)
{
    QRandomGenerator random(quint32(seed + 1));
    QImage image(1920, 1080, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 1920, 1080);
    g.setColorAt(0, QColor::fromHsv(int(random.bounded(360)), 160, 220));
    g.setColorAt(1, QColor::fromHsv(int(random.bounded(360)), 200, 90));
    p.fillRect(image.rect(), g);
    for (int i = 0; i < 40; ++i) {
        p.setBrush(QColor::fromHsv(int(random.bounded(360)), 180, 200, 160));
        p.drawEllipse(QPoint(int(random.bounded(1920)), int(random.bounded(1080))),
                      int(random.bounded(300)), int(random.bounded(300)));
    }
    p.end();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(random.bounded(24)) - 12;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255),
                           qBound(0, qBlue(c) + n, 255));
        }
    }
    return image;
}

QStringList makePhotos(const QString &folder, int count)
{
    QDir().mkpath(folder + "/originals");
    for (int i = 0; i < Distinct; ++i) {
        const QString path = folder + QStringLiteral("/originals/%1.jpg").arg(i);
        if (!QFile::exists(path))
            photo(i).save(path, "JPEG", 90);
    }
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString dir = folder + QStringLiteral("/photos/%1").arg(i / 1000);
        const QString path = dir + QStringLiteral("/IMG_%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        if (!QFile::exists(path)) {
            QDir().mkpath(dir);
            // A hard link, not a symbolic one: each name is a file of its own.
            if (::link(QFile::encodeName(folder +
                                         QStringLiteral("/originals/%1.jpg").arg(i % Distinct))
                           .constData(),
                       QFile::encodeName(path).constData()) != 0)
                return {};
        }
        paths << path;
    }
    return paths;
}

// Every process below `root`, itself included.
QList<int> processTree(int root)
{
    QMap<int, int> parent;
    for (const QString &entry : QDir("/proc").entryList(QDir::Dirs)) {
        bool ok = false;
        const int pid = entry.toInt(&ok);
        if (!ok)
            continue;
        QFile stat("/proc/" + entry + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const qsizetype close = text.lastIndexOf(')');
        const QList<QByteArray> fields = text.mid(close + 2).split(' ');
        if (fields.size() > 1)
            parent[pid] = fields.at(1).toInt();
    }
    QList<int> tree{root};
    for (qsizetype i = 0; i < tree.size(); ++i)
        for (auto it = parent.begin(); it != parent.end(); ++it)
            if (it.value() == tree.at(i))
                tree << it.key();
    return tree;
}

qint64 pssKiB(int pid)
{
    QFile f(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').first().toLongLong();
    return 0;
}

struct Shot {
    double seconds = 0;
    qint64 peakMiB = 0;
    bool finished = false;
};

Shot screenshot(const QString &page, const QString &folder, int limitSeconds)
{
    QTemporaryDir profile(folder + "/profile-XXXXXX");
    const QString png = profile.path() + "/shot.png";
    QProcess chromium;
    chromium.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    chromium.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    chromium.start(Chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                              "--disable-background-networking", "--disable-component-update",
                              "--disable-sync", "--user-data-dir=" + profile.path(),
                              "--allow-file-access-from-files", "--hide-scrollbars",
                              "--window-size=1600,1000", "--screenshot=" + png,
                              QUrl::fromLocalFile(page).toString()});
    Shot shot;
    if (!chromium.waitForStarted())
        return shot;
    qint64 peak = 0;
    while (!chromium.waitForFinished(100)) {
        qint64 sum = 0;
        for (int pid : processTree(int(chromium.processId())))
            sum += pssKiB(pid);
        peak = std::max(peak, sum);
        if (timer.elapsed() > limitSeconds * 1000) {
            for (int pid : processTree(int(chromium.processId())))
                ::kill(pid, SIGKILL);
            chromium.waitForFinished();
            shot.seconds = timer.elapsed() / 1000.0;
            shot.peakMiB = peak / 1024;
            return shot;
        }
    }
    shot.seconds = timer.elapsed() / 1000.0;
    shot.peakMiB = peak / 1024;
    shot.finished = QFileInfo(png).size() > 0;
    return shot;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString folder =
        args.size() > 1 ? args.at(1) : QStringLiteral("/tmp/pelmaris-gallery-bench");
    QList<int> counts;
    for (qsizetype i = 2; i < args.size(); ++i)
        counts << args.at(i).toInt();
    if (counts.isEmpty())
        counts = {1000, 3000, 10000};
    if (!QFileInfo(Chromium).isExecutable()) {
        std::printf("Chromium is not installed at %s\n", qPrintable(Chromium));
        return 1;
    }
    const int most = *std::max_element(counts.begin(), counts.end());
    QElapsedTimer timer;
    timer.start();
    const QStringList all = makePhotos(folder, most);
    if (all.size() != most) {
        std::printf("could not make the photos under %s\n", qPrintable(folder));
        return 1;
    }
    std::printf("photos ready: %d names of %d distinct 1920x1080 JPEGs (%.1f s)\n", most, Distinct,
                timer.elapsed() / 1000.0);

    const QString cacheFolder = folder + "/cache/thumbnails";
    const QSize workArea(1600, 1000);
    std::printf("%8s  %-3s  %12s  %14s  %s\n", "photos", "thumbnails", "first screen",
                "peak memory", "thumbnails made in");
    // Chromium's own start, on an empty page: what no page can go below in this run.
    const QString empty = folder + QStringLiteral("/empty.html");
    writePageFile(
        empty, {QStringLiteral("<!DOCTYPE html>"), QStringLiteral("<html><body></body></html>")});
    const Shot start = screenshot(empty, folder, 600);
    std::printf("%8s  %-10s  %10.1f s  %10lld MiB  %s\n", "empty", "-", start.seconds,
                start.peakMiB, "-");
    for (int count : counts) {
        const QStringList paths = all.mid(0, count);
        for (bool thumbnails : {true, false}) {
            PageInput in;
            in.paths = paths;
            in.layout.layout = Layout::RangeView;
            in.workArea = workArea;
            in.colors = {QColor(0xf0f0f0), Qt::black, QColor(), false};
            in.pageIconPath = folder + "/page.ico";
            in.driveIconPath = folder + "/page.icon";
            in.title = folder;
            in.folderPath = folder;
            in.generated = QDateTime::currentDateTime();
            in.programFileName = "Pelmaris";
            in.locale = QLocale::c();
            QString made = QStringLiteral("-");
            if (thumbnails) {
                const auto fileSystem = pelmaris::platform::makeSystemFileSystem();
                PageThumbnailer thumbnailer(*fileSystem, cacheFolder);
                QEventLoop loop;
                QObject::connect(&thumbnailer, &PageThumbnailer::finished, &loop,
                                 [&](const QList<PageThumbnail> &t) {
                                     in.thumbnails = t;
                                     loop.quit();
                                 });
                timer.restart();
                thumbnailer.start(paths, pageThumbnailEdge(in.layout, workArea, count));
                loop.exec();
                made = QStringLiteral("%1 s").arg(timer.elapsed() / 1000.0, 0, 'f', 1);
            }
            const QString page =
                folder +
                QStringLiteral("/page-%1-%2.html").arg(count).arg(thumbnails ? "on" : "off");
            writePageFile(page, buildPageLines(in));
            const Shot shot = screenshot(page, folder, thumbnails ? 600 : OffLimitSeconds);
            if (shot.finished)
                std::printf("%8d  %-10s  %10.1f s  %10lld MiB  %s\n", count,
                            thumbnails ? "on" : "off", shot.seconds, shot.peakMiB,
                            qPrintable(made));
            else
                std::printf("%8d  %-10s  no screenshot within %.0f s (peak %lld MiB so far)  %s\n",
                            count, thumbnails ? "on" : "off", shot.seconds, shot.peakMiB,
                            qPrintable(made));
            std::fflush(stdout);
        }
    }
    return 0;
}
