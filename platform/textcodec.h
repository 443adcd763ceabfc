#pragma once

#include <QByteArray>
#include <QString>

namespace pelmaris::platform {

// How a text file was stored, so that a rewrite can keep it.
enum class TextEncoding {
    Locale, // no byte-order mark: the locale's character set (UTF-8 here)
    Utf8Bom,
    Utf16LE,
    Utf16BE,
};

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Locale;
};

// A byte-order mark decides; without one, valid UTF-8 is UTF-8 and anything else is
// taken as Shift_JIS, the code page of files written on Japanese systems.
DecodedText decodeText(const QByteArray &bytes);

// Encodes text in the given encoding, with its byte-order mark where it has one.
QByteArray encodeText(const QString &text, TextEncoding encoding);

// True when the bytes are well-formed UTF-8.
bool isValidUtf8(const QByteArray &bytes);

} // namespace pelmaris::platform
