#include "platform/inifile.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace pelmaris::platform {

namespace {

// The blanks trimmed from lines, names and values. Only ASCII: an ideographic space at
// the end of a Japanese value is part of it.
bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\r' || u == u'\n' || u == u'\v' || u == u'\f';
}

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool isQuoted(QStringView value)
{
    return value.size() >= 2 && value.front() == value.back() &&
           (value.front() == u'"' || value.front() == u'\'');
}

// A value in one pair of quotes reads without them, as the system's own reader does.
QStringView unquote(QStringView value)
{
    return isQuoted(value) ? value.mid(1, value.size() - 2) : value;
}

// The text a value is written as, so that reading it gives the value back.
QString quoteIfNeeded(const QString &value)
{
    if (value.isEmpty())
        return value;
    if (isBlank(value.front()) || isBlank(value.back()) || isQuoted(value))
        return u'"' + value + u'"';
    return value;
}

// A string over characters of text that stay alive and unchanged as long as the file
// does: no copy for each of hundreds of thousands of keys.
QString shared(QStringView text)
{
    return QString::fromRawData(text.data(), text.size());
}

// What leaves the file object is a string of its own.
QString ownCopy(const QString &text)
{
    return QString(text.constData(), text.size());
}

bool isDigitOf(QChar c, int base)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return true;
    return base == 16 && ((u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F'));
}

// Where each line's bytes lie, without their CR LF or LF. UTF-16 lines end at the
// 16-bit unit 0x000A; every other encoding keeps the byte 0x0A for line ends only.
struct RawLine {
    qsizetype begin;
    qsizetype length;
};

QList<RawLine> splitRawLines(const QByteArray &bytes, qsizetype start, TextEncoding encoding)
{
    QList<RawLine> lines;
    const bool le = encoding == TextEncoding::Utf16LE;
    const bool be = encoding == TextEncoding::Utf16BE;
    if (!le && !be) {
        qsizetype pos = start;
        for (;;) {
            const qsizetype nl = bytes.indexOf('\n', pos);
            const qsizetype end = nl < 0 ? bytes.size() : nl;
            qsizetype length = end - pos;
            if (length > 0 && bytes.at(end - 1) == '\r')
                --length;
            lines.append({pos, length});
            if (nl < 0)
                return lines;
            pos = nl + 1;
        }
    }
    const auto unit = [&](qsizetype i) {
        const auto a = static_cast<unsigned char>(bytes.at(i));
        const auto b = static_cast<unsigned char>(bytes.at(i + 1));
        return le ? char16_t(a | b << 8) : char16_t(a << 8 | b);
    };
    qsizetype pos = start;
    for (qsizetype i = start; i + 1 < bytes.size(); i += 2) {
        if (unit(i) != u'\n')
            continue;
        qsizetype length = i - pos;
        if (length >= 2 && unit(i - 2) == u'\r')
            length -= 2;
        lines.append({pos, length});
        pos = i + 2;
    }
    lines.append({pos, bytes.size() - pos});
    return lines;
}

} // namespace

IniFile IniFile::load(const QString &path, ReadStatus *status, QString *error)
{
    ReadResult result;
    // A FIFO or device is never opened: the first would block, the second stream.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        result.status = ReadStatus::NotRegular;
    else
        result = readRegularFile(path, MaxFileSize);
    if (status)
        *status = result.status;
    if (error)
        *error = result.error;
    return result.status == ReadStatus::Ok ? parse(result.bytes) : IniFile();
}

IniFile IniFile::parse(const QByteArray &bytes)
{
    IniFile ini;
    ini.m_source = bytes;
    ini.m_encoding = detectEncoding(bytes);
    const qsizetype start = byteOrderMarkSize(ini.m_encoding);
    const QList<RawLine> raw = splitRawLines(bytes, start, ini.m_encoding);

    // One decode for the whole file; its lines match the raw lines one for one, since no
    // decoder turns other bytes into a line feed or swallows one. Should that ever fail,
    // each line is decoded on its own.
    ini.m_text = decodeWithoutBom(QByteArrayView(bytes).sliced(start), ini.m_encoding);
    const auto splitText = [&ini] {
        QList<QStringView> lines;
        const QStringView text(ini.m_text);
        for (qsizetype pos = 0;;) {
            const qsizetype nl = text.indexOf(u'\n', pos);
            lines.append(text.mid(pos, (nl < 0 ? text.size() : nl) - pos));
            if (nl < 0)
                return lines;
            pos = nl + 1;
        }
    };
    QList<QStringView> decoded = splitText();
    if (decoded.size() != raw.size()) {
        QStringList separately;
        for (const RawLine &r : raw)
            separately << decodeWithoutBom(QByteArrayView(bytes).sliced(r.begin, r.length),
                                           ini.m_encoding);
        ini.m_text = separately.join(u'\n');
        decoded = splitText();
    }

    Block *current = nullptr;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        QStringView line = trimBlanks(decoded.at(i));
        // A second byte-order mark at the very start is kept with the line's bytes, but
        // must not hide the section header behind it.
        if (i == 0)
            while (line.startsWith(QChar(0xFEFF)))
                line = trimBlanks(line.mid(1));
        if (line.isEmpty() || line.startsWith(u';'))
            continue; // comments and blank lines are not kept
        const Raw span{raw.at(i).begin, raw.at(i).length};
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QStringView name = close < 0 ? line.mid(1) : line.mid(1, close - 1);
            ini.m_blocks.append(Block{shared(trimBlanks(name)), true, span, {}});
            current = &ini.m_blocks.last();
            continue;
        }
        if (!current) {
            ini.m_blocks.append(Block{QString(), false, {}, {}});
            current = &ini.m_blocks.last();
        }
        const qsizetype eq = line.indexOf(u'=');
        const QStringView key = eq < 0 ? QStringView() : trimBlanks(line.left(eq));
        if (key.isEmpty())
            current->lines.append(Line{QString(), QString(), span});
        else
            current->lines.append(
                Line{shared(key), shared(unquote(trimBlanks(line.mid(eq + 1)))), span});
    }
    ini.rebuildIndex();
    return ini;
}

