#include "app/abouttexts.h"

#include "app/apptitle.h"
#include "platform/programinfo.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace pelmaris::app {

namespace {

const QString CrLf = QStringLiteral("\r\n");

QDate lastSunday(int year, int month)
{
    QDate day(year, month, QDate(year, month, 1).daysInMonth());
    while (day.dayOfWeek() != Qt::Sunday)
        day = day.addDays(-1);
    return day;
}

} // namespace

QString GetFileVersionText()
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(program::VersionMajor)
        .arg(program::VersionMinor)
        .arg(program::VersionPatch)
        .arg(program::VersionBuild);
}

QString GetUkraineTimeText(const QDateTime &utc)
{
    // Kyiv's standard time is UTC+2; the moment is carried as a UTC value shifted by two
    // hours so that no local time zone of this machine takes part.
    QDateTime t = utc.toUTC().addSecs(2 * 3600);
    const int year = t.date().year();
    // Summer time runs from 03:00 standard time on the last Sunday of March to 04:00
    // summer time, which is 03:00 standard time, on the last Sunday of October: both
    // changes fall at 01:00 UTC.
    const QDateTime start(lastSunday(year, 3), QTime(3, 0), Qt::UTC);
    const QDateTime end(lastSunday(year, 10), QTime(3, 0), Qt::UTC);
    const QLocale ukrainian(QLocale::Ukrainian, QLocale::Ukraine);
    const QString format = QStringLiteral("d MMMM yyyy dddd HH:mm");
    if (t >= start && t < end) {
        t = t.addSecs(3600);
        return QStringLiteral("Peace for Ukraine") + CrLf + ukrainian.toString(t, format) +
               QStringLiteral(", Ukraine Standard Time") +
               QStringLiteral(" (in Daylight Saving Time)");
    }
    return QStringLiteral("Peace For Ukraine") + CrLf + ukrainian.toString(t, format) +
           QStringLiteral(", Ukraine Standard Time");
}

int scalePercent(int dpi)
{
    return int(std::trunc(double(dpi) / 96.0 * 100.0 + 0.5));
}

QString currentScreenText(QSize screen, int dpi)
{
    return QStringLiteral("CurrentScreen %1 x %2 / %3dpi x %4%")
        .arg(screen.width())
        .arg(screen.height())
        .arg(dpi)
        .arg(scalePercent(dpi));
}

QString aboutText(const AboutFacts &facts)
{
    const QStringList lines = {
        executableBaseName(facts.executablePath) + u' ' + program::VersionLabel +
            QStringLiteral(" (") + facts.fileVersion + QStringLiteral(") ") +
            QStringLiteral("Release Build"),
        facts.executablePath,
        currentScreenText(facts.screen, facts.dpi),
        QString(),
        program::MakerCopyright,
        program::MakerMail,
        program::MakerHomePage,
        QStringLiteral("made in Japan"),
        QString(),
        GetUkraineTimeText(facts.utcNow),
    };
    QString text;
    for (const QString &line : lines)
        text += line + CrLf;
    return text;
}

AboutGradient aboutGradient(quint32 number)
{
    return {QColor(int(number & 0xff), int((number >> 8) & 0xff), int((number >> 16) & 0xff)),
            (number & 1) != 0};
}

quint32 drawAboutColour(scan::RandomEngine &random)
{
    return std::uniform_int_distribution<quint32>(0, 16777214u)(random);
}

QPoint okButtonPointer(const QRect &frame, const QRect &client, const QRect &button)
{
    QPoint p = frame.topLeft() +
               QPoint(frame.width() - client.width(), frame.height() - client.height()) +
               button.topLeft() + QPoint(2 * button.width() / 3, -(button.height() / 3));
    const QRect onScreen = button.translated(client.topLeft());
    p.setX(std::clamp(p.x(), onScreen.left(), onScreen.right()));
    p.setY(std::clamp(p.y(), onScreen.top(), onScreen.bottom()));
    return p;
}

} // namespace pelmaris::app
