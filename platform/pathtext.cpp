#include "platform/pathtext.h"

#include <QDir>

#include <algorithm>

namespace pelmaris::pathtext {

bool isDelimiter(QChar c)
{
    return c == u'/' || c == QDir::separator();
}

QChar delimiter()
{
    return QDir::separator();
}

static qsizetype lastDelimiter(const QString &path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (isDelimiter(path[i]))
            return i;
    return -1;
}

QString withDelimiter(const QString &path)
{
    return !path.isEmpty() && isDelimiter(path.back()) ? path : path + delimiter();
}

QString withoutDelimiter(const QString &path)
{
    QString p = path;
    // "C:\" without its delimiter would be the current folder of drive C.
    const qsizetype keep = std::max<qsizetype>(1, rootOf(p).size());
    while (p.size() > keep && isDelimiter(p.back()))
        p.chop(1);
    return p;
}

QString folderOf(const QString &path)
{
    const qsizetype at = lastDelimiter(path);
    if (at < 0)
        return {};
    return at == 0 ? path.left(1) : path.left(at);
}

QString folderWithDelimiter(const QString &path)
{
    return path.left(lastDelimiter(path) + 1);
}

QString fileNameOf(const QString &path)
{
    return path.mid(lastDelimiter(path) + 1);
}

bool isInsideFolder(const QString &path, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString prefix = withDelimiter(folder);
    return path.size() > prefix.size() && path.startsWith(prefix);
}

QString joinPath(const QString &first, const QString &second)
{
    if (first.isEmpty() || QDir::isAbsolutePath(second))
        return second;
    return withDelimiter(first) + second;
}

} // namespace pelmaris::pathtext
