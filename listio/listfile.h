#pragma once

// List files on disk: their encodings, reading one whole, and what the save and open
// commands ask in their file dialogs and make of the answers.

#include "listio/listformat.h"
#include "listio/listsource.h"
#include "platform/filequestions.h"
#include "platform/outcome.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace pelmaris::listio {

// ---- encodings ----

struct EncodedList {
    QByteArray bytes;
    bool utf8WithBom = false; // the character set could not hold every character
};

// The text in the locale's character set (UTF-8 here), without a byte-order mark.
// Where that set cannot hold a character, the whole file is UTF-8 with a byte-order
// mark instead, which the reader takes as such, so no path comes back altered.
// `charset` names another set (for tests and other backends); empty means the locale's.
EncodedList encodeListFile(const QString &text, const QByteArray &charset = {});

// The whole text of a list file, its encoding judged as ListSource::fromBytes does.
QString decodeListFile(const QByteArray &bytes);

// ---- reading ----

// Larger list files are refused rather than read into memory; so is larger clipboard
// text (counted in UTF-8), with the same message.
inline constexpr qint64 kMaxListFileBytes = qint64(512) << 20;
QString tooLargeText();

// Reads a list file whole. Only a regular file is opened (links followed): a folder,
// FIFO or device as list file gives a clear message and is never read. A failure's text
// is the system's description, CR LF, the path.
platform::Result<ListSource> readListFile(const QString &path, qint64 maxBytes = kMaxListFileBytes);

// ---- the dialogs ----

// The file types in dialog order, numbered as the dialog numbers them.
enum class ListFileType { Csv = 1, Text = 2, All = 3 };

// "CSV" *.csv, "TEXT" *.txt, "ALL" (every file).
QList<platform::FileFilter> listFileFilters();

// The program's name without folder and extension, "(" count ")" below 1000 or
// "(" count div 1000 "K)" from 1000 on, and "-yyyymmdd-HHNNSS"; no extension.
QString suggestedListName(const QString &programPath, qint64 count, const QDateTime &now);

// The save dialog: the detail view with a menu sender suggests the CSV type and counts
// the rows; the preview view, or no sender (the folder list output), suggests TEXT and
// counts the entries of ScanList. Overwriting is confirmed.
platform::FileDialogRequest saveListDialog(bool detailView, qint64 rows, qint64 scanEntries,
                                           const QString &programPath, const QDateTime &now);

// The open dialog, on the first type.
platform::FileDialogRequest openListDialog();

// The file type an answer's type index stands for.
ListFileType listFileType(int filterIndex);

// A name without an extension gets that of the type: ".csv", ".txt", or none for ALL.
QString withTypeExtension(const QString &path, ListFileType type);

// Exactly ".csv" (letter case counts: ".CSV" does not) is the detail form; any other
// extension, or none, the path form.
ListForm formOfFileName(const QString &path);

struct SaveTarget {
    QString path;
    ListForm form = ListForm::Path;
};

// Where and in which form the save writes, from the dialog's answer.
SaveTarget saveTarget(const platform::FileDialogAnswer &answer);

} // namespace pelmaris::listio
