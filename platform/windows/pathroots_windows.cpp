#include "platform/pathtext.h"

namespace pelmaris::pathtext {

QString rootOf(const QString &path)
{
    if (path.size() >= 3 && path[0].isLetter() && path[1] == u':' && path[2] == u'\\')
        return path.left(3);
    if (!path.startsWith(QLatin1String("\\\\")))
        return {};
    // "\\server\share": both parts present. The device and long forms ("\\.\", "\\?\")
    // name no share.
    const qsizetype serverEnd = path.indexOf(u'\\', 2);
    if (serverEnd <= 2)
        return {};
    const QStringView server = QStringView(path).sliced(2, serverEnd - 2);
    if (server == u"." || server == u"?")
        return {};
    qsizetype shareEnd = path.indexOf(u'\\', serverEnd + 1);
    if (shareEnd < 0)
        shareEnd = path.size();
    if (shareEnd == serverEnd + 1)
        return {};
    return path.left(shareEnd) + u'\\';
}

Qt::CaseSensitivity nameCase()
{
    return Qt::CaseInsensitive;
}

} // namespace pelmaris::pathtext
