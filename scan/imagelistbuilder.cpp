#include "scan/imagelistbuilder.h"

#include "scan/thumbnailcache.h"

#include <QMutex>
#include <QWaitCondition>

#include <atomic>
#include <map>
#include <mutex>

namespace pelmaris::scan {

struct ImageListBuilder::Run {
    platform::FileSystem *fileSystem = nullptr;
    QStringList paths;
    BuildSettings settings;
    std::shared_ptr<DecodeBudget> budget;
    // Opened by the first worker, so the window never waits for the cache's folders.
    std::once_flag cacheOpened;
    std::unique_ptr<ThumbnailCache> cache;
    quint64 generation = 0;
    std::function<void()> stopped;
    std::atomic<qsizetype> next{0};
    std::atomic<bool> cancel{false};

    QMutex mutex;
    QWaitCondition idle;
    int active = 0;
    qsizetype settled = 0; // every index below this has been handed to `ready`
    std::map<qsizetype, std::optional<DecodedRow>> early; // finished out of order
    std::vector<DecodedRow> ready;

    void settle(qsizetype index, std::optional<DecodedRow> row)
    {
        QMutexLocker lock(&mutex);
        if (index != settled) {
            early.emplace(index, std::move(row));
            return;
        }
        if (row)
            ready.push_back(std::move(*row));
        ++settled;
        for (auto it = early.begin(); it != early.end() && it->first == settled;
             it = early.erase(it)) {
            if (it->second)
                ready.push_back(std::move(*it->second));
            ++settled;
        }
    }
};

ImageListBuilder::ImageListBuilder(platform::FileSystem &fileSystem, int threads,
                                   std::shared_ptr<DecodeBudget> budget)
    : m_fileSystem(fileSystem), m_threads(std::max(1, threads)), m_budget(std::move(budget))
{
    m_pool.setMaxThreadCount(m_threads);
    limitDecoderAllocation();
}

ImageListBuilder::~ImageListBuilder()
{
    cancel();
    m_pool.waitForDone();
}

void ImageListBuilder::start(const QStringList &paths, const BuildSettings &settings,
                             std::function<void()> stopped)
{
    cancel();
    auto run = std::make_shared<Run>();
    run->fileSystem = &m_fileSystem;
    run->paths = paths;
    run->settings = settings;
    run->budget = m_budget;
    run->generation = ++m_generation;
    run->stopped = std::move(stopped);
    const int workers = int(std::min<qsizetype>(m_threads, std::max<qsizetype>(1, paths.size())));
    run->active = workers;
    m_run = run;
    for (int i = 0; i < workers; ++i)
        m_pool.start([run] { work(run); });
}

void ImageListBuilder::cancel()
{
    if (m_run)
        m_run->cancel.store(true);
}

void ImageListBuilder::work(const std::shared_ptr<Run> &run)
{
    std::call_once(run->cacheOpened, [&run] {
        if (!run->settings.useThumbnailCache)
            return;
        const QString &folder = run->settings.thumbnailFolder;
        run->cache = std::make_unique<ThumbnailCache>(
            *run->fileSystem, folder.isEmpty() ? ThumbnailCache::defaultFolder() : folder);
    });
    ThumbnailRequest request;
    request.cell = run->settings.cell;
    request.background = run->settings.background;
    request.locale = run->settings.locale;
    request.cache = run->cache && run->cache->isReadable() ? run->cache.get() : nullptr;
    request.budget = run->budget.get();
    request.cancel = &run->cancel;
    const qsizetype total = run->paths.size();
    for (;;) {
        if (run->cancel.load(std::memory_order_relaxed))
            break;
        const qsizetype index = run->next.fetch_add(1);
        if (index >= total)
            break;
        request.path = run->paths.at(index);
        std::optional<DecodedRow> row = decodeForList(*run->fileSystem, request);
        // A decode the cancel broke off is no skipped file: the rows after it stay out
        // too, so that a cancelled list is always a beginning of the paths.
        if (!row && run->cancel.load())
            break;
        run->settle(index, std::move(row));
    }
    QMutexLocker lock(&run->mutex);
    if (--run->active > 0)
        return;
    run->idle.wakeAll();
    lock.unlock();
    if (run->stopped)
        run->stopped();
}

ImageListBuilder::Progress ImageListBuilder::take(std::vector<DecodedRow> &rows)
{
    Progress progress;
    if (!m_run)
        return progress;
    QMutexLocker lock(&m_run->mutex);
    if (rows.empty())
        rows.swap(m_run->ready);
    else
        std::move(m_run->ready.begin(), m_run->ready.end(), std::back_inserter(rows));
    m_run->ready.clear();
    progress.tried = m_run->settled;
    progress.total = m_run->paths.size();
    progress.done = m_run->active == 0;
    progress.cancelled = m_run->cancel.load() && m_run->settled < progress.total;
    progress.generation = m_run->generation;
    return progress;
}

void ImageListBuilder::waitForDone()
{
    if (!m_run)
        return;
    QMutexLocker lock(&m_run->mutex);
    while (m_run->active > 0)
        m_run->idle.wait(&m_run->mutex);
}

} // namespace pelmaris::scan
