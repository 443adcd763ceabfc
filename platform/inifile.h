#pragma once

#include "platform/fileio.h"
#include "platform/textcodec.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace pelmaris::platform {

// A hash that agrees with QString's case-insensitive comparison.
size_t hashIgnoringCase(QStringView text, size_t seed) noexcept;

// The settings file format: sections of key=value lines, names matched without regard
// to case. QSettings keeps none of the rules below.
//
// Reading: lines are trimmed of blanks; a value enclosed in one pair of double or single
// quotes reads without them. Within a section the first of duplicated keys is the one a
// reader sees; a section that appears twice reads as one.
//
// Rewriting keeps every line the program did not write byte for byte (a file written on
// a Japanese system is Shift_JIS and stays so), drops comments and blank lines, and ends
// each section with one blank line. Lines the program writes are encoded so that the
// next read decodes them as written: in the encoding the file was read in while that
// still holds, else in UTF-8, else in UTF-8 with a byte-order mark. A value that begins
// or ends with a blank, or would lose its own quotes, is written in double quotes.
class IniFile {
public:
    // Larger files are not settings files: they are neither read nor replaced.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    IniFile() = default;

    // Reads a regular file; anything else (missing, a FIFO or device, unreadable, too
    // large) reads as empty and is never opened beyond what finding that out needs.
    // *status and *error (when given) tell which.
    static IniFile load(const QString &path, ReadStatus *status = nullptr,
                        QString *error = nullptr);
    static IniFile parse(const QByteArray &bytes);

    QByteArray serialize() const;
    // Replaces the whole file; a failed write leaves the old file as it was. On failure
    // returns false and sets *error.
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
    // Drops whole sections not named in `keep` (and lines before the first section),
    // the last first, until serialize() gives at most maxBytes: so the program never
    // writes a file it will refuse to read. Returns how many were dropped; -1, with
    // nothing dropped, when the kept sections alone are larger.
    int dropSectionsToFit(qint64 maxBytes, const QStringList &keep);

    // The encoding the file was read in.
    TextEncoding encoding() const { return m_encoding; }

    // Integer text as the file format reads it; false when it is not a number.
    static bool parseInteger(const QString &text, int *value);

private:
    // A span of m_source; begin < 0 for text the program wrote.
    struct Raw {
        qsizetype begin = -1;
        qsizetype length = 0;
    };
    // Names and values read from the file share m_text's characters; the program's own
    // are strings of their own.
    struct Line {
        QString key; // empty for a line that is no key; kept as it was
        QString value;
        Raw raw;
    };
    // One "[name]" header and the lines under it; the lines before the first header
    // form a block without a name.
    struct Block {
        QString name;
        bool hasHeader = true;
        Raw raw;
        QList<Line> lines;
    };
    struct Position {
        int block = -1;
        int line = 0;
    };
    // A section or key name, hashed and compared without regard to case.
    struct Name {
        QString text;
        friend bool operator==(const Name &a, const Name &b)
        {
            return a.text.compare(b.text, Qt::CaseInsensitive) == 0;
        }
        friend size_t qHash(const Name &name, size_t seed) noexcept
        {
            return hashIgnoringCase(name.text, seed);
        }
    };
    struct SectionIndex {
        int firstBlock = 0;
        QHash<Name, Position> keys; // the first line with each key
    };

    const Line *findLine(const QString &section, const QString &key) const;
    void indexBlock(int block);
    void rebuildIndex();
    QByteArray serializeAs(TextEncoding encoding, bool *exact) const;
    // About what a block adds to the file in the encoding it was read in.
    qint64 blockBytes(const Block &block) const;

    QByteArray m_source; // the bytes the file was read from
    QString m_text;      // the same, decoded
    QList<Block> m_blocks;
    QHash<Name, SectionIndex> m_index;
    TextEncoding m_encoding = TextEncoding::Locale;
};

} // namespace pelmaris::platform
