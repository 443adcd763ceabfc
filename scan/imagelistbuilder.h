#pragma once

#include "scan/decodebudget.h"
#include "scan/thumbnail.h"

#include <QStringList>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <vector>

namespace pelmaris::platform {
class FileSystem;
}

namespace pelmaris::scan {

// Settings shared by every path of one build.
struct BuildSettings {
    QSize cell{96, 96};
    QColor background = Qt::white;
    QLocale locale;
    // Thumbnails are kept in, and taken from, the desktop's shared thumbnail cache.
    bool useThumbnailCache = true;
    // The cache's thumbnails folder; empty for the desktop's own.
    QString thumbnailFolder;
};

// Decodes the paths of a list on a pool of worker threads (one per core) and hands
// the rows back strictly in list order. Not a QObject: the owner polls `take`, which
// batches rows into few model updates and needs no cross-thread signals.
class ImageListBuilder {
public:
    // The workers open the files and tell their local times through `fileSystem`,
    // which outlives the builder; their decodes share `budget` (the process-wide one
    // unless a test brings its own).
    explicit ImageListBuilder(platform::FileSystem &fileSystem,
                              int threads = QThread::idealThreadCount(),
                              std::shared_ptr<DecodeBudget> budget = DecodeBudget::processWide());
    ~ImageListBuilder();
    ImageListBuilder(const ImageListBuilder &) = delete;
    ImageListBuilder &operator=(const ImageListBuilder &) = delete;

    // Starts a new generation; whatever an earlier one still produces is dropped.
    // `stopped`, when given, is called once from the generation's last worker as it
    // stops (on that worker's thread), so the owner need not wait for its next poll.
    void start(const QStringList &paths, const BuildSettings &settings,
               std::function<void()> stopped = {});
    // The workers stop before their next path; rows already finished in order stay.
    void cancel();

    struct Progress {
        qsizetype tried = 0; // paths settled in list order, listed or skipped
        qsizetype total = 0;
        bool done = true; // no worker of this generation is running any more
        bool cancelled = false;
        quint64 generation = 0;
    };
    // Moves the rows finished in order since the last call to the end of `rows`.
    Progress take(std::vector<DecodedRow> &rows);

    // Blocks until the current generation's workers have stopped.
    void waitForDone();

private:
    struct Run;
    static void work(const std::shared_ptr<Run> &run);

    platform::FileSystem &m_fileSystem;
    QThreadPool m_pool;
    int m_threads;
    std::shared_ptr<DecodeBudget> m_budget;
    quint64 m_generation = 0;
    std::shared_ptr<Run> m_run;
};

} // namespace pelmaris::scan
