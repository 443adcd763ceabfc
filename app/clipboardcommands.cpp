#include "app/clipboardcommands.h"

#include "app/listviewstate.h"
#include "app/menucommands.h"
#include "app/windowroutines.h"
#include "listio/clipboardlist.h"
#include "platform/dialogs.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QRadioButton>

namespace pelmaris::app {

ClipboardCommands::ClipboardCommands(const FormContext &context, QObject *parent)
    : QObject(parent), m_c(context)
{
    MenuCommands &menus = m_c.menus;
    menus.claim(Command::pm1CopyList, [this] { pm1CopyListClick(); });
    menus.claim(Command::pm1CopyPath, [this] { pm1CopyPathClick(); });
    menus.claim(Command::pm1CopyFile, [this] { pm1CopyFileClick(); });
    menus.claim(Command::pm1CopyImage, [this] { pm1CopyImageClick(); });
}

QString ClipboardCommands::selectedPath() const
{
    const int row = m_c.routines.selectedRow();
    return row < 0 ? QString() : m_c.model.item(row).caption;
}

void ClipboardCommands::pm1CopyListClick()
{
    listio::copyListText(*m_c.services.clipboard, m_c.list.detailChosen(), m_c.model.items(),
                         m_c.scanner.scanList());
}

void ClipboardCommands::pm1CopyPathClick()
{
    const QString path = selectedPath();
    if (!path.isEmpty())
        listio::copyPath(*m_c.services.clipboard, path);
}

void ClipboardCommands::pm1CopyFileClick()
{
    const QString path = selectedPath();
    if (!path.isEmpty())
        listio::CopyFilesToClipboard(*m_c.services.clipboard, {path});
}

void ClipboardCommands::pm1CopyImageClick()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    m_c.routines.setBusyCursor(true);
    const platform::Outcome copied =
        listio::CopyImageToClipboard(*m_c.services.clipboard, path, *m_c.services.fileSystem);
    m_c.routines.setBusyCursor(false);
    if (!copied) {
        m_c.services.dialogs->message(m_c.window, copied.text());
        QCoreApplication::processEvents();
    }
}

} // namespace pelmaris::app
