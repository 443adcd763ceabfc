// Loads one list file in a process of its own and reports what the load took: the peak
// resident memory above what the process held before the file was read, and that per
// 100 MB of input. The address space is capped (but for the address sanitizer's
// builds), so a load gone wrong fails instead of taking the machine.
//
//   listprobe FILE [rows]   prints "rows N lines L grew_kb K per_100mb_kb P"
//
// With "rows" every line's path counts as an existing file, so the figure is that of
// the rows made; without, no line makes a row.
#include "listio/listfile.h"
#include "listio/listloader.h"
#include "platform/filesystem.h"
#include "scan/imagelistmodel.h"
#include "tests/fakes/processmemory.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>

using namespace pelmaris;

namespace {

constexpr rlim_t kAddressSpace = rlim_t(6) * 1024 * 1024 * 1024;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: listprobe FILE [rows]\n");
        return 2;
    }
#ifndef __SANITIZE_ADDRESS__ // the address sanitizer reserves terabytes of address space
    const rlimit limit{kAddressSpace, kAddressSpace};
    setrlimit(RLIMIT_AS, &limit);
#endif
    const bool rows = argc > 2 && std::strcmp(argv[2], "rows") == 0;
    scan::ImageListModel model;
    const auto fileSystem = platform::makeSystemFileSystem();
    listio::ListLoader loader(model, *fileSystem);
    loader.setFileTest([rows](const QString &) { return rows; });
    QEventLoop loop;
    QObject::connect(&loader, &listio::ListLoader::loadFinished, &loop, &QEventLoop::quit);
    qint64 lines = 0;
    QObject::connect(&loader, &listio::ListLoader::loadProgress,
                     [&lines](qint64, qint64 all, qint64, bool) { lines = all; });
    // A first small load starts the workers and the model, which are not the text's.
    loader.LoadListFromText(QStringLiteral("/warm\n"));
    loop.exec();

    const qint64 before = processStatusKb("VmRSS");
    QFile reset(QStringLiteral("/proc/self/clear_refs")); // the peak afresh from here
    if (reset.open(QIODevice::WriteOnly))
        reset.write("5");
    reset.close();
    qint64 inputBytes = 0;
    {
        auto file = listio::readListFile(QFile::decodeName(argv[1]));
        if (!file) {
            std::fprintf(stderr, "listprobe: %s\n", qPrintable(file.outcome().text()));
            return 2;
        }
        inputBytes = file->bytes.size();
        loader.loadList(std::move(*file));
    }
    loop.exec();
    const qint64 grew = processStatusKb("VmHWM") - before;
    const qint64 per100Mb = inputBytes > 0 ? grew * 100'000'000 / inputBytes : 0;
    std::printf("rows %d lines %lld grew_kb %lld per_100mb_kb %lld\n", model.rowCount(),
                (long long)lines, (long long)grew, (long long)per100Mb);
    return 0;
}
