#pragma once

#include "platform/filesystem.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace pelmaris::scan {

// Texts of the status bar and captions around the image list, so the window only
// shows them. Counts use the user's thousands separator ("#,0"); a locale is passed
// in where tests need a fixed one.

QString formatCount(qint64 n, const QLocale &locale = QLocale());
// "yyyy/mm/dd HH:NN:SS" in local time, from seconds since the epoch.
QString formatFileTime(const std::optional<platform::LocalTime> &localTime);

// Enumeration: the running count, the text after the end, the text after a cancel.
QString scanCountText(qint64 found, const QLocale &locale = QLocale());
QString scanFoundText(qint64 found, const QLocale &locale = QLocale());
QString scanCancelledText(qint64 foundWithPrevious, const QLocale &locale = QLocale());

// List building: "12 / 40 / 100" while running, "12 / 40 発見しました" or
// "0 / 0 該当ありません" at the end. Callers add the earlier rows of an additive scan.
QString buildProgressText(qint64 rows, qint64 triedWithPrevious, qint64 totalWithPrevious,
                          const QLocale &locale = QLocale());
QString buildDoneText(qint64 rows, qint64 totalWithPrevious, const QLocale &locale = QLocale());

// The first tenth of n rows, rounded half up: 15 -> 2, 14 -> 1, 5 -> 1, 4 -> 0.
qint64 tenthOf(qint64 rows);

QString checkAllCaption(qint64 rows, const QLocale &locale = QLocale());      // 全選択(12)
QString browseCheckedCaption(qint64 rows, const QLocale &locale = QLocale()); // 選択表示(12)
QString topTenCaption(qint64 rows, const QLocale &locale = QLocale());        // 10%(1)
QString browseAllCaption(qint64 files, const QLocale &locale = QLocale());    // 一括表示(40)

// The captions without counts, shown while a scan runs.
QString checkAllPlainCaption();
QString topTenPlainCaption();
QString browseAllPlainCaption();
QString browseCheckedPlainCaption();

// The six column captions, without any sort mark.
QStringList columnCaptions();

} // namespace pelmaris::scan
