#include "listio/listcommands.h"

namespace pelmaris::listio {

std::optional<SaveTarget> askSaveTarget(platform::Dialogs &dialogs, QWidget *parent,
                                        const SaveContext &context)
{
    platform::FileDialogRequest request = saveListDialog(
        context.detailView, context.rows, context.scanEntries, context.programPath, context.now);
    request.directory = context.directory;
    const platform::FileDialogAnswer answer = dialogs.saveFile(parent, request);
    if (answer.path.isEmpty())
        return std::nullopt;
    return saveTarget(answer);
}

std::optional<OpenedList> askListFile(platform::Dialogs &dialogs, QWidget *parent,
                                      const QString &directory)
{
    platform::FileDialogRequest request = openListDialog();
    request.directory = directory;
    const platform::FileDialogAnswer answer = dialogs.openFile(parent, request);
    if (answer.path.isEmpty())
        return std::nullopt;
    OpenedList opened;
    opened.path = answer.path;
    opened.title = answer.path.mid(answer.path.lastIndexOf(u'/') + 1);
    opened.file = readListFile(answer.path);
    return opened;
}

std::optional<SendToCall> askSendTo(platform::Dialogs &dialogs, QWidget *parent,
                                    const QString &folder, const QString &sendToFolder)
{
    if (folder.isEmpty())
        return std::nullopt;
    const platform::FileDialogAnswer answer = dialogs.openFile(parent, sendToDialog(sendToFolder));
    return sendToCall(folder, answer.path);
}

} // namespace pelmaris::listio
