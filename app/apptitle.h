#pragma once

#include <QString>

namespace pelmaris::app {

// The caption of every message box: the executable's file name without folder, cut
// before its first full stop, first character kept, the rest in lower case.
QString applicationTitle(const QString &executablePath);

// The executable's file name without folder and extension ("Pelmaris").
QString executableBaseName(const QString &executablePath);

} // namespace pelmaris::app
