#include "listio/clipboardcommands.h"

#include "listio/listformat.h"
#include "platform/commandline.h"
#include "platform/decoderlimit.h"
#include "platform/fileio.h"
#include "scan/thumbnail.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace pelmaris::listio {

namespace {

// A decoded picture may take this many pixels (four bytes each) at most, the limit
// the list's decoder keeps too.
constexpr qint64 kMaxImagePixels = (qint64(256) << 20) / 4;

QString suffixOf(const QString &path)
{
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1).toLower();
}

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 32;
}

} // namespace

void copyListText(platform::Clipboard &clipboard, bool detailView,
                  const std::vector<scan::ListItem> &rows, const QStringList &scanList)
{
    clipboard.setText(detailView ? detailText(rows).text : pathText(scanList).text);
}

void copyPath(platform::Clipboard &clipboard, const QString &path)
{
    clipboard.setText(path);
}

bool CopyFilesToClipboard(platform::Clipboard &clipboard, const QStringList &paths)
{
    QStringList files;
    for (const QString &path : paths) {
        if (!std::all_of(path.begin(), path.end(), isBlankOrControl))
            files.append(path);
    }
    if (files.isEmpty())
        return false;
    clipboard.setFiles(files);
    return true;
}

bool hasImageCopyExtension(const QString &path)
{
    static const QStringList extensions = {QStringLiteral("bmp"), QStringLiteral("ico"),
                                           QStringLiteral("emf"), QStringLiteral("wmf"),
                                           QStringLiteral("tif"), QStringLiteral("tiff"),
                                           QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                           QStringLiteral("gif"), QStringLiteral("png")};
    return extensions.contains(suffixOf(path));
}

bool CopyImageToClipboard(platform::Clipboard &clipboard, const QString &path)
{
    // An icon has no clipboard form; it fails before anything is read or replaced.
    if (!hasImageCopyExtension(path) || suffixOf(path) == u"ico")
        return false;
    platform::ReadResult file = platform::readRegularFile(path, kMaxImageCopyBytes);
    if (file.status != platform::ReadStatus::Ok)
        return false;
    platform::limitDecoderAllocation();
    QBuffer buffer(&file.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxImagePixels)
        return false;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return false;
    clipboard.setImage(image);
    return true;
}

QString imageIncompleteText()
{
    return QStringLiteral("Image incomplete");
}

void copyScanList(platform::Clipboard &clipboard, const QStringList &scanList)
{
    clipboard.setText(pathText(scanList).text);
}

void copyFolderPath(platform::Clipboard &clipboard, const QString &folder)
{
    clipboard.setText(folder);
}

platform::FileDialogRequest sendToDialog(const QString &sendToFolder)
{
    platform::FileDialogRequest request;
    request.directory = sendToFolder;
    request.typeExtension = false;
    request.confirmOverwrite = false;
    return request;
}

std::optional<SendToCall> sendToCall(const QString &folder, const QString &entry)
{
    if (folder.isEmpty() || entry.isEmpty() || QFileInfo(entry).isDir())
        return std::nullopt;
    // The parameter text is split into arguments by the platform's rules; quoting
    // makes the folder one argument whatever blanks or quotes it holds.
    return SendToCall{entry, platform::quoteArgument(folder)};
}

} // namespace pelmaris::listio
