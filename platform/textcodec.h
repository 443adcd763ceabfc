#pragma once

#include <QByteArray>
#include <QString>

namespace pelmaris::platform {

// How a text file was stored, so that a rewrite can keep it.
enum class TextEncoding {
    Locale, // no byte-order mark, valid UTF-8: the locale's character set
    Utf8Bom,
    Utf16LE,
    Utf16BE,
    ShiftJis, // no byte-order mark and not UTF-8: written on a Japanese system
};

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Locale;
};

// A byte-order mark decides; without one, valid UTF-8 is UTF-8 and anything else is
// taken as Shift_JIS, the code page of files written on Japanese systems.
TextEncoding detectEncoding(const QByteArray &bytes);
// The length of the byte-order mark that starts a file of this encoding (0 for none).
int byteOrderMarkSize(TextEncoding encoding);

// Decodes a whole file: its byte-order mark is dropped, a second U+FEFF right after it
// is kept as text.
DecodedText decodeText(const QByteArray &bytes);

// Decodes bytes without a byte-order mark; undecodable bytes become replacement
// characters.
QString decodeWithoutBom(QByteArrayView bytes, TextEncoding encoding);

// Encodes text in the given encoding, with its byte-order mark where it has one.
QByteArray encodeText(const QString &text, TextEncoding encoding);

// Encodes text without a byte-order mark. *exact (when given) tells whether every
// character could be represented; Shift_JIS cannot hold every character.
QByteArray encodeWithoutBom(const QString &text, TextEncoding encoding, bool *exact = nullptr);

// The byte-order mark that starts a file of this encoding; empty for none.
QByteArray byteOrderMark(TextEncoding encoding);

// True when the bytes are well-formed UTF-8.
bool isValidUtf8(QByteArrayView bytes);

} // namespace pelmaris::platform
