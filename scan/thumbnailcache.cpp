#include "scan/thumbnailcache.h"

#include "scan/plainpng.h"
#include "scan/pngcheck.h"
#include "scan/pngwriter.h"

#include "platform/filesystem.h"
#include "platform/programinfo.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QImageReader>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include <cmath>

namespace pelmaris::scan {

namespace {

constexpr int kNormalEdge = 128;
// Which pictures are worth a cache entry (see isWorthCaching). A thumbnail takes about
// half a millisecond to read back and twice that to write. Other formats decode in full,
// at several milliseconds from a few hundred pixels a side; a JPEG decodes at 1/8 scale
// in about 1.5 ms a megapixel, so below two megapixels the entry would save little on
// the next scan and cost the first scan a third more.
constexpr int kCacheFromEdge = 256;
constexpr qint64 kCacheJpegFromPixels = 2'000'000;
// The standard's permissions: the thumbnails show what only the owner may see.
constexpr QFileDevice::Permissions kFilePermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;

const QString kUriKey = QStringLiteral("Thumb::URI");
const QString kMTimeKey = QStringLiteral("Thumb::MTime");
const QString kSizeKey = QStringLiteral("Thumb::Size");
// The standard's times are whole seconds; this program's own entries carry the file's
// times to the nanosecond besides, so a file changed within the second is known.
const QString kMTimeNsKey = QStringLiteral("X-Pelmaris::MTimeNs");
const QString kCTimeNsKey = QStringLiteral("X-Pelmaris::CTimeNs");

// A folder of the cache: created with the standard's permissions when missing, and
// used only when it is a real folder (never a link to somewhere else) that is the
// user's own and that nobody else can write into. Anyone who could would plant
// thumbnails the program shows as the user's pictures, and read the ones it adds.
bool realFolder(platform::FileSystem &fileSystem, const QString &path, bool create)
{
    if (create)
        fileSystem.makePrivateFolder(path);
    return fileSystem.isPrivateFolder(path);
}

// The path with "." and ".." taken out and slashes single, as a URI names a file.
QString cleanPath(const QString &path)
{
    const bool absolute = path.startsWith(QLatin1Char('/'));
    QStringList kept;
    for (const QStringView name : QStringView(path).split(QLatin1Char('/'))) {
        if (name.isEmpty() || name == u".")
            continue;
        if (name == u".." && !kept.isEmpty() && kept.last() != QLatin1String(".."))
            kept.removeLast();
        else if (name != u".." || !absolute)
            kept.append(name.toString());
    }
    const QString joined = kept.join(QLatin1Char('/'));
    return absolute ? QLatin1Char('/') + joined : joined.isEmpty() ? QStringLiteral(".") : joined;
}

QString parentOf(const QString &path)
{
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    return cut > 0 ? path.left(cut) : QStringLiteral("/");
}

// Characters a path keeps unescaped in a file URI, as the desktop's file library has
// them; every other byte (blanks, '#', '%', non-ASCII) becomes %XX.
const QByteArray kUriPathSafe = QByteArrayLiteral("!$&'()*+,/:=@");

QByteArray qtFileUri(const QString &path)
{
    return QUrl::fromLocalFile(path).toEncoded();
}

// Thumb::MTime and Thumb::Size hold plain decimal integers.
bool sameNumber(const QString &text, qint64 expected)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok && value == expected && !text.startsWith(QLatin1Char('+'));
}

// A thumbnail keeps its picture's shape up to a pixel of rounding on one side.
bool sameShape(QSize thumbnail, QSize picture)
{
    if (thumbnail.isEmpty() || picture.isEmpty())
        return false;
    const double tw = thumbnail.width(), th = thumbnail.height();
    const double pw = picture.width(), ph = picture.height();
    return std::abs(tw - th * pw / ph) <= 1.0 + 1e-9 || std::abs(th - tw * ph / pw) <= 1.0 + 1e-9;
}

// A precise time of the file against an entry's text: an entry without it passes
// unless `required`; one with it must match. Unknown times (0) are not compared.
bool samePreciseTime(const QString &text, qint64 expected, bool required)
{
    if (expected == 0)
        return true;
    if (text.isEmpty())
        return !required;
    return sameNumber(text, expected);
}

// A PNG of another shape than thumbnailers write, through the generic reader: null when it
// is larger than edge x edge, notes another file before its pixels, or inflates beyond
// its rows.
QImage readGeneric(QByteArray &bytes, int edge, const QString &expectedUri)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > edge || size.height() > edge)
        return QImage();
    // Most writers put their texts before the pixels: a note for another file is
    // turned down without decoding it.
    const QString early = reader.text(kUriKey);
    if (!early.isEmpty() && early != expectedUri)
        return QImage();
    if (pngInflatesBeyondItsRows(bytes))
        return QImage();
    return reader.read();
}

} // namespace

