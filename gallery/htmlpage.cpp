#include "gallery/htmlpage.h"

#include "gallery/pageconstants.h"
#include "platform/pathtext.h"
#include "platform/styles.h"

namespace pelmaris::gallery {

namespace {

// Only "/" separates path elements here; "\" and ":" are ordinary name characters.
QString lastElement(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// The path without its last element; empty for the root or a bare name.
QString directoryPart(const QString &path)
{
    if (path == QStringLiteral("/"))
        return {};
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return {};
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f);
}

QString link(const QString &url, const QString &inner)
{
    return QStringLiteral("<a href=\"") + url + QStringLiteral("\" target=\"_blank\">") + inner +
           QStringLiteral("</a>");
}

// The header's small picture comes from the thumbnail when there is one.
QString headerLine(const QString &path, const QString &shown, const QString &tail)
{
    const QString url = fileUrl(path);
    return link(url, QStringLiteral("<img src=\"") + fileUrl(shown) + QStringLiteral("\">")) +
           QStringLiteral("&nbsp;") + link(url, htmlEscape(path)) + tail;
}

// With thumbnails the attributes give each picture its box before it loads, which the
// browser needs to load only the pictures near the screen; the rule line sets one side,
// so the other follows the thumbnail's shape.
QString thumbnailRule(Layout layout)
{
    switch (layout) {
    case Layout::FixedWidth:
    case Layout::WidthPercent:
        return QStringLiteral("#main img {height: auto;}");
    case Layout::FixedHeight:
        return QStringLiteral("#main img {width: auto;}");
    default:
        return {};
    }
}

// A picture of a page from thumbnails names its file in data-src: the page's script
// gives it to the browser only as it scrolls near, so a page of any length holds the
// pictures of a few screens. A browser's own lazy loading is not enough: a headless
// browser, and printing, fetch every picture of the page at once. A held-back picture
// of known size has an empty alt: otherwise the browser draws a stand-in box with its
// title for each one, which costs seconds on a page of thousands. One of unknown size
// keeps that box, whose height keeps the far ones out of reach.
QString imageLine(const QString &path, const QString &title, const PageThumbnail *thumbnail)
{
    const QString url = fileUrl(path);
    QString img;
    if (!thumbnail) {
        img = QStringLiteral("src=\"") + url + QStringLiteral("\"");
    } else if (thumbnail->file.isEmpty()) {
        img = QStringLiteral("data-src=\"") + url + QStringLiteral("\" decoding=\"async\"");
    } else {
        img = QStringLiteral("data-src=\"") + fileUrl(thumbnail->file) +
              QStringLiteral("\" width=\"%1\" height=\"%2\" alt=\"\" decoding=\"async\"")
                  .arg(thumbnail->size.width())
                  .arg(thumbnail->size.height());
    }
    return QStringLiteral("<a href=\"") + url + QStringLiteral("\" target=\"_blank\"><img ") + img +
           QStringLiteral(" title=\"") + htmlEscape(title) + QStringLiteral("\"></a>");
}

// Gives the browser the pictures from a screen above the window to two screens below
// it: at load, so that they count for the page's load as plain pictures do, and again on
// each scroll and resize; all of them before printing. The pictures stand in page order,
// so their places only grow down the page and a binary search finds the ends of the
// range in a few reads, all made before any picture is given: each one given would
// make the next read lay the page out again.
const QStringList LazyPictures = {
    QStringLiteral("<script>"),
    QStringLiteral("(function () {"),
    QStringLiteral("  var pictures = document.querySelectorAll(\"img[data-src]\");"),
    QStringLiteral("  var count = pictures.length;"),
    QStringLiteral("  function show(img) {"),
    QStringLiteral("    if (img.hasAttribute(\"data-src\")) {"),
    QStringLiteral("      img.src = img.getAttribute(\"data-src\");"),
    QStringLiteral("      img.removeAttribute(\"data-src\");"),
    QStringLiteral("    }"),
    QStringLiteral("  }"),
    QStringLiteral("  function firstFrom(y, edge) {"),
    QStringLiteral("    var low = 0, high = count;"),
    QStringLiteral("    while (low < high) {"),
    QStringLiteral("      var middle = (low + high) >> 1;"),
    QStringLiteral("      if (pictures[middle].getBoundingClientRect()[edge] < y)"),
    QStringLiteral("        low = middle + 1;"),
    QStringLiteral("      else"),
    QStringLiteral("        high = middle;"),
    QStringLiteral("    }"),
    QStringLiteral("    return low;"),
    QStringLiteral("  }"),
    QStringLiteral("  function showNear() {"),
    QStringLiteral("    var screen = window.innerHeight;"),
    QStringLiteral(
        "    var from = firstFrom(-screen, \"bottom\"), to = firstFrom(2 * screen, \"top\");"),
    QStringLiteral("    for (var i = from; i < to; ++i)"),
    QStringLiteral("      show(pictures[i]);"),
    QStringLiteral("  }"),
    QStringLiteral("  showNear();"),
    QStringLiteral("  window.addEventListener(\"scroll\", showNear, {passive: true});"),
    QStringLiteral("  window.addEventListener(\"resize\", showNear);"),
    QStringLiteral("  window.addEventListener(\"beforeprint\", function () {"),
    QStringLiteral("    pictures.forEach(show);"),
    QStringLiteral("  });"),
    QStringLiteral("})();"),
    QStringLiteral("</script>"),
};

} // namespace

PageColors pageColors(const platform::Styles &styles, bool light)
{
    using platform::StyleColor;
    PageColors c;
    c.dark = !light;
    c.text = styles.color(StyleColor::ButtonText);
    if (light) {
        c.background = styles.color(StyleColor::ButtonFace);
    } else {
        c.button = styles.color(StyleColor::Button);
        c.background = styles.color(StyleColor::Window);
    }
    return c;
}

QString ColorToHtml(const QColor &color)
{
    return QString::asprintf("#%.2x%.2x%.2x", color.red(), color.green(), color.blue()).toLower();
}

QString htmlEscape(const QString &text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        switch (c) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'\'':
            out += QLatin1String("&#39;");
            break;
        default:
            if (isControl(c))
                out += QStringLiteral("&#x%1;").arg(int(c), 0, 16);
            else
                out += ch;
        }
    }
    return out;
}

