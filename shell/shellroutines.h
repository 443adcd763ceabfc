#pragma once

// The routines through which the whole program hands things to the desktop. Each gives
// back what became of the request; a failure carries the report to show, in a box of its
// own (Outcome::Origin::Desktop) as the desktop's own reports are.

#include "platform/outcome.h"
#include "platform/services.h"
#include "platform/shell.h"

#include <QString>

class QWidget;

namespace pelmaris::shell {

// Opens a file, folder or address (one pair of enclosing quotes removed) with the
// program the desktop associates with it.
platform::Outcome ShellOpen(const platform::Services &services, const QString &target);

// Starts a program (enclosing quotes removed) with parameter text in the command-line
// form; platform::quoteArgument() makes one argument of a path.
platform::Outcome ShellOpenWith(const platform::Services &services, const QString &program,
                                const QString &parameters);
// The report of a program that started and then ended in failure at once, in the form
// of a failed start.
platform::Outcome earlyExitOutcome(const platform::EarlyExit &exit);

// The desktop's properties window for the file, owned by parent.
platform::Outcome ShowFileProperties(const platform::Services &services, QWidget *parent,
                                     const QString &path);

// Draws the user's attention to a window in the background and brings it back if it is
// minimized. The desktop decides how long the request lasts, so count and interval are
// only a hint.
void FlashTaskbarButton(const platform::Services &services, QWidget *window, int count,
                        int interval);

// Deleting goes in two steps, the user's confirmation between them. The question comes
// first; it is empty when there is nothing to delete (the file is gone already, which
// counts as deleted).
QString recycleQuestion(const QString &path);
// Moves the file to the trash once the user agreed. A failure, a file system without
// trash among them, is reported with the file's name and the reason; the file stays.
platform::Outcome DeleteToRecycleBin(const platform::Services &services, const QString &path);
// The report when the user declines.
QString abortedText();

// The texts of the failure reports.
QString openFailedText(int code, const QString &systemText, const QString &target);
QString openByFailedText(int code, const QString &systemText, const QString &program,
                         const QString &parameters);

} // namespace pelmaris::shell
