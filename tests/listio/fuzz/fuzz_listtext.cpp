// The list-text reader under libFuzzer: any bytes are judged, decoded line by line in
// chunks and parsed into rows without a crash, a hang or undefined behaviour; the chunks
// hold every line once; and every row the reader makes, written again as a detail line,
// reads back as itself.

#include "listio/listformat.h"
#include "listio/listsource.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace pelmaris;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const listio::ListSource source = listio::ListSource::fromBytes(
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    // Which names "exist" depends on the name alone, so nothing touches the disk.
    const listio::FileTest someExist = [](const QString &path) {
        return !path.isEmpty() && path.size() % 3 != 0;
    };
    const listio::FileTest allExist = [](const QString &) { return true; };
    const listio::LineIndex index = listio::indexLines(source, 3);
    qint64 lines = 0;
    for (size_t chunk = 0; chunk < index.starts.size(); ++chunk) {
        const qsizetype end =
            chunk + 1 < index.starts.size() ? index.starts[chunk + 1] : source.bytes.size();
        listio::LineReader reader(source, index.starts[chunk], end);
        QString line;
        for (listio::LineReader::Result r; (r = reader.next(line)) != listio::LineReader::End;)
            ++lines;
    }
    if (lines != index.lines)
        std::abort();
    listio::LineReader reader(source, 0, source.bytes.size());
    QString line;
    for (listio::LineReader::Result r; (r = reader.next(line)) != listio::LineReader::End;) {
        if (r == listio::LineReader::Unread)
            continue;
        (void)listio::parseFields(line);
        const std::optional<scan::ListItem> row = listio::rowFromLine(line, someExist);
        if (!row)
            continue;
        const std::optional<scan::ListItem> back =
            listio::rowFromLine(listio::detailLine(*row), allExist);
        if (!back || back->caption != row->caption || back->subItems != row->subItems)
            std::abort();
    }
    return 0;
}
