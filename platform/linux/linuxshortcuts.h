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

    // The entry's text as it would be saved under the given display name; empty when
    // a property cannot be carried (the link's setters refuse those first).
    static QByteArray entryText(ShortcutKind kind, const QString &name, const QString &target,
                                const QString &arguments, const QString &workingFolder,
                                const QString &description);
};

} // namespace pelmaris::platform