ThumbnailCache::ThumbnailCache(platform::FileSystem &fileSystem, const QString &folder)
    : m_fileSystem(fileSystem), m_folder(cleanPath(folder))
{
    // The cache home, when missing, is made private as the base directory rules ask.
    m_fileSystem.makePrivateFolder(parentOf(m_folder), true);
    if (!realFolder(m_fileSystem, m_folder, true))
        return; // a link, a file or nothing: no cache
    m_canonicalFolder = m_fileSystem.canonicalPath(m_folder);
    for (Folder &size : m_sizes) {
        const QString path = m_folder + QLatin1Char('/') + QLatin1String(size.name);
        size.readable = realFolder(m_fileSystem, path, size.edge == kNormalEdge);
        m_readable = m_readable || size.readable;
    }
    m_normalWritable =
        m_sizes[0].readable && m_fileSystem.canWriteIn(m_folder + QStringLiteral("/normal"));
    m_failFolder = m_folder + QStringLiteral("/fail/pelmaris-") + program::FileVersion;
    m_failUsable = realFolder(m_fileSystem, m_folder + QStringLiteral("/fail"), true) &&
                   realFolder(m_fileSystem, m_failFolder, true);
}

QString ThumbnailCache::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/thumbnails");
}

bool ThumbnailCache::isWorthCaching(QSize shown, const QByteArray &format)
{
    if (!shown.isValid())
        return false;
    if (format == "jpeg")
        return qint64(shown.width()) * shown.height() >= kCacheJpegFromPixels;
    return std::max(shown.width(), shown.height()) > kCacheFromEdge;
}

bool ThumbnailCache::holds(const QString &path) const
{
    const auto under = [&path](const QString &folder) {
        return !folder.isEmpty() && path.startsWith(folder + QLatin1Char('/'));
    };
    return under(m_folder) || under(m_canonicalFolder);
}

QByteArray ThumbnailCache::fileUri(const QString &path)
{
    return QByteArrayLiteral("file://") +
           QFile::encodeName(cleanPath(path)).toPercentEncoding(kUriPathSafe);
}

