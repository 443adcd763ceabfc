#pragma once

#include <QString>

#include <memory>

namespace pelmaris::platform {

// What a shortcut stands for.
enum class ShortcutKind {
    Program,  // starts a program, handing it the files dropped on the shortcut
    Document, // opens a file with its default application
    // A program shortcut that the file manager's scripts menu runs with the selected
    // files as its arguments.
    FileManagerScript,
};

// One shortcut being filled in, property by property. Each call gives 0 or an error
// number (the system's errno on Linux), which errorText() then explains.
class ShortcutLink {
public:
    virtual ~ShortcutLink() = default;
    // The plain path the shortcut points to; quoting is the format's business.
    virtual int setPath(const QString &target) = 0;
    // One argument handed to the program before any files.
    virtual int setArguments(const QString &arguments) = 0;
    virtual int setWorkingDirectory(const QString &folder) = 0;
    virtual int setDescription(const QString &text) = 0;
    // Writes the shortcut whole under `file`, replacing whatever has the name (a link
    // itself, never its target), and creates the folder when it is missing.
    virtual int save(const QString &file) = 0;
    // The system's text for the last failure.
    virtual QString errorText() const = 0;
};

// Makes shortcut objects in the desktop's own format.
class Shortcuts {
public:
    virtual ~Shortcuts() = default;
    virtual std::unique_ptr<ShortcutLink> create(ShortcutKind kind) = 0;
    // The extension of shortcut files, with its dot.
    virtual QString extension() const = 0;
    // A menu entry that already starts the program (an installed one, not the shortcut
    // file `own`), or empty.
    virtual QString menuEntryFor(const QString &program, const QString &own) const
    {
        Q_UNUSED(program);
        Q_UNUSED(own);
        return {};
    }
};

} // namespace pelmaris::platform
