#include "app/apptitle.h"

#include <QFileInfo>

namespace pelmaris::app {

QString applicationTitle(const QString &executablePath)
{
    QString name = QFileInfo(executablePath).fileName();
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.isEmpty())
        return name;
    return name.left(1) + name.mid(1).toLower();
}

QString executableBaseName(const QString &executablePath)
{
    return QFileInfo(executablePath).completeBaseName();
}

} // namespace pelmaris::app
