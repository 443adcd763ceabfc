// The list-text reader under libFuzzer: any bytes are decoded, split into lines and
// parsed into rows without a crash, a hang or undefined behaviour, and every row the
// reader makes, written again as a detail line, reads back as itself.

#include "listio/listformat.h"
#include "platform/textcodec.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace pelmaris;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = platform::decodeText(bytes).text;
    // Which names "exist" depends on the name alone, so nothing touches the disk.
    const listio::FileTest someExist = [](const QString &path) {
        return !path.isEmpty() && path.size() % 3 != 0;
    };
    const listio::FileTest allExist = [](const QString &) { return true; };
    for (const QString &line : listio::splitLines(text)) {
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
