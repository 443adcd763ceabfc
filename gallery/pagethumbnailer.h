#pragma once

#include "gallery/pagethumbnails.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <memory>

namespace pelmaris::gallery {

// Finds or makes the thumbnails of a page's pictures off the window's thread, on every
// core, reporting how many are done. Making thousands of missing thumbnails takes a
// while (the first time a folder is shown); the window stays live, shows the progress
// and can cancel. A new request cancels the one before; only the latest one finishes.
class PageThumbnailer : public QObject {
    Q_OBJECT

public:
    // `fileSystem` opens the pictures and outlives the thumbnailer; `cacheFolder` is the
    // thumbnails folder (empty: the desktop's).
    explicit PageThumbnailer(platform::FileSystem &fileSystem, QString cacheFolder = {},
                             QObject *parent = nullptr);
    // Cancels what runs and waits for it.
    ~PageThumbnailer() override;

    void start(const QStringList &paths, int edge);
    void cancel();
    bool isRunning() const { return m_running; }
    // Work of a cancelled request may still be ending.
    bool isIdle() const { return m_pool.activeThreadCount() == 0; }

Q_SIGNALS:
    void progress(qsizetype done, qsizetype total);
    // One entry per path, in the order given.
    void finished(const QList<pelmaris::gallery::PageThumbnail> &thumbnails);

private:
    struct Job;
    void work(const std::shared_ptr<Job> &job);

    QString m_cacheFolder;
    platform::FileSystem &m_fileSystem;
    QThreadPool m_pool;
    std::shared_ptr<Job> m_job;
    bool m_running = false;
};

} // namespace pelmaris::gallery
