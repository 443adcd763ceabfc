#pragma once

#include <QString>

namespace pelmaris::platform {

// Text that begins with a double quote gives what stands up to the matching closing
// quote, without the quotes, a doubled quote inside standing for one; anything after the
// closing quote is dropped. Text without a leading quote, or whose quote never closes,
// comes back whole.
QString dequote(const QString &text);

// One argument for parameter text that is split the way QProcess::splitCommand splits:
// always enclosed in double quotes, a quote inside written as three.
QString quoteArgument(const QString &argument);

// The program of a desktop entry's Exec line: the quoted first word by the rule of
// dequote(), else the first blank-separated word (an unquoted program holds no blank).
QString programFromExecLine(const QString &exec);

} // namespace pelmaris::platform
