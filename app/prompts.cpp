#include "app/prompts.h"

#include "platform/dialogs.h"
#include "shell/shellroutines.h"

#include <QCoreApplication>

namespace pelmaris::app {

bool tell(platform::Dialogs &dialogs, QWidget *window, const platform::Outcome &outcome)
{
    if (outcome.ok())
        return true;
    dialogs.message(outcome.origin() == platform::Outcome::Origin::Desktop ? nullptr : window,
                    outcome.text());
    return false;
}

bool confirmTrash(platform::Dialogs &dialogs, QWidget *window, const QString &question,
                  const std::function<platform::Outcome()> &move)
{
    if (question.isEmpty())
        return true;
    QString report;
    if (!dialogs.askYesNo(window, question)) {
        report = shell::abortedText();
    } else {
        const platform::Outcome moved = move();
        if (moved)
            return true;
        report = moved.text();
    }
    dialogs.message(window, report);
    // What waited behind the box is handled before the caller goes on.
    QCoreApplication::processEvents();
    return false;
}

} // namespace pelmaris::app
