// Decodes pictures for the viewer and prints, per file, the time taken, the picture's
// own size, the size kept in memory, the most the decode budget held and the process's
// peak resident memory so far. Goals: a 100-megapixel photo kept whole within the budget
// in under 3 s; a 20000 x 20000 JPEG (400 megapixels) kept at half its size, under 3 s.
//
//   vips black /tmp/huge.jpg 20000 20000      # a real one, written in strips
//   build/bench/gallery/bench_viewer_picture /tmp/huge.jpg photo.jpg ...

#include "gallery/viewerpicture.h"
#include "platform/filesystem.h"
#include "scan/decodebudget.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <sys/resource.h>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PICTURE...\n", argv[0]);
        return 2;
    }
    const auto fileSystem = pelmaris::platform::makeSystemFileSystem();
    for (int i = 1; i < argc; ++i) {
        QElapsedTimer timer;
        timer.start();
        pelmaris::scan::DecodeBudget budget(pelmaris::scan::DecodeBudget::kDefaultBytes);
        pelmaris::gallery::ViewerRequest request;
        request.path = QString::fromLocal8Bit(argv[i]);
        request.budget = &budget;
        request.screen = QSize(1920, 1080);
        const auto picture = pelmaris::gallery::loadViewerPicture(*fileSystem, request);
        const double seconds = timer.nsecsElapsed() / 1e9;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%s: %.3f s, real %dx%d, kept %dx%d (%.1f MiB), budget peak %.1f MiB, "
                    "process peak %.1f MiB\n",
                    argv[i], seconds, picture.realSize.width(), picture.realSize.height(),
                    picture.image.width(), picture.image.height(),
                    picture.image.sizeInBytes() / 1048576.0, budget.peak() / 1048576.0,
                    usage.ru_maxrss / 1024.0);
    }
    return 0;
}
