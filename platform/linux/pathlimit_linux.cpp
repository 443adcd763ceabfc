#include "platform/pathlimit.h"

#include <QFile>

#include <climits>

namespace pelmaris::platform {

qsizetype handOverLength(const QString &path)
{
    return QFile::encodeName(path).size();
}

qsizetype handOverLimit()
{
    return PATH_MAX - 1; // without the terminating zero
}

QString handOverUnit()
{
    return QStringLiteral("バイト");
}

} // namespace pelmaris::platform
