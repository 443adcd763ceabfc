#pragma once

#include "platform/shortcuts.h"

namespace pelmaris::platform {

// Shell links (.lnk) written through IShellLinkW and IPersistFile. Error numbers are the
// HRESULTs of the calls.
class WindowsShortcuts final : public Shortcuts {
public:
    std::unique_ptr<ShortcutLink> create(ShortcutKind kind) override;
    QString extension() const override;
};

// What a shell link points to; empty when the file is no readable link.
QString readShellLinkTarget(const QString &linkFile);

} // namespace pelmaris::platform
