#pragma once

#include "platform/textcodec.h"

#include <QList>
#include <QString>

namespace pelmaris::platform {

// The settings file format: sections of key=value lines, names matched without regard
// to case. A rewrite keeps unknown sections in place and drops comments and blank
// lines; each section is followed by one blank line. QSettings keeps none of this.
class IniFile {
public:
    // Files larger than this are not settings files; they read as empty.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    IniFile() = default;

    // A missing, unreadable or oversized file reads as empty.
    static IniFile load(const QString &path);
    static IniFile parse(const QByteArray &bytes);

    QByteArray serialize() const;
    // Writes the whole file through a temporary file and a rename, so a failed write
    // leaves the old file as it was. On failure returns false and sets *error.
    bool save(const QString &path, QString *error = nullptr) const;

    bool hasSection(const QString &section) const;
    QStringList sectionNames() const;
    bool hasKey(const QString &section, const QString &key) const;

    QString readString(const QString &section, const QString &key, const QString &def) const;
    // Decimal, or hexadecimal after "0x" or "$"; anything else, or a value outside
    // 32 bits, gives def.
    int readInteger(const QString &section, const QString &key, int def) const;
    bool readBool(const QString &section, const QString &key, bool def) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void eraseSection(const QString &section);

    TextEncoding encoding() const { return m_encoding; }

    // Integer text as the file format reads it; nullopt-like false when not a number.
    static bool parseInteger(const QString &text, int *value);

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        QList<Entry> entries;
    };

    const Section *findSection(const QString &name) const;
    Section *findSection(const QString &name);
    const Entry *findEntry(const QString &section, const QString &key) const;

    QList<Section> m_sections;
    TextEncoding m_encoding = TextEncoding::Locale;
};

} // namespace pelmaris::platform
