// Runs the folder walk and the list building of the program over a folder, with no
// window, and prints what they achieve:
//
//   bench_scan [--threads N] [--rows N] [--walk-only] [--cache DIR [--first-only]] [--bare]
//              FOLDER
//
// --rows N   after the build, repeats the listed rows in the model until it holds N
//            rows, so the memory per listed image is measured at the scale the list
//            is meant for (100,000 rows) rather than dominated by start-up.
// --cache D  builds with the thumbnail cache in D/thumbnails, which must not exist yet:
//            a first scan, which fills the cache, then a second scan of the unchanged
//            folder. The cache is left for the caller to remove. Without it the cache
//            is off.
// --first-only  with --cache, stops after the first scan.
// --bare     instead of the build, only reads each JPEG and decodes it at 1/8 scale with
//            the codec's defaults, on the same threads: the decoder's own limit, the
//            distance to which is what the build spends beside the decode.
#include "platform/filesystem.h"
#include "scan/folderwalk.h"
#include "scan/imagelistbuilder.h"
#include "scan/imagelistmodel.h"
#include "scan/pathorder.h"
#include "tests/fakes/processmemory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

using namespace pelmaris::scan;

namespace {

// Processor time of the whole process (every thread): on a shared machine it moves
// far less from run to run than the time on the clock.
double processorSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

struct BuildFigures {
    double seconds = 0;
    double processor = 0;
    qint64 thumbBytes = 0;
};

// Builds the list of `files` into `model` as the window does: polling every 50 ms.
BuildFigures build(ImageListModel &model, const QStringList &files, int threads,
                   const BuildSettings &settings)
{
    BuildFigures figures;
    const auto fileSystem = pelmaris::platform::makeSystemFileSystem();
    ImageListBuilder builder(*fileSystem, threads);
    QElapsedTimer clock;
    clock.start();
    const double processorAtStart = processorSeconds();
    builder.start(files, settings);
    for (;;) {
        std::vector<DecodedRow> decoded;
        const auto progress = builder.take(decoded);
        std::vector<ListItem> rows;
        std::vector<QByteArray> thumbs;
        for (DecodedRow &d : decoded) {
            figures.thumbBytes += d.thumbnail.size();
            rows.push_back(std::move(d.item));
            thumbs.push_back(std::move(d.thumbnail));
        }
        model.appendRows(std::move(rows), std::move(thumbs));
        if (progress.done)
            break;
        QThread::msleep(50); // the window's polling interval
    }
    figures.seconds = clock.nsecsElapsed() / 1e9;
    figures.processor = processorSeconds() - processorAtStart;
    return figures;
}

// Reads and decodes every JPEG of `files` at 1/8 scale on `threads` threads, as a
// viewer that only needs the pixels would; returns the number decoded.
qint64 bareDecode(const QStringList &files, int threads)
{
    std::atomic<qsizetype> next{0};
    std::atomic<qint64> decoded{0};
    const auto work = [&] {
        std::vector<JSAMPLE> row;
        for (qsizetype i = next++; i < files.size(); i = next++) {
            QFile file(files[i]);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray bytes = file.readAll();
            if (!bytes.startsWith("\xff\xd8"))
                continue;
            jpeg_decompress_struct info{};
            jpeg_error_mgr errors{};
            info.err = jpeg_std_error(&errors);
            jpeg_create_decompress(&info);
            jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                         static_cast<unsigned long>(bytes.size()));
            jpeg_read_header(&info, TRUE);
            info.scale_num = 1;
            info.scale_denom = 8;
            jpeg_start_decompress(&info);
            row.resize(size_t(info.output_width) * size_t(info.output_components));
            JSAMPROW rows[1] = {row.data()};
            while (info.output_scanline < info.output_height)
                jpeg_read_scanlines(&info, rows, 1);
            jpeg_finish_decompress(&info);
            jpeg_destroy_decompress(&info);
            ++decoded;
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(work);
    for (std::thread &t : pool)
        t.join();
    return decoded;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int threads = QThread::idealThreadCount();
    qint64 wantRows = 0;
    bool walkOnly = false;
    bool bare = false;
    bool firstOnly = false;
    QString folder;
    QString cacheFolder;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--threads") && i + 1 < args.size())
            threads = args[++i].toInt();
        else if (args[i] == QLatin1String("--rows") && i + 1 < args.size())
            wantRows = args[++i].toLongLong();
        else if (args[i] == QLatin1String("--walk-only"))
            walkOnly = true;
        else if (args[i] == QLatin1String("--bare"))
            bare = true;
        else if (args[i] == QLatin1String("--first-only"))
            firstOnly = true;
        else if (args[i] == QLatin1String("--cache") && i + 1 < args.size())
            cacheFolder = args[++i];
        else
            folder = args[i];
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: bench_scan [--threads N] [--rows N] [--walk-only] "
                             "[--cache DIR [--first-only]] [--bare] FOLDER\n");
        return 2;
    }

