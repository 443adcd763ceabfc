#include "scan/listtexts.h"

#include <cstdio>
#include <ctime>

namespace pelmaris::scan {

QString formatCount(qint64 n, const QLocale &locale)
{
    // The C locale omits group separators by default; "#,0" always groups.
    QLocale grouped = locale;
    grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(n);
}

QString formatFileTime(const std::optional<platform::LocalTime> &t)
{
    if (!t)
        return QString();
    char text[80];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t->year, t->month, t->day,
                  t->hour, t->minute, t->second);
    return QString::fromLatin1(text);
}

QString scanCountText(qint64 found, const QLocale &locale)
{
    return formatCount(found, locale);
}

QString scanFoundText(qint64 found, const QLocale &locale)
{
    return formatCount(found, locale) + QStringLiteral(" 発見しました");
}

QString scanCancelledText(qint64 foundWithPrevious, const QLocale &locale)
{
    return QStringLiteral(" フォルダスキャンを打切りました ") +
           formatCount(foundWithPrevious, locale) + QStringLiteral(" アイテムリスト作成準備中..");
}

QString buildProgressText(qint64 rows, qint64 triedWithPrevious, qint64 totalWithPrevious,
                          const QLocale &locale)
{
    return formatCount(rows, locale) + QStringLiteral(" / ") +
           formatCount(triedWithPrevious, locale) + QStringLiteral(" / ") +
           formatCount(totalWithPrevious, locale);
}

QString buildDoneText(qint64 rows, qint64 totalWithPrevious, const QLocale &locale)
{
    return formatCount(rows, locale) + QStringLiteral(" / ") +
           formatCount(totalWithPrevious, locale) +
           (rows > 0 ? QStringLiteral(" 発見しました") : QStringLiteral(" 該当ありません"));
}

qint64 tenthOf(qint64 rows)
{
    return rows < 0 ? 0 : (rows + 5) / 10;
}

QString checkAllCaption(qint64 rows, const QLocale &locale)
{
    return QStringLiteral("全選択(") + formatCount(rows, locale) + QLatin1Char(')');
}

QString browseCheckedCaption(qint64 rows, const QLocale &locale)
{
    return QStringLiteral("選択表示(") + formatCount(rows, locale) + QLatin1Char(')');
}

QString topTenCaption(qint64 rows, const QLocale &locale)
{
    return QStringLiteral("10%(") + formatCount(tenthOf(rows), locale) + QLatin1Char(')');
}

QString browseAllCaption(qint64 files, const QLocale &locale)
{
    return QStringLiteral("一括表示(") + formatCount(files, locale) + QLatin1Char(')');
}

QString checkAllPlainCaption()
{
    return QStringLiteral("全選択");
}
QString topTenPlainCaption()
{
    return QStringLiteral("10%");
}
QString browseAllPlainCaption()
{
    return QStringLiteral("一括表示");
}
QString browseCheckedPlainCaption()
{
    return QStringLiteral("選択表示");
}

QStringList columnCaptions()
{
    return {QStringLiteral("ファイル名"), QStringLiteral("形式"), QStringLiteral("バイト数"),
            QStringLiteral("横幅"),       QStringLiteral("高さ"), QStringLiteral("更新日時")};
}

} // namespace pelmaris::scan
