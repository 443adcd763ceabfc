#pragma once

#include <QLocale>
#include <QString>

namespace pelmaris::scan {

// What a folder walk could not list, and why. Nothing here is an error of the scan as a
// whole; the user is told once the scan is over.
struct LeftOut {
    // Files whose own names are not valid in the locale's encoding: their text form
    // would name some other file, so they can be neither shown nor opened through it.
    qint64 badNameFiles = 0;
    // Folders whose names are not valid in the locale's encoding, and the files found
    // below them (their paths have no faithful text form either).
    qint64 badNameFolders = 0;
    qint64 filesInBadNameFolders = 0;
    // Folders that could not be opened or read (no permission, vanished, I/O error);
    // what they hold is unknown.
    qint64 unreadableFolders = 0;

    bool any() const
    {
        return badNameFiles || badNameFolders || filesInBadNameFolders || unreadableFolders;
    }
    LeftOut &operator+=(const LeftOut &other);
};

// One line for the status bar after a scan that left something out, saying how much
// and why; empty when nothing was left out, so the usual texts stand alone then.
QString leftOutText(const LeftOut &leftOut, const QLocale &locale = QLocale());

} // namespace pelmaris::scan
