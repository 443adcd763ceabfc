#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// The freedesktop desktop-entry format, as far as the program reads and writes it:
// launchers found for browsers and editors, shortcuts the program writes, and entries
// the user picks. Pure text handling; nothing here starts a program.
namespace pelmaris::platform::desktopentry {

// The unlocalised keys of the [Desktop Entry] group with their values unescaped.
QHash<QString, QString> parse(const QByteArray &bytes);
// The same for a file; empty when it cannot be read or is no regular file.
QHash<QString, QString> read(const QString &path);
// True for a name ending in ".desktop".
bool isEntryFile(const QString &path);

// The string escapes (\s \n \t \r \\) of a value, both ways. A value cannot carry other
// control characters: canCarry() says whether one can be written at all.
QString escapeValue(const QString &text);
QString unescapeValue(const QString &value);
bool canCarry(const QString &text);

// One argument of an Exec line: always in double quotes, with " ` $ \ escaped by a
// backslash and % doubled, so no character is read as a field code or by a shell. The
// line still goes through escapeValue() when it is written.
QString quoteExecArgument(const QString &argument);
// The arguments of an (unescaped) Exec line with quoting undone and %% made %; a field
// code standing alone ("%F") is kept as it is. Empty when a quote never closes.
QStringList splitExec(const QString &exec);

// The program an Exec line starts, past an `env` wrapper and its assignments
// (snap launchers read "env BAMF_DESKTOP_FILE_HINT=… /snap/bin/firefox %u").
QString execProgram(const QStringList &arguments);
// The program a person would name: execProgram(), and for a Flatpak launcher the
// command it runs inside the sandbox, else the application id's last part.
QString displayProgram(const QStringList &arguments);
// displayProgram() of an entry file's Exec line; empty when it has none.
QString displayProgramOf(const QString &entryFile);

} // namespace pelmaris::platform::desktopentry
