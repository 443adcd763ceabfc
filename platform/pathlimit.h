#pragma once

#include <QString>

namespace pelmaris::platform {

// The longest path that the shell and other programs accept whole, measured in the unit
// the system limits it by: bytes of the file-name encoding on Linux (PATH_MAX), UTF-16
// units on Windows (MAX_PATH). The program itself opens longer paths piece by piece.
qsizetype handOverLength(const QString &path);
qsizetype handOverLimit();
// The unit's name for the user ("バイト" or "文字").
QString handOverUnit();

} // namespace pelmaris::platform
