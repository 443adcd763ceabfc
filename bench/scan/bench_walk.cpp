// The folder walk beside `find -type f`, and the path orders over what it found:
//
//   bench_walk [--rounds N] FOLDER
//
// Prints the best of N rounds (default 5; the machine is shared, so the fastest round
// is the one least disturbed), each way of measuring on its own line:
//   walk alone        enumerateFiles in this process, warm cache
//   whole process     this program started with --once, beside find started the same way
// and then the time each of the five orders takes to sort the files found.
#include "platform/filesystem.h"
#include "scan/folderwalk.h"
#include "scan/pathorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace pelmaris;

namespace {

double bestOf(int rounds, const std::function<void()> &run)
{
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        run();
        best = std::min(best, clock.nsecsElapsed() / 1e9);
    }
    return best;
}

double processSeconds(int rounds, const QString &program, const QStringList &arguments)
{
    return bestOf(rounds, [&] {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(program, arguments);
        process.waitForFinished(-1);
    });
}

} // namespace

int main(int argc, char **argv)
{
    // The whole-process round: no application object, nothing but the walk.
    if (argc == 3 && std::strcmp(argv[1], "--once") == 0) {
        scan::WalkControl control;
        const auto fileSystem = platform::makeSystemFileSystem();
        const auto result = scan::enumerateFiles(*fileSystem, QString::fromLocal8Bit(argv[2]),
                                                 scan::WalkOptions{}, control);
        std::printf("%lld\n", static_cast<long long>(result.files.size()));
        // The program keeps what it found; freeing it here is no part of the walk.
        std::fflush(stdout);
        std::_Exit(0);
    }

    QCoreApplication app(argc, argv);
    int rounds = 5;
    QString folder;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--rounds") && i + 1 < args.size())
            rounds = std::max(1, args[++i].toInt());
        else
            folder = args[i];
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: bench_walk [--rounds N] FOLDER\n");
        return 2;
    }

    const auto fileSystem = platform::makeSystemFileSystem();
    // Each round's list is freed after its clock stops, as the program keeps its list.
    scan::WalkResult walk;
    double walkSeconds = 1e9;
    for (int i = 0; i < rounds; ++i) {
        scan::WalkControl control;
        QElapsedTimer clock;
        clock.start();
        scan::WalkResult result = scan::enumerateFiles(*fileSystem, folder, {}, control);
        walkSeconds = std::min(walkSeconds, clock.nsecsElapsed() / 1e9);
        walk = std::move(result);
    }
    const double files = double(walk.files.size());
    const double findSeconds =
        processSeconds(rounds, QStringLiteral("find"), {folder, QStringLiteral("-type"), "f"});
    const double ourProcessSeconds =
        processSeconds(rounds, app.applicationFilePath(), {QStringLiteral("--once"), folder});

    std::printf("files: %.0f (left out: %s)\n", files,
                walk.leftOut.any() ? qPrintable(scan::leftOutText(walk.leftOut)) : "nothing");
    std::printf("walk alone        %8.3f s  %10.0f files/s  (%.2fx find's whole run)\n",
                walkSeconds, files / walkSeconds, findSeconds / walkSeconds);
    std::printf("whole process     %8.3f s  %10.0f files/s  (%.2fx find's whole run)\n",
                ourProcessSeconds, files / ourProcessSeconds, findSeconds / ourProcessSeconds);
    std::printf("find -type f      %8.3f s  %10.0f files/s\n", findSeconds, files / findSeconds);

    const std::pair<const char *, scan::ScanOrder> orders[] = {
        {"numeric ascending", scan::ScanOrder::NumericAscending},
        {"numeric descending", scan::ScanOrder::NumericDescending},
        {"dictionary ascending", scan::ScanOrder::DictionaryAscending},
        {"dictionary descending", scan::ScanOrder::DictionaryDescending},
        {"random", scan::ScanOrder::Random},
    };
    scan::RandomEngine engine = scan::makeSeededEngine();
    for (const auto &[name, order] : orders) {
        const double seconds = bestOf(std::min(rounds, 3), [&, order = order] {
            QStringList paths = walk.files;
            scan::SortScanList(paths, order, engine);
        });
        std::printf("sort %-22s %8.3f s for %.0f paths\n", name, seconds, files);
    }
    return 0;
}
