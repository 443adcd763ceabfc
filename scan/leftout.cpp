#include "scan/leftout.h"

#include <QStringList>

namespace pelmaris::scan {

namespace {

QString count(qint64 n, const QLocale &locale)
{
    // "#,0": grouped whatever the locale's default.
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(n);
}

} // namespace

LeftOut &LeftOut::operator+=(const LeftOut &other)
{
    badNameFiles += other.badNameFiles;
    badNameFolders += other.badNameFolders;
    filesInBadNameFolders += other.filesInBadNameFolders;
    unreadableFolders += other.unreadableFolders;
    return *this;
}

QString leftOutText(const LeftOut &leftOut, const QLocale &locale)
{
    if (!leftOut.any())
        return QString();
    QStringList parts;
    if (leftOut.badNameFiles > 0)
        parts << QStringLiteral("名前の文字コードが不正なファイル %1 件")
                     .arg(count(leftOut.badNameFiles, locale));
    if (leftOut.badNameFolders > 0)
        parts << QStringLiteral("名前の文字コードが不正なフォルダ %1 件 (中のファイル %2 件)")
                     .arg(count(leftOut.badNameFolders, locale),
                          count(leftOut.filesInBadNameFolders, locale));
    if (leftOut.unreadableFolders > 0)
        parts << QStringLiteral("読み取れないフォルダ %1 件")
                     .arg(count(leftOut.unreadableFolders, locale));
    return QStringLiteral("一覧から除外: ") + parts.join(QStringLiteral("、"));
}

} // namespace pelmaris::scan
