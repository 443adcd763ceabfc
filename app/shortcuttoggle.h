#pragma once

#include "platform/services.h"
#include "shell/shortcutregistration.h"

#include <QString>

#include <optional>

class QWidget;

namespace pelmaris::app {

// One press of a shortcut button: creates the shortcut, or asks whether to update or
// delete the one there; tells the outcome and offers to show the folder.
class ShortcutToggle {
public:
    // window: the owner of the questions and reports.
    ShortcutToggle(const platform::Services &services, QWidget *window);

    void toggle(shell::ShortcutPlace place);
    // A shortcut to the file on the desktop; nothing for an empty path.
    void toggleDesktopShortcutTo(const QString &path);

    // The registration behind the presses (tests fix its clock).
    shell::ShortcutRegistration &registration() { return m_registration; }

private:
    void run(const std::optional<shell::ShortcutPlan> &plan);
    // Writes the shortcut; false, with the failed step told, when it could not be
    // filled in. report: what to tell after it was written or not.
    bool write(const shell::ShortcutPlan &plan, QString &report);

    platform::Services m_services;
    QWidget *m_window;
    shell::ShortcutRegistration m_registration;
};

} // namespace pelmaris::app
