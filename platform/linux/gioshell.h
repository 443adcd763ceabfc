#pragma once

#include "platform/shell.h"

#include <QList>
#include <QString>
#include <QStringList>

// The parts of the desktop that GIO answers best: launching through desktop entries
// (field codes expanded as the format says), the applications registered for a type,
// and the freedesktop trash.
namespace pelmaris::platform::gio {

// Launches a desktop entry file; each argument (a path, or an address with a scheme)
// goes in as one file in place of the entry's field codes.
bool launchEntry(const QString &entryFile, const QStringList &arguments, ShellError *error);

// Opens a path or an address with the application GLib finds for it. With none, the
// code is NoAssociation and the text GLib's own, in the user's language.
bool launchDefault(const QString &target, ShellError *error);

// GLib's text for a file or address no application handles, in the user's language.
QString noApplicationText();

struct Application {
    QString entryFile; // the launcher to start through launchEntry()
    QString name;      // as the desktop shows it
    QString icon;      // a theme icon name or an icon file; may be empty
};

// The applications the desktop offers for a MIME type, the preferred ones first.
QList<Application> applicationsFor(const QString &mimeType);

// Moves a file to the trash of its file system; never deletes it.
bool trash(const QString &path, ShellError *error);

} // namespace pelmaris::platform::gio
