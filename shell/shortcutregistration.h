#pragma once

// Shortcuts to the program in the desktop's well-known folders, and to a picture on the
// desktop. A press is planned first (where the shortcut goes, whether one is there
// already); the user's answers come between the steps: update or delete an existing
// one, then whether to show the folder. The texts of every question and report are here.

#include "platform/outcome.h"
#include "platform/services.h"
#include "platform/shortcuts.h"
#include "platform/specialfolders.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace pelmaris::shell {

// The places the program's own shortcut goes to, one button each.
enum class ShortcutPlace { SendTo, Desktop, StartMenu, Startup };

// One press, worked out before anything is asked.
struct ShortcutPlan {
    QString label;      // names the folder in the messages
    QString folderPath; // where the shortcut goes; made when missing
    QString name;       // the shortcut file's name
    QString file;       // folderPath/name
    QString target;
    platform::ShortcutKind kind = platform::ShortcutKind::Program;
    bool exists = false; // a shortcut of that name is there: update or delete

    // "[はい]: 更新, [いいえ]: 削除, [ｷｬﾝｾﾙ]: 取消し", asked when one exists.
    QString updateQuestion() const;
    // The report of a written shortcut: new, or updated when one existed.
    QString writtenText() const;
    QString removedText(bool removed) const;
    // The closing question.
    QString openQuestion() const;
};

class ShortcutRegistration {
public:
    explicit ShortcutRegistration(const platform::Services &services);

    // The program's shortcut in a place; none when the place has no folder.
    std::optional<ShortcutPlan> plan(ShortcutPlace place) const;
    // A shortcut to a file on the desktop; none for an empty path.
    std::optional<ShortcutPlan> planFor(const QString &path) const;
    std::optional<ShortcutPlan> plan(platform::SpecialFolder folder, const QString &label,
                                     const QString &target) const;

    // A new shortcut for the plan, filled in. A failure names the step that failed;
    // nothing has been written then.
    platform::Result<std::unique_ptr<platform::ShortcutLink>> fill(const ShortcutPlan &plan) const;
    // Writes it fresh, so an update also moves a shortcut left behind by a program that
    // was moved. A failure carries the report of the file not written.
    platform::Outcome save(platform::ShortcutLink &link, const ShortcutPlan &plan) const;
    // The folder in the file manager, with the shortcut selected while it is there.
    platform::Outcome showFolder(const ShortcutPlan &plan) const;

    // The shortcut file's name for a target: the program's title for the program itself.
    QString shortcutFileName(const QString &target) const;
    // "yyyy/MM/dd HH:mm:ss Created by <program> V1.6".
    QString description() const;

    // Where the current time comes from (tests fix it).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

private:
    platform::Services m_services;
    std::function<QDateTime()> m_clock;
};

// Fills a new shortcut: target, arguments (when not empty), working folder, description,
// each checked before the next. A failure carries the failed step's text and the
// system's number.
platform::Outcome ConfigureShortcut(platform::ShortcutLink &link, const QString &target,
                                    const QString &arguments, const QString &workingFolder,
                                    const QString &description);

} // namespace pelmaris::shell
