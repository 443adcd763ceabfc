#include "app/shortcutcommands.h"

#include "app/menucommands.h"
#include "app/windowroutines.h"
#include "scan/imagelistmodel.h"

#include <QMainWindow>

namespace pelmaris::app {

ShortcutCommands::ShortcutCommands(const FormContext &context, QObject *parent)
    : QObject(parent), m_c(context), m_shortcuts(context.services, context.window)
{
    m_c.menus.claim(Command::pm1DeskTop, [this] { pm1DeskTopClick(); });
}

void ShortcutCommands::SendTo1Click()
{
    m_shortcuts.toggleSendTo();
}

void ShortcutCommands::DeskTop1Click()
{
    m_shortcuts.toggleDesktop();
}

void ShortcutCommands::StartMenu1Click()
{
    m_shortcuts.toggleStartMenu();
}

void ShortcutCommands::StartUp1Click()
{
    m_shortcuts.toggleStartup();
}

void ShortcutCommands::pm1DeskTopClick()
{
    const int row = m_c.routines.selectedRow();
    if (row >= 0 && row < m_c.model.rowCount())
        m_shortcuts.toggleDesktopShortcutTo(m_c.model.item(row).caption);
}

} // namespace pelmaris::app
