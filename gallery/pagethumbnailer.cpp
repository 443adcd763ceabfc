#include "gallery/pagethumbnailer.h"

#include "scan/thumbnailcache.h"

#include <mutex>
#include <vector>

namespace pelmaris::gallery {

struct PageThumbnailer::Job {
    QStringList paths;
    int edge = 0;
    std::vector<PageThumbnail> results;
    std::atomic<qsizetype> next{0};
    std::atomic<qsizetype> done{0};
    std::atomic<int> workers{0};
    std::atomic<bool> cancel{false};
    // Made by the first worker: opening the cache may create its folders.
    std::once_flag cacheMade;
    std::unique_ptr<scan::ThumbnailCache> cache;
    QString cacheFolder;
};

PageThumbnailer::PageThumbnailer(platform::FileSystem &fileSystem, QString cacheFolder,
                                 QObject *parent)
    : QObject(parent), m_cacheFolder(std::move(cacheFolder)), m_fileSystem(fileSystem)
{
    qRegisterMetaType<QList<pelmaris::gallery::PageThumbnail>>();
}

PageThumbnailer::~PageThumbnailer()
{
    cancel();
    m_pool.waitForDone();
}

void PageThumbnailer::cancel()
{
    if (m_job)
        m_job->cancel = true;
    m_job.reset();
    m_running = false;
}

void PageThumbnailer::start(const QStringList &paths, int edge)
{
    cancel();
    auto job = std::make_shared<Job>();
    job->paths = paths;
    job->edge = edge;
    job->results.resize(paths.size());
    job->cacheFolder =
        m_cacheFolder.isEmpty() ? scan::ThumbnailCache::defaultFolder() : m_cacheFolder;
    m_job = job;
    m_running = true;
    const int workers = int(std::clamp<qsizetype>(paths.size(), 1, m_pool.maxThreadCount()));
    job->workers = workers;
    for (int i = 0; i < workers; ++i)
        m_pool.start([this, job] { work(job); });
}

void PageThumbnailer::work(const std::shared_ptr<Job> &job)
{
    std::call_once(job->cacheMade, [this, &job] {
        job->cache = std::make_unique<scan::ThumbnailCache>(m_fileSystem, job->cacheFolder);
    });
    const qsizetype total = job->paths.size();
    // About a hundred progress reports in all, whatever the page's size.
    const qsizetype step = std::max<qsizetype>(1, total / 100);
    for (qsizetype i = job->next++; i < total && !job->cancel; i = job->next++) {
        // Each worker writes only its own entries; the list is read after all are done.
        job->results[i] =
            pageThumbnail(m_fileSystem, *job->cache, job->paths.at(i), job->edge, &job->cancel);
        const qsizetype done = ++job->done;
        if (done % step == 0 && done < total)
            QMetaObject::invokeMethod(
                this,
                [this, job, done, total] {
                    if (job == m_job)
                        Q_EMIT progress(done, total);
                },
                Qt::QueuedConnection);
    }
    if (--job->workers != 0 || job->cancel)
        return;
    QMetaObject::invokeMethod(
        this,
        [this, job] {
            // A later request or a cancel came first: these thumbnails are not wanted.
            if (job != m_job)
                return;
            m_job.reset();
            m_running = false;
            Q_EMIT progress(job->paths.size(), job->paths.size());
            Q_EMIT finished(QList<PageThumbnail>(job->results.begin(), job->results.end()));
        },
        Qt::QueuedConnection);
}

} // namespace pelmaris::gallery
