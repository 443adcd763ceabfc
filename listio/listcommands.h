#pragma once

// The questions the list commands ask through the dialog service, so each window
// handler is a call, a check and the work:
//
//   pm1SaveListAsClick(sender):
//     auto target = listio::askSaveTarget(*m_services.dialogs, this,
//         {sender && RbReport->isChecked(), rows, ScanList().size(), exe, now});
//     if (!target) return;                        // cancelled
//     ... busy state; Saver->start(*target, ListModel->items(), ScanList());
//   pm1OpenListClick:
//     auto opened = listio::askListFile(*m_services.dialogs, this);
//     if (!opened) return;                        // cancelled
//     if (!opened->file.ok) { dialogs->message(this, opened->file.error); return; }
//     Loader->LoadListFromText(opened->file.text); DblClickPath1 = opened->title;
//   pm3SendToClick:
//     if (auto call = listio::askSendTo(*m_services.dialogs, this, treeSelectedPath(),
//                                       GetSpecialFolderPath(SpecialFolder::SendTo)))
//         shell::ShellOpenWith(m_services, call->program, call->parameters);

#include "listio/clipboardcommands.h"
#include "listio/listfile.h"

#include <QDateTime>
#include <QString>

#include <optional>

class QWidget;

namespace pelmaris::listio {

struct SaveContext {
    bool detailView = false; // the detail view, with a menu sender
    qint64 rows = 0;
    qint64 scanEntries = 0;
    QString programPath;
    QDateTime now;
    QString directory; // where the dialog opens
};

// The save dialog and its answer: where and in which form to write; none on cancel.
std::optional<SaveTarget> askSaveTarget(platform::Dialogs &dialogs, QWidget *parent,
                                        const SaveContext &context);

struct OpenedList {
    QString path;
    QString title; // the file's name without its folder: the page title
    ListFileText file;
};

// The open dialog and the file read whole; none on cancel. A file that cannot be read
// comes back with file.ok false and the message to show.
std::optional<OpenedList> askListFile(platform::Dialogs &dialogs, QWidget *parent,
                                      const QString &directory = {});

// With a folder in the tree, the dialog in the SendTo folder and what to start; none
// when there is no folder (no dialog is shown), on cancel, or for a folder entry.
std::optional<SendToCall> askSendTo(platform::Dialogs &dialogs, QWidget *parent,
                                    const QString &folder, const QString &sendToFolder);

} // namespace pelmaris::listio
