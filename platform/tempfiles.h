#pragma once

#include <QString>

namespace pelmaris::platform {

// The temporary files of one run: a page file that exists (empty) from the start, and
// two icon names beside it that are written later.
struct TempFileNames {
    QString stem; // the unique name the page file was derived from
    QString html;
    QString ico;
    QString icon;
};

// Creates a unique "tmp…" file in dir, then the ".html" file beside it, both exclusively
// (never through an existing file or link), and removes the first. On failure returns
// false and sets *error to the system's message.
bool makeTempFileNames(const QString &dir, TempFileNames *names, QString *error);

// Creates an empty file; fails when anything, a link included, already has the name.
bool createFileExclusively(const QString &path, QString *error = nullptr);

// Overwrites each line of a text file with as many NUL characters as it had, then
// deletes the file, so the page's paths do not linger on the disk. Anything but a
// regular file (a link, FIFO or device) is never opened; only its name is removed.
// Returns false when the file could not be overwritten or removed.
bool scrubAndRemove(const QString &path, QString *error = nullptr);

} // namespace pelmaris::platform
