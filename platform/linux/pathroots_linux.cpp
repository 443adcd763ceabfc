#include "platform/pathtext.h"

namespace pelmaris::pathtext {

QString rootOf(const QString &path)
{
    return path.startsWith(u'/') ? QStringLiteral("/") : QString();
}

Qt::CaseSensitivity nameCase()
{
    return Qt::CaseSensitive;
}

} // namespace pelmaris::pathtext
