#include "listio/listiotexts.h"

#include "scan/listtexts.h"

namespace pelmaris::listio {

QString savedText(qint64 lines, const QString &path, const QLocale &locale)
{
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    return scan::formatCount(lines, locale) + QStringLiteral(" 保存しました  ") + name;
}

QString loadProgressText(qint64 rows, qint64 lines, const QLocale &locale)
{
    const QString count = rows == 0 ? QString() : scan::formatCount(rows, locale);
    return count + QStringLiteral(" / ") + QString::number(lines);
}

QString unreadLinesText(qint64 lines, const QLocale &locale)
{
    return QStringLiteral("  (文字コードの合わない ") + scan::formatCount(lines, locale) +
           QStringLiteral(" 行は読み込みませんでした)");
}

QString clipboardNoAnswerText()
{
    return QStringLiteral("クリップボードのテキストを読み取れませんでした（応答がありません）");
}

QString pasteTimeText(const QDateTime &now)
{
    return now.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

LoadCaptions loadedCaptions(qint64 rows, const QLocale &locale)
{
    return {scan::checkAllCaption(rows, locale), scan::browseCheckedCaption(rows, locale),
            scan::topTenCaption(rows, locale)};
}

LoadCaptions plainCaptions()
{
    return {scan::checkAllPlainCaption(), QStringLiteral("選択表示"), scan::topTenPlainCaption()};
}

} // namespace pelmaris::listio