QString ThumbnailCache::fileNameOf(const QByteArray &uri)
{
    return QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

QSize ThumbnailCache::normalSize(QSize shown)
{
    if (shown.isEmpty())
        return QSize();
    const int longest = std::max(shown.width(), shown.height());
    if (longest <= kNormalEdge)
        return shown;
    const double scale = double(kNormalEdge) / longest;
    return QSize(std::max(1, int(std::lround(shown.width() * scale))),
                 std::max(1, int(std::lround(shown.height() * scale))));
}

QImage ThumbnailCache::find(const Original &original) const
{
    if (!m_readable || holds(original.path))
        return QImage();
    const QByteArray uri = fileUri(original.path);
    // Programs built on other toolkits may spell some characters of the URI otherwise;
    // that spelling is made only when the first one is missing.
    QByteArray qtUri;
    for (const Folder &size : m_sizes) {
        if (!size.readable)
            continue;
        const QString folder =
            m_folder + QLatin1Char('/') + QLatin1String(size.name) + QLatin1Char('/');
        QImage found = load(folder + fileNameOf(uri), size.edge, uri, original);
        if (found.isNull() && qtUri.isEmpty())
            qtUri = qtFileUri(original.path);
        if (found.isNull() && qtUri != uri)
            found = load(folder + fileNameOf(qtUri), size.edge, qtUri, original);
        if (!found.isNull())
            return found;
    }
    return QImage();
}

bool ThumbnailCache::isKnownFailure(const Original &original) const
{
    if (!m_failUsable || holds(original.path))
        return false;
    const QByteArray uri = fileUri(original.path);
    Original any = original;
    any.shown = QSize(); // a failure note is a single pixel, whatever the shape
    return !load(m_failFolder + QLatin1Char('/') + fileNameOf(uri), 1, uri, any, true).isNull();
}

QImage ThumbnailCache::load(const QString &file, int edge, const QByteArray &uri,
                            const Original &original, bool preciseTimes) const
{
    // A PNG of edge x edge pixels, its texts, and room for a writer's extra chunks.
    const qint64 maxBytes = qint64(edge) * edge * 8 + 1024 * 1024;
    platform::ReadResult read = m_fileSystem.readSmallFile(file, maxBytes);
    if (read.status != platform::ReadStatus::Ok)
        return QImage();
    const QString expectedUri = QString::fromLatin1(uri);
    // The shape thumbnailers write is inflated once, here; any other goes to the
    // generic reader behind the guard against pixel data beyond its rows.
    PlainPng plain = readPlainPng(read.bytes, edge, expectedUri);
    if (plain.status == PlainPng::Status::Refused)
        return QImage();
    QImage image = plain.status == PlainPng::Status::Decoded
                       ? std::move(plain.image)
                       : readGeneric(read.bytes, edge, expectedUri);
    if (image.isNull() || image.text(kUriKey) != expectedUri ||
        !sameNumber(image.text(kMTimeKey), original.modified))
        return QImage();
    const QString bytes = image.text(kSizeKey);
    if (!bytes.isEmpty() && !sameNumber(bytes, original.bytes))
        return QImage();
    if (!samePreciseTime(image.text(kMTimeNsKey), original.modifiedNs, preciseTimes) ||
        !samePreciseTime(image.text(kCTimeNsKey), original.changedNs, preciseTimes))
        return QImage();
    if (original.shown.isValid() && !sameShape(image.size(), original.shown))
        return QImage();
    return image;
}

QString ThumbnailCache::sizedFolder(int edge) const
{
    if (m_canonicalFolder.isEmpty() || (edge != LargeEdge && edge != XLargeEdge))
        return {};
    const char *name = edge == LargeEdge ? "large" : "x-large";
    return m_folder + QLatin1Char('/') + QLatin1String(name);
}

bool ThumbnailCache::canHoldSized(int edge) const
{
    const QString folder = sizedFolder(edge);
    return !folder.isEmpty() && m_fileSystem.isPrivateFolder(m_folder) &&
           realFolder(m_fileSystem, folder, true);
}

QSize ThumbnailCache::fittedSize(QSize shown, int edge)
{
    if (shown.isEmpty() || edge < 1)
        return QSize();
    const int longest = std::max(shown.width(), shown.height());
    if (longest <= edge)
        return shown;
    const double scale = double(edge) / longest;
    return QSize(std::max(1, int(std::lround(shown.width() * scale))),
                 std::max(1, int(std::lround(shown.height() * scale))));
}

ThumbnailCache::SizedFile ThumbnailCache::findSized(const Original &original, int edge) const
{
    if (holds(original.path) || !canHoldSized(edge))
        return {};
    const QString folder = sizedFolder(edge) + QLatin1Char('/');
    const QByteArray uri = fileUri(original.path);
    const QByteArray qtUri = qtFileUri(original.path);
    for (const QByteArray &spelling : {uri, qtUri}) {
        const QString file = folder + fileNameOf(spelling);
        const QSize size = checkSized(file, edge, spelling, original);
        if (size.isValid())
            return {file, size};
        if (qtUri == uri)
            break;
    }
    return {};
}

QSize ThumbnailCache::checkSized(const QString &file, int edge, const QByteArray &uri,
                                 const Original &original) const
{
    const qint64 maxBytes = qint64(edge) * edge * 8 + 1024 * 1024;
    platform::ReadResult read = m_fileSystem.readSmallFile(file, maxBytes);
    if (read.status != platform::ReadStatus::Ok)
        return QSize();
    QBuffer buffer(&read.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > edge || size.height() > edge)
        return QSize();
    QString uriText = reader.text(kUriKey);
    QString mtime = reader.text(kMTimeKey);
    QString bytes = reader.text(kSizeKey);
    if (uriText.isEmpty() || mtime.isEmpty()) {
        // Texts written after the pixels are only reached by reading the pixels.
        const QImage image = reader.read();
        if (image.isNull())
            return QSize();
        uriText = image.text(kUriKey);
        mtime = image.text(kMTimeKey);
        bytes = image.text(kSizeKey);
    }
    if (uriText != QString::fromLatin1(uri) || !sameNumber(mtime, original.modified))
        return QSize();
    if (!bytes.isEmpty() && !sameNumber(bytes, original.bytes))
        return QSize();
    if (original.shown.isValid() && !sameShape(size, original.shown))
        return QSize();
    return size;
}

ThumbnailCache::SizedFile ThumbnailCache::storeSized(const Original &original,
                                                     const QImage &thumbnail, int edge) const
{
    if (holds(original.path) || thumbnail.isNull() || thumbnail.width() > edge ||
        thumbnail.height() > edge || !canHoldSized(edge))
        return {};
    const QByteArray uri = fileUri(original.path);
    const QString file = sizedFolder(edge) + QLatin1Char('/') + fileNameOf(uri);
    if (!write(file, thumbnail, uri, original))
        return {};
    return {file, thumbnail.size()};
}

bool ThumbnailCache::store(const Original &original, const QImage &thumbnail) const
{
    if (!m_normalWritable || holds(original.path) || thumbnail.isNull() ||
        thumbnail.width() > kNormalEdge || thumbnail.height() > kNormalEdge)
        return false;
    const QByteArray uri = fileUri(original.path);
    return write(m_folder + QStringLiteral("/normal/") + fileNameOf(uri), thumbnail, uri, original);
}

bool ThumbnailCache::storeFailure(const Original &original) const
{
    if (!m_failUsable || holds(original.path))
        return false;
    QImage dot(1, 1, QImage::Format_ARGB32);
    dot.fill(Qt::transparent);
    const QByteArray uri = fileUri(original.path);
    return write(m_failFolder + QLatin1Char('/') + fileNameOf(uri), dot, uri, original);
}

bool ThumbnailCache::write(const QString &file, const QImage &image, const QByteArray &uri,
                           const Original &original) const
{
    std::vector<std::pair<QByteArray, QByteArray>> texts{
        {kUriKey.toLatin1(), uri},
        {kMTimeKey.toLatin1(), QByteArray::number(original.modified)},
        {kSizeKey.toLatin1(), QByteArray::number(original.bytes)},
    };
    if (original.modifiedNs != 0)
        texts.emplace_back(kMTimeNsKey.toLatin1(), QByteArray::number(original.modifiedNs));
    if (original.changedNs != 0)
        texts.emplace_back(kCTimeNsKey.toLatin1(), QByteArray::number(original.changedNs));
    if (original.shown.isValid()) {
        texts.emplace_back("Thumb::Image::Width", QByteArray::number(original.shown.width()));
        texts.emplace_back("Thumb::Image::Height", QByteArray::number(original.shown.height()));
    }
    texts.emplace_back("Software", "Pelmaris " + program::FileVersion.toLatin1());
    const QByteArray bytes = encodePng(image, texts);
    if (bytes.isEmpty())
        return false;
    platform::WriteOptions options;
    options.permissions = kFilePermissions;
    options.durable = false;
    return m_fileSystem.writeFile(file, bytes, options);
}

} // namespace pelmaris::scan
