// Builds and writes a gallery page of 100,000 paths and prints the time taken.
// Goal: under 0.3 s for the whole run.

#include "gallery/htmlpage.h"
#include "gallery/pagewriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace pelmaris::gallery;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir dir;

    PageInput in;
    in.workArea = QSize(1920, 1040);
    in.colors = {QColor(0x272727), QColor(0xffffff), QColor(0x373737), true};
    in.pageIconPath = dir.path() + "/tmp.ico";
    in.driveIconPath = dir.path() + "/tmp.icon";
    in.title = "/home/user/Pictures";
    in.folderPath = "/home/user/Pictures/2024";
    in.generated = QDateTime::currentDateTime();
    in.programFileName = "Pelmaris";
    in.paths.reserve(count);
    for (int i = 0; i < count; ++i)
        in.paths << QStringLiteral("/home/user/Pictures/%1/旅行 %2/IMG_%3.jpg")
                        .arg(2000 + i % 25)
                        .arg(i % 97)
                        .arg(i, 6, 10, QLatin1Char('0'));

    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QStringList lines = buildPageLines(in);
        const qint64 built = timer.nsecsElapsed();
        if (!writePageFile(dir.path() + "/page.html", lines)) {
            std::fprintf(stderr, "write failed\n");
            return 1;
        }
        const double total = timer.nsecsElapsed() / 1e9;
        std::printf("run %d: %d paths, build %.3f s, build+write %.3f s\n", run + 1, count,
                    built / 1e9, total);
        best = std::min(best, total);
    }
    std::printf("best: %.3f s (goal 0.300 s)\n", best);
    return 0;
}
