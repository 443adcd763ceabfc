#pragma once

// Writes the gallery page, with the icons it names, and opens it in the chosen browser.
// The caller starts the browser whether or not the write succeeded: it then shows what
// the page file held before.

#include "gallery/pagelayout.h"
#include "gallery/pagethumbnails.h"

#include "platform/outcome.h"

#include <QIcon>
#include <QStringList>

namespace pelmaris::platform {
struct Services;
}

namespace pelmaris::gallery {

struct PageFiles {
    QString html; // TempHtmlFileName1
    QString ico;  // TempIconFileName1
    QString icon; // TempIconFileName4
};

struct PageRequest {
    QStringList paths; // nothing happens when empty
    LayoutChoice layout;
    bool light = true; // rbBrowserLight
    PageFiles files;
    QString title;                   // DblClickPath1
    QString folderPath;              // the folder tree's current folder
    QIcon programIcon;               // the main window's icon
    QString browserName1;            // empty: the desktop's program for web pages
    QList<PageThumbnail> thumbnails; // empty: the page shows the originals
};

// Builds every line of the page and writes it whole, with the page and drive icons it
// names. A failure when the page could not be written.
platform::Outcome writeHtmlFile(const platform::Services &services, const PageRequest &request);

// The whole file at once: UTF-8 with a byte-order mark, CR LF after every line. The old
// content stays intact when the write fails; the failure carries the system's text.
platform::Outcome writePageFile(const QString &path, const QStringList &lines);
// Writes an icon as a Windows icon file unless the file exists; an existing file, even
// a link, is never written through. False when nothing was written; the page names the
// icon either way, and a missing icon only leaves the browser's own.
bool writeIconFileOnce(const QString &path, const QIcon &icon, int size);

// Starts the browser on the page: the given program with the quoted page path, or the
// desktop's program for web pages when none is given.
platform::Outcome openPage(const platform::Services &services, const QString &browserName1,
                           const QString &pagePath);

inline const QString WriteFailedText =
    QStringLiteral("Create HtmlFile Failed, Try Again a little later");

} // namespace pelmaris::gallery
