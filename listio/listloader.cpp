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
    ListSource source;
    FileTest isFile;
    std::atomic<bool> cancel{false};

    QMutex indexMutex; // the first worker finds the chunks; the others wait for it
    bool indexed = false;
    LineIndex index;
    std::atomic<qsizetype> nextChunk{0};

    QMutex mutex;
    int active = 0;
    qsizetype settledChunks = 0; // every chunk below this is in `ready` or was passed on
    bool ended = false;          // a chunk stopped short: nothing after it is delivered
    struct Chunk {
        std::vector<scan::ListItem> rows;
        qsizetype lines = 0;  // lines of the chunk read before a cancel stopped it
        qsizetype unread = 0; // lines the source leaves unread
        bool counted = false; // a line other than a comment was read
    };
    std::map<qsizetype, Chunk> early; // finished ahead of an earlier chunk
    std::vector<scan::ListItem> ready;
    qint64 lineCount = 0;
    qint64 linesDone = 0;
    qint64 unread = 0;
    bool counted = false;
    bool done = false;
    bool cancelled = false;

    qsizetype chunkCount() const { return qsizetype(index.starts.size()); }
    qsizetype chunkEnd(qsizetype chunk) const
    {
        return chunk + 1 < chunkCount() ? index.starts[size_t(chunk + 1)] : source.bytes.size();
    }

    // Hands chunks over strictly in list order. A chunk a cancel cut short ends the
    // list: later chunks, read by other workers meanwhile, are dropped, so the rows
    // kept are exactly those of the lines before the cut.
    void settle(qsizetype chunkIndex, Chunk chunk)
    {
        QMutexLocker lock(&mutex);
        early.emplace(chunkIndex, std::move(chunk));
        for (auto it = early.begin(); !ended && it != early.end() && it->first == settledChunks;
             it = early.erase(it)) {
            std::move(it->second.rows.begin(), it->second.rows.end(), std::back_inserter(ready));
            linesDone += it->second.lines;
            unread += it->second.unread;
            counted = counted || it->second.counted;
            ++settledChunks;
            const qsizetype full =
                std::min<qint64>(kChunkLines, index.lines - qint64(it->first) * kChunkLines);
            if (it->second.lines < full)
                ended = true;
        }
    }
};

ListLoader::ListLoader(scan::ImageListModel &model, platform::FileSystem &fileSystem,
                       QObject *parent)
    : QObject(parent), m_model(model),
      m_fileTest([&fileSystem](const QString &path) { return isListableFile(path, fileSystem); })
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
    return loadList(ListSource::fromText(std::move(text)));
}

bool ListLoader::loadList(ListSource source)
{
    if (m_run)
        return false;
    m_model.clearRows(true);
    m_unread = 0;
    m_run = std::make_shared<Run>();
    m_run->source = std::move(source);
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
        QMutexLocker lock(&run->indexMutex);
        if (!run->indexed) {
            run->index = indexLines(run->source, kChunkLines, &run->cancel);
            run->indexed = true;
            QMutexLocker counts(&run->mutex);
            run->lineCount = run->index.lines;
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
        LineReader reader(run->source, run->index.starts[size_t(index)], run->chunkEnd(index));
        QString line;
        for (;;) {
            if (run->cancel.load(std::memory_order_relaxed))
                break;
            const LineReader::Result read = reader.next(line);
            if (read == LineReader::End)
                break;
            ++chunk.lines;
            if (read == LineReader::Unread) {
                ++chunk.unread;
                chunk.counted = true;
                continue;
            }
            // Comments leave the status text as it is; every other line shows the count.
            if (line.startsWith(u';'))
                continue;
            chunk.counted = true;
            if (std::optional<scan::ListItem> row = rowFromLine(line, run->isFile))
                chunk.rows.push_back(std::move(*row));
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
    bool counted = false;
    bool done = false;
    bool cancelled = false;
    {
        QMutexLocker lock(&m_run->mutex);
        rows.swap(m_run->ready);
        line = m_run->linesDone;
        lines = m_run->lineCount;
        counted = m_run->counted;
        done = m_run->done;
        cancelled = m_run->cancelled;
        m_unread = m_run->unread;
    }
    // Rows from a list have no thumbnail; the model keeps an empty one per row.
    if (!rows.empty())
        m_model.appendRows(std::move(rows), {});
    if (line != m_lastLine || done) {
        m_lastLine = line;
        Q_EMIT loadProgress(line, lines, m_model.rowCount(), counted);
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
