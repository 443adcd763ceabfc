#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

class QWidget;

namespace pelmaris::platform {

// Why the shell could not do something: a number in the shell's own numbering
// (2 not found, 5 access denied, 31 no associated program) and the system's text for it.
struct ShellError {
    int code = 0;
    QString text;
};

// Hands files, addresses and programs to the desktop.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens a file, folder or address with the program the desktop associates with it.
    virtual bool open(const QString &target, ShellError *error) = 0;
    // Starts a program (a path, or a name found on PATH) detached, with parameter text in
    // the command-line form: blanks separate, double quotes group, """ is a literal quote.
    virtual bool startDetached(const QString &program, const QString &parameters,
                               ShellError *error) = 0;
    // Shows a file's properties, through the file manager where one offers it.
    virtual bool showProperties(QWidget *parent, const QString &path) = 0;
    // Moves a file or folder to the desktop's trash.
    virtual bool moveToTrash(const QString &path, QString *error) = 0;
    // Program path of the desktop's default application for web pages, or empty.
    virtual QString defaultHtmlProgram(ShellError *error) = 0;
    // The first installed program among the given names (on PATH) or desktop-entry ids.
    virtual QString findProgram(const QStringList &names, const QStringList &desktopIds) = 0;
    // Small icons; a null icon when there is none.
    virtual QIcon programIcon(const QString &program) = 0;
    virtual QIcon fileTypeIcon(const QString &path) = 0;
    // The icon of the drive or mount that holds the path.
    virtual QIcon driveIcon(const QString &path) = 0;
    // What a shortcut points to (a link's target, a launcher's program or document); the
    // path itself when it is no shortcut or cannot be read as one.
    virtual QString shortcutTarget(const QString &path) = 0;
};

} // namespace pelmaris::platform