QString fileUrl(const QString &path)
{
    static const char hex[] = "0123456789ABCDEF";
    // A URL's elements are separated by "/" whatever the system's delimiter: "C:\a"
    // is "file:///C:/a" and a share "\\srv\s" is "file://srv/s". Where "\" is no
    // delimiter it is a name character like any other.
    QString slashed = path;
    for (QChar &c : slashed)
        if (pathtext::isDelimiter(c))
            c = u'/';
    const QByteArray utf8 = slashed.toUtf8();
    QString out;
    out.reserve(utf8.size() + 16);
    if (slashed.startsWith(QLatin1String("//")) && path.front() != u'/')
        out += QLatin1String("file:");
    else
        out += QLatin1String(slashed.startsWith(u'/') ? "file://" : "file:///");
    for (const char b : utf8) {
        const auto u = static_cast<unsigned char>(b);
        const bool keep = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                          (u >= '0' && u <= '9') || u == '-' || u == '.' || u == '_' || u == '~' ||
                          u == '/' || u == ':';
        if (keep) {
            out += QChar(u);
        } else {
            out += u'%';
            out += QChar(hex[u >> 4]);
            out += QChar(hex[u & 15]);
        }
    }
    return out;
}

QString ExtractDiffNumber(const QString &previousPath, const QString &currentPath)
{
    const qsizetype len = std::max(previousPath.size(), currentPath.size());
    const QString prev = QString(len - previousPath.size(), u'?') + previousPath;
    const QString cur = QString(len - currentPath.size(), u'?') + currentPath;
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    for (qsizetype i = len - 1; i >= 0; --i) {
        if (prev.at(i) == cur.at(i) || !isDigit(cur.at(i)))
            continue;
        qsizetype start = i;
        while (start > 0 && isDigit(cur.at(start - 1)))
            --start;
        return cur.mid(start, i - start + 1);
    }
    return {};
}

QStringList imageTitles(const QStringList &paths)
{
    QStringList titles;
    titles.reserve(paths.size());
    QString previousName;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString name = lastElement(paths.at(i));
        QString title = name;
        if (i > 0 && name == previousName) {
            const QString number = ExtractDiffNumber(paths.at(i - 1), paths.at(i));
            if (!number.isEmpty())
                title = number;
        }
        titles << title;
        previousName = name;
    }
    return titles;
}

QStringList folderWalk(const QString &folder)
{
    QString path = folder;
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    QStringList walk;
    while (!path.isEmpty()) {
        walk.prepend(path);
        path = directoryPart(path);
    }
    return walk;
}

QString folderLinkText(const QString &folder)
{
    const QString last = lastElement(folder);
    return last.isEmpty() ? folder : last;
}

