#include "listio/listloader.h"

#include "scan/imagelistmodel.h"

#include <QMutex>
#include <QtConcurrent/QtConcurrentRun>

#include <atomic>

namespace pelmaris::listio {

namespace {
// Rows reach the window about once a frame: often enough to look live, rarely enough
// that the model and the views take them in few insertions.
constexpr int kPollMs = 16;
// The worker hands over its rows this many lines at a time.
constexpr qsizetype kLinesPerHandOver = 256;
} // namespace

struct ListLoader::Run {
    QString text;
    FileTest isFile;
    std::atomic<bool> cancel{false};

    QMutex mutex;
    std::vector<scan::ListItem> ready;
    qint64 lines = 0;
    qint64 linesDone = 0;
    bool done = false;
    bool cancelled = false;
};

ListLoader::ListLoader(scan::ImageListModel &model, QObject *parent)
    : QObject(parent), m_model(model), m_fileTest(isListableFile)
{
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &ListLoader::poll);
}

ListLoader::~ListLoader()
{
    if (m_run) {
        m_run->cancel.store(true);
        m_future.waitForFinished();
    }
}

void ListLoader::setFileTest(FileTest test)
{
    m_fileTest = std::move(test);
}

bool ListLoader::LoadListFromText(QString text)
{
    if (m_run)
        return false;
    m_model.clearRows(true);
    m_run = std::make_shared<Run>();
    m_run->text = std::move(text);
    m_run->isFile = m_fileTest;
    m_lastLine = -1;
    m_future = QtConcurrent::run([run = m_run] { work(run); });
    m_timer.start();
    return true;
}

void ListLoader::cancel()
{
    if (m_run)
        m_run->cancel.store(true);
}

void ListLoader::work(const std::shared_ptr<Run> &run)
{
    const QStringList lines = splitLines(run->text);
    run->text = QString();
    {
        QMutexLocker lock(&run->mutex);
        run->lines = lines.size();
    }
    std::vector<scan::ListItem> batch;
    qsizetype i = 0;
    for (; i < lines.size(); ++i) {
        if (run->cancel.load(std::memory_order_relaxed))
            break;
        if (std::optional<scan::ListItem> row = rowFromLine(lines.at(i), run->isFile))
            batch.push_back(std::move(*row));
        if ((i + 1) % kLinesPerHandOver == 0) {
            QMutexLocker lock(&run->mutex);
            std::move(batch.begin(), batch.end(), std::back_inserter(run->ready));
            run->linesDone = i + 1;
            batch.clear();
        }
    }
    QMutexLocker lock(&run->mutex);
    std::move(batch.begin(), batch.end(), std::back_inserter(run->ready));
    run->linesDone = i;
    run->cancelled = i < lines.size();
    run->done = true;
}

void ListLoader::poll()
{
    if (!m_run)
        return;
    std::vector<scan::ListItem> rows;
    qint64 line = 0;
    qint64 lines = 0;
    bool done = false;
    bool cancelled = false;
    {
        QMutexLocker lock(&m_run->mutex);
        rows.swap(m_run->ready);
        line = m_run->linesDone;
        lines = m_run->lines;
        done = m_run->done;
        cancelled = m_run->cancelled;
    }
    // Rows from a list have no thumbnail; the model keeps an empty one per row.
    if (!rows.empty())
        m_model.appendRows(std::move(rows), {});
    if (line != m_lastLine || done) {
        m_lastLine = line;
        Q_EMIT loadProgress(line, lines, m_model.rowCount());
    }
    if (done) {
        m_timer.stop();
        m_future.waitForFinished();
        m_run.reset();
        Q_EMIT loadFinished(cancelled);
    }
}

void ListLoader::waitForDone()
{
    while (m_run) {
        m_future.waitForFinished();
        poll();
    }
}

} // namespace pelmaris::listio
