#pragma once

// The list, a path, files and a picture put on the clipboard, and the folder list's
// output: the tree's entries, its path, and what the SendTo folder starts for it. Each
// copy replaces what the clipboard held; one that has nothing to put, or fails, leaves
// it as it was.

#include "platform/clipboard.h"
#include "platform/filequestions.h"
#include "platform/outcome.h"
#include "scan/listitem.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace pelmaris::platform {
class FileSystem;
}

namespace pelmaris::listio {

// The list as text: the detail form of the rows in the detail view, else the path
// form of ScanList; every line followed by CR LF; an empty source puts an empty text.
void copyListText(platform::Clipboard &clipboard, bool detailView,
                  const std::vector<scan::ListItem> &rows, const QStringList &scanList);

// The path alone, with no line break.
void copyPath(platform::Clipboard &clipboard, const QString &path);

// The files, as file managers copy and paste them. Paths that are empty once blanks
// and control characters are trimmed are left out; existence is not checked. False
// (the clipboard untouched) when no path is left.
bool CopyFilesToClipboard(platform::Clipboard &clipboard, const QStringList &paths);

// Whether the image copy takes a file of this name: bmp, ico, emf, wmf, tif, tiff,
// jpg, jpeg, gif, png, letter case ignored.
bool hasImageCopyExtension(const QString &path);

// The picture of an image file, whole, as clipboard image: decoded as the list decodes,
// within the process's decode budget, so anything a camera makes fits. A failure, with
// the clipboard as it was and imageIncompleteText() to tell, when the extension is not
// among the image copy's, the file is an icon (which cannot be put on the clipboard),
// is not a regular file, or does not decode within the budget. The file is opened
// through `fileSystem`.
platform::Outcome CopyImageToClipboard(platform::Clipboard &clipboard, const QString &path,
                                       platform::FileSystem &fileSystem);
QString imageIncompleteText();

// ---- folder list output ----

// Every entry of ScanList, each followed by CR LF.
void copyScanList(platform::Clipboard &clipboard, const QStringList &scanList);

// The folder tree's current path, with no line break (empty when it has none).
void copyFolderPath(platform::Clipboard &clipboard, const QString &folder);

// "「送る」先を指定して開く": the dialog opens in the SendTo folder.
platform::FileDialogRequest sendToDialog(const QString &sendToFolder);

struct SendToCall {
    QString program;    // the chosen entry, unchanged (a shortcut is not resolved)
    QString parameters; // the folder as one quoted argument
};

// What to start for a folder and the entry chosen in the dialog; nothing when there is
// no folder, the dialog was cancelled, or the entry is a folder itself.
std::optional<SendToCall> sendToCall(const QString &folder, const QString &entry);

} // namespace pelmaris::listio
