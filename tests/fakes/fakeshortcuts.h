#pragma once

#include "platform/shortcuts.h"

#include <QHash>
#include <QList>
#include <QString>

namespace pelmaris::fakes {

// Records every shortcut written; a step named in failures ("setPath", "setArguments",
// "setWorkingDirectory", "setDescription", "save") fails with the number given there.
// A saved shortcut is a small text file (kind, target, arguments, folder, description).
class FakeShortcuts final : public platform::Shortcuts {
public:
    struct Saved {
        platform::ShortcutKind kind;
        QString file;
        QString target;
        QString arguments;
        QString folder;
        QString description;
    };

    std::unique_ptr<platform::ShortcutLink> create(platform::ShortcutKind kind) override;
    QString extension() const override { return QStringLiteral(".desktop"); }
    QString menuEntryFor(const QString &, const QString &) const override { return menuEntry; }

    QHash<QString, int> failures;
    QList<QString> steps; // every property call, in order
    QList<Saved> saved;
    QString menuEntry; // an installed menu entry of the program, or none
};

} // namespace pelmaris::fakes
