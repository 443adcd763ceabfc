#pragma once

// The gallery page as a list of lines, built without touching the disk:
//
//   gallery::PageInput in;
//   in.paths = paths; in.layout = ...; in.colors = gallery::pageColors(*services.styles, light);
//   const QStringList lines = gallery::buildPageLines(in);
//
// Every text and attribute value is HTML-escaped and every href and src is a
// percent-encoded file: URL, so no file name can break a line or add markup.

#include "gallery/pagelayout.h"
#include "gallery/pagethumbnails.h"

#include <QColor>
#include <QDateTime>
#include <QLocale>
#include <QSize>
#include <QStringList>

namespace pelmaris::platform {
class Styles;
}

namespace pelmaris::gallery {

struct PageColors {
    QColor background;
    QColor text;
    QColor button; // the print button's background; dark scheme only
    bool dark = false;
};

// Light: the window background and button text of the active style. Dark: the style's
// button and window colours with its button text.
PageColors pageColors(const platform::Styles &styles, bool light);

struct PageInput {
    QStringList paths; // at least one; order and duplicates are kept
    LayoutChoice layout;
    QSize workArea; // the primary screen without panels
    PageColors colors;
    QString pageIconPath;  // the ".ico" beside the page
    QString driveIconPath; // the ".icon" beside the page
    QString title;         // the folder last scanned by double-click
    QString folderPath;    // the folder tree's current folder
    QDateTime generated;
    QString programFileName;
    QLocale locale; // the thousands separator of the count
    // Empty: the pictures are shown from their originals, every one loaded at once.
    // Otherwise one entry per path: the page shows the thumbnails, each loaded only as
    // it scrolls near, and links the originals as before.
    QList<PageThumbnail> thumbnails;
};

QStringList buildPageLines(const PageInput &in);

// "#rrggbb" in lower case.
QString ColorToHtml(const QColor &color);

// The digit run that tells two same-named paths apart ("2020" for .../2019/img.jpg then
// .../2020/img.jpg); empty when no digit differs.
QString ExtractDiffNumber(const QString &previousPath, const QString &currentPath);

// Titles of the image lines: the file name, or the telling number when the previous path
// has the same file name (the file name again when no digit tells them apart).
QStringList imageTitles(const QStringList &paths);

// The folder and each folder above it, root first: "/a/b" gives "/", "/a", "/a/b".
QStringList folderWalk(const QString &folder);
// A folder's link text: its last element, or the whole path for the root.
QString folderLinkText(const QString &folder);

// Text for HTML content and double- or single-quoted attribute values; control
// characters become character references so that no line can break.
// Blanks and control characters removed at both ends.
QString trimBlanksAndControls(const QString &text);
QString htmlEscape(const QString &text);
// A file: URL with everything but unreserved characters, "/" and ":" percent-encoded;
// the system's delimiters become "/".
QString fileUrl(const QString &path);

} // namespace pelmaris::gallery
