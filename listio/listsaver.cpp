#include "listio/listsaver.h"

#include "platform/fileio.h"

#include <QtConcurrent/QtConcurrentRun>

namespace pelmaris::listio {

SaveResult saveList(const SaveTarget &target, const std::vector<scan::ListItem> &rows,
                    const QStringList &paths, const QByteArray &charset)
{
    SaveResult result;
    result.path = target.path;
    ListText text = listText(target.form, rows, paths);
    EncodedList encoded = encodeListFile(text.text, charset);
    text.text = QString();
    result.lines = text.lines;
    result.skipped = text.skipped;
    result.utf8WithBom = encoded.utf8WithBom;
    QString error;
    if (!platform::writeWholeFile(target.path, encoded.bytes, &error))
        result.outcome = platform::Outcome::failure(error + QStringLiteral("\r\n") + target.path);
    return result;
}

ListSaver::ListSaver(QObject *parent) : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcher<SaveResult>::finished, this, [this] {
        m_saving = false;
        Q_EMIT saveFinished(m_watcher.result());
    });
}

ListSaver::~ListSaver()
{
    // The write finishes (or fails whole) before the program goes on ending.
    m_watcher.waitForFinished();
}

bool ListSaver::start(const SaveTarget &target, std::vector<scan::ListItem> rows, QStringList paths)
{
    if (m_saving)
        return false;
    m_saving = true;
    m_watcher.setFuture(QtConcurrent::run(
        [target, rows = std::move(rows), paths = std::move(paths), charset = m_charset] {
            return saveList(target, rows, paths, charset);
        }));
    return true;
}

} // namespace pelmaris::listio
