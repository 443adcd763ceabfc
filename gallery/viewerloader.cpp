#include "gallery/viewerloader.h"

namespace pelmaris::gallery {

ViewerLoader::ViewerLoader(platform::FileSystem &fileSystem, scan::DecodeBudget *budget,
                           QObject *parent)
    : QObject(parent), m_fileSystem(fileSystem), m_budget(budget)
{
    // One decode at a time: the viewer shows one picture, and a cancelled decode ends at
    // once, so the next one hardly waits.
    m_pool.setMaxThreadCount(1);
}

ViewerLoader::~ViewerLoader()
{
    cancel();
    m_pool.waitForDone();
}

void ViewerLoader::load(const QString &path, QSize screen)
{
    cancel();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_loading = true;
    const quint64 generation = ++m_generation;
    ViewerRequest request;
    request.path = path;
    request.budget = m_budget;
    request.screen = screen;
    m_pool.start([this, request, generation, cancel = m_cancel]() mutable {
        request.cancel = cancel.get();
        ViewerPicture picture = loadViewerPicture(m_fileSystem, request);
        if (picture.cancelled || cancel->load())
            return;
        QMetaObject::invokeMethod(
            this,
            [this, path = request.path, generation, picture = std::move(picture)] {
                // A later request or a cancel came first: its picture is not wanted.
                if (generation != m_generation || !m_loading)
                    return;
                m_loading = false;
                Q_EMIT loaded(path, picture);
            },
            Qt::QueuedConnection);
    });
}

void ViewerLoader::cancel()
{
    if (m_cancel)
        m_cancel->store(true);
    m_loading = false;
}

bool ViewerLoader::isIdle() const
{
    return m_pool.activeThreadCount() == 0;
}

} // namespace pelmaris::gallery
