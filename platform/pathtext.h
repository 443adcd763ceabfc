#pragma once

#include <QString>

// Path text rules in one place: which characters delimit, what the folder of a path is.
// The program keeps paths as text in the platform's own form; only this file knows the
// delimiter.
namespace pelmaris::pathtext {

bool isDelimiter(QChar c);
QChar delimiter();

// The path with one trailing delimiter.
QString withDelimiter(const QString &path);
// The path without a trailing delimiter; a root keeps its own.
QString withoutDelimiter(const QString &path);
// Up to the last delimiter, without it; a root keeps it ("/a" gives "/"); empty when the
// path has no delimiter.
QString folderOf(const QString &path);
// Up to and including the last delimiter.
QString folderWithDelimiter(const QString &path);
// The text after the last delimiter.
QString fileNameOf(const QString &path);
// True when `path` lies below `folder` (a prefix match on whole path elements,
// case-sensitive): "/data/a/x.jpg" is inside "/data/a", "/mnt/data/a/x.jpg" is not.
bool isInsideFolder(const QString &path, const QString &folder);
// The root a full path starts from, with its delimiter: "/" on Linux; a drive ("C:\\")
// or a network share ("\\\\server\\share\\") on Windows. Empty for any other path. Takes
// the system's own delimiters.
QString rootOf(const QString &path);
// Whether the system tells names apart by case (it does not on Windows).
Qt::CaseSensitivity nameCase();
// Joins two parts with one delimiter between them; an empty first part gives the second,
// an absolute second part replaces the first.
QString joinPath(const QString &first, const QString &second);

} // namespace pelmaris::pathtext
