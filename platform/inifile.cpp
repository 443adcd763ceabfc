#include "platform/inifile.h"

#include <QFile>
#include <QSaveFile>

#include <limits>

namespace pelmaris::platform {

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile IniFile::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    if (file.size() > MaxFileSize)
        return {};
    // A device or FIFO reports size 0; read no more than the limit either way.
    return parse(file.read(MaxFileSize + 1).left(MaxFileSize));
}

IniFile IniFile::parse(const QByteArray &bytes)
{
    IniFile ini;
    const DecodedText decoded = decodeText(bytes);
    ini.m_encoding = decoded.encoding;

    Section *current = nullptr;
    const QStringView text(decoded.text);
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        QStringView line = text.mid(start, end - start).trimmed();
        start = end + 1;

        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name =
                (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed().toString();
            current = ini.findSection(name);
            if (!current) {
                ini.m_sections.append(Section{name, {}});
                current = &ini.m_sections.last();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!current || eq <= 0)
            continue; // text outside a section, or a line that is no key
        const QString key = line.left(eq).trimmed().toString();
        if (key.isEmpty())
            continue;
        bool seen = false;
        for (const Entry &e : std::as_const(current->entries))
            seen = seen || sameName(e.key, key);
        if (!seen) // the first of duplicated keys is the one a reader sees
            current->entries.append(Entry{key, line.mid(eq + 1).trimmed().toString()});
    }
    return ini;
}

QByteArray IniFile::serialize() const
{
    QString out;
    for (const Section &s : m_sections) {
        out += QStringLiteral("[") + s.name + QStringLiteral("]\r\n");
        for (const Entry &e : s.entries)
            out += e.key + QLatin1Char('=') + e.value + QStringLiteral("\r\n");
        out += QStringLiteral("\r\n");
    }
    return encodeText(out, m_encoding);
}

bool IniFile::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = serialize();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    for (const Section &s : m_sections)
        if (sameName(s.name, name))
            return &s;
    return nullptr;
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    for (Section &s : m_sections)
        if (sameName(s.name, name))
            return &s;
    return nullptr;
}

const IniFile::Entry *IniFile::findEntry(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    if (!s)
        return nullptr;
    for (const Entry &e : s->entries)
        if (sameName(e.key, key))
            return &e;
    return nullptr;
}

bool IniFile::hasSection(const QString &section) const
{
    return findSection(section) != nullptr;
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    for (const Section &s : m_sections)
        names << s.name;
    return names;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return findEntry(section, key) != nullptr;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    const Entry *e = findEntry(section, key);
    return e ? e->value : def;
}

bool IniFile::parseInteger(const QString &text, int *value)
{
    QStringView t = QStringView(text).trimmed();
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
    if (t.isEmpty())
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
    const Entry *e = findEntry(section, key);
    int v = 0;
    return e && parseInteger(e->value, &v) ? v : def;
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
    Section *s = findSection(section);
    if (!s) {
        m_sections.append(Section{section, {}});
        s = &m_sections.last();
    }
    for (Entry &e : s->entries) {
        if (sameName(e.key, key)) {
            e.key = key; // written with the writer's spelling ("state" becomes "State")
            e.value = flat;
            return;
        }
    }
    s->entries.append(Entry{key, flat});
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
    m_sections.removeIf([&](const Section &s) { return sameName(s.name, section); });
}

} // namespace pelmaris::platform
