#include "app/fileactioncommands.h"

#include "app/activity.h"
#include "app/foldertree.h"
#include "app/listpage.h"
#include "app/menucommands.h"
#include "app/prompts.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "scan/imagelistmodel.h"
#include "scan/scancontroller.h"
#include "shell/shellroutines.h"

#include <QModelIndex>

#include <algorithm>

namespace pelmaris::app {

FileActionCommands::FileActionCommands(const platform::Services &services, QWidget *window,
                                       MenuCommands &menus, ListPage &list,
                                       const Activity &activity, FolderTree &tree,
                                       const QString &siblingExe, QObject *parent)
    : QObject(parent), m_services(services), m_window(window), m_list(list), m_activity(activity),
      m_tree(tree), m_siblingExe(siblingExe), m_fileActions(services, window)
{
    menus.claim(Command::pm1Open, [this] { pm1OpenClick(); });
    menus.claim(Command::pm1Paint, [this] { pm1PaintClick(); });
    menus.claim(Command::pm1Notepad, [this] { pm1NotepadClick(); });
    menus.claim(Command::pm1OpenBy, [this] { pm1OpenByClick(); });
    menus.claim(Command::pm1SendToCorvindale, [this] { pm1SendToCorvindaleClick(); });
    menus.claim(Command::pm1SendTo, [this] { pm1SendToClick(); });
    menus.claim(Command::pm1Properties, [this] { pm1PropertiesClick(); });
    menus.claim(Command::pm1OpenFolder, [this] { pm1OpenFolderClick(); });
    menus.claim(Command::pm1DeleteFile, [this] { pm1DeleteFileClick(); });
    menus.claim(Command::pm3OpenFolder, [this] { pm3OpenFolderClick(); });
    menus.claim(Command::pm3PasteFolderPath, [this] { pm3PasteFolderPathClick(); });
    // A program started here or for the page (a paint program, a browser) that fails
    // right after its start is reported as a start that failed.
    m_services.shell->setEarlyExitHandler(
        [this](const platform::EarlyExit &exit) { tell(shell::earlyExitOutcome(exit)); });
}

FileActionCommands::~FileActionCommands()
{
    m_services.shell->setEarlyExitHandler(nullptr);
}

QString FileActionCommands::selectedPath() const
{
    const int row = m_list.selectedRow();
    return row >= 0 && row < m_list.rows().rowCount() ? m_list.rows().item(row).caption : QString();
}

bool FileActionCommands::tell(const platform::Outcome &outcome) const
{
    return app::tell(*m_services.dialogs, m_window, outcome);
}

void FileActionCommands::pm1OpenClick()
{
    tell(m_fileActions.openDefault(selectedPath()));
}

void FileActionCommands::pm1PaintClick()
{
    tell(m_fileActions.openInPaint(selectedPath()));
}

void FileActionCommands::pm1NotepadClick()
{
    tell(m_fileActions.openInTextEditor(selectedPath()));
}

void FileActionCommands::pm1OpenByClick()
{
    tell(m_fileActions.openWith(selectedPath()));
}

void FileActionCommands::pm1SendToCorvindaleClick()
{
    tell(m_fileActions.sendToSibling(m_siblingExe, selectedPath()));
}

void FileActionCommands::pm1SendToClick()
{
    const QString path = selectedPath();
    if (path.isEmpty() || !tell(m_fileActions.checkSendTo(path)))
        return;
    const platform::FileChoice choice = m_fileActions.sendToChoice();
    const QString entry =
        m_services.dialogs->openFileName(m_window, choice.title, choice.start, choice.filter);
    tell(m_fileActions.sendTo(path, entry));
}

void FileActionCommands::pm1PropertiesClick()
{
    tell(m_fileActions.showProperties(selectedPath()));
}

void FileActionCommands::pm1OpenFolderClick()
{
    tell(m_fileActions.showInFolder(selectedPath()));
}

void FileActionCommands::pm1DeleteFileClick()
{
    // Rows must not go while a build or a load is still filling the list.
    if (m_activity.isScanning() || m_activity.fillsList())
        return;
    const int row = m_list.selectedRow();
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    const platform::Result<QString> question = m_fileActions.trashQuestion(path);
    if (!tell(question.outcome()))
        return;
    if (confirmTrash(*m_services.dialogs, m_window, *question,
                     [&] { return m_fileActions.moveToTrash(path); }))
        removeRowOf(path, row);
}

void FileActionCommands::removeRowOf(const QString &path, int row)
{
    const scan::ImageListModel &model = m_list.rows();
    // The confirmation let the window run meanwhile: find the row again by its file.
    if (row >= model.rowCount() || model.item(row).caption != path) {
        const auto &items = model.items();
        const auto found =
            std::find_if(items.begin(), items.end(),
                         [&path](const scan::ListItem &i) { return i.caption == path; });
        if (found == items.end())
            return;
        row = int(found - items.begin());
    }
    m_list.removeRow(row);
}

void FileActionCommands::pm3OpenFolderClick()
{
    tell(m_fileActions.openTreeFolder(m_tree.selectedPath(), selectedPath()));
}

void FileActionCommands::pm3PasteFolderPathClick()
{
    const platform::Outcome pasted = m_fileActions.pasteFolderPath([this](const QString &folder) {
        // The tree refuses what it does not show, a hidden folder among them.
        return m_tree.navigate(folder);
    });
    if (!pasted)
        m_services.dialogs->error(m_window, pasted.text());
}

void FileActionCommands::ListView1DblClick(const QModelIndex &index)
{
    if (index.isValid() && index.row() < m_list.rows().rowCount())
        tell(m_fileActions.openDefault(m_list.rows().item(index.row()).caption));
}

void FileActionCommands::ListView1ContextPopup(const QModelIndex &index)
{
    // The view leaves a right-pressed row unselected until the button comes up, and by
    // then the menu has opened.
    if (index.isValid() && index.row() < m_list.rows().rowCount())
        m_list.selectRow(index.row());
}

} // namespace pelmaris::app
