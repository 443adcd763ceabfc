#include "platform/ansicodepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace pelmaris::platform {

namespace {
// Qt finds Shift_JIS through ICU. Without it the bytes are kept as Latin-1 so that
// nothing is lost on a round trip.
const char ShiftJisName[] = "Shift_JIS";
} // namespace

QString decodeAnsiCodePage(QByteArrayView bytes)
{
    QStringDecoder sjis(ShiftJisName);
    if (sjis.isValid())
        return sjis.decode(bytes);
    return QString::fromLatin1(bytes);
}

QByteArray encodeAnsiCodePage(const QString &text, bool *exact)
{
    QStringEncoder sjis(ShiftJisName);
    if (sjis.isValid()) {
        QByteArray bytes = sjis.encode(text);
        if (exact)
            *exact = !sjis.hasError();
        return bytes;
    }
    if (exact)
        *exact = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 256; });
    return text.toLatin1();
}

} // namespace pelmaris::platform
