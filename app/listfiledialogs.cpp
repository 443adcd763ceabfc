#include "app/listfiledialogs.h"

#include "platform/dialogs.h"

namespace pelmaris::app {

std::optional<listio::SaveTarget> askSaveTarget(platform::Dialogs &dialogs, QWidget *parent,
                                                const SaveContext &context)
{
    platform::FileDialogRequest request = listio::saveListDialog(
        context.detailView, context.rows, context.scanEntries, context.programPath, context.now);
    request.directory = context.directory;
    const platform::FileDialogAnswer answer = dialogs.saveFile(parent, request);
    if (answer.path.isEmpty())
        return std::nullopt;
    return listio::saveTarget(answer);
}

std::optional<OpenedList> askListFile(platform::Dialogs &dialogs, QWidget *parent,
                                      const QString &directory)
{
    platform::FileDialogRequest request = listio::openListDialog();
    request.directory = directory;
    const platform::FileDialogAnswer answer = dialogs.openFile(parent, request);
    if (answer.path.isEmpty())
        return std::nullopt;
    return OpenedList{answer.path, answer.path.mid(answer.path.lastIndexOf(u'/') + 1),
                      listio::readListFile(answer.path)};
}

std::optional<listio::SendToCall> askSendTo(platform::Dialogs &dialogs, QWidget *parent,
                                            const QString &folder, const QString &sendToFolder)
{
    if (folder.isEmpty())
        return std::nullopt;
    const platform::FileDialogAnswer answer =
        dialogs.openFile(parent, listio::sendToDialog(sendToFolder));
    return listio::sendToCall(folder, answer.path);
}

} // namespace pelmaris::app