size_t hashIgnoringCase(QStringView text, size_t seed) noexcept
{
    // Folds as the case-insensitive comparison does, one code point at a time.
    quint64 h = 14695981039346656037ull;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        if (c < 0x80) {
            if (c >= u'A' && c <= u'Z')
                c += 0x20;
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text.at(++i).unicode());
            c = QChar::toCaseFolded(c);
        }
        h = (h ^ c) * 1099511628211ull;
    }
    return qHash(h, seed);
}

void IniFile::indexBlock(int block)
{
    const Block &b = m_blocks.at(block);
    if (!b.hasHeader)
        return;
    auto section = m_index.find(Name{b.name});
    if (section == m_index.end()) {
        section = m_index.insert(Name{b.name}, SectionIndex{block, {}});
        section->keys.reserve(b.lines.size());
    }
    for (int i = 0; i < b.lines.size(); ++i) {
        const QString &key = b.lines.at(i).key;
        if (key.isEmpty())
            continue;
        // The first of duplicated keys is the one a reader sees.
        Position &first = section->keys[Name{key}];
        if (first.block < 0)
            first = Position{block, i};
    }
}

void IniFile::rebuildIndex()
{
    m_index.clear();
    for (int b = 0; b < m_blocks.size(); ++b)
        indexBlock(b);
}

QByteArray IniFile::serializeAs(TextEncoding encoding, bool *exact) const
{
    bool allExact = true;
    QByteArray out;
    out.reserve(m_source.size() + 4096);
    out += byteOrderMark(encoding);
    const QByteArray eol = encodeWithoutBom(QStringLiteral("\r\n"), encoding);
    const auto put = [&](const Raw &raw, const auto &freshText) {
        if (raw.begin >= 0) {
            out.append(m_source.constData() + raw.begin, raw.length);
        } else {
            bool ok = true;
            out += encodeWithoutBom(freshText(), encoding, &ok);
            allExact = allExact && ok;
        }
        out += eol;
    };
    for (const Block &b : m_blocks) {
        if (b.hasHeader)
            put(b.raw, [&] { return u'[' + b.name + u']'; });
        for (const Line &l : b.lines)
            put(l.raw, [&] { return l.key + u'=' + quoteIfNeeded(l.value); });
        if (b.hasHeader)
            out += eol;
    }
    if (exact)
        *exact = allExact;
    return out;
}

QByteArray IniFile::serialize() const
{
    switch (m_encoding) {
    case TextEncoding::Utf8Bom:
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return serializeAs(m_encoding, nullptr);
    case TextEncoding::Locale:
    case TextEncoding::ShiftJis:
        break;
    }
    // The next read decides the encoding of the whole file from its bytes, and the kept
    // lines cannot change. Prefer the encoding the file was read in, then the other one
    // a file without a byte-order mark may have; accept one only when the next read will
    // detect it and it holds every character written.
    const TextEncoding other =
        m_encoding == TextEncoding::Locale ? TextEncoding::ShiftJis : TextEncoding::Locale;
    for (const TextEncoding candidate : {m_encoding, other}) {
        bool exact = false;
        QByteArray out = serializeAs(candidate, &exact);
        if (exact && detectEncoding(out) == candidate)
            return out;
    }
    // Shift_JIS lines are kept and a value Shift_JIS cannot hold is written: only a
    // byte-order mark makes the next read take the program's lines as written.
    return serializeAs(TextEncoding::Utf8Bom, nullptr);
}

qint64 IniFile::blockBytes(const Block &block) const
{
    const qint64 eol =
        m_encoding == TextEncoding::Utf16LE || m_encoding == TextEncoding::Utf16BE ? 4 : 2;
    const auto size = [&](const Raw &raw, const QString &fresh) {
        return (raw.begin >= 0 ? raw.length : encodeWithoutBom(fresh, m_encoding).size()) + eol;
    };
    qint64 bytes = 0;
    if (block.hasHeader)
        bytes += size(block.raw, u'[' + block.name + u']') + eol;
    for (const Line &l : block.lines)
        bytes += size(l.raw, l.key + u'=' + quoteIfNeeded(l.value));
    return bytes;
}

