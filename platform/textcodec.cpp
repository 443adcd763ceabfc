#include "platform/textcodec.h"

#include "platform/ansicodepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace pelmaris::platform {

namespace {

// The mark is dropped by hand; a second one after it is text and must stay.
constexpr auto KeepBom = QStringConverter::Flag::ConvertInitialBom;

} // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    return bytes.isValidUtf8();
}

TextEncoding detectEncoding(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TextEncoding::Utf8Bom;
    if (bytes.startsWith("\xFF\xFE"))
        return TextEncoding::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16BE;
    return isValidUtf8(bytes) ? TextEncoding::Locale : TextEncoding::ShiftJis;
}

QByteArray byteOrderMark(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF");
    case TextEncoding::Utf16LE:
        return QByteArray("\xFF\xFE");
    case TextEncoding::Utf16BE:
        return QByteArray("\xFE\xFF");
    case TextEncoding::Locale:
    case TextEncoding::ShiftJis:
        break;
    }
    return {};
}

int byteOrderMarkSize(TextEncoding encoding)
{
    return int(byteOrderMark(encoding).size());
}

QString decodeWithoutBom(QByteArrayView bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Locale:
    case TextEncoding::Utf8Bom: {
        QStringDecoder d(QStringDecoder::Utf8, KeepBom);
        return d.decode(bytes);
    }
    case TextEncoding::Utf16LE: {
        QStringDecoder d(QStringDecoder::Utf16LE, KeepBom);
        return d.decode(bytes);
    }
    case TextEncoding::Utf16BE: {
        QStringDecoder d(QStringDecoder::Utf16BE, KeepBom);
        return d.decode(bytes);
    }
    case TextEncoding::ShiftJis:
        break;
    }
    return decodeAnsiCodePage(bytes);
}

DecodedText decodeText(const QByteArray &bytes)
{
    const TextEncoding encoding = detectEncoding(bytes);
    return {decodeWithoutBom(QByteArrayView(bytes).sliced(byteOrderMarkSize(encoding)), encoding),
            encoding};
}

QByteArray encodeWithoutBom(const QString &text, TextEncoding encoding, bool *exact)
{
    if (exact)
        *exact = true;
    switch (encoding) {
    case TextEncoding::Locale:
    case TextEncoding::Utf8Bom:
        return text.toUtf8();
    case TextEncoding::Utf16LE: {
        QStringEncoder e(QStringEncoder::Utf16LE);
        return e.encode(text);
    }
    case TextEncoding::Utf16BE: {
        QStringEncoder e(QStringEncoder::Utf16BE);
        return e.encode(text);
    }
    case TextEncoding::ShiftJis:
        break;
    }
    return encodeAnsiCodePage(text, exact);
}

QByteArray encodeText(const QString &text, TextEncoding encoding)
{
    return byteOrderMark(encoding) + encodeWithoutBom(text, encoding);
}

} // namespace pelmaris::platform
