#pragma once

#include "platform/shortcuts.h"

#include <QByteArray>

namespace pelmaris::platform {

// Shortcuts as freedesktop desktop entries: a program entry (Type=Application) for a
// program, a Type=Link entry with a file:// address for a document. The file manager
// script is a program entry that runs itself through `gio launch`, so the scripts menu
// can start it with the selected files.
class LinuxShortcuts final : public Shortcuts {
public:
    std::unique_ptr<ShortcutLink> create(ShortcutKind kind) override;
    QString extension() const override { return QStringLiteral(".desktop"); }
    QString menuEntryFor(const QString &program, const QString &own) const override;

    // The entry's text as it would be saved under the given display name; empty when
    // a property cannot be carried (the link's setters refuse those first). A program's
    // entry shows `icon` (a theme name or an icon file) when it is not empty.
    static QByteArray entryText(ShortcutKind kind, const QString &name, const QString &target,
                                const QString &arguments, const QString &workingFolder,
                                const QString &description, const QString &icon = {});
    // The icon of a launcher for the program that `own` will hold: that of a menu entry
    // starting the program, else an icon file installed under the program's prefix,
    // else the name the install gives its icon (the program's name in lower case).
    static QString launcherIcon(const QString &program, const QString &own);
};

} // namespace pelmaris::platform