int IniFile::dropSectionsToFit(qint64 maxBytes, const QStringList &keep)
{
    const auto kept = [&keep](const Block &b) {
        return b.hasHeader && keep.contains(b.name, Qt::CaseInsensitive);
    };
    qint64 excess = serialize().size() - maxBytes;
    if (excess <= 0)
        return 0;
    const QList<Block> before = m_blocks;
    int dropped = 0;
    // Sizes are those of the file's encoding; the real size is taken again after each
    // round, should dropping lines have changed the encoding the file is written in.
    while (excess > 0) {
        for (qsizetype b = m_blocks.size() - 1; b >= 0 && excess > 0; --b) {
            if (kept(m_blocks.at(b)))
                continue;
            excess -= blockBytes(m_blocks.at(b));
            m_blocks.remove(b);
            ++dropped;
        }
        rebuildIndex();
        excess = serialize().size() - maxBytes;
        if (excess > 0 && std::all_of(m_blocks.cbegin(), m_blocks.cend(), kept)) {
            m_blocks = before;
            rebuildIndex();
            return -1;
        }
    }
    return dropped;
}

bool IniFile::save(const QString &path, QString *error) const
{
    return writeWholeFile(path, serialize(), error);
}

const IniFile::Line *IniFile::findLine(const QString &section, const QString &key) const
{
    const auto s = m_index.constFind(Name{section});
    if (s == m_index.cend())
        return nullptr;
    const auto k = s->keys.constFind(Name{key});
    if (k == s->keys.cend())
        return nullptr;
    return &m_blocks.at(k->block).lines.at(k->line);
}

bool IniFile::hasSection(const QString &section) const
{
    return m_index.contains(Name{section});
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    for (int b = 0; b < m_blocks.size(); ++b) {
        const Block &block = m_blocks.at(b);
        if (block.hasHeader && m_index.value(Name{block.name}).firstBlock == b)
            names << ownCopy(block.name);
    }
    return names;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return findLine(section, key) != nullptr;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    const Line *l = findLine(section, key);
    return l ? ownCopy(l->value) : def;
}

bool IniFile::parseInteger(const QString &text, int *value)
{
    QStringView t = trimBlanks(text);
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.front() == u'-';
        t = t.mid(1);
    }
    int base = 10;
    if (t.startsWith(u"0x", Qt::CaseInsensitive)) {
        t = t.mid(2);
        base = 16;
    } else if (t.startsWith(u'$')) {
        t = t.mid(1);
        base = 16;
    }
    // Digits follow the sign and the prefix directly: "0x 1E" and "0x+1E" are no numbers.
    if (t.isEmpty() ||
        !std::all_of(t.begin(), t.end(), [&](QChar c) { return isDigitOf(c, base); }))
        return false;
    bool ok = false;
    const qulonglong magnitude = t.toULongLong(&ok, base);
    if (!ok)
        return false;
    qlonglong v = 0;
    if (base == 16) {
        // Hexadecimal spells the 32 bits themselves: 0xFFFFFFFF is -1.
        if (magnitude > 0xFFFFFFFFull)
            return false;
        v = static_cast<qint32>(static_cast<quint32>(magnitude));
    } else {
        if (magnitude > 0x80000000ull)
            return false;
        v = static_cast<qlonglong>(magnitude);
    }
    if (negative)
        v = -v;
    if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return false;
    *value = static_cast<int>(v);
    return true;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    const Line *l = findLine(section, key);
    int v = 0;
    return l && parseInteger(l->value, &v) ? v : def;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    // A value cannot span lines in this format.
    QString flat = value;
    flat.replace(u'\r', u' ').replace(u'\n', u' ');
    auto index = m_index.find(Name{section});
    if (index == m_index.end()) {
        m_blocks.append(Block{section, true, {}, {}});
        index = m_index.insert(Name{section}, SectionIndex{int(m_blocks.size() - 1), {}});
    }
    const auto found = index->keys.constFind(Name{key});
    if (found != index->keys.cend()) {
        Line &line = m_blocks[found->block].lines[found->line];
        line.key = key; // written with the writer's spelling ("state" becomes "State")
        line.value = flat;
        line.raw = {};
        return;
    }
    Block &block = m_blocks[index->firstBlock];
    block.lines.append(Line{key, flat, {}});
    index->keys.insert(Name{key}, Position{index->firstBlock, int(block.lines.size() - 1)});
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString &section)
{
    if (!hasSection(section))
        return;
    const Name name{section};
    m_blocks.removeIf([&](const Block &b) { return b.hasHeader && Name{b.name} == name; });
    rebuildIndex();
}

} // namespace pelmaris::platform
