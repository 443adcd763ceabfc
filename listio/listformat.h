#pragma once

// The list text: what list files, the clipboard and the folder list output hold.
//
// Detail form: one line per row, the path and the five details each in double quotes,
// separated by commas: "/pics/a b.jpg","jpeg","1,234,567","1,920","1,080","2024/05/06 07:08:09"
// Path form: one bare path per line. Lines beginning with ";" are comments. Written
// lines end with CR LF; the reader takes CR LF, LF or CR and both forms mixed.

#include "scan/listitem.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

namespace pelmaris::platform {
class FileSystem;
}

namespace pelmaris::listio {

enum class ListForm { Detail, Path };

// ---- writing ----

// A path or text with a line break in it has no faithful line of its own.
bool fitsOnOneLine(QStringView text);

// Text in double quotes, a double quote inside written twice.
QString quoteField(QStringView text);

// One detail line without its line end.
QString detailLine(const scan::ListItem &row);

// One path-form line without its line end: the bare path, or the path as a quoted
// field when it holds a double quote, so that it reads back as itself.
QString pathLine(const QString &path);

struct ListText {
    QString text;       // every line followed by CR LF
    qint64 lines = 0;   // lines written
    qint64 skipped = 0; // entries left out: they hold a line break
};

ListText detailText(const std::vector<scan::ListItem> &rows);
ListText pathText(const QStringList &paths);
ListText listText(ListForm form, const std::vector<scan::ListItem> &rows, const QStringList &paths);

// ---- reading ----

// The lines of a text; CR LF, LF and CR each end one. A break at the very end starts
// no further line.
QStringList splitLines(QStringView text);

// The fields of one line. Outside double quotes, a comma or a run of characters with
// codes up to 32 separates fields (runs around a comma count once, those at the start
// are skipped). A field that begins with a double quote runs to the next quote that is
// not doubled, or to the end of the line; inside it "" is one quote. A comma at the
// very end adds one empty field. With maxFields > 0 parsing stops after that many.
QStringList parseFields(QStringView line, qsizetype maxFields = -1);

// Whether a path names what may become a row.
using FileTest = std::function<bool(const QString &path)>;

// The program's test: an absolute path to an existing regular file, links followed, of
// any length (as deep as a scan lists). Folders, FIFOs, sockets and devices make no row:
// a row stands for a picture that other commands open, copy and show. Asked of
// `fileSystem`.
bool isListableFile(const QString &path, platform::FileSystem &fileSystem);

// The row a line makes, or none: comments, empty lines, and lines whose first field
// does not pass the file test make none. A line that begins and ends with a double
// quote is parsed as it is; any other is parsed as if enclosed in one, so that a bare
// path with blanks or commas stays one field. The row is checked; its five sub-items
// take fields 2 to 6 where the line has them.
std::optional<scan::ListItem> rowFromLine(QStringView line, const FileTest &isFile);

// Every row of a text, in order.
std::vector<scan::ListItem> rowsFromText(QStringView text, const FileTest &isFile);

} // namespace pelmaris::listio
