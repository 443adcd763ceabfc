#include "platform/pathlimit.h"

#include <windows.h>

namespace pelmaris::platform {

qsizetype handOverLength(const QString &path)
{
    return path.size();
}

qsizetype handOverLimit()
{
    return MAX_PATH - 1; // without the terminating zero
}

QString handOverUnit()
{
    return QStringLiteral("文字");
}

} // namespace pelmaris::platform
