#pragma once

// The routines through which the whole program hands things to the desktop. Each one
// reports its own failure in a message box, so callers never report it again:
//
//   shell::ShellOpen(m_services, path);                       // default application
//   shell::ShellOpenWith(m_services, BrowserName1, platform::quoteArgument(path));
//   shell::ShowFileProperties(m_services, this, path);
//   if (!isActiveWindow()) shell::FlashTaskbarButton(m_services, this, 10, 500);
//   if (!shell::DeleteToRecycleBin(m_services, this, path)) return;

#include "platform/services.h"

#include <QString>

class QWidget;

namespace pelmaris::shell {

// Opens a file, folder or address (one pair of enclosing quotes removed) with the
// program the desktop associates with it.
void ShellOpen(const platform::Services &services, const QString &target);

// Starts a program (enclosing quotes removed) with parameter text in the command-line
// form; platform::quoteArgument() makes one argument of a path.
void ShellOpenWith(const platform::Services &services, const QString &program,
                   const QString &parameters);

void ShowFileProperties(const platform::Services &services, QWidget *parent, const QString &path);

// Draws the user's attention to a window in the background and brings it back if it is
// minimized. The desktop decides how long the request lasts, so count and interval are
// only a hint.
void FlashTaskbarButton(const platform::Services &services, QWidget *window, int count,
                        int interval);

// Moves a file to the trash after the user confirms. True when it is gone or there was
// nothing to delete; false after a failure or a refusal, both reported. Where the file
// system has no trash the file stays and the report says so.
bool DeleteToRecycleBin(const platform::Services &services, QWidget *owner, const QString &path);

// The texts of the failure reports.
QString openFailedText(int code, const QString &systemText, const QString &target);
QString openByFailedText(int code, const QString &systemText, const QString &program,
                         const QString &parameters);

} // namespace pelmaris::shell
