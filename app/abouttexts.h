#pragma once

#include "scan/pathorder.h"

#include <QColor>
#include <QDateTime>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The texts and the arithmetic of the about box, free of any window.
namespace pelmaris::app {

// The program's file version, "1.6.0.0": the version compiled into it.
QString GetFileVersionText();

// The two lines of the Ukraine block for a moment given in UTC: "Peace for Ukraine" and
// the time in Kyiv with the daylight-saving words from the last Sunday of March, 01:00
// UTC, to the last Sunday of October, 01:00 UTC; "Peace For Ukraine" and standard time
// otherwise. Date and time as "d MMMM yyyy dddd HH:mm" in Ukrainian, CR LF between.
QString GetUkraineTimeText(const QDateTime &utc);

// The display scale in percent of a dpi value, 96 dpi being 100 % (144 gives 150).
int scalePercent(int dpi);

// "CurrentScreen 2560 x 1440 / 144dpi x 150%".
QString currentScreenText(QSize screen, int dpi);

// What the about box reports.
struct AboutFacts {
    QString executablePath;
    QString fileVersion;
    QSize screen; // the primary screen in device pixels
    int dpi = 96;
    QDateTime utcNow;
};

// The about box's message, each line followed by CR LF.
QString aboutText(const AboutFacts &facts);

// The about box's changing background: a colour from a number 0..16777214 (red in the
// lowest byte), and the direction: left to right for an odd number, else top to bottom.
struct AboutGradient {
    QColor colour;
    bool leftToRight = false;
};
AboutGradient aboutGradient(quint32 number);
// A number 0..16777214 from the program's generator, each equally likely.
quint32 drawAboutColour(scan::RandomEngine &random);

// Where the pointer goes when the box opens, from the window's outer bounds and its client
// area (both on the screen) and the OK button inside the client area: the outer top-left
// corner, plus the frame's size, plus the button's place, plus two thirds of the button's
// width and minus a third of its height. The result is kept on the button itself, which
// the sum misses wherever the window system's frames are thinner than the ones it was
// made for.
QPoint okButtonPointer(const QRect &frame, const QRect &client, const QRect &button);

} // namespace pelmaris::app
