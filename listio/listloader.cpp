#include "listio/listloader.h"

#include "scan/imagelistmodel.h"

#include <QMutex>

#include <atomic>
#include <map>

namespace pelmaris::listio {

namespace {
// Rows reach the window about once a frame: often enough to look live, rarely enough
// that the model and the views take them in few insertions.
constexpr int kPollMs = 16;
// Lines are checked in chunks, several at once: the existence checks wait on the
// file system, and a chunk is what a worker hands over in one piece.
constexpr qsizetype kChunkLines = 512;
} // namespace

struct ListLoader::Run {
    QString text;
    FileTest isFile;
    std::atomic<bool> cancel{false};

    QMutex splitMutex; // the first worker splits the text; the others wait for it
    bool split = false;
    QStringList lines;
    std::atomic<qsizetype> nextChunk{0};

    QMutex mutex;
    int active = 0;
    qsizetype settledChunks = 0; // every chunk below this is in `ready` or was passed on
    bool ended = false;          // a chunk stopped short: nothing after it is delivered
    struct Chunk {
        std::vector<scan::ListItem> rows;
        qsizetype lines = 0; // lines of the chunk read before a cancel stopped it
    };
    std::map<qsizetype, Chunk> early; // finished ahead of an earlier chunk
    std::vector<scan::ListItem> ready;
    qint64 lineCount = 0;
    qint64 linesDone = 0;
    bool done = false;
    bool cancelled = false;

    qsizetype chunkCount() const { return (lines.size() + kChunkLines - 1) / kChunkLines; }

    // Hands chunks over strictly in list order. A chunk a cancel cut short ends the
    // list: later chunks, read by other workers meanwhile, are dropped, so the rows
    // kept are exactly those of the lines before the cut.
    void settle(qsizetype index, Chunk chunk)
    {
        QMutexLocker lock(&mutex);
        early.emplace(index, std::move(chunk));
        for (auto it = early.begin(); !ended && it != early.end() && it->first == settledChunks;
             it = early.erase(it)) {
            std::move(it->second.rows.begin(), it->second.rows.end(), std::back_inserter(ready));
            linesDone += it->second.lines;
            ++settledChunks;
            const qsizetype full = std::min(kChunkLines, lines.size() - it->first * kChunkLines);
            if (it->second.lines < full)
                ended = true;
        }
    }
};

ListLoader::ListLoader(scan::ImageListModel &model, QObject *parent)
    : QObject(parent), m_model(model), m_fileTest(isListableFile)
{
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &ListLoader::poll);
}

ListLoader::~ListLoader()
{
    cancel();
    m_pool.waitForDone();
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
    const int workers = m_pool.maxThreadCount();
    m_run->active = workers;
    for (int i = 0; i < workers; ++i)
        m_pool.start([run = m_run] { work(run); });
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
    {
        QMutexLocker lock(&run->splitMutex);
        if (!run->split) {
            run->lines = splitLines(run->text);
            run->text = QString();
            run->split = true;
            QMutexLocker counts(&run->mutex);
            run->lineCount = run->lines.size();
        }
    }
    const qsizetype chunks = run->chunkCount();
    for (;;) {
        if (run->cancel.load(std::memory_order_relaxed))
            break;
        const qsizetype index = run->nextChunk.fetch_add(1);
        if (index >= chunks)
            break;
        Run::Chunk chunk;
        const qsizetype first = index * kChunkLines;
        const qsizetype end = std::min(first + kChunkLines, run->lines.size());
        for (qsizetype i = first; i < end; ++i) {
            if (run->cancel.load(std::memory_order_relaxed))
                break;
            if (std::optional<scan::ListItem> row = rowFromLine(run->lines.at(i), run->isFile))
                chunk.rows.push_back(std::move(*row));
            ++chunk.lines;
        }
        run->settle(index, std::move(chunk));
    }
    QMutexLocker lock(&run->mutex);
    if (--run->active == 0) {
        run->cancelled = run->linesDone < run->lineCount;
        run->done = true;
    }
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
        lines = m_run->lineCount;
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
        m_pool.waitForDone();
        m_run.reset();
        Q_EMIT loadFinished(cancelled);
    }
}

void ListLoader::waitForDone()
{
    while (m_run) {
        m_pool.waitForDone();
        poll();
    }
}

} // namespace pelmaris::listio
