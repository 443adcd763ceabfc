#include "app/shortcuttoggle.h"

#include "app/prompts.h"
#include "platform/dialogs.h"
#include "shell/shellroutines.h"

namespace pelmaris::app {

ShortcutToggle::ShortcutToggle(const platform::Services &services, QWidget *window)
    : m_services(services), m_window(window), m_registration(services)
{
}

void ShortcutToggle::toggle(shell::ShortcutPlace place)
{
    run(m_registration.plan(place));
}

void ShortcutToggle::toggleDesktopShortcutTo(const QString &path)
{
    run(m_registration.planFor(path));
}

bool ShortcutToggle::write(const shell::ShortcutPlan &plan, QString &report)
{
    auto link = m_registration.fill(plan);
    if (!link) {
        m_services.dialogs->error(m_window, link.outcome().text());
        return false;
    }
    const platform::Outcome saved = m_registration.save(**link, plan);
    report = saved ? plan.writtenText() : saved.text();
    return true;
}

void ShortcutToggle::run(const std::optional<shell::ShortcutPlan> &plan)
{
    if (!plan)
        return;
    platform::Dialogs &dialogs = *m_services.dialogs;
    QString report;
    if (plan->exists) {
        switch (dialogs.askYesNoCancel(m_window, plan->updateQuestion())) {
        case platform::Answer::Yes:
            if (!write(*plan, report))
                return;
            break;
        case platform::Answer::No: {
            const bool removed =
                confirmTrash(dialogs, m_window, shell::recycleQuestion(plan->file),
                             [&] { return shell::DeleteToRecycleBin(m_services, plan->file); });
            report = plan->removedText(removed);
            break;
        }
        case platform::Answer::Cancel:
            return;
        }
    } else if (!write(*plan, report)) {
        return;
    }
    dialogs.message(m_window, report);
    if (dialogs.askYesNo(m_window, plan->openQuestion()))
        tell(dialogs, m_window, m_registration.showFolder(*plan));
}

} // namespace pelmaris::app
