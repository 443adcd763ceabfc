#pragma once

// Saving a list off the caller's thread: the text is built, encoded and written whole
// on a worker, and saveFinished reports once it is on disk or has failed. A failed or
// interrupted save leaves the old file as it was.
//
//   saver.start(listio::saveTarget(answer), rows, paths);
//   -> saveFinished(result)   // success: savedText(result.lines, result.path)
//                             // else: result.outcome, the failure to tell

#include "listio/listfile.h"
#include "listio/listformat.h"
#include "platform/outcome.h"

#include <QFutureWatcher>
#include <QObject>
#include <QStringList>

#include <vector>

namespace pelmaris::listio {

struct SaveResult {
    // A failure's text: the system's description, CR LF, the path.
    platform::Outcome outcome;
    QString path;
    qint64 lines = 0;         // lines written
    qint64 skipped = 0;       // entries left out: a line break in them
    bool utf8WithBom = false; // the locale's character set could not hold them all
};

// Builds the text of the target's form (detail form from the rows, path form from
// the paths) and writes it in one piece. `charset` as for encodeListFile.
SaveResult saveList(const SaveTarget &target, const std::vector<scan::ListItem> &rows,
                    const QStringList &paths, const QByteArray &charset = {});

class ListSaver : public QObject {
    Q_OBJECT

public:
    explicit ListSaver(QObject *parent = nullptr);
    ~ListSaver() override;

    // Another character set than the locale's, for tests.
    void setCharset(const QByteArray &charset) { m_charset = charset; }

    // Starts a save; false, and nothing happens, while one runs.
    bool start(const SaveTarget &target, std::vector<scan::ListItem> rows, QStringList paths);
    bool isSaving() const { return m_saving; }
    // Blocks until the running save is written (shutdown, tests); saveFinished follows
    // from the event loop.
    void waitForDone() { m_watcher.waitForFinished(); }

Q_SIGNALS:
    void saveFinished(const pelmaris::listio::SaveResult &result);

private:
    QFutureWatcher<SaveResult> m_watcher;
    QByteArray m_charset;
    bool m_saving = false;
};

} // namespace pelmaris::listio
