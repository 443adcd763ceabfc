#pragma once

// The file dialogs of the list commands, asked for the window's handlers: each gives
// what the user chose, made ready for the work, or none when the dialog was cancelled.

#include "listio/clipboardlist.h"
#include "listio/listfile.h"

#include <QDateTime>
#include <QString>

#include <optional>

class QWidget;

namespace pelmaris::platform {
class Dialogs;
}

namespace pelmaris::app {

struct SaveContext {
    bool detailView = false; // the detail view, with a menu sender
    qint64 rows = 0;
    qint64 scanEntries = 0;
    QString programPath;
    QDateTime now;
    QString directory; // where the dialog opens
};

// The save dialog and its answer: where and in which form to write.
std::optional<listio::SaveTarget> askSaveTarget(platform::Dialogs &dialogs, QWidget *parent,
                                                const SaveContext &context);

struct OpenedList {
    QString path;
    QString title; // the file's name without its folder: the page title
    platform::Result<listio::ListSource> file;
};

// The open dialog and the file read whole. A file that cannot be read comes back as a
// failure with the message to show.
std::optional<OpenedList> askListFile(platform::Dialogs &dialogs, QWidget *parent,
                                      const QString &directory = {});

// With a folder in the tree, the dialog in the SendTo folder and what to start; none
// when there is no folder (no dialog is shown), on cancel, or for a folder entry.
std::optional<listio::SendToCall> askSendTo(platform::Dialogs &dialogs, QWidget *parent,
                                            const QString &folder, const QString &sendToFolder);

} // namespace pelmaris::app
