#pragma once

// A list text loaded into the list model without stalling its thread: the lines are parsed and
// their paths checked on worker threads, and the rows join the model in list order, in batches,
// about every 16 ms.
//
//   loader.LoadListFromText(text);   // empties the model (rows and thumbnails) first
//   loader.loadList(*readListFile(path));   // the same, from a list file's bytes
//   -> loadProgress(line, lines, rows, counted)
//                                    // once `counted`: loadProgressText(rows, lines)
//   -> loadFinished(cancelled)       // captions: loadedCaptions(model.rowCount())
//
// The text is read where it lies, a chunk of lines at a time: memory grows with the
// rows made, not with the lines read.
//
// cancel() stops the workers before their next line; the rows of the lines read before
// the first line left unread stay. isLoading() holds from the start to loadFinished.

#include "listio/listformat.h"
#include "listio/listsource.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <memory>

namespace pelmaris::scan {
class ImageListModel;
}

namespace pelmaris::listio {

class ListLoader : public QObject {
    Q_OBJECT

public:
    // Rows are tested against `fileSystem`, which outlives the loader.
    ListLoader(scan::ImageListModel &model, platform::FileSystem &fileSystem,
               QObject *parent = nullptr);
    ~ListLoader() override;

    // Which paths make rows; isListableFile unless a test says otherwise. The test runs
    // on worker threads, several at once.
    void setFileTest(FileTest test);

    // Replaces every row of the model with the rows the text makes. False, and nothing
    // happens, while a load runs.
    bool LoadListFromText(QString text);
    bool loadList(ListSource source);
    void cancel();
    bool isLoading() const { return m_run != nullptr; }
    // Blocks until the running load has ended and its last rows are in the model.
    void waitForDone();
    // Lines of the last load that its source left unread (not in the file's encoding).
    qint64 unreadLines() const { return m_unread; }

Q_SIGNALS:
    // `counted`: a line other than a comment was read, so the count is shown.
    void loadProgress(qint64 line, qint64 lines, qint64 rows, bool counted);
    void loadFinished(bool cancelled);

private:
    struct Run;
    static void work(const std::shared_ptr<Run> &run);
    void poll();

    scan::ImageListModel &m_model;
    FileTest m_fileTest;
    std::shared_ptr<Run> m_run;
    QThreadPool m_pool;
    QTimer m_timer;
    qint64 m_lastLine = -1;
    qint64 m_unread = 0;
};

} // namespace pelmaris::listio
