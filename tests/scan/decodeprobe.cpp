// Decodes one file for the list in a process of its own and reports what the decode
// took: the peak resident memory above what the process held before it. The address
// space is capped (but for the address sanitizer's builds), so a decode gone wrong fails
// instead of taking the machine.
//
//   decodeprobe WARMUP FILE    prints "listed 0|1 grew_kb N reserved_kb M"
//
// M is the most the decode reserved in its budget: what it said it would hold.
//
// WARMUP, a small picture, is decoded first so the libraries' own start-up is not
// counted.
#include "platform/filesystem.h"
#include "scan/decodebudget.h"
#include "scan/thumbnail.h"
#include "tests/fakes/processmemory.h"

#include <QFile>
#include <QGuiApplication>

#include <sys/resource.h>

#include <cstdio>

using namespace pelmaris::scan;

namespace {

constexpr rlim_t kAddressSpace = rlim_t(4) * 1024 * 1024 * 1024;

bool decode(const char *path, DecodeBudget *budget = nullptr)
{
    ThumbnailRequest request;
    request.path = QFile::decodeName(path);
    request.budget = budget;
    return decodeForList(*pelmaris::platform::makeSystemFileSystem(), request).has_value();
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv); // SVG text is drawn with fonts
    if (argc != 3) {
        std::fprintf(stderr, "usage: decodeprobe WARMUP FILE\n");
        return 2;
    }
#ifndef __SANITIZE_ADDRESS__ // the address sanitizer reserves terabytes of address space
    const rlimit limit{kAddressSpace, kAddressSpace};
    setrlimit(RLIMIT_AS, &limit);
#endif
    if (!decode(argv[1])) {
        std::fprintf(stderr, "decodeprobe: the warm-up picture did not decode\n");
        return 2;
    }
    const qint64 before = processStatusKb("VmRSS");
    // Start the peak afresh from here (Linux 4.0 and later); else it stays the
    // larger of the two, which only makes the figure cautious.
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (reset.open(QIODevice::WriteOnly))
        reset.write("5");
    reset.close();
    DecodeBudget budget(DecodeBudget::kDefaultBytes);
    const bool listed = decode(argv[2], &budget);
    const qint64 peak = processStatusKb("VmHWM");
    std::printf("listed %d grew_kb %lld reserved_kb %lld\n", listed ? 1 : 0,
                (long long)(peak - before), (long long)(budget.peak() / 1024));
    return 0;
}
