#include "listio/listsource.h"

#include <QSysInfo>

namespace pelmaris::listio {

using platform::TextEncoding;

namespace {

bool isUtf16(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
}

struct Span {
    qsizetype length = 0; // the line's bytes, without its break
    qsizetype next = 0;   // where the next line starts
};

// The line that starts at `pos`. Breaks are found as units of the encoding: in UTF-8 and
// Shift_JIS the bytes CR and LF stand for nothing else, in UTF-16 the 16-bit units do.
Span lineAt(const ListSource &source, qsizetype pos, qsizetype end)
{
    const char *p = source.bytes.constData();
    if (!isUtf16(source.encoding)) {
        qsizetype i = pos;
        while (i < end && p[i] != '\r' && p[i] != '\n')
            ++i;
        if (i >= end)
            return {end - pos, end};
        const bool crlf = p[i] == '\r' && i + 1 < end && p[i + 1] == '\n';
        return {i - pos, i + (crlf ? 2 : 1)};
    }
    const bool le = source.encoding == TextEncoding::Utf16LE;
    const auto unit = [p, le](qsizetype i) {
        const auto a = static_cast<unsigned char>(p[i]);
        const auto b = static_cast<unsigned char>(p[i + 1]);
        return le ? char16_t(a | b << 8) : char16_t(a << 8 | b);
    };
    qsizetype i = pos;
    while (i + 1 < end && unit(i) != u'\r' && unit(i) != u'\n')
        i += 2;
    if (i + 1 >= end)
        return {end - pos, end};
    const bool crlf = unit(i) == u'\r' && i + 3 < end && unit(i + 2) == u'\n';
    return {i - pos, i + (crlf ? 4 : 2)};
}

// Without a byte-order mark and with no NUL: UTF-8 unless lines that are not UTF-8
// outnumber those that only UTF-8 reads as written (ASCII lines read alike either way).
ListSource judgeEightBit(QByteArray bytes)
{
    ListSource source;
    if (bytes.isValidUtf8()) {
        source.bytes = std::move(bytes);
        return source;
    }
    source.bytes = std::move(bytes);
    qint64 utf8Lines = 0;
    qint64 otherLines = 0;
    const qsizetype size = source.bytes.size();
    for (qsizetype pos = 0; pos < size;) {
        const Span span = lineAt(source, pos, size);
        const QByteArrayView line(source.bytes.constData() + pos, span.length);
        const bool ascii =
            std::all_of(line.begin(), line.end(), [](char c) { return (c & 0x80) == 0; });
        if (!ascii)
            ++(line.isValidUtf8() ? utf8Lines : otherLines);
        pos = span.next;
    }
    if (utf8Lines >= otherLines)
        source.skipNonUtf8Lines = true;
    else
        source.encoding = TextEncoding::ShiftJis;
    return source;
}

} // namespace

ListSource ListSource::fromText(QString text)
{
    ListSource source;
    source.encoding = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? TextEncoding::Utf16LE
                                                                    : TextEncoding::Utf16BE;
    source.bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(text.constData()), text.size() * 2);
    source.text = std::move(text);
    return source;
}

ListSource ListSource::fromBytes(QByteArray bytes)
{
    const TextEncoding marked = platform::detectEncoding(bytes);
    const int mark = platform::byteOrderMarkSize(marked);
    if (mark > 0) {
        ListSource source;
        source.encoding = marked;
        source.bytes = std::move(bytes);
        source.bytes.remove(0, mark);
        return source;
    }
    if (!bytes.contains('\0'))
        return judgeEightBit(std::move(bytes));
    // ASCII characters in UTF-16 have their NUL in the second byte in little endian.
    qsizetype evenNuls = 0;
    qsizetype oddNuls = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == 0)
            ++(i % 2 == 0 ? evenNuls : oddNuls);
    }
    ListSource source;
    source.encoding = oddNuls >= evenNuls ? TextEncoding::Utf16LE : TextEncoding::Utf16BE;
    source.bytes = std::move(bytes);
    return source;
}

QString wholeText(const ListSource &source)
{
    if (!source.skipNonUtf8Lines)
        return platform::decodeWithoutBom(source.bytes, source.encoding);
    QString text;
    LineReader reader(source, 0, source.bytes.size());
    QString line;
    for (LineReader::Result r; (r = reader.next(line)) != LineReader::End;) {
        if (r == LineReader::Line)
            text += line + QStringLiteral("\r\n");
    }
    return text;
}

LineIndex indexLines(const ListSource &source, qsizetype step, const std::atomic<bool> *cancel)
{
    LineIndex index;
    const qsizetype size = source.bytes.size();
    for (qsizetype pos = 0; pos < size; ++index.lines) {
        if (index.lines % step == 0) {
            if (cancel && cancel->load(std::memory_order_relaxed))
                break;
            index.starts.push_back(pos);
        }
        pos = lineAt(source, pos, size).next;
    }
    return index;
}

namespace {

QStringDecoder decoderFor(TextEncoding encoding)
{
    // Each line is decoded on its own; a U+FEFF inside the text is a character.
    constexpr auto flags =
        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    switch (encoding) {
    case TextEncoding::Utf16LE:
        return QStringDecoder(QStringConverter::Utf16LE, flags);
    case TextEncoding::Utf16BE:
        return QStringDecoder(QStringConverter::Utf16BE, flags);
    case TextEncoding::ShiftJis:
        return QStringDecoder("Shift_JIS", flags);
    case TextEncoding::Locale:
    case TextEncoding::Utf8Bom:
        break;
    }
    return QStringDecoder(QStringConverter::Utf8, flags);
}

} // namespace

LineReader::LineReader(const ListSource &source, qsizetype begin, qsizetype end)
    : m_source(source), m_pos(begin), m_end(std::min(end, source.bytes.size())),
      m_decoder(decoderFor(source.encoding))
{
}

LineReader::Result LineReader::next(QString &line)
{
    if (m_pos >= m_end)
        return End;
    const Span span = lineAt(m_source, m_pos, m_end);
    const QByteArrayView bytes(m_source.bytes.constData() + m_pos, span.length);
    m_pos = span.next;
    if (m_source.skipNonUtf8Lines && !bytes.isValidUtf8())
        return Unread;
    if (m_decoder.isValid())
        line = m_decoder.decode(bytes);
    else // no Shift_JIS without ICU: the bytes stay as they are, one character each
        line = QString::fromLatin1(bytes);
    return Line;
}

} // namespace pelmaris::listio
