#include "app/clipboardcommands.h"

#include "app/listpage.h"
#include "app/listviewstate.h"
#include "app/menucommands.h"
#include "listio/clipboardlist.h"
#include "platform/dialogs.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"

#include <QCoreApplication>

namespace pelmaris::app {

ClipboardCommands::ClipboardCommands(const platform::Services &services, QWidget *window,
                                     MenuCommands &menus, ListPage &list, const ListViewState &view,
                                     const scan::ScanController &scanner, QObject *parent)
    : QObject(parent), m_services(services), m_window(window), m_list(list), m_view(view),
      m_scanner(scanner)
{
    menus.claim(Command::pm1CopyList, [this] { pm1CopyListClick(); });
    menus.claim(Command::pm1CopyPath, [this] { pm1CopyPathClick(); });
    menus.claim(Command::pm1CopyFile, [this] { pm1CopyFileClick(); });
    menus.claim(Command::pm1CopyImage, [this] { pm1CopyImageClick(); });
}

QString ClipboardCommands::selectedPath() const
{
    const int row = m_list.selectedRow();
    return row < 0 ? QString() : m_list.rows().item(row).caption;
}

void ClipboardCommands::pm1CopyListClick()
{
    listio::copyListText(*m_services.clipboard, m_view.detailChosen(), m_list.rows().items(),
                         m_scanner.scanList());
}

void ClipboardCommands::pm1CopyPathClick()
{
    const QString path = selectedPath();
    if (!path.isEmpty())
        listio::copyPath(*m_services.clipboard, path);
}

void ClipboardCommands::pm1CopyFileClick()
{
    const QString path = selectedPath();
    if (!path.isEmpty())
        listio::CopyFilesToClipboard(*m_services.clipboard, {path});
}

void ClipboardCommands::pm1CopyImageClick()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    m_list.setBusyCursor(true);
    const platform::Outcome copied =
        listio::CopyImageToClipboard(*m_services.clipboard, path, *m_services.fileSystem);
    m_list.setBusyCursor(false);
    if (!copied) {
        m_services.dialogs->message(m_window, copied.text());
        QCoreApplication::processEvents();
    }
}

} // namespace pelmaris::app
