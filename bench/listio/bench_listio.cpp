// Prints how long a 100,000-line list takes to load (read, parse, existence checks,
// rows into the model) and to save (build, encode, write), the longest stall of the
// event loop meanwhile, and how long the column sort of 100,000 rows takes.
//
//   bench_listio [rows]    (default 100000; the files are made in a temporary folder)

#include "listio/listfile.h"
#include "listio/listloader.h"
#include "listio/listsaver.h"
#include "platform/filesystem.h"
#include "scan/imagelistmodel.h"
#include "scan/listorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace pelmaris;

namespace {

// Measures the longest gap between ticks of a 1 ms timer: what the window would feel.
class StallMeter {
public:
    StallMeter()
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_max = std::max(m_max, m_clock.restart()); });
    }
    void start()
    {
        m_max = 0;
        m_clock.start();
        m_timer.start();
    }
    qint64 stop()
    {
        m_timer.stop();
        return std::max(m_max, m_clock.elapsed());
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_max = 0;
};

std::vector<scan::ListItem> makeFiles(const QString &root, int count)
{
    std::vector<scan::ListItem> rows;
    rows.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const QString folder =
            root + QStringLiteral("/folder %1").arg(i / 1000, 3, 10, QChar(u'0'));
        if (i % 1000 == 0)
            QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/写真 %1.jpg").arg(i);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
            std::exit(1);
        }
        scan::ListItem row;
        row.caption = path;
        row.subItems = {QStringLiteral("jpeg"), QString::number(1000 + (i * 7919) % 5000000),
                        QStringLiteral("1,920"), QStringLiteral("1,080"),
                        QStringLiteral("2024/05/06 07:08:09")};
        rows.push_back(std::move(row));
    }
    return rows;
}

void benchSave(const listio::SaveTarget &target, const std::vector<scan::ListItem> &rows,
               const QStringList &paths, const char *label)
{
    listio::ListSaver saver;
    StallMeter stall;
    QEventLoop loop;
    listio::SaveResult result;
    QObject::connect(&saver, &listio::ListSaver::saveFinished, [&](const listio::SaveResult &r) {
        result = r;
        loop.quit();
    });
    QElapsedTimer clock;
    clock.start();
    stall.start();
    saver.start(target, rows, paths);
    loop.exec();
    const qint64 ms = clock.elapsed();
    std::printf("save %-6s %7lld lines  %5lld ms  (longest stall %lld ms)%s\n", label,
                qint64(result.lines), ms, stall.stop(), result.outcome.ok() ? "" : "  FAILED");
}

void benchLoad(const QString &path, const char *label)
{
    scan::ImageListModel model;
    const auto fileSystem = platform::makeSystemFileSystem();
    listio::ListLoader loader(model, *fileSystem);
    StallMeter stall;
    QEventLoop loop;
    QObject::connect(&loader, &listio::ListLoader::loadFinished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    stall.start();
    const auto file = listio::readListFile(path);
    const qint64 readMs = clock.elapsed();
    loader.loadList(file.ok() ? *file : listio::ListSource());
    loop.exec();
    const qint64 ms = clock.elapsed();
    std::printf("load %-6s %7d rows   %5lld ms  (read and decode %lld ms, longest stall %lld ms)\n",
                label, model.rowCount(), ms, readMs, stall.stop());
}

void benchSort(const std::vector<scan::ListItem> &rows, int sortColumn, const char *label)
{
    scan::ImageListModel model;
    model.appendRows(rows, {});
    QElapsedTimer clock;
    clock.start();
    model.sortByColumn(sortColumn);
    std::printf("column sort %-18s %7zu rows  %5lld ms\n", label, rows.size(), clock.elapsed());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    QElapsedTimer clock;
    clock.start();
    std::vector<scan::ListItem> rows = makeFiles(dir.path() + QStringLiteral("/files"), count);
    QStringList paths;
    for (const scan::ListItem &row : rows)
        paths << row.caption;
    std::printf("made %d files in %lld ms\n", count, clock.elapsed());

    const QString csv = dir.filePath(QStringLiteral("list.csv"));
    const QString txt = dir.filePath(QStringLiteral("list.txt"));
    benchSave({csv, listio::ListForm::Detail}, rows, paths, "detail");
    benchSave({txt, listio::ListForm::Path}, rows, paths, "path");
    benchLoad(csv, "detail");
    benchLoad(txt, "path");

    benchSort(rows, 1, "name ascending");
    benchSort(rows, -1, "name descending");
    benchSort(rows, -3, "size descending");
    benchSort(rows, 6, "time ascending");
    return 0;
}
