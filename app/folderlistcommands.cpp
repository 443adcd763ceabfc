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

namespace pelmaris::app {

FolderListCommands::FolderListCommands(const platform::Services &services, QWidget *window,
                                       MenuCommands &menus, const FolderTree &tree,
                                       const scan::ScanController &scanner, QObject *parent)
    : QObject(parent), m_services(services), m_window(window), m_tree(tree), m_scanner(scanner)
{
    menus.claim(Command::pm3CopyFileList, [this] { pm3CopyFileListClick(); });
    menus.claim(Command::pm3CopyPath, [this] { pm3CopyPathClick(); });
    menus.claim(Command::pm3SendTo, [this] { pm3SendToClick(); });
}

void FolderListCommands::pm3CopyFileListClick()
{
    listio::copyScanList(*m_services.clipboard, m_scanner.scanList());
}

void FolderListCommands::pm3CopyPathClick()
{
    listio::copyFolderPath(*m_services.clipboard, m_tree.selectedPath());
}

void FolderListCommands::pm3SendToClick()
{
    const QString sendTo =
        pathtext::withDelimiter(m_services.folders->path(platform::SpecialFolder::SendTo));
    if (const std::optional<listio::SendToCall> call =
            askSendTo(*m_services.dialogs, m_window, m_tree.selectedPath(), sendTo))
        tell(*m_services.dialogs, m_window,
             shell::ShellOpenWith(m_services, call->program, call->parameters));
}

} // namespace pelmaris::app