QStringList buildPageLines(const PageInput &in)
{
    QStringList lines;
    lines.reserve(in.paths.size() + 64);
    const QString text = ColorToHtml(in.colors.text);
    // Thumbnails that do not match the paths one for one are not used.
    const bool withThumbnails = !in.thumbnails.isEmpty() && in.thumbnails.size() == in.paths.size();
    const auto shownFile = [&](qsizetype i) {
        return withThumbnails && !in.thumbnails.at(i).file.isEmpty() ? in.thumbnails.at(i).file
                                                                     : in.paths.at(i);
    };

    lines
        << QStringLiteral("<!DOCTYPE html>") << QStringLiteral("<!--")
        << QStringLiteral("Generated ") +
               in.generated.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) +
               QStringLiteral(" By ") + htmlEscape(in.programFileName) + u' ' + VersionText
        << MakerCopyright << MakerHomePage << QStringLiteral("-->") << QStringLiteral("<html>")
        << QStringLiteral("<head>")
        << QStringLiteral("<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">")
        << QStringLiteral("<link rel=\"icon\" type=\"image/vnd.microsoft.icon\" href=\"") +
               fileUrl(in.pageIconPath) + QStringLiteral("\" />")
        << QStringLiteral("<title>") + htmlEscape(trimBlanksAndControls(in.title)) +
               QStringLiteral("</title>")
        << QStringLiteral("<style type=\"text/css\">")
        << QStringLiteral("#top img {width: 16px; height: 16px; object-fit: contain; margin: 0;}");
    if (const QString rule = mainImageRule(in.layout, in.workArea, in.paths.size());
        !rule.isEmpty())
        lines << rule;
    if (withThumbnails)
        if (const QString rule = thumbnailRule(in.layout.layout); !rule.isEmpty())
            lines << rule;
    if (in.colors.dark)
        lines << QStringLiteral("#button button {background: ") + ColorToHtml(in.colors.button) +
                     QStringLiteral("; color: ") + text + u'}';
    lines << QStringLiteral("body {background: ") + ColorToHtml(in.colors.background) +
                 QStringLiteral("; color: ") + text + QStringLiteral("} a {color: ") + text + u'}'
          << QStringLiteral("</style>") << QStringLiteral("</head>") << QStringLiteral("<body>")
          << QStringLiteral("<div id=\"button\" align=\"right\">")
          << QStringLiteral("<button onclick=\"window.print(); return false;\">&emsp;Print&emsp;"
                            "</button>")
          << QStringLiteral("</div>") << QStringLiteral("<div id=\"top\">")
          << QStringLiteral("<p>");

    if (in.paths.size() >= 2)
        lines << headerLine(in.paths.first(), shownFile(0), QStringLiteral(" ..<br>"));
    QLocale locale = in.locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    lines << headerLine(in.paths.last(), shownFile(in.paths.size() - 1),
                        QStringLiteral(" (") + locale.toString(qlonglong(in.paths.size())) +
                            QStringLiteral(") ") + htmlEscape(layoutLabel(in.layout)) +
                            QStringLiteral("<br>"));
    lines << QStringLiteral("<img src=\"") + fileUrl(in.driveIconPath) + QStringLiteral("\">");
    for (const QString &folder : folderWalk(in.folderPath))
        lines << u'[' + link(fileUrl(folder), htmlEscape(folderLinkText(folder))) + u']';
    lines << QStringLiteral("</p>") << QStringLiteral("</div>")
          << QStringLiteral("<div id=\"main\">") << QStringLiteral("<p>");

    const QStringList titles = imageTitles(in.paths);
    for (qsizetype i = 0; i < in.paths.size(); ++i)
        lines << imageLine(in.paths.at(i), titles.at(i),
                           withThumbnails ? &in.thumbnails.at(i) : nullptr);

    lines << QStringLiteral("</p>") << QStringLiteral("</div>")
          << QStringLiteral("<div id=\"bottom\">") << QStringLiteral("<p>")
          << QStringLiteral("[<a href=\"#\">View Top</a>]")
          << QStringLiteral("[<a href=\"#!\" onclick=\"window.close();\">Close Page</a>]")
          << QStringLiteral("[<a href=\"") + htmlEscape(MakerDonationPage) +
                 QStringLiteral("\" target=\"_blank\">Donation</a>]")
          << QStringLiteral("[<a href=\"") + htmlEscape(MakerHomePage) +
                 QStringLiteral("\" target=\"_blank\">Home</a>]")
          << QStringLiteral("</p>") << QStringLiteral("</div>");
    if (withThumbnails)
        lines << LazyPictures;
    lines << QStringLiteral("</body>") << QStringLiteral("</html>");
    return lines;
}

QString trimBlanksAndControls(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

} // namespace pelmaris::gallery
