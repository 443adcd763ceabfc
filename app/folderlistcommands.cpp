#include "app/folderlistcommands.h"

#include "app/foldertree.h"
#include "app/listfiledialogs.h"
#include "app/menucommands.h"
#include "app/prompts.h"
#include "listio/clipboardlist.h"
#include "platform/dialogs.h"
#include "platform/pathtext.h"
#include "platform/specialfolders.h"
#include "scan/scancontroller.h"
#include "shell/shellroutines.h"

#include <QMainWindow>

namespace pelmaris::app {

FolderListCommands::FolderListCommands(const FormContext &context, QObject *parent)
    : QObject(parent), m_c(context)
{
    MenuCommands &menus = m_c.menus;
    menus.claim(Command::pm3CopyFileList, [this] { pm3CopyFileListClick(); });
    menus.claim(Command::pm3CopyPath, [this] { pm3CopyPathClick(); });
    menus.claim(Command::pm3SendTo, [this] { pm3SendToClick(); });
}

void FolderListCommands::pm3CopyFileListClick()
{
    listio::copyScanList(*m_c.services.clipboard, m_c.scanner.scanList());
}

void FolderListCommands::pm3CopyPathClick()
{
    listio::copyFolderPath(*m_c.services.clipboard, m_c.tree.selectedPath());
}

void FolderListCommands::pm3SendToClick()
{
    const QString sendTo =
        pathtext::withDelimiter(m_c.services.folders->path(platform::SpecialFolder::SendTo));
    if (const std::optional<listio::SendToCall> call =
            askSendTo(*m_c.services.dialogs, m_c.window, m_c.tree.selectedPath(), sendTo))
        tell(*m_c.services.dialogs, m_c.window,
             shell::ShellOpenWith(m_c.services, call->program, call->parameters));
}

} // namespace pelmaris::app
