#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace pelmaris::listio {

// Texts the list commands leave in the status bar, the captions and the page title.
// Counts use the user's thousands separator; a locale is passed in where tests need one.

// After a save: "1,234 保存しました  list.csv" (the file's name without its folder).
QString savedText(qint64 lines, const QString &path, const QLocale &locale = QLocale());

// While a list loads: the rows so far ("#,#": zero shows as nothing), " / ", and the
// number of lines without separators: "1,200 / 1250", " / 7".
QString loadProgressText(qint64 rows, qint64 lines, const QLocale &locale = QLocale());

// After a load that left lines unread because they are not in the file's encoding:
// "  (文字コードの合わない 3 行は読み込みませんでした)".
QString unreadLinesText(qint64 lines, const QLocale &locale = QLocale());

// A paste whose clipboard owner did not answer; the list stays as it was.
QString clipboardNoAnswerText();

// The page title after a paste: the paste time, "yyyy/mm/dd HH:MM:SS".
QString pasteTimeText(const QDateTime &now);

// The captions a load ends with, from its row count n.
struct LoadCaptions {
    QString checkAll; // 全選択(1,200)
    QString browse;   // 選択表示(1,200)
    QString topTenth; // 10%(120)
};
LoadCaptions loadedCaptions(qint64 rows, const QLocale &locale = QLocale());

// The captions a load starts with.
LoadCaptions plainCaptions();

} // namespace pelmaris::listio
