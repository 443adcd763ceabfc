#pragma once

#include <QString>
#include <QStringList>

namespace pelmaris::platform::desktopentries {

// The applications folders of the XDG data dirs, most important first.
QStringList applicationDirs();
// Full path of a desktop entry file by id ("chromium.desktop"), or empty.
QString findDesktopFile(const QString &desktopId);
// A key of the [Desktop Entry] group, unlocalised and unescaped; empty when missing.
QString value(const QString &desktopFile, const QString &key);
// The desktop id the user's mimeapps.list files (and then the mime cache) name as the
// default for a MIME type, or empty.
QString defaultApplication(const QString &mimeType);
// The absolute program path a desktop entry starts (past an env wrapper), or empty when
// it is not installed.
QString programOf(const QString &desktopId);
// The entry file of an installed desktop entry, or empty.
QString installedEntry(const QString &desktopId);
// The application entries (of every applications folder, most important first) that
// start the program: their Exec program resolves to the same file, or names it by its
// bare file name as a PATH lookup would.
QStringList entriesRunning(const QString &program);
// A program name found on PATH, or a path that is an executable file; else empty.
QString resolveProgram(const QString &program);

} // namespace pelmaris::platform::desktopentries