    const auto fileSystem = pelmaris::platform::makeSystemFileSystem();
    // The best of five walks: the first warms the directory cache, and the machine is
    // shared, so the fastest run is the one least disturbed.
    WalkResult walk;
    double walkSeconds = 1e9;
    for (int round = 0; round < 5; ++round) {
        WalkControl control;
        QElapsedTimer clock;
        clock.start();
        walk = enumerateFiles(*fileSystem, folder, {}, control);
        walkSeconds = std::min(walkSeconds, clock.nsecsElapsed() / 1e9);
    }
    const qsizetype found = walk.files.size();
    QElapsedTimer sortClock;
    sortClock.start();
    RandomEngine engine = makeSeededEngine();
    SortScanList(walk.files, ScanOrder::NumericAscending, engine);
    const double sortSeconds = sortClock.nsecsElapsed() / 1e9;
    std::printf("walk: %lld files in %.3f s; numeric sort %.3f s\n", (long long)found, walkSeconds,
                sortSeconds);
    if (walkOnly) {
        std::printf("files enumerated per second: %.0f\n", found / walkSeconds);
        return 0;
    }

    if (bare) {
        QElapsedTimer clock;
        clock.start();
        const double processorAtStart = processorSeconds();
        const qint64 decoded = bareDecode(walk.files, threads);
        const double seconds = clock.nsecsElapsed() / 1e9;
        std::printf("bare 1/8 decode: %lld JPEGs in %.3f s on %d threads (processor %.3f s)\n",
                    (long long)decoded, seconds, threads, processorSeconds() - processorAtStart);
        std::printf("images decoded per second: %.1f\n", decoded / seconds);
        return 0;
    }

    const qint64 baselineKb = processStatusKb("VmRSS");
    ImageListModel model;
    BuildSettings settings;
    settings.useThumbnailCache = !cacheFolder.isEmpty();
    BuildFigures figures;
    if (cacheFolder.isEmpty()) {
        figures = build(model, walk.files, threads, settings);
    } else {
        settings.thumbnailFolder = cacheFolder + QStringLiteral("/thumbnails");
        if (QFileInfo::exists(settings.thumbnailFolder)) {
            std::fprintf(stderr, "bench_scan: %s exists; a first scan needs an empty cache\n",
                         qPrintable(settings.thumbnailFolder));
            return 2;
        }
        figures = build(model, walk.files, threads, settings);
        std::printf("first scan (cache filled): %lld listed in %.3f s, %.1f images/s, "
                    "processor %.3f s\n",
                    (long long)model.rowCount(), figures.seconds,
                    model.rowCount() / figures.seconds, figures.processor);
        if (!firstOnly) {
            const BuildFigures cold = figures;
            ImageListModel second;
            figures = build(second, walk.files, threads, settings);
            std::printf("second scan (from the cache): %lld listed in %.3f s, %.1f images/s, "
                        "processor %.3f s\n",
                        (long long)second.rowCount(), figures.seconds,
                        second.rowCount() / figures.seconds, figures.processor);
            std::printf("second scan faster than the first: %.1f times (processor %.1f times)\n",
                        cold.seconds / figures.seconds, cold.processor / figures.processor);
        }
    }
    const double buildSeconds = figures.seconds;
    const qint64 thumbBytes = figures.thumbBytes;
    const qint64 listed = model.rowCount();
    std::printf("build: %lld of %lld files listed in %.3f s on %d threads (processor %.3f s); "
                "thumbnails %.0f B on average\n",
                (long long)listed, (long long)found, buildSeconds, threads, figures.processor,
                listed ? double(thumbBytes) / listed : 0.0);

    // Scale the list up with copies of the real rows to see the cost per row.
    if (listed > 0 && wantRows > listed) {
        const std::vector<ListItem> real = model.items();
        std::vector<QByteArray> realThumbs;
        for (const ListItem &item : real)
            realThumbs.push_back(model.storedThumbnail(item.imageIndex));
        while (model.rowCount() < wantRows) {
            std::vector<ListItem> rows;
            std::vector<QByteArray> thumbs;
            for (size_t i = 0; i < real.size() && model.rowCount() + qint64(rows.size()) < wantRows;
                 ++i) {
                ListItem copy = real[i];
                copy.caption.detach();
                for (QString &s : copy.subItems)
                    s.detach();
                rows.push_back(std::move(copy));
                thumbs.push_back(QByteArray(realThumbs[i].constData(), realThumbs[i].size()));
            }
            model.appendRows(std::move(rows), std::move(thumbs));
        }
    }
    const qint64 rows = model.rowCount();
    const qint64 peakKb = processStatusKb("VmHWM");
    std::printf("memory: VmHWM %lld kB, before the build %lld kB, rows %lld\n", (long long)peakKb,
                (long long)baselineKb, (long long)rows);
    std::printf("images listed per second: %.1f\n", listed / buildSeconds);
    std::printf("files enumerated per second: %.0f\n", found / walkSeconds);
    std::printf(
        "peak resident memory per listed image: %.2f KiB (above the start-up baseline %.2f KiB)\n",
        rows ? double(peakKb) / rows : 0.0, rows ? double(peakKb - baselineKb) / rows : 0.0);
    return 0;
}
