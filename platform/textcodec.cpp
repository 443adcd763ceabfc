#include "platform/textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace pelmaris::platform {

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    Q_UNUSED(decoded);
    return !decoder.hasError();
}

static QString decodeShiftJis(const QByteArray &bytes)
{
    // Qt finds Shift_JIS through ICU; without it the bytes are kept as Latin-1 so that
    // nothing is lost on a round trip.
    QStringDecoder sjis("Shift_JIS");
    if (sjis.isValid())
        return sjis.decode(bytes);
    return QString::fromLatin1(bytes);
}

DecodedText decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {QString::fromUtf8(bytes.mid(3)), TextEncoding::Utf8Bom};
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder d(QStringDecoder::Utf16LE);
        return {d.decode(bytes.mid(2)), TextEncoding::Utf16LE};
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder d(QStringDecoder::Utf16BE);
        return {d.decode(bytes.mid(2)), TextEncoding::Utf16BE};
    }
    if (isValidUtf8(bytes))
        return {QString::fromUtf8(bytes), TextEncoding::Locale};
    return {decodeShiftJis(bytes), TextEncoding::Locale};
}

QByteArray encodeText(const QString &text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TextEncoding::Utf16LE: {
        QStringEncoder e(QStringEncoder::Utf16LE);
        return QByteArray("\xFF\xFE") + QByteArray(e.encode(text));
    }
    case TextEncoding::Utf16BE: {
        QStringEncoder e(QStringEncoder::Utf16BE);
        return QByteArray("\xFE\xFF") + QByteArray(e.encode(text));
    }
    case TextEncoding::Locale:
        break;
    }
    return text.toUtf8();
}

} // namespace pelmaris::platform
