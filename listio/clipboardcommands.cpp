#include "listio/clipboardcommands.h"

#include "listio/listformat.h"
#include "platform/commandline.h"
#include "scan/decodebudget.h"
#include "scan/picturedecoder.h"
#include "scan/thumbnail.h"

#include <QFileInfo>

#include <algorithm>

namespace pelmaris::listio {

namespace {

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

bool CopyImageToClipboard(platform::Clipboard &clipboard, const QString &path,
                          platform::FileSystem *fileSystem)
{
    // An icon has no clipboard form; it fails before anything is read or replaced.
    if (!hasImageCopyExtension(path) || suffixOf(path) == u"ico")
        return false;
    scan::limitDecoderAllocation();
    // The list's decoder, whole, within the process's budget: it checks the header
    // before it allocates, opens paths of any length and streams the file.
    scan::PictureDecoder picture(path, nullptr, fileSystem);
    if (!picture.open())
        return false;
    scan::PictureDecoder::Decoded decoded =
        picture.decode(QSize(), *scan::DecodeBudget::processWide());
    if (decoded.outcome != scan::PictureDecoder::Outcome::Decoded || decoded.image.isNull())
        return false;
    clipboard.setImage(decoded.image);
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
    request.chooseLinks = true;
    return request;
}

std::optional<SendToCall> sendToCall(const QString &folder, const QString &entry)
{
    // A link to a folder is an entry like any other; a plain folder is not.
    const QFileInfo info(entry);
    if (folder.isEmpty() || entry.isEmpty() || (info.isDir() && !info.isSymLink()))
        return std::nullopt;
    // The parameter text is split into arguments by the platform's rules; quoting
    // makes the folder one argument whatever blanks or quotes it holds.
    return SendToCall{entry, platform::quoteArgument(folder)};
}

} // namespace pelmaris::listio
