#pragma once

// List text read where it lies, line by line: the bytes of a list file or of the
// clipboard, or the characters of a string. Nothing splits it into one string per line,
// so a text of a hundred million line breaks costs what it weighs, and the rows it makes.
//
//   ListSource source = ListSource::fromBytes(fileBytes);   // the encoding is judged
//   LineIndex index = indexLines(source, 512);              // where every 512th line starts
//   LineReader lines(source, index.starts[k], endOfChunk);
//   while (lines.next(line) != LineReader::End) ...

#include "platform/textcodec.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <atomic>
#include <vector>

namespace pelmaris::listio {

struct ListSource {
    QByteArray bytes; // without byte-order mark
    platform::TextEncoding encoding = platform::TextEncoding::Locale;
    // A file that is UTF-8 but for a few lines: those lines are left unread (as
    // Shift_JIS the file's UTF-8 lines would name no file) and counted.
    bool skipNonUtf8Lines = false;
    // The string whose characters `bytes` are, when the source is a string.
    QString text;

    // The characters of a string, not copied.
    static ListSource fromText(QString text);
    // A list file's bytes. A byte-order mark decides; without one, bytes with NULs are
    // UTF-16 (no UTF-8 or Shift_JIS path holds a NUL) in the byte order the NULs show,
    // UTF-8 is UTF-8, and anything else is Shift_JIS, unless at least as many lines read
    // as UTF-8 with characters beyond ASCII as there are lines that are not UTF-8.
    static ListSource fromBytes(QByteArray bytes);
};

// The whole source as one string (small texts, tests); unread lines are left out.
QString wholeText(const ListSource &source);

// How many lines a source has (CR LF, LF and CR each end one; a break at the very end
// starts no further line) and where every `step`th line starts, the first included.
struct LineIndex {
    qint64 lines = 0;
    std::vector<qsizetype> starts;
};
// Stops early, with what it has, when `cancel` is set.
LineIndex indexLines(const ListSource &source, qsizetype step,
                     const std::atomic<bool> *cancel = nullptr);

// The lines of source bytes [begin, end), begin at a line's start, decoded one by one.
class LineReader {
public:
    LineReader(const ListSource &source, qsizetype begin, qsizetype end);

    enum Result { Line, Unread, End };
    // The next line in `line`; Unread for a line the source leaves unread.
    Result next(QString &line);

private:
    const ListSource &m_source;
    qsizetype m_pos;
    qsizetype m_end;
    QStringDecoder m_decoder;
};

} // namespace pelmaris::listio
