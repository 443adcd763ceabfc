#include "app/shortcutcommands.h"

#include "app/listpage.h"
#include "app/menucommands.h"
#include "scan/imagelistmodel.h"

#include "platform/dialogs.h"
#include "platform/programinfo.h"
#include "platform/shortcuts.h"
#include "platform/specialfolders.h"
#include "platform/systeminfo.h"

#include <QFileInfo>
#include <QMainWindow>

namespace pelmaris::app {

ShortcutCommands::ShortcutCommands(const platform::Services &services, QWidget *window,
                                   MenuCommands &menus, ListPage &list, QObject *parent)
    : QObject(parent), m_services(services), m_window(window), m_list(list),
      m_shortcuts(services, window)
{
    menus.claim(Command::pm1DeskTop, [this] { pm1DeskTopClick(); });
}

void ShortcutCommands::SendTo1Click()
{
    m_shortcuts.toggle(shell::ShortcutPlace::SendTo);
}

void ShortcutCommands::DeskTop1Click()
{
    m_shortcuts.toggle(shell::ShortcutPlace::Desktop);
}

void ShortcutCommands::StartMenu1Click()
{
    // An installed menu entry already starts this program: a shortcut of our own would
    // only show it twice. One made before stays open to updating or deleting.
    const platform::Services &services = m_services;
    const QString program = services.system->executablePath();
    const QString own = services.folders->pathToCreateIn(platform::SpecialFolder::Programs) + u'/' +
                        m_shortcuts.registration().shortcutFileName(program);
    const QString installed = services.shortcuts->menuEntryFor(program, own);
    if (!installed.isEmpty() && !QFileInfo::exists(own)) {
        services.dialogs->message(m_window, installedText(installed));
        return;
    }
    m_shortcuts.toggle(shell::ShortcutPlace::StartMenu);
}

QString ShortcutCommands::installedText(const QString &entry)
{
    return program::Title +
           QStringLiteral(" はスタートメニューに登録済みです。新たには登録しません。\r\n") + entry;
}

void ShortcutCommands::StartUp1Click()
{
    m_shortcuts.toggle(shell::ShortcutPlace::Startup);
}

void ShortcutCommands::pm1DeskTopClick()
{
    const int row = m_list.selectedRow();
    if (row >= 0 && row < m_list.rows().rowCount())
        m_shortcuts.toggleDesktopShortcutTo(m_list.rows().item(row).caption);
}

} // namespace pelmaris::app
