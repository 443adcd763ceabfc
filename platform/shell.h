#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace pelmaris::platform {

// Why the shell could not do something: a number in the shell's own numbering and the
// system's text for it.
struct ShellError {
    enum Code {
        NotFound = 2,
        AccessDenied = 5,
        NoAssociation = 31,
        NotSupported = 50, // the place has no trash
    };
    int code = 0;
    QString text;
};

// A program that startDetached started and that ended in failure soon after, before it
// could show anything; the start itself had been answered with success.
struct EarlyExit {
    QString program;
    QString parameters;
    int exitCode = 0;
    QString text; // what the user is told of the end
};

// How the open-with chooser ended. A cancelled chooser is no failure.
enum class OpenWithResult { Started, Cancelled, Failed };

// Hands files, addresses and programs to the desktop.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens a file, folder or address with the program the desktop associates with it.
    virtual bool open(const QString &target, ShellError *error) = 0;
    // Starts a program (a path, or a name found on PATH) detached, with parameter text in
    // the command-line form: blanks separate, double quotes group, """ is a literal quote.
    // A desktop entry file is launched through the entry, each argument handed over as a
    // file or address in place of its field codes.
    virtual bool startDetached(const QString &program, const QString &parameters,
                               ShellError *error) = 0;
    // Called on the window's thread for each program started by startDetached that ends
    // in failure within a few seconds. A system that cannot watch what it started never
    // calls it.
    virtual void setEarlyExitHandler(std::function<void(const EarlyExit &)> handler)
    {
        Q_UNUSED(handler);
    }
    // Shows a file's properties, through the file manager where one offers it.
    virtual bool showProperties(QWidget *parent, const QString &path) = 0;
    // Moves a file or folder to the desktop's trash; never deletes it. Where the file
    // system has no trash the code is NotSupported and the file stays.
    virtual bool moveToTrash(const QString &path, ShellError *error) = 0;
    // The desktop's default application for web pages (a launcher file or a program
    // path), or empty.
    virtual QString defaultHtmlProgram(ShellError *error) = 0;
    // The first installed program among the given names (on PATH, as a path) or
    // desktop-entry ids (as the launcher file).
    virtual QString findProgram(const QStringList &names, const QStringList &desktopIds) = 0;
    // The program of a browser the system registers under its client name ("Google
    // Chrome"); where the system keeps no such register, the first installed program
    // among the names and desktop-entry ids, as findProgram finds it.
    virtual QString browserProgram(const QString &client, const QStringList &names,
                                   const QStringList &desktopIds)
    {
        Q_UNUSED(client);
        return findProgram(names, desktopIds);
    }
    // Small icons; a null icon when there is none.
    virtual QIcon programIcon(const QString &program) = 0;
    virtual QIcon fileTypeIcon(const QString &path) = 0;
    // The icon of the drive or mount that holds the path.
    virtual QIcon driveIcon(const QString &path) = 0;
    // What a shortcut points to (a link's target, a launcher's program or document); the
    // path itself when it is no shortcut or cannot be read as one.
    virtual QString shortcutTarget(const QString &path) = 0;

    // The first installed paint program, or empty when none is.
    virtual QString paintProgram() = 0;
    // The desktop's default text editor, else the first installed one, else empty.
    virtual QString textEditorProgram() = 0;
    // The programs looked for, the preferred first: what a report of none installed
    // names for the user to install.
    virtual QStringList paintProgramNames() const = 0;
    virtual QStringList textEditorNames() const = 0;
    // Lets the user pick a program for the file among those registered for its type (or
    // any program file) and starts it on the file.
    virtual OpenWithResult openWith(QWidget *parent, const QString &path, ShellError *error) = 0;
    // Shows the file manager with the item selected; without a file manager that can,
    // opens the folder that holds it.
    virtual bool showItem(const QString &path, ShellError *error) = 0;
};

} // namespace pelmaris::platform
