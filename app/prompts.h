#pragma once

// How the window tells what the libraries give back, and the confirmations it asks
// around their steps.

#include "platform/outcome.h"

#include <QString>

#include <functional>

class QWidget;

namespace pelmaris::platform {
class Dialogs;
}

namespace pelmaris::app {

// Shows a failure's text: a desktop service's failure in a box of its own, as the
// desktop's own reports are; the program's in a box owned by window. True on success.
bool tell(platform::Dialogs &dialogs, QWidget *window, const platform::Outcome &outcome);

// The trash's confirmation: asks the question (none when it is empty: the file is gone
// already), then runs move. A refusal is told as shell::abortedText(), a failed move as
// its report. True when the file went.
bool confirmTrash(platform::Dialogs &dialogs, QWidget *window, const QString &question,
                  const std::function<platform::Outcome()> &move);

} // namespace pelmaris::app
