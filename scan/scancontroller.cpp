#include "scan/scancontroller.h"

#include "platform/filesystem.h"
#include "scan/imagelistmodel.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace pelmaris::scan {

namespace {
// Often enough for a live count (at least ten updates a second) and for batching
// rows into few model insertions.
constexpr int kPollMs = 50;
} // namespace

struct ScanController::Walk {
    std::shared_ptr<WalkControl> control = std::make_shared<WalkControl>();
    QFuture<WalkResult> future;
    QFutureWatcher<WalkResult> watcher; // ends the walk without waiting for the next poll
};

ScanController::ScanController(ImageListModel &model, platform::FileSystem &fileSystem,
                               QObject *parent)
    : ScanController(model, fileSystem, makeSeededEngine(), parent)
{
}

ScanController::ScanController(ImageListModel &model, platform::FileSystem &fileSystem,
                               RandomEngine engine, QObject *parent)
    : QObject(parent), m_model(model), m_fileSystem(fileSystem), m_engine(std::move(engine)),
      m_builder(fileSystem)
{
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &ScanController::poll);
}

ScanController::~ScanController()
{
    if (m_walk) {
        m_walk->control->cancel.store(true);
        m_walk->future.waitForFinished();
    }
}

void ScanController::setScanList(QStringList paths)
{
    m_scanList = std::move(paths);
}

bool ScanController::startScan(const QString &folder, ScanOrder order, const WalkOptions &options)
{
    if (isBusy())
        return false;
    m_scanList.clear();
    m_lastFound = 0;
    m_leftOut = LeftOut();
    m_walk = std::make_unique<Walk>();
    // The walk and its sort run on a pool thread; the generator is not touched by
    // anyone else while a scan runs (SortScanList is refused meanwhile).
    m_walk->future = QtConcurrent::run([control = m_walk->control, fileSystem = &m_fileSystem,
                                        folder, order, options, engine = &m_engine] {
        WalkResult result = enumerateFiles(*fileSystem, folder, options, *control);
        pelmaris::scan::SortScanList(result.files, order, *engine);
        return result;
    });
    // Queued: the poll deletes the watcher, which must not happen inside its signal.
    connect(&m_walk->watcher, &QFutureWatcherBase::finished, this, &ScanController::poll,
            Qt::QueuedConnection);
    m_walk->watcher.setFuture(m_walk->future);
    m_timer.start();
    return true;
}

void ScanController::cancelScan()
{
    if (m_walk)
        m_walk->control->cancel.store(true);
}

qint64 ScanController::foundCount() const
{
    return m_walk ? m_walk->control->found.load() : m_lastFound;
}

bool ScanController::SortScanList(ScanOrder order)
{
    if (isBusy())
        return false;
    pelmaris::scan::SortScanList(m_scanList, order, m_engine);
    return true;
}

bool ScanController::startBuild(const BuildSettings &settings)
{
    if (isBusy())
        return false;
    m_building = true;
    m_tried = 0;
    // The end is handled at once rather than at the next poll: a rescan from the
    // thumbnail cache takes only a few polls in all.
    m_builder.start(m_scanList, settings, [this] {
        QMetaObject::invokeMethod(this, &ScanController::poll, Qt::QueuedConnection);
    });
    m_timer.start();
    return true;
}

void ScanController::cancelBuild()
{
    if (m_building)
        m_builder.cancel();
}

void ScanController::poll()
{
    if (m_walk)
        pollWalk();
    if (m_building)
        pollBuild();
    if (!isBusy())
        m_timer.stop();
}

void ScanController::pollWalk()
{
    if (!m_walk->future.isFinished()) {
        const qint64 found = m_walk->control->found.load();
        if (found != m_lastFound) {
            m_lastFound = found;
            Q_EMIT scanProgress(found);
        }
        return;
    }
    WalkResult result = m_walk->future.result();
    m_walk.reset();
    m_scanList = std::move(result.files);
    m_lastFound = m_scanList.size();
    m_leftOut = result.leftOut;
    Q_EMIT scanProgress(m_lastFound);
    Q_EMIT scanFinished(result.cancelled);
}

void ScanController::pollBuild()
{
    std::vector<DecodedRow> decoded;
    const ImageListBuilder::Progress progress = m_builder.take(decoded);
    if (!decoded.empty()) {
        std::vector<ListItem> rows;
        std::vector<QByteArray> thumbnails;
        rows.reserve(decoded.size());
        thumbnails.reserve(decoded.size());
        for (DecodedRow &d : decoded) {
            rows.push_back(std::move(d.item));
            thumbnails.push_back(std::move(d.thumbnail));
        }
        m_model.appendRows(std::move(rows), std::move(thumbnails));
    }
    if (progress.tried != m_tried || !decoded.empty()) {
        m_tried = progress.tried;
        Q_EMIT buildProgress(m_tried, progress.total);
    }
    if (progress.done) {
        m_building = false;
        Q_EMIT buildFinished(progress.cancelled);
    }
}

} // namespace pelmaris::scan
